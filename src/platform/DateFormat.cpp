#include "platform/DateFormat.h"

#include "platform/NumberFormat.h"
#include "platform/SjisCodec.h"

#include <array>
#include <cctype>

namespace kal::text {
namespace {

struct EraStart {
    Date start;
    const char* name; // UTF-8
};

// Eras by their first day; before Meiji the Western year is shown without era.
const std::array<EraStart, 5> kEras = {{
    {{1868, 1, 25}, "明治"},
    {{1912, 7, 30}, "大正"},
    {{1926, 12, 25}, "昭和"},
    {{1989, 1, 8}, "平成"},
    {{2019, 5, 1}, "令和"},
}};

const std::array<std::string, 7>& weekdayShortNames()
{
    static const std::array<std::string, 7> names = {
        sjis::fromUtf8Lossy("日"), sjis::fromUtf8Lossy("月"), sjis::fromUtf8Lossy("火"), sjis::fromUtf8Lossy("水"),
        sjis::fromUtf8Lossy("木"), sjis::fromUtf8Lossy("金"), sjis::fromUtf8Lossy("土")};
    return names;
}

const std::array<std::string, 7>& weekdayLongNames()
{
    static const std::array<std::string, 7> names = [] {
        std::array<std::string, 7> out;
        for (int i = 0; i < 7; ++i)
            out[static_cast<std::size_t>(i)] = weekdayShortNames()[static_cast<std::size_t>(i)] + KAL_SJIS("曜日");
        return out;
    }();
    return names;
}

char lower(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

bool startsWithNoCase(std::string_view s, std::size_t at, std::string_view word)
{
    if (at + word.size() > s.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i)
        if (lower(s[at + i]) != word[i])
            return false;
    return true;
}

// An hour is written on the twelve-hour clock when an am/pm marker follows it before the next
// hour letter, outside quotes.
bool twelveHourAfter(std::string_view pattern, std::size_t from)
{
    char quote = 0;
    for (std::size_t i = from; i < pattern.size(); i += sjis::charLength(pattern, i)) {
        char c = pattern[i];
        if (quote) {
            if (c == quote)
                quote = 0;
            continue;
        }
        if (c == '"' || c == '\'') {
            quote = c;
            continue;
        }
        char l = lower(c);
        if (l == 'h')
            return false;
        if (l == 'a')
            return startsWithNoCase(pattern, i, "am/pm") || startsWithNoCase(pattern, i, "a/p") ||
                   startsWithNoCase(pattern, i, "ampm");
    }
    return false;
}

class Formatter {
public:
    Formatter(std::string_view pattern, const DateTime& dt) : p_(pattern), dt_(dt) { }

    std::string run()
    {
        while (i_ < p_.size()) {
            if (sjis::charLength(p_, i_) == 2) {
                out_.append(p_.substr(i_, 2));
                i_ += 2;
                continue;
            }
            char c = p_[i_];
            if (c == '"' || c == '\'') {
                literal(c);
                continue;
            }
            if (!token(lower(c))) {
                out_ += c;
                ++i_;
            }
        }
        return out_;
    }

private:
    std::size_t count(char letter)
    {
        std::size_t n = 0;
        while (i_ + n < p_.size() && lower(p_[i_ + n]) == letter)
            ++n;
        i_ += n;
        return n;
    }

    void literal(char quote)
    {
        ++i_;
        while (i_ < p_.size() && p_[i_] != quote) {
            std::size_t len = sjis::charLength(p_, i_);
            out_.append(p_.substr(i_, len));
            i_ += len;
        }
        if (i_ < p_.size())
            ++i_;
    }

    void number(long long value, std::size_t digits) { out_ += formatInt(value, static_cast<int>(digits), '0'); }

    // Returns false for a character that is copied as it is.
    bool token(char t)
    {
        const Date& d = dt_.date;
        switch (t) {
        case 'y': {
            std::size_t n = count('y');
            if (n <= 2)
                number(d.year % 100, 2);
            else
                number(d.year, 4);
            last_ = 'y';
            return true;
        }
        case 'm': {
            std::size_t n = count('m');
            if (last_ == 'h') {
                number(dt_.minute, n >= 2 ? 2 : 1);
            } else if (n <= 2) {
                number(d.month, n);
            } else {
                out_ += formatInt(d.month) + KAL_SJIS("月");
            }
            last_ = 'm';
            return true;
        }
        case 'd': {
            std::size_t n = count('d');
            if (n <= 2)
                number(d.day, n);
            else if (n == 3)
                out_ += japaneseWeekdayShort(dayOfWeek(d));
            else if (n == 4)
                out_ += japaneseWeekdayLong(dayOfWeek(d));
            else if (n == 5)
                out_ += Formatter("yyyy/mm/dd", dt_).run();
            else
                out_ += Formatter(KAL_SJIS("yyyy'年'm'月'd'日'"), dt_).run();
            last_ = 'd';
            return true;
        }
        case 'h': {
            std::size_t n = count('h');
            bool twelve = twelveHourAfter(p_, i_);
            int hour = dt_.hour;
            if (twelve) {
                hour %= 12;
                if (hour == 0)
                    hour = 12;
            }
            number(hour, n >= 2 ? 2 : 1);
            last_ = 'h';
            return true;
        }
        case 'n': {
            std::size_t n = count('n');
            number(dt_.minute, n >= 2 ? 2 : 1);
            last_ = 'n';
            return true;
        }
        case 's': {
            std::size_t n = count('s');
            number(dt_.second, n >= 2 ? 2 : 1);
            last_ = 's';
            return true;
        }
        case 'z': {
            std::size_t n = count('z');
            number(0, n >= 3 ? 3 : 1);
            last_ = 'z';
            return true;
        }
        case 'a':
            return amPmOrWeekday();
        case 'g': {
            std::size_t n = count('g');
            EraYear era = eraYearOf(d);
            if (era.hasEra)
                out_ += n == 1 ? era.name.substr(0, sjis::charLength(era.name, 0)) : era.name;
            last_ = 'g';
            return true;
        }
        case 'e': {
            std::size_t n = count('e');
            EraYear era = eraYearOf(d);
            int year = era.hasEra ? era.year : d.year;
            number(year, n >= 2 ? 2 : 1);
            last_ = 'e';
            return true;
        }
        case 'c':
            ++i_;
            out_ += Formatter("yyyy/mm/dd hh:nn:ss", dt_).run();
            last_ = 'c';
            return true;
        case 't': {
            std::size_t n = count('t');
            out_ += Formatter(n >= 2 ? "hh:nn:ss" : "hh:nn", dt_).run();
            last_ = 't';
            return true;
        }
        default:
            return false;
        }
    }

    bool amPmOrWeekday()
    {
        bool pm = dt_.hour >= 12;
        if (startsWithNoCase(p_, i_, "am/pm")) {
            out_.append(p_.substr(i_ + (pm ? 3 : 0), 2));
            i_ += 5;
        } else if (startsWithNoCase(p_, i_, "a/p")) {
            out_ += p_[i_ + (pm ? 2 : 0)];
            i_ += 3;
        } else if (startsWithNoCase(p_, i_, "ampm")) {
            out_ += pm ? KAL_SJIS("午後") : KAL_SJIS("午前");
            i_ += 4;
        } else if (startsWithNoCase(p_, i_, "aaaa")) {
            out_ += japaneseWeekdayLong(dayOfWeek(dt_.date));
            i_ += 4;
        } else if (startsWithNoCase(p_, i_, "aaa")) {
            out_ += japaneseWeekdayShort(dayOfWeek(dt_.date));
            i_ += 3;
        } else {
            return false;
        }
        last_ = 'a';
        return true;
    }

    std::string_view p_;
    const DateTime& dt_;
    std::size_t i_ = 0;
    std::string out_;
    char last_ = 0;
};

} // namespace

EraYear eraYearOf(const Date& date)
{
    for (auto it = kEras.rbegin(); it != kEras.rend(); ++it) {
        if (date >= it->start)
            return EraYear{true, sjis::fromUtf8Lossy(it->name), date.year - it->start.year + 1};
    }
    return EraYear{false, {}, date.year};
}

const std::string& japaneseWeekdayShort(int dow)
{
    return weekdayShortNames()[static_cast<std::size_t>(dow % 7)];
}

const std::string& japaneseWeekdayLong(int dow)
{
    return weekdayLongNames()[static_cast<std::size_t>(dow % 7)];
}

std::string formatDateTime(std::string_view pattern, const DateTime& dateTime)
{
    return Formatter(pattern, dateTime).run();
}

std::string formatDate(std::string_view pattern, const Date& date)
{
    DateTime dt;
    dt.date = date;
    return formatDateTime(pattern, dt);
}

std::string formatDateUtf8(std::string_view utf8Pattern, const Date& date)
{
    return sjis::toUtf8(formatDate(sjis::fromUtf8Lossy(utf8Pattern), date));
}

std::string formatDateTimeUtf8(std::string_view utf8Pattern, const DateTime& dateTime)
{
    return sjis::toUtf8(formatDateTime(sjis::fromUtf8Lossy(utf8Pattern), dateTime));
}

std::optional<Date> parseSlashDate(const std::string& s)
{
    if (s.size() != 10 || s[4] != '/' || s[7] != '/')
        return std::nullopt;
    for (std::size_t i : {0, 1, 2, 3, 5, 6, 8, 9})
        if (s[i] < '0' || s[i] > '9')
            return std::nullopt;
    const Date date{std::stoi(s.substr(0, 4)), std::stoi(s.substr(5, 2)), std::stoi(s.substr(8, 2))};
    if (!isValidDate(date.year, date.month, date.day))
        return std::nullopt;
    return date;
}

} // namespace kal::text
