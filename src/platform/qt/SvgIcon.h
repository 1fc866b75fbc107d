// An icon drawn from an SVG resource that reads the file once, when it is first drawn. Made
// through the SVG icon engine, every tool bar icon was read at start only to be checked, and
// again for each size and state it was drawn in.
#pragma once

#include <QIcon>

namespace kal::qt {

QIcon svgIcon(const QString& resource);

} // namespace kal::qt
