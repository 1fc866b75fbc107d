// Category.tbl in the program folder: one category a line in the user's order. The colours are
// eight decimal digits or eight blanks; whatever follows them is kept.
//
// | name 1-14 | shown flag 15 | blank 16 | text colour 17-24 | background 25-32 | rest 33- |
#pragma once

#include "store/Columns.h"

namespace kal::store {

inline constexpr const char* kCategoryFileName = "Category.tbl";

enum class CategoryField { Name, Shown, Blank, TextColor, BackColor, Rest };
inline constexpr Columns<CategoryField, 6> kCategoryColumns{{14, 1, 1, 8, 8}};

} // namespace kal::store
