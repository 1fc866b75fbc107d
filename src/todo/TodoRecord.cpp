#include "todo/TodoRecord.h"

#include "platform/ByteText.h"
#include "platform/DateFormat.h"
#include "platform/NumberFormat.h"
#include "platform/SjisCodec.h"
#include "store/TodoFile.h"

namespace kal {
namespace {

using store::kTodoColumns;
using store::TodoField;

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// "yyyy/mm/dd" with a real date, nothing else.
std::optional<Date> dateField(const std::string& line, TodoField field)
{
    const std::string f = kTodoColumns.get(line, field);
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
    line += kTodoColumns.fit(TodoField::Category, f.category);
    line += text::formatInt(f.memoNumber, 2, '0');
    line += f.title;
    return line;
}

std::optional<TodoFields> ParseTodo(const std::string& line)
{
    if (line.size() < kTodoColumns.fixedBytes())
        return std::nullopt;
    TodoFields f;
    if (kTodoColumns.get(line, TodoField::Deadline) != noDeadline()) {
        f.deadline = dateField(line, TodoField::Deadline);
        if (!f.deadline)
            return std::nullopt;
    }
    const char priority = kTodoColumns.byte(line, TodoField::Priority);
    if (priority < '0' || priority > '0' + kTodoMaxPriority)
        return std::nullopt;
    f.priority = priority - '0';
    const std::string progress = kTodoColumns.get(line, TodoField::Progress);
    if (!isDigit(progress[0]) || !isDigit(progress[1]))
        return std::nullopt;
    f.progress = (progress[0] - '0') * 10 + (progress[1] - '0');
    if (f.progress > kTodoMaxProgress)
        return std::nullopt;
    f.done = kTodoColumns.byte(line, TodoField::Done) != '0';
    const std::optional<Date> doneDate = dateField(line, TodoField::DoneDate);
    if (!doneDate)
        return std::nullopt;
    f.doneDate = *doneDate;
    f.category = TodoCategory(line);
    const std::string memo = kTodoColumns.get(line, TodoField::MemoNumber);
    if (memo != "  " && !(isDigit(memo[0]) && isDigit(memo[1])))
        return std::nullopt;
    f.memoNumber = TodoMemoNumber(line);
    f.title = TodoTitle(line);
    return f;
}

std::optional<Date> TodoDeadline(const std::string& line)
{
    return dateField(line, TodoField::Deadline);
}

bool TodoIsOpen(const std::string& line)
{
    return line.size() >= kTodoColumns.position(TodoField::Done) && kTodoColumns.byte(line, TodoField::Done) == '0';
}

std::string TodoCategory(const std::string& line)
{
    return kTodoColumns.get(line, TodoField::Category);
}

std::string TodoTitle(const std::string& line)
{
    return kTodoColumns.get(line, TodoField::Title);
}

int TodoMemoNumber(const std::string& line)
{
    return MemoNumberOf(kTodoColumns.get(line, TodoField::MemoNumber));
}

int MemoNumberOf(std::string_view twoBytes)
{
    if (twoBytes.size() < 2 || !isDigit(twoBytes[0]) || !isDigit(twoBytes[1]))
        return 0;
    return (twoBytes[0] - '0') * 10 + (twoBytes[1] - '0');
}

std::string TodoWithDone(const std::string& line, bool done, const Date& today)
{
    if (line.size() < kTodoColumns.position(TodoField::Category) - 1)
        return line;
    store::Columns<TodoField, 8>::Record fields = kTodoColumns.split(line);
    fields[kTodoColumns.index(TodoField::Done)] = done ? "1" : "0";
    if (done)
        fields[kTodoColumns.index(TodoField::DoneDate)] = dateText(today);
    return kTodoColumns.join(fields);
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
