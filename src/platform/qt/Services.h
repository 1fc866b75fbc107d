// What every window is given: the platform and the runner of modal dialogs.
#pragma once

#include "platform/Platform.h"
#include "platform/qt/DialogRunner.h"

namespace kal::qt {

struct Services {
    Platform& platform;
    DialogRunner& dialogs;
};

} // namespace kal::qt
