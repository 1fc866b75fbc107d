// The month files yyyymm.sch in the schedule folder: one schedule per line, kept sorted
// case-insensitively by the whole line.
//
// | day 1-2 | start 3-7 | end 8-12 | category 13-26 | style 27 | lines 28 | sound 29 |
// | message 30 | title 31-70 (padded only when a place follows) | place 71- |
#pragma once

#include "store/Columns.h"

namespace kal::store {

enum class ScheduleField { Day, Start, End, Category, BoldItalic, UnderlineStrike, Sound, Message, Title, Place };
inline constexpr Columns<ScheduleField, 10> kScheduleColumns{{2, 5, 5, 14, 1, 1, 1, 1, 40}};

} // namespace kal::store
