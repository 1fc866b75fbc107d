#include "store/PickListFile.h"

#include "platform/ByteText.h"

#include <algorithm>

namespace kal::store {

std::vector<std::string> PickListEntries(std::vector<std::string> lines)
{
    text::sortNoCase(lines);
    auto equal = [](const std::string& a, const std::string& b) { return text::equalsNoCase(a, b); };
    lines.erase(std::unique(lines.begin(), lines.end(), equal), lines.end());
    return lines;
}

} // namespace kal::store
