// An icon drawn from an SVG resource, read when a size of it is first drawn and kept as the
// drawn pixmaps. Made through the SVG icon engine, every tool bar icon was read at start only to
// be checked, and again for each size and state it was drawn in.
#pragma once

#include <QIcon>

namespace kal::qt {

QIcon svgIcon(const QString& resource);

} // namespace kal::qt
