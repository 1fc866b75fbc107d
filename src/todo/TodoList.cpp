#include "todo/TodoList.h"

#include "platform/ByteText.h"
#include "platform/Files.h"
#include "platform/NumberFormat.h"
#include "platform/SjisCodec.h"

#include <algorithm>
#include <map>
#include <numeric>

namespace kal {
namespace {

struct ItemSpec {
    const char* caption;
    int width;
    ColumnAlign align;
};

constexpr std::array<ItemSpec, kTodoItemCount> kItems = {{
    {"期限日", 60, ColumnAlign::Left},
    {"残日数", 48, ColumnAlign::Right},
    {"優先度", 24, ColumnAlign::Centre},
    {"件名", 144, ColumnAlign::Left},
    {"分類", 80, ColumnAlign::Left},
    {"進捗", 36, ColumnAlign::Right},
    {"処理日", 60, ColumnAlign::Left},
}};

bool itemShown(TodoList list, const TodoItemFlags& flags, TodoItem item)
{
    if (item == TodoItem::Title)
        return true;
    if ((list == TodoList::Open && item == TodoItem::DoneDate) ||
        (list == TodoList::Done && item == TodoItem::DaysLeft))
        return false;
    return flags.on(item);
}

// "yy/mm/dd" of a stored "yyyy/mm/dd".
std::string shortDate(const Date& date)
{
    return text::formatInt(date.year % 100, 2, '0') + "/" + text::formatInt(date.month, 2, '0') + "/" +
           text::formatInt(date.day, 2, '0');
}

const std::string& priorityName(int priority)
{
    static const std::array<std::string, 4> names = {sjis::fromUtf8Lossy("Ａ"), sjis::fromUtf8Lossy("Ｂ"),
                                                     sjis::fromUtf8Lossy("Ｃ"), sjis::fromUtf8Lossy("Ｄ")};
    return names[static_cast<std::size_t>(std::clamp(priority, 0, 3))];
}

TodoRow rowOf(const std::string& path, int index, const std::string& line, const TodoFields& f, const Date& today,
              int warnTerm)
{
    TodoRow row;
    row.ref = store::LineRef{path, index, line};
    row.done = f.done;
    auto cell = [&row](TodoItem item) -> std::string& { return row.cells[static_cast<std::size_t>(item)]; };
    cell(TodoItem::Deadline) = f.deadline ? shortDate(*f.deadline) : KAL_SJIS("なし");
    if (f.deadline && !f.done) {
        row.daysLeft = daysBetween(today, *f.deadline);
        cell(TodoItem::DaysLeft) = std::to_string(*row.daysLeft);
        row.status = TodoIconFor(*f.deadline, today, warnTerm);
    }
    cell(TodoItem::Priority) = priorityName(f.priority);
    cell(TodoItem::Title) = f.title;
    cell(TodoItem::Category) = f.category;
    cell(TodoItem::Progress) = text::formatInt(f.progress * 10, 3) + "%";
    cell(TodoItem::DoneDate) = shortDate(f.doneDate);
    return row;
}

} // namespace

std::string TodoStateWords(const TodoRow& row)
{
    if (row.done)
        return "処理済";
    switch (row.status) {
    case TodoIcon::Overdue:
        return "期限切れ";
    case TodoIcon::DueToday:
        return "今日が期限";
    case TodoIcon::Warning:
        return "期限間近";
    default:
        return "未処理";
    }
}

std::vector<TodoColumn> TodoColumns(TodoList list, const TodoItemFlags& itemFlags, bool statusIcons, int priorityWidth,
                                    int titleWidth)
{
    std::vector<TodoColumn> columns;
    if (list == TodoList::Done)
        columns.push_back(TodoColumn{std::nullopt, "完", 24, ColumnAlign::Left});
    else if (statusIcons)
        columns.push_back(TodoColumn{std::nullopt, "状況", 38, ColumnAlign::Left});
    else
        columns.push_back(TodoColumn{std::nullopt, "", 20, ColumnAlign::Left});
    for (int i = 0; i < kTodoItemCount; ++i) {
        const auto item = static_cast<TodoItem>(i);
        if (!itemShown(list, itemFlags, item))
            continue;
        const ItemSpec& spec = kItems[static_cast<std::size_t>(i)];
        int width = spec.width;
        if (item == TodoItem::Priority)
            width = priorityWidth;
        else if (item == TodoItem::Title)
            width = titleWidth;
        columns.push_back(TodoColumn{item, spec.caption, width, spec.align});
    }
    return columns;
}

TodoRows BuildTodoRows(const std::string& todoPath, const std::vector<std::string>& lines, const Date& today,
                       int warnTerm)
{
    TodoRows rows;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::optional<TodoFields> fields = ParseTodo(lines[i]);
        if (!fields)
            continue;
        TodoRow row = rowOf(todoPath, static_cast<int>(i), lines[i], *fields, today, warnTerm);
        (row.done ? rows.done : rows.open).push_back(std::move(row));
    }
    return rows;
}

std::string TodoTabCaption(TodoList list, int count)
{
    const char* head = list == TodoList::Open ? "ToDo 未処理 [" : "ToDo 処理済 [";
    return head + text::formatInt(count, 2) + "件]";
}

std::vector<std::size_t> TodoSortOrder(const std::vector<TodoRow>& rows, TodoItem item, int direction,
                                       const text::Collation& collation)
{
    std::vector<std::size_t> order(rows.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::vector<int> ranks;
    if (item != TodoItem::DaysLeft) {
        std::vector<std::string> texts;
        texts.reserve(rows.size());
        for (const TodoRow& row : rows)
            texts.push_back(row.cells[static_cast<std::size_t>(item)]);
        ranks = collation.ranks(texts);
    }
    auto compare = [&](std::size_t a, std::size_t b) {
        if (item != TodoItem::DaysLeft)
            return text::compareRanks(ranks[a], ranks[b]);
        const std::optional<long long>& x = rows[a].daysLeft;
        const std::optional<long long>& y = rows[b].daysLeft;
        if (x == y)
            return 0;
        if (!x || !y)
            return x ? -1 : 1;
        return *x < *y ? -1 : 1;
    };
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return compare(a, b) * direction < 0; });
    return order;
}

std::optional<std::string> CustomTodoIconPath(const std::string& programFolder, const TodoIconFlags& setIcon, int state)
{
    if (!TodoIconReplaced(setIcon, state))
        return std::nullopt;
    return TodoIconFilePath(programFolder, state);
}

std::string TodoIconFilePath(const std::string& programFolder, int state)
{
    return files::withSeparator(programFolder) + "TNoicon" + std::to_string(state) + ".sbm";
}

std::vector<TodoKey> TodoKeys(const std::vector<TodoRow>& rows)
{
    std::vector<TodoKey> keys;
    keys.reserve(rows.size());
    std::map<std::string, int> seen;
    for (const TodoRow& row : rows)
        keys.push_back(TodoKey{row.ref.line, seen[row.ref.line]++});
    return keys;
}

} // namespace kal
