// ToDoMemo.dat: one line per ToDo memo, the memo number (two digits), a comma, then the memo's
// lines as comma text. The file is kept sorted, so by memo number.
#pragma once

#include <string>
#include <vector>

namespace kal {

inline constexpr const char* kTodoMemoFileName = "ToDoMemo.dat";

struct TodoMemo {
    std::string number;             // the first item as stored ("01")
    std::vector<std::string> lines; // Shift-JIS
};

std::string ComposeTodoMemo(int number, const std::vector<std::string>& lines);
TodoMemo ParseTodoMemo(const std::string& memoLine);

// Index of the first memo line whose first two bytes are `number` as "00"; -1 when none.
int FindTodoMemo(const std::vector<std::string>& memoLines, int number);

// The smallest number from 1 to 99 that neither an entry of ToDo.dat nor a line of
// ToDoMemo.dat uses, so a new entry never inherits a memo left behind; 0 when all are taken.
int FreeTodoMemoNumber(const std::vector<std::string>& todoLines, const std::vector<std::string>& memoLines);

// Text of a memo editor (lines parted by LF or CR LF) as memo lines and back, each the inverse
// of the other; an empty text has no lines, a final line end starts an empty last line.
std::vector<std::string> MemoLinesOfText(const std::string& text);
std::string MemoTextOfLines(const std::vector<std::string>& lines);

} // namespace kal
