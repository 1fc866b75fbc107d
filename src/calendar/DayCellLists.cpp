#include "calendar/DayCellLists.h"

#include "platform/ByteText.h"

#include <algorithm>

namespace kal {
namespace {

bool inCellOrder(const CellLine& a, const CellLine& b)
{
    return text::compareNoCase(a.text, b.text) < 0;
}

} // namespace

void DayCellLists::add(int column, int row, CellLine line)
{
    std::vector<CellLine>& list = at(column, row);
    auto after = std::upper_bound(list.begin(), list.end(), line, inCellOrder);
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
    if (!std::is_sorted(lines.begin(), lines.end(), inCellOrder))
        std::stable_sort(lines.begin(), lines.end(), inCellOrder);
    std::vector<CellLine>& list = at(column, row);
    const std::size_t from = list.size();
    list.insert(list.end(), std::make_move_iterator(lines.begin()), std::make_move_iterator(lines.end()));
    mergeAppended(column, row, from);
}

void DayCellLists::mergeAppended(int column, int row, std::size_t from)
{
    std::vector<CellLine>& list = at(column, row);
    const auto middle = list.begin() + static_cast<std::ptrdiff_t>(from);
    if (middle != list.begin() && middle != list.end() && inCellOrder(*middle, *(middle - 1)))
        std::inplace_merge(list.begin(), middle, list.end(), inCellOrder);
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
    held_.clear();
}

void DayCellLists::hold(std::vector<std::shared_ptr<const ExtraScheduleDays>> lists)
{
    held_.insert(held_.end(), std::make_move_iterator(lists.begin()), std::make_move_iterator(lists.end()));
}

} // namespace kal
