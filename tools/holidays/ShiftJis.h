// Shift-JIS (code page 932) through glibc's iconv.
#pragma once

#include <string>
#include <string_view>

namespace holidays {

// Both throw std::runtime_error on text the target cannot represent or on malformed input.
std::string utf8ToCp932(std::string_view utf8);
std::string cp932ToUtf8(std::string_view cp932);

}  // namespace holidays
