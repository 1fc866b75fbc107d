// The program's icons, drawn from their SVG pictures into a few sizes while building
// (IconPixels.h). A size between two stored ones is scaled down from the next larger, a larger
// one up from the largest; the drawn pixmaps are kept. No SVG renderer or image reader is loaded.
#pragma once

#include <QIcon>
#include <QImage>

namespace kal::qt {

// The icon `name` (such as "tb-find"); an unknown name draws nothing.
QIcon resourceIcon(const QString& name);

// The stored picture the icon draws `size` from: the smallest stored size not below it, else the
// largest; a null image for an unknown name. Shares the program's pixels (read-only).
QImage storedIconImage(const QString& name, int size);

} // namespace kal::qt
