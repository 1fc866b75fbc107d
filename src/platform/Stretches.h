// Work over many files shared by a few threads when it pays: most of reading thousands of small
// files is the system's work per file, which the processors can share. Each thread takes one
// stretch of the files in order, so that the callers join the stretches' results in order.
#pragma once

#include <cstddef>
#include <functional>
#include <iterator>
#include <vector>

namespace kal {

// How many stretches `items` make: one per `itemsPerThread`, at most one per processor, at least one.
std::size_t stretchCount(std::size_t items, std::size_t itemsPerThread);

// Runs `work(first, last, stretch)` for each of `stretches` stretches of `items`, side by side,
// and returns when all have ended.
void runStretches(std::size_t items, std::size_t stretches,
                  const std::function<void(std::size_t first, std::size_t last, std::size_t stretch)>& work);

// The results of the stretches, in order.
template <class Item> void appendStretch(std::vector<Item>& into, std::vector<Item>& stretch)
{
    into.insert(into.end(), std::make_move_iterator(stretch.begin()), std::make_move_iterator(stretch.end()));
}

} // namespace kal
