#include "todo/qt/TodoIcons.h"

#include "platform/qt/QtText.h"
#include "platform/qt/Widgets.h"
#include "todo/TodoList.h"

#include <QImage>

namespace kal::qt {
namespace {

constexpr int kIconSize = 16;

constexpr std::array<const char*, 5> kBuiltIn = {nullptr, "todo-overdue", "todo-today", "todo-warning", "todo-normal"};

// A user's bitmap at the size of the built-in icons; a missing or broken file gives nothing.
QPixmap customIcon(const std::string& path)
{
    QImage image;
    if (!image.load(fromUtf8(path), "BMP") || image.isNull())
        return {};
    if (image.width() > kIconSize || image.height() > kIconSize)
        image = image.scaled(kIconSize, kIconSize, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return QPixmap::fromImage(image);
}

} // namespace

TodoIconSet LoadTodoIcons(const std::string& programFolder, const TodoIconFlags& setIcon)
{
    TodoIconSet icons;
    for (int state = 1; state <= 4; ++state) {
        QPixmap icon;
        if (std::optional<std::string> path = CustomTodoIconPath(programFolder, setIcon, state))
            icon = customIcon(*path);
        if (icon.isNull())
            icon = resourcePixmap(kBuiltIn[static_cast<std::size_t>(state)], kIconSize);
        icons[static_cast<std::size_t>(state)] = icon;
    }
    return icons;
}

} // namespace kal::qt
