// The folders that hold the user's data, and what every start does in them before anything is
// read: changes that a crash interrupted are finished (FileTransaction.h) and the temporary files
// of killed saves removed.
#pragma once

#include "settings/AppSettings.h"

#include <string>
#include <vector>

namespace kal {

// The program folder made when it is missing, as at the first start of an installed program
// ($XDG_DATA_HOME/kalendra/). Empty when it is there; otherwise why not, for the user (one
// UTF-8 line).
std::string CreateProgramFolder(const std::string& programFolder);

// The program folder and the four data folders, each once.
std::vector<std::string> DataFolders(const AppSettings& settings, const std::string& programFolder);

// Recovers every folder; gives the message for the user when something could not be finished,
// empty otherwise (UTF-8).
std::string RecoverDataFolders(const std::vector<std::string>& folders);

inline constexpr const char* kRecoveryCaption = "Kalendra";

} // namespace kal
