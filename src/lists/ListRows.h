// What the list window shows: schedules, the rules of the holiday table or daily memos, one row
// per record with the identity it was read with (file, line index, text), the columns of each
// mode, the cell texts (Shift-JIS, made when a cell is shown or sorted), the column sort and the
// status lines; and the fills of the views.
#pragma once

#include "calendar/HolidayInput.h"
#include "platform/Collation.h"
#include "platform/Date.h"
#include "schedule/ExtraSchedules.h"
#include "schedule/ScheduleRecord.h"
#include "store/Edit.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kal {

enum class ListMode { Schedules = 1, Holidays = 2, Memos = 3 };

// Schedules and memos: one day, month, year or everything around the selected date. Holidays:
// the kinds 祝日, 休日, 記念日, or every rule.
enum class ListScope { Day = 1, Month = 2, Year = 3, All = 4 };

struct ListRow {
    Date date;         // schedules (day as stored, checked only when shown) and memos
    int lineIndex = 0; // schedules and holidays: the 0-based line in the file
    std::string text;  // schedules and holidays: the line as read; memos: MemoTextOfLines of its lines
    std::shared_ptr<const ExtraSchedule> extra = {}; // a subscribed calendar's entry: read-only, in no file
};

struct ListRows {
    ListMode mode = ListMode::Schedules;
    std::string folder;        // schedules: the schedule folder, memos: the memo folder
    std::string table;         // holidays: the path of Holiday.dat
    std::vector<ListRow> rows; // in the order of their keys
    // Files of the range that exist but could not be read: the rows are not all there are.
    std::vector<files::FileProblem> unreadable;
};

struct ListColumn {
    const char* caption; // UTF-8
    int width;           // pixels; the key column is never shown
    const char* sample;  // UTF-8: the widest usual text, which the column shows whole; empty when none
};

inline constexpr int kListKeyColumn = 0;
// A memo's text: its lines joined without separator, as the search matches them.
inline constexpr int kListMemoTextColumn = 2;
// Columns beyond this position do not sort.
inline constexpr int kListLastSortColumn = 7;

std::vector<ListColumn> ListColumns(ListMode mode);

// The key of a row (column 0): schedules yyyymm + the stored day + the line index as "0000",
// holidays the line index as "0000", memos yyyymmdd.
std::string ListRowKey(const ListRows& rows, const ListRow& row);
// The Shift-JIS text of one cell.
std::string ListCellText(const ListRows& rows, const ListRow& row, int column);

// `order` (row positions as shown) sorted by one column's text in `collation`'s order,
// descending when `direction` is -1; rows with equal texts keep their places relative to each
// other.
std::vector<std::size_t> ListSortOrder(const ListRows& rows, std::vector<std::size_t> order, int column, int direction,
                                       const text::Collation& collation);

// Where a row's record stands.
ScheduleRef ScheduleRefOf(const ListRows& rows, const ListRow& row);
store::LineRef HolidayRefOf(const ListRows& rows, const ListRow& row);
std::string MemoPathOf(const ListRows& rows, const ListRow& row);

// The first and last day a view covers around `selected`; nothing for every day.
struct DateSpan {
    Date from;
    Date to;
};
std::optional<DateSpan> ViewSpan(ListScope view, const Date& selected);

// The schedule list's status line (UTF-8); the ALL view is "予定 [n件]".
std::string ScheduleStatusLine(ListScope view, const Date& selected, std::size_t count);
// "検索結果 [n件]".
std::string SearchStatusLine(std::size_t count);

// The rules of the holiday table, all or one kind (0 to 2), in file order; a missing table
// lists nothing.
ListRows HolidayEdit(const std::string& tablePath, std::optional<int> kind);
// The 指定日 text of a rule: 毎週日曜日, 毎月15日, 1月第2月曜日, 毎月最終月曜日, 01月01日...
std::string HolidayDateText(const std::string& line);

} // namespace kal
