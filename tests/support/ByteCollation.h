// Byte order as a collation, for the logic tests of the row sorts (the Japanese one needs Qt).
#pragma once

#include "platform/Collation.h"

#include <algorithm>

namespace kal::test {

struct ByteCollation final : text::Collation {
    std::vector<int> ranks(const std::vector<std::string>& texts) const override
    {
        std::vector<std::string> sorted = texts;
        std::sort(sorted.begin(), sorted.end());
        sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
        std::vector<int> ranks;
        for (const std::string& text : texts)
            ranks.push_back(static_cast<int>(std::lower_bound(sorted.begin(), sorted.end(), text) - sorted.begin()));
        return ranks;
    }
};

} // namespace kal::test
