// One line of ToDo.dat: deadline (yyyy/mm/dd or 期限日なし), priority, progress, done flag,
// done date, 14-byte category, memo number, then the title.
#pragma once

#include "platform/Date.h"

#include <optional>
#include <string>

namespace kal {

inline constexpr const char* kTodoFileName = "ToDo.dat";

// The deadline as a date; nothing for 期限日なし or a malformed field.
std::optional<Date> TodoDeadline(const std::string& line);
// Open unless byte 14 is anything but "0".
bool TodoIsOpen(const std::string& line);
std::string TodoCategory(const std::string& line); // the 14 stored bytes
std::string TodoTitle(const std::string& line);    // from byte 41 to the end

} // namespace kal
