// printf-free number formatting: "%2d"-style widths and "#,##0".
#pragma once

#include <string>

namespace kal::text {

// Right-aligned in `width` places, padded with `pad` (' ' for "%2d", '0' for "00").
std::string formatInt(long long value, int width = 0, char pad = ' ');

// Thousands separated by commas ("#,##0").
std::string formatThousands(long long value);

} // namespace kal::text
