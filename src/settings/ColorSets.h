// Named colour sets: ProgramFolder + name + ".col", a "[Color]" line and one "CwNN=" line per
// colour item. A name becomes a file name, so it is checked first; a set is applied whole or
// not at all.
#pragma once

#include "platform/Files.h"
#include "settings/AppSettings.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace kal {

using ColorTable = std::array<ColorPair, ColorItemCount>;

inline constexpr const char* kColorSetExtension = ".col";

// Not empty, no path separator, no control character and no leading ".".
bool colorSetNameAllowed(const std::string& utf8Name);

// The names of the sets in `folder`, sorted, without extension.
std::vector<std::string> listColorSets(const std::string& folder);
std::string colorSetPath(const std::string& folder, const std::string& name);

std::vector<std::string> colorSetLines(const ColorTable& colors);
// `colors` with every "Cw" line of the file applied; nothing when any of them is bad or none
// is there.
std::optional<ColorTable> applyColorSetLines(const std::vector<std::string>& lines, const ColorTable& colors);

files::IoResult saveColorSet(const std::string& folder, const std::string& name, const ColorTable& colors,
                             files::FileOps& ops = files::systemFileOps());

struct ColorSetLoad {
    std::optional<ColorTable> colors;
    std::string reason; // UTF-8, when there are none
};
ColorSetLoad loadColorSet(const std::string& folder, const std::string& name, const ColorTable& colors);

files::IoResult deleteColorSet(const std::string& folder, const std::string& name,
                               files::FileOps& ops = files::systemFileOps());

} // namespace kal
