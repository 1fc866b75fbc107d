// The four status icons of open ToDo entries, indexed by TodoIcon (slot 0 stays empty): the
// built-in pictures, each replaced by the user's own bitmap when its SetIcon flag is on and
// the file holds a readable picture.
#pragma once

#include <QPixmap>

#include <array>
#include <string>

namespace kal::qt {

using TodoIconSet = std::array<QPixmap, 5>;

TodoIconSet LoadTodoIcons(const std::string& programFolder, const std::array<int, 9>& setIcon);

} // namespace kal::qt
