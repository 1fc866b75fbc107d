#include "calendar/DayCellLists.h"

#include "platform/ByteText.h"

#include <algorithm>

namespace kal {

void DayCellLists::add(int column, int row, CellLine line)
{
    std::vector<CellLine>& list = at(column, row);
    auto after = std::upper_bound(list.begin(), list.end(), line, [](const CellLine& a, const CellLine& b) {
        return text::compareNoCase(a.text, b.text) < 0;
    });
    if (line.kind() != '3' && !line.extra) {
        // Two ToDo entries with identical lines are two entries; only the same one is not
        // added twice.
        for (auto it = list.begin(); it != after; ++it)
            if (text::compareNoCase(it->text, line.text) == 0 && it->lineIndex == line.lineIndex)
                return;
    }
    list.insert(after, std::move(line));
}

void DayCellLists::addAll(int column, int row, std::vector<CellLine>& lines)
{
    std::vector<CellLine>& list = at(column, row);
    const auto less = [](const CellLine& a, const CellLine& b) { return text::compareNoCase(a.text, b.text) < 0; };
    if (!std::is_sorted(lines.begin(), lines.end(), less))
        std::stable_sort(lines.begin(), lines.end(), less);
    if (list.empty()) {
        list.swap(lines);
        return;
    }
    const auto middle = static_cast<std::ptrdiff_t>(list.size());
    const bool allAfter = lines.empty() || !less(lines.front(), list.back());
    list.insert(list.end(), std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()));
    if (!allAfter)
        std::inplace_merge(list.begin(), list.begin() + middle, list.end(), less);
}

void DayCellLists::removeFirst(int column, int row)
{
    std::vector<CellLine>& list = at(column, row);
    if (!list.empty())
        list.erase(list.begin());
}

void DayCellLists::clear()
{
    for (auto& list : lists_)
        list.clear();
}

} // namespace kal
