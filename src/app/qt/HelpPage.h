// The help page, shipped inside the program, shown in the user's browser.
#pragma once

#include "platform/Platform.h"

namespace kal::qt {

// Copies the page to the user's own cache folder and opens it there; says why when it cannot.
void OpenHelpPage(Platform& platform);

} // namespace kal::qt
