#include "todo/TodoRecord.h"

#include "platform/ByteText.h"
#include "platform/DateFormat.h"
#include "platform/NumberFormat.h"
#include "platform/SjisCodec.h"

namespace kal {
namespace {

constexpr std::size_t kFixedBytes = 40;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// "yyyy/mm/dd" with a real date, nothing else.
std::optional<Date> dateField(const std::string& line, std::size_t position)
{
    const std::string f = text::field(line, position, 10);
    if (f.size() != 10 || f[4] != '/' || f[7] != '/')
        return std::nullopt;
    for (std::size_t i : {0u, 1u, 2u, 3u, 5u, 6u, 8u, 9u})
        if (!isDigit(f[i]))
            return std::nullopt;
    const int year = text::toIntOr(f.substr(0, 4), -1);
    const int month = text::toIntOr(f.substr(5, 2), -1);
    const int day = text::toIntOr(f.substr(8, 2), -1);
    if (!isValidDate(year, month, day))
        return std::nullopt;
    return Date{year, month, day};
}

const std::string& noDeadline()
{
    return KAL_SJIS("期限日なし");
}

std::string dateText(const Date& date)
{
    return text::formatDate("yyyy/mm/dd", date);
}

} // namespace

std::string ComposeTodo(const TodoFields& f)
{
    std::string line = f.deadline ? dateText(*f.deadline) : noDeadline();
    line += static_cast<char>('0' + f.priority);
    line += text::formatInt(f.progress, 2, '0');
    line += f.done ? '1' : '0';
    line += dateText(f.doneDate);
    line += text::padCut(f.category, kTodoCategoryBytes);
    line += text::formatInt(f.memoNumber, 2, '0');
    line += f.title;
    return line;
}

std::optional<TodoFields> ParseTodo(const std::string& line)
{
    if (line.size() < kFixedBytes)
        return std::nullopt;
    TodoFields f;
    if (line.compare(0, 10, noDeadline()) != 0) {
        f.deadline = dateField(line, 1);
        if (!f.deadline)
            return std::nullopt;
    }
    if (line[10] < '0' || line[10] > '0' + kTodoMaxPriority)
        return std::nullopt;
    f.priority = line[10] - '0';
    if (!isDigit(line[11]) || !isDigit(line[12]))
        return std::nullopt;
    f.progress = (line[11] - '0') * 10 + (line[12] - '0');
    if (f.progress > kTodoMaxProgress)
        return std::nullopt;
    f.done = line[13] != '0';
    const std::optional<Date> doneDate = dateField(line, 15);
    if (!doneDate)
        return std::nullopt;
    f.doneDate = *doneDate;
    f.category = line.substr(24, kTodoCategoryBytes);
    const std::string memo = line.substr(38, 2);
    if (memo != "  " && !(isDigit(memo[0]) && isDigit(memo[1])))
        return std::nullopt;
    f.memoNumber = TodoMemoNumber(line);
    f.title = line.substr(kFixedBytes);
    return f;
}

std::optional<Date> TodoDeadline(const std::string& line)
{
    return dateField(line, 1);
}

bool TodoIsOpen(const std::string& line)
{
    return line.size() >= 14 && line[13] == '0';
}

std::string TodoCategory(const std::string& line)
{
    return text::field(line, 25, kTodoCategoryBytes);
}

std::string TodoTitle(const std::string& line)
{
    return text::fieldToEnd(line, kFixedBytes + 1);
}

int TodoMemoNumber(const std::string& line)
{
    return MemoNumberOf(text::field(line, 39, 2));
}

int MemoNumberOf(std::string_view twoBytes)
{
    if (twoBytes.size() < 2 || !isDigit(twoBytes[0]) || !isDigit(twoBytes[1]))
        return 0;
    return (twoBytes[0] - '0') * 10 + (twoBytes[1] - '0');
}

std::string TodoWithDone(const std::string& line, bool done, const Date& today)
{
    std::string changed = line;
    if (changed.size() < 24)
        return changed;
    changed[13] = done ? '1' : '0';
    if (done)
        changed.replace(14, 10, dateText(today));
    return changed;
}

TodoIcon TodoIconFor(const Date& day, const Date& today, int warnTerm)
{
    if (day < today)
        return TodoIcon::Overdue;
    if (day == today)
        return TodoIcon::DueToday;
    if (day <= addDays(today, warnTerm))
        return TodoIcon::Warning;
    return TodoIcon::Normal;
}

} // namespace kal
