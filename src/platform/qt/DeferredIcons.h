// The tool bar's and menu bar's overflow buttons take their icon from the style as they are
// created; reading that PNG through the image reader opens every image format plugin (and their
// libraries) to ask which one reads it. The icon is read when the button is first drawn instead.
#pragma once

namespace kal::qt {

// Puts a style that defers those icons in front of the application's style, once.
void deferOverflowIcons();

} // namespace kal::qt
