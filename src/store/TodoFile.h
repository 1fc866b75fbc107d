// ToDo.dat in the ToDo folder: one entry per line, kept sorted case-insensitively; lines that do
// not follow the layout are carried along untouched.
//
// | deadline 1-10 | priority 11 | progress 12-13 | done 14 | done date 15-24 | category 25-38 |
// | memo number 39-40 | title 41- |
#pragma once

#include "store/Columns.h"

namespace kal::store {

inline constexpr const char* kTodoFileName = "ToDo.dat";

enum class TodoField { Deadline, Priority, Progress, Done, DoneDate, Category, MemoNumber, Title };
inline constexpr Columns<TodoField, 8> kTodoColumns{{10, 1, 2, 1, 10, 14, 2}};

} // namespace kal::store
