#include "platform/ByteText.h"

#include "platform/SjisCodec.h"

#include <algorithm>
#include <array>
#include <climits>

namespace kal::text {

std::string field(std::string_view line, std::size_t position, std::size_t width)
{
    if (position == 0 || position > line.size())
        return {};
    return std::string(line.substr(position - 1, width));
}

std::string fieldToEnd(std::string_view line, std::size_t position)
{
    if (position == 0 || position > line.size())
        return {};
    return std::string(line.substr(position - 1));
}

std::string cutBytes(std::string_view value, std::size_t maxBytes)
{
    std::size_t i = 0;
    while (i < value.size()) {
        std::size_t len = sjis::charLength(value, i);
        if (i + len > maxBytes)
            break;
        i += len;
    }
    return std::string(value.substr(0, i));
}

std::string padCut(std::string_view value, std::size_t width)
{
    std::string out = cutBytes(value, width);
    out.append(width - out.size(), ' ');
    return out;
}

namespace {
bool isSpaceOrControl(char c)
{
    return static_cast<unsigned char>(c) <= 0x20;
}
} // namespace

std::string_view withoutTrailingBlanks(std::string_view s)
{
    std::size_t end = s.size();
    while (end > 0 && isSpaceOrControl(s[end - 1]))
        --end;
    return s.substr(0, end);
}

std::string trimRight(std::string_view s)
{
    return std::string(withoutTrailingBlanks(s));
}

std::string trimLeft(std::string_view s)
{
    std::size_t begin = 0;
    while (begin < s.size() && isSpaceOrControl(s[begin]))
        ++begin;
    return std::string(s.substr(begin));
}

std::string trim(std::string_view s)
{
    return trimLeft(trimRight(s));
}

bool isBlank(std::string_view s)
{
    return std::all_of(s.begin(), s.end(), [](char c) { return isSpaceOrControl(c); });
}

namespace {

// The one case folding of the program: ASCII a..z and full-width ａ..ｚ (82 81..82 9A) become
// A..Z and Ａ..Ｚ (82 60..82 79). `c` holds one whole character of `length` bytes, so a trail
// byte is never taken for a letter.
void foldChar(char* c, std::size_t length)
{
    const auto first = static_cast<unsigned char>(c[0]);
    if (length == 1) {
        if (first >= 'a' && first <= 'z')
            c[0] = static_cast<char>(first - 'a' + 'A');
        return;
    }
    const auto trail = static_cast<unsigned char>(c[1]);
    if (first == 0x82 && trail >= 0x81 && trail <= 0x9A)
        c[1] = static_cast<char>(trail - 0x21);
}

} // namespace

std::string toUpper(std::string_view s)
{
    std::string out(s);
    for (std::size_t i = 0; i < out.size();) {
        const std::size_t length = sjis::charLength(out, i);
        foldChar(&out[i], length);
        i += length;
    }
    return out;
}

bool upperHoldsAt(std::string_view s, std::size_t at, std::string_view folded)
{
    if (at > s.size() || s.size() - at < folded.size())
        return false;
    const std::size_t end = at + folded.size();
    for (std::size_t i = at; i < end;) {
        const std::size_t length = sjis::charLength(s, i);
        char c[2];
        s.copy(c, length, i);
        foldChar(c, length);
        for (std::size_t b = 0; b < length && i + b < end; ++b)
            if (c[b] != folded[i + b - at])
                return false;
        i += length;
    }
    return true;
}

const std::bitset<256>& upperForms(unsigned char byte)
{
    // Each byte folded alone, and every pair of a lead byte and another byte folded together.
    static const std::array<std::bitset<256>, 256> forms = [] {
        std::array<std::bitset<256>, 256> table;
        for (std::size_t b = 0; b < 256; ++b) {
            char alone = static_cast<char>(b);
            foldChar(&alone, 1);
            table[b].set(b).set(static_cast<unsigned char>(alone));
        }
        for (std::size_t lead = 0; lead < 256; ++lead)
            for (std::size_t trail = 0; sjis::isLeadByte(static_cast<unsigned char>(lead)) && trail < 256; ++trail) {
                char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                foldChar(pair, 2);
                table[lead].set(static_cast<unsigned char>(pair[0]));
                table[trail].set(static_cast<unsigned char>(pair[1]));
            }
        return table;
    }();
    return forms[byte];
}

int compareBytes(std::string_view a, std::string_view b)
{
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        auto x = static_cast<unsigned char>(a[i]);
        auto y = static_cast<unsigned char>(b[i]);
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() == b.size())
        return 0;
    return a.size() < b.size() ? -1 : 1;
}

namespace {

// The bytes of toUpper(s) one by one, without making the copy: this comparison runs for every
// line of every sort and cell list.
class UpperBytes {
public:
    explicit UpperBytes(std::string_view s) : s_(s) { }
    bool atEnd() const { return i_ >= s_.size() && next_ >= length_; }
    unsigned char next()
    {
        if (next_ >= length_) {
            length_ = sjis::charLength(s_, i_);
            s_.copy(folded_, length_, i_);
            foldChar(folded_, length_);
            i_ += length_;
            next_ = 0;
        }
        return static_cast<unsigned char>(folded_[next_++]);
    }

private:
    std::string_view s_;
    std::size_t i_ = 0; // start of the next character
    char folded_[2] = {};
    std::size_t length_ = 0;
    std::size_t next_ = 0; // next byte of folded_
};

// The length of the characters at the start of `a` and `b` that are the same bytes: they fold
// alike, so a comparison can begin after them.
std::size_t sameCharacters(std::string_view a, std::string_view b)
{
    const std::size_t n = std::min(a.size(), b.size());
    std::size_t i = 0;
    while (i < n && a[i] == b[i]) {
        const std::size_t length = sjis::charLength(a, i);
        if (length == 2 && (i + 1 >= n || a[i + 1] != b[i + 1]))
            break;
        i += length;
    }
    return i;
}

} // namespace

int compareNoCase(std::string_view a, std::string_view b)
{
    const std::size_t same = sameCharacters(a, b);
    UpperBytes x(a.substr(same)), y(b.substr(same));
    while (!x.atEnd() && !y.atEnd()) {
        const unsigned char p = x.next(), q = y.next();
        if (p != q)
            return p < q ? -1 : 1;
    }
    if (x.atEnd() && y.atEnd())
        return 0;
    return x.atEnd() ? -1 : 1;
}

bool equalsNoCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && compareNoCase(a, b) == 0;
}

void sortNoCase(std::vector<std::string>& lines)
{
    // Fold once per line, not once per comparison.
    std::vector<std::pair<std::string, std::size_t>> keys;
    keys.reserve(lines.size());
    for (std::size_t i = 0; i < lines.size(); ++i)
        keys.emplace_back(toUpper(lines[i]), i);
    std::stable_sort(keys.begin(), keys.end(),
                     [](const auto& x, const auto& y) { return compareBytes(x.first, y.first) < 0; });
    std::vector<std::string> sorted;
    sorted.reserve(lines.size());
    for (const auto& key : keys)
        sorted.push_back(std::move(lines[key.second]));
    lines = std::move(sorted);
}

int toIntOr(std::string_view s, int fallback)
{
    std::size_t i = 0;
    while (i < s.size() && s[i] == ' ')
        ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
        negative = s[i] == '-';
        ++i;
    }
    std::size_t digitsBegin = i;
    long long value = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') {
        value = value * 10 + (s[i] - '0');
        if (value > INT_MAX)
            return fallback;
        ++i;
    }
    if (i == digitsBegin)
        return fallback;
    while (i < s.size() && s[i] == ' ')
        ++i;
    if (i != s.size())
        return fallback;
    return static_cast<int>(negative ? -value : value);
}

} // namespace kal::text
