// The program's icons as pixels: drawn from data/icons/*.svg while building (tools/iconraster)
// into a source file of premultiplied ARGB32 rows in this machine's byte order, each size of all
// icons side by side, so that the few drawn at start share their pages.
#pragma once

#include <cstddef>
#include <span>

namespace kal::qt {

struct IconPixels {
    const char* name;   // the file's name without ".svg"
    int size;           // width and height
    const char* pixels; // size rows of size premultiplied ARGB32 values
};

// Every icon in every size it is stored in, grouped by name.
std::span<const IconPixels> iconPixels();

} // namespace kal::qt
