// A ToDo.dat of 2,000 entries from the data generator: a quarter done, some without deadline,
// Japanese titles and categories, every one with a memo number.
#pragma once

#include "DataGenerator.h"

#include <string>
#include <vector>

namespace kal::bench {

inline constexpr int kTodoEntries = 2000;

inline std::vector<std::string> makeTodoLines()
{
    gendata::DataShape shape;
    shape.todoEntries = kTodoEntries;
    return gendata::TodoLines(shape);
}

} // namespace kal::bench
