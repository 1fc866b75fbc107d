// Comma text: fields joined by commas, a field quoted when it holds a blank, a control
// character, a comma or a double quote (inner quotes doubled). Used by the CSV files, the
// ToDo memo file and the font values of the settings file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kal::text {

std::string joinCommaText(const std::vector<std::string>& items);

// Outside quotes a comma or any byte up to 0x20 ends an item; blanks after a separator are
// skipped; a quoted item runs to its closing quote (to the end when there is none).
std::vector<std::string> splitCommaText(std::string_view text);

} // namespace kal::text
