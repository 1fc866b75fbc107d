// The order of cell texts in the column sorts of the list window and the ToDo lists. It is the
// Japanese collation, which only the window side can give (qt::JapaneseCollation, Qt's collator),
// so the logic that sorts rows sees it through this interface.
#pragma once

#include <string>
#include <vector>

namespace kal::text {

class Collation {
public:
    virtual ~Collation() = default;
    // The place of each Shift-JIS text in the order: a text that sorts before another has the
    // lower rank, texts that compare equal share one.
    virtual std::vector<int> ranks(const std::vector<std::string>& texts) const = 0;
};

// -1, 0 or 1 as rank `a` sorts before, with or after rank `b`.
inline int compareRanks(int a, int b)
{
    return a < b ? -1 : (a > b ? 1 : 0);
}

} // namespace kal::text
