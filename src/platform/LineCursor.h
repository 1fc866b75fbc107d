// The lines of a text found from the places a search stops at, without taking the whole text
// apart: lines end as splitLineViews ends them (CR LF, LF, CR), and are numbered as it numbers
// them, by counting the line ends passed over.
#pragma once

#include <cstddef>
#include <string_view>

namespace kal::files {

class LineCursor {
public:
    explicit LineCursor(std::string_view text) : text_(text) { }

    struct Line {
        std::size_t index = 0; // 0-based, as splitLineViews numbers it
        std::string_view text;
        std::size_t next = 0; // where the next line begins
    };
    // The line holding byte `at`; asked in rising order, never before the last line given.
    Line lineAt(std::size_t at);

private:
    std::string_view text_;
    std::size_t counted_ = 0; // a line's start: the ends before it are counted
    std::size_t index_ = 0;   // that line's index
};

} // namespace kal::files
