// A fresh folder under the system's temporary folder, removed with everything in it.
#pragma once

#include "platform/Collation.h"

#include <algorithm>
#include <string>
#include <vector>

namespace kal::test {

class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    // With a trailing '/'.
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + name; }

    void write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const;
    bool exists(const std::string& name) const;

private:
    std::string path_;
};

// Shift-JIS bytes of a UTF-8 literal, for expectations on stored text.
std::string sj(const std::string& utf8);
// Lines joined with CR LF after each.
std::string crlf(const std::vector<std::string>& lines);

// Byte order as a collation, for the logic tests of the row sorts (the Japanese one needs Qt).
struct ByteCollation final : text::Collation {
    std::vector<int> ranks(const std::vector<std::string>& texts) const override
    {
        std::vector<int> ranks; // how many texts sort before each
        for (const std::string& t : texts)
            ranks.push_back(int(std::count_if(texts.begin(), texts.end(), [&](auto& o) { return o < t; })));
        return ranks;
    }
};

} // namespace kal::test
