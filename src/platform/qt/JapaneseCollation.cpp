#include "platform/qt/JapaneseCollation.h"

#include "platform/qt/QtText.h"

#include <QCollatorSortKey>

#include <algorithm>
#include <numeric>

namespace kal::qt {

JapaneseCollation::JapaneseCollation() : collator_(QLocale(QLocale::Japanese, QLocale::Japan))
{
    collator_.setCaseSensitivity(Qt::CaseSensitive);
    collator_.setNumericMode(false);
    collator_.setIgnorePunctuation(false);
}

std::vector<int> JapaneseCollation::ranks(const std::vector<std::string>& texts) const
{
    // One sort key per text instead of two conversions per comparison: a list may hold
    // tens of thousands of rows.
    std::vector<QCollatorSortKey> keys;
    keys.reserve(texts.size());
    for (const std::string& text : texts)
        keys.push_back(collator_.sortKey(fromSjis(text)));
    std::vector<std::size_t> order(texts.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) { return keys[a].compare(keys[b]) < 0; });
    std::vector<int> ranks(texts.size());
    int rank = 0;
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (i > 0 && keys[order[i - 1]].compare(keys[order[i]]) != 0)
            ++rank;
        ranks[order[i]] = rank;
    }
    return ranks;
}

const JapaneseCollation& japaneseCollation()
{
    static const JapaneseCollation collation;
    return collation;
}

} // namespace kal::qt
