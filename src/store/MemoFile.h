// Memo files (a day's yyyymmdd.mem, Memotemp.txt, a note's .not): plain Shift-JIS lines ended by
// CR LF. A memo that is empty is no file at all.
#pragma once

#include "store/Edit.h"

#include <string>
#include <vector>

namespace kal::store {

// The lines of a memo file's bytes; CR LF, LF and CR all end a line.
std::vector<std::string> ParseMemoText(const std::string& bytes);

// A memo of at most one line that holds only blanks and control characters is empty.
bool IsEmptyMemo(const std::vector<std::string>& lines);

// The memo at `path` becomes `lines`: the file written, or deleted when the memo is empty.
// Tells whether it was deleted.
bool PutMemo(EditFiles& files, const std::string& path, std::vector<std::string> lines);

} // namespace kal::store
