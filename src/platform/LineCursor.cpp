#include "platform/LineCursor.h"

#include <algorithm>
#include <cstdint>

namespace kal::files {
namespace {

bool endsLine(char c)
{
    return c == '\r' || c == '\n';
}

// The line ends within bytes `from`..`to` of `text`, a CR LF counted once; lines begin at both
// `from` and `to`.
std::size_t countLineEnds(std::string_view text, std::size_t from, std::size_t to)
{
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    if (from >= to)
        return 0;
    // A line begins at `to`: the byte before it ends one.
    std::size_t ends = 1;
    // Counted per block of 255 bytes in one byte, so that the compiler counts many bytes at once.
    const std::size_t last = to - 1;
    while (from < last) {
        const std::size_t stop = std::min(last, from + 255);
        std::uint8_t block = 0;
        for (std::size_t i = from; i < stop; ++i)
            block += static_cast<std::uint8_t>((p[i] == '\n') | ((p[i] == '\r') & (p[i + 1] != '\n')));
        ends += block;
        from = stop;
    }
    return ends;
}

} // namespace

LineCursor::Line LineCursor::lineAt(std::size_t at)
{
    // The LF of a CR LF belongs to the line the CR ends.
    if (at > 0 && text_[at] == '\n' && text_[at - 1] == '\r')
        --at;
    std::size_t start = at;
    while (start > counted_ && !endsLine(text_[start - 1]))
        --start;
    index_ += countLineEnds(text_, counted_, start);
    counted_ = start;
    std::size_t end = at;
    while (end < text_.size() && !endsLine(text_[end]))
        ++end;
    const bool crlf = end + 1 < text_.size() && text_[end] == '\r' && text_[end + 1] == '\n';
    return {index_, text_.substr(start, end - start), end + (crlf ? 2 : 1)};
}

} // namespace kal::files
