// Fixed-column records: a layout gives each field's width once, and every byte position follows
// from it. The last field runs to the end of the line. A line split into its fields and joined
// again is the same bytes, whatever it holds (short lines and garbage included).
#pragma once

#include "platform/ByteText.h"

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

namespace kal::store {

template <typename Field, std::size_t N> class Columns {
public:
    using Record = std::array<std::string, N>;

    // The widths of every field but the last.
    constexpr explicit Columns(std::array<std::size_t, N - 1> widths) : widths_(widths) { }

    static constexpr std::size_t index(Field field) { return static_cast<std::size_t>(field); }
    // The 1-based byte position of a field.
    constexpr std::size_t position(Field field) const
    {
        std::size_t at = 1;
        for (std::size_t i = 0; i < index(field); ++i)
            at += widths_[i];
        return at;
    }
    constexpr std::size_t width(Field field) const { return index(field) < N - 1 ? widths_[index(field)] : 0; }
    // The bytes before the last field.
    constexpr std::size_t fixedBytes() const { return position(static_cast<Field>(N - 1)) - 1; }

    // The field as stored: shorter or empty when the line ends early.
    std::string_view view(std::string_view line, Field field) const
    {
        const std::size_t at = position(field);
        if (at > line.size())
            return {};
        return line.substr(at - 1, index(field) == N - 1 ? std::string_view::npos : width(field));
    }
    std::string get(std::string_view line, Field field) const { return std::string(view(line, field)); }
    // A one-byte field, a blank when the line ends before it.
    char byte(std::string_view line, Field field) const
    {
        const std::size_t at = position(field);
        return line.size() >= at ? line[at - 1] : ' ';
    }
    // `value` padded with blanks and cut to the field's width; the last field as given.
    std::string fit(Field field, std::string_view value) const
    {
        if (index(field) == N - 1)
            return std::string(value);
        return text::padCut(value, width(field));
    }

    Record split(std::string_view line) const
    {
        Record record;
        for (std::size_t i = 0; i < N; ++i)
            record[i] = get(line, static_cast<Field>(i));
        return record;
    }
    static std::string join(const Record& record)
    {
        std::string line;
        for (const std::string& field : record)
            line += field;
        return line;
    }

private:
    std::array<std::size_t, N - 1> widths_;
};

} // namespace kal::store
