// The four status icons of open ToDo entries, indexed by TodoIcon (slot 0 stays empty): the
// built-in pictures, each replaced by the user's own bitmap when its SetIcon flag is on and
// the file holds a readable picture.
#pragma once

#include "settings/SettingFlags.h"

#include <QPixmap>

#include <array>
#include <string>

namespace kal::qt {

using TodoIconSet = std::array<QPixmap, 5>;

TodoIconSet LoadTodoIcons(const std::string& programFolder, const TodoIconFlags& setIcon);

} // namespace kal::qt
