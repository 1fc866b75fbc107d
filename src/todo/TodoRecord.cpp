#include "todo/TodoRecord.h"

#include "platform/ByteText.h"

namespace kal {

std::optional<Date> TodoDeadline(const std::string& line)
{
    if (line.size() < 10 || line[4] != '/' || line[7] != '/')
        return std::nullopt;
    const int year = text::toIntOr(line.substr(0, 4), -1);
    const int month = text::toIntOr(line.substr(5, 2), -1);
    const int day = text::toIntOr(line.substr(8, 2), -1);
    if (!isValidDate(year, month, day))
        return std::nullopt;
    return Date{year, month, day};
}

bool TodoIsOpen(const std::string& line)
{
    return line.size() >= 14 && line[13] == '0';
}

std::string TodoCategory(const std::string& line)
{
    return text::field(line, 25, 14);
}

std::string TodoTitle(const std::string& line)
{
    return text::fieldToEnd(line, 41);
}

} // namespace kal
