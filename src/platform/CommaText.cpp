#include "platform/CommaText.h"

namespace kal::text {
namespace {

bool needsQuotes(std::string_view item)
{
    // Comma, quote and blanks are all below 0x40, so they are never the trail byte of a
    // double-byte character and a byte scan is safe.
    for (unsigned char c : item)
        if (c <= 0x20 || c == ',' || c == '"')
            return true;
    return false;
}

std::string quoted(std::string_view item)
{
    std::string out = "\"";
    for (char c : item) {
        out += c;
        if (c == '"')
            out += '"';
    }
    out += '"';
    return out;
}

// NUL counts as a blank too, so that garbage in a file can never stop the scan.
bool isBlankByte(char c)
{
    return static_cast<unsigned char>(c) <= 0x20;
}

} // namespace

std::string joinCommaText(const std::vector<std::string>& items)
{
    if (items.size() == 1 && items[0].empty())
        return "\"\"";
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            out += ',';
        out += needsQuotes(items[i]) ? quoted(items[i]) : items[i];
    }
    return out;
}

std::vector<std::string> splitCommaText(std::string_view text)
{
    std::vector<std::string> items;
    std::size_t p = 0;
    const std::size_t n = text.size();
    auto at = [&](std::size_t i) { return i < n ? text[i] : '\0'; };

    while (p < n && isBlankByte(text[p]))
        ++p;
    while (p < n) {
        std::string item;
        if (text[p] == '"') {
            ++p;
            while (p < n) {
                if (text[p] == '"') {
                    if (at(p + 1) == '"') {
                        item += '"';
                        p += 2;
                        continue;
                    }
                    ++p;
                    break;
                }
                item += text[p++];
            }
        } else {
            std::size_t begin = p;
            while (p<n&& static_cast<unsigned char>(text[p])> 0x20 && text[p] != ',')
                ++p;
            item.assign(text.substr(begin, p - begin));
        }
        items.push_back(std::move(item));
        while (p < n && isBlankByte(text[p]))
            ++p;
        if (at(p) == ',') {
            if (p + 1 >= n)
                items.emplace_back();
            do {
                ++p;
            } while (p < n && isBlankByte(text[p]));
        }
    }
    return items;
}

} // namespace kal::text
