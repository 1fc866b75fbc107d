// Note.lst in the program folder: the order of the note tabs, one title a line. The lines that
// cannot be titles follow the titles, kept for the user to mend by hand.
#pragma once

#include "store/Edit.h"

#include <string>
#include <vector>

namespace kal::store {

inline constexpr const char* kNoteListFileName = "Note.lst";

// The lines of the file's bytes, each a title or not, in the file's order.
std::vector<std::string> ParseNoteListLines(const std::string& bytes);
std::vector<std::string> ComposeNoteList(const std::vector<std::string>& titles,
                                         const std::vector<std::string>& refused);

// The file written with the titles and then the refused lines.
EditResult SaveNoteListFile(const std::string& path, const std::vector<std::string>& titles,
                            const std::vector<std::string>& refused, files::FileOps& ops = files::systemFileOps());

} // namespace kal::store
