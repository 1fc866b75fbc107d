// The one question before a save replaces a file that is already there.
#pragma once

#include "platform/Platform.h"

#include <string>

namespace kal {

// True when nothing is at `path` or the user agrees to replace it.
bool AskBeforeReplacing(Platform& platform, const std::string& caption, const std::string& path);

} // namespace kal
