#include "todo/TodoMemo.h"

#include "platform/ByteText.h"
#include "platform/CommaText.h"
#include "platform/Files.h"
#include "platform/NumberFormat.h"
#include "todo/TodoRecord.h"

#include <array>

namespace kal {

std::string ComposeTodoMemo(int number, const std::vector<std::string>& lines)
{
    return text::formatInt(number, 2, '0') + "," + text::joinCommaText(lines);
}

TodoMemo ParseTodoMemo(const std::string& memoLine)
{
    TodoMemo memo;
    std::vector<std::string> items = text::splitCommaText(memoLine);
    if (items.empty())
        return memo;
    memo.number = items.front();
    // "07," is a memo without lines; one empty line is stored as "07,\"\"".
    const std::size_t comma = memoLine.find(',');
    if (items.size() == 2 && comma != std::string::npos && text::isBlank(memoLine.substr(comma + 1)))
        return memo;
    memo.lines.assign(items.begin() + 1, items.end());
    return memo;
}

int FindTodoMemo(const std::vector<std::string>& memoLines, int number)
{
    const std::string key = text::formatInt(number, 2, '0');
    for (std::size_t i = 0; i < memoLines.size(); ++i)
        if (memoLines[i].compare(0, 2, key) == 0)
            return static_cast<int>(i);
    return -1;
}

int FreeTodoMemoNumber(const std::vector<std::string>& todoLines, const std::vector<std::string>& memoLines)
{
    std::array<bool, kTodoMaxMemoNumber + 1> taken{};
    for (const std::string& line : todoLines)
        taken[static_cast<std::size_t>(TodoMemoNumber(line))] = true;
    for (const std::string& line : memoLines)
        taken[static_cast<std::size_t>(MemoNumberOf(line))] = true;
    for (int number = 1; number <= kTodoMaxMemoNumber; ++number)
        if (!taken[static_cast<std::size_t>(number)])
            return number;
    return 0;
}

std::vector<std::string> MemoLinesOfText(const std::string& text)
{
    // The exact inverse of MemoTextOfLines: a final line break starts an empty last line, so a
    // trailing empty line survives every save.
    std::vector<std::string> lines;
    if (text.empty())
        return lines;
    std::size_t begin = 0;
    for (;;) {
        const std::size_t end = text.find('\n', begin);
        std::string line = text.substr(begin, end == std::string::npos ? std::string::npos : end - begin);
        if (end == std::string::npos) {
            lines.push_back(std::move(line));
            return lines;
        }
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        begin = end + 1;
    }
}

std::string MemoTextOfLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            text += '\n';
        text += lines[i];
    }
    return text;
}

} // namespace kal
