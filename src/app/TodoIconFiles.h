// The user's own pictures for the ToDo status icons, kept as TNoicon<n>.sbm in the program
// folder and switched on by the SetIcon flags.
#pragma once

#include "platform/Files.h"
#include "settings/AppSettings.h"

#include <optional>
#include <string>
#include <vector>

namespace kal {

// Writes the chosen pictures: `pictures[n]` holds the BMP bytes for state n + 1, or nothing when
// none was chosen. Each picture written turns its SetIcon flag on; one that cannot be written
// leaves its flag and its old file as they were and gets one line in the result (UTF-8), naming
// the file and the reason.
std::vector<std::string> SaveTodoIcons(const std::string& programFolder,
                                       const std::vector<std::optional<std::string>>& pictures, TodoIconFlags& setIcon,
                                       files::FileOps& ops = files::systemFileOps());

} // namespace kal
