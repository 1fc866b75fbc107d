#include "exchange/CsvText.h"

#include "calendar/CalendarMath.h"
#include "platform/ByteText.h"
#include "platform/CommaText.h"
#include "schedule/PickList.h"

namespace kal {

namespace {

struct NormalizedLine {
    std::string text;
    bool endsInsideQuotes = false;
};

// Quote and comma are below 0x40, so they are never the trail byte of a double-byte
// character and a byte scan is safe on Shift-JIS.
NormalizedLine normalize(std::string_view raw)
{
    NormalizedLine line;
    std::string& out = line.text;
    out.reserve(raw.size() + 16);
    out += '"';
    bool inside = false;
    const std::size_t n = raw.size();
    for (std::size_t i = 0; i < n; ++i) {
        const char c = raw[i];
        if (c == '"') {
            if (inside && i + 1 < n && raw[i + 1] == '"') {
                out += "\"\"";
                ++i;
            } else {
                inside = !inside;
            }
        } else if (c == ',' && !inside) {
            out += "\",";
            if (i + 1 < n)
                out += '"';
        } else {
            out += c;
        }
    }
    if (out.back() != ',')
        out += '"';
    line.endsInsideQuotes = inside;
    return line;
}

} // namespace

std::string normalizeCsvLine(std::string_view raw)
{
    return normalize(raw).text;
}

bool csvLineEndsInsideQuotes(std::string_view raw)
{
    return normalize(raw).endsInsideQuotes;
}

std::vector<std::string> splitCsvLine(std::string_view raw)
{
    return text::splitCommaText(normalizeCsvLine(raw));
}

std::string csvColumn(const std::vector<std::string>& columns, int index)
{
    if (index < 0 || static_cast<std::size_t>(index) >= columns.size())
        return {};
    return columns[static_cast<std::size_t>(index)];
}

namespace {

// A number of `minDigits` to `maxDigits` decimal digits, nothing else.
std::optional<int> digitsValue(std::string_view s, std::size_t minDigits, std::size_t maxDigits)
{
    if (s.size() < minDigits || s.size() > maxDigits)
        return std::nullopt;
    int value = 0;
    for (char c : s) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace

std::optional<Date> parseCsvDate(std::string_view input)
{
    const std::string s = text::trim(input);
    const std::size_t first = s.find('/');
    const std::size_t second = first == std::string::npos ? first : s.find('/', first + 1);
    if (second == std::string::npos)
        return std::nullopt;
    const std::string_view all(s);
    std::optional<int> year = digitsValue(all.substr(0, first), 4, 4);
    std::optional<int> month = digitsValue(all.substr(first + 1, second - first - 1), 1, 2);
    std::optional<int> day = digitsValue(all.substr(second + 1), 1, 2);
    if (!year || !month || !day || *year < kFirstYear || *year > kLastYear || !isValidDate(*year, *month, *day))
        return std::nullopt;
    return Date{*year, *month, *day};
}

std::optional<std::string> parseCsvTime(std::string_view input)
{
    std::string s = text::trim(input);
    if (s.empty())
        return s;
    // Spreadsheets write seconds; the schedule keeps the minute.
    if (const std::size_t second = s.find(':', s.find(':') + 1); second != std::string::npos) {
        const std::optional<int> seconds = digitsValue(std::string_view(s).substr(second + 1), 2, 2);
        if (!seconds || *seconds > 59)
            return std::nullopt;
        s.resize(second);
    }
    return ZeroPaddedTime(s);
}

namespace {

bool startsWith(std::string_view s, std::string_view prefix)
{
    return s.substr(0, prefix.size()) == prefix;
}

bool isContinuation(unsigned char c)
{
    return (c & 0xC0) == 0x80;
}

// Length of the well-formed UTF-8 sequence at s[i], or 0.
std::size_t utf8SequenceLength(std::string_view s, std::size_t i)
{
    const auto c = static_cast<unsigned char>(s[i]);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
    if (c < 0x80)
        return 1;
    if (c >= 0xC2 && c <= 0xDF) {
        length = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
        length = 3;
        if (c == 0xE0)
            low = 0xA0; // no overlong forms
        if (c == 0xED)
            high = 0x9F; // no surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
        length = 4;
        if (c == 0xF0)
            low = 0x90;
        if (c == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (i + length > s.size())
        return 0;
    const auto second = static_cast<unsigned char>(s[i + 1]);
    if (second < low || second > high)
        return 0;
    for (std::size_t k = 2; k < length; ++k)
        if (!isContinuation(static_cast<unsigned char>(s[i + k])))
            return 0;
    return length;
}

// Well-formed UTF-8 with at least one character of three bytes or more (every kana and kanji).
// Shift-JIS text almost never passes: its lead bytes 0x81-0x9F cannot start a UTF-8 sequence,
// and a few half-width kana that happen to form a two-byte sequence are not enough.
bool looksLikeUtf8(std::string_view s)
{
    bool wide = false;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t length = utf8SequenceLength(s, i);
        if (length == 0)
            return false;
        wide = wide || length >= 3;
        i += length;
    }
    return wide;
}

} // namespace

CsvEncodingIssue csvEncodingIssue(std::string_view line, bool firstLine)
{
    if (firstLine && (startsWith(line, "\xEF\xBB\xBF") || startsWith(line, "\xFF\xFE") || startsWith(line, "\xFE\xFF")))
        return CsvEncodingIssue::ByteOrderMark;
    if (line.find('\0') != std::string_view::npos)
        return CsvEncodingIssue::Binary;
    if (looksLikeUtf8(line))
        return CsvEncodingIssue::Utf8;
    return CsvEncodingIssue::None;
}

} // namespace kal
