#include "lists/ListRows.h"

#include "memo/DayMemo.h"
#include "platform/ByteText.h"
#include "platform/DateFormat.h"
#include "platform/Files.h"
#include "platform/NumberFormat.h"
#include "platform/SjisCodec.h"
#include "store/HolidayFile.h"

#include <algorithm>

namespace kal {
namespace {

const std::vector<ListColumn> kScheduleColumns = {{"連番", 0, ""},       {"日付", 92, "0000/00/00(水)"},
                                                  {"開始", 38, "00:00"}, {"終了", 38, "00:00"},
                                                  {"内容", 170, ""},     {"場所", 128, ""},
                                                  {"分類", 80, ""},      {"ｱﾗｰﾑ", 46, "PopUp"}};
const std::vector<ListColumn> kHolidayColumns = {{"連番", 0, ""},        {"指定日", 110, "00月最終水曜日"},
                                                 {"名称", 160, ""},      {"分類", 60, "記念日"},
                                                 {"適用開始年", 72, ""}, {"適用終了年", 72, ""}};
const std::vector<ListColumn> kMemoColumns = {{"連番", 0, ""}, {"日付", 92, "0000/00/00(水)"}, {"内容", 480, ""}};

std::string twoDigits(int value)
{
    return text::formatInt(value, 2, '0');
}

// "yyyy/mm/dd(aaa)"; a day the month does not have keeps its digits and gets no weekday.
std::string dateText(const Date& date)
{
    if (isValidDate(date.year, date.month, date.day))
        return text::formatDate("yyyy/mm/dd(aaa)", date);
    return text::formatInt(date.year, 4, '0') + "/" + twoDigits(date.month) + "/" + twoDigits(date.day);
}

std::string alarmText(const std::string& line)
{
    if (RecSound(line))
        return "Alarm";
    if (RecMessage(line))
        return "PopUp";
    return {};
}

std::string scheduleCell(const ListRow& row, int column)
{
    const std::string& line = row.text;
    switch (column) {
    case 1:
        return dateText(row.date);
    case 2:
        return RecStart(line);
    case 3:
        return RecEnd(line);
    case 4:
        return RecTitle(line);
    case 5:
        return RecPlace(line);
    case 6:
        return row.extra ? KAL_SJIS("購読:") + row.extra->source : text::trimRight(RecCategory(line));
    case 7:
        return alarmText(line);
    default:
        return {};
    }
}

std::string holidayKindText(const std::string& line)
{
    const std::string kind = store::kHolidayColumns.get(line, store::HolidayField::Kind);
    if (kind == "0")
        return KAL_SJIS("祝日");
    if (kind == "1")
        return KAL_SJIS("休日");
    if (kind == "2")
        return KAL_SJIS("記念日");
    return kind;
}

std::string holidayCell(const ListRow& row, int column)
{
    const std::string& line = row.text;
    switch (column) {
    case 1:
        return HolidayDateText(line);
    case 2:
        return store::HolidayName(line);
    case 3:
        return holidayKindText(line);
    case 4:
        return store::kHolidayColumns.get(line, store::HolidayField::FromYear);
    case 5:
        return store::kHolidayColumns.get(line, store::HolidayField::ToYear);
    default:
        return {};
    }
}

std::string memoCell(const ListRow& row, int column)
{
    switch (column) {
    case 1:
        return dateText(row.date);
    case kListMemoTextColumn: {
        std::string joined = row.text;
        joined.erase(std::remove(joined.begin(), joined.end(), '\n'), joined.end());
        return joined;
    }
    default:
        return {};
    }
}

// A month or day field as two digits ("01"), or as stored when it is no number.
std::string numberText(const std::string& field)
{
    const int value = text::toIntOr(field, -1);
    return value >= 0 ? twoDigits(value) : sjis::toUtf8(field);
}

std::string weekdayName(char code)
{
    static const char* const names[] = {"日", "月", "火", "水", "木", "金", "土"};
    return code >= '0' && code <= '6' ? names[code - '0'] : "?";
}

// "第2" or "最終" ("9" is read as the last, as the holidays do).
std::string weekNoText(char code)
{
    return code == '5' || code == '9' ? "最終" : "第" + std::string(1, code);
}

std::string count(std::size_t n)
{
    return " [" + std::to_string(n) + "件]";
}

} // namespace

std::vector<ListColumn> ListColumns(ListMode mode)
{
    switch (mode) {
    case ListMode::Holidays:
        return kHolidayColumns;
    case ListMode::Memos:
        return kMemoColumns;
    case ListMode::Schedules:
        break;
    }
    return kScheduleColumns;
}

std::string ListRowKey(const ListRows& rows, const ListRow& row)
{
    const std::string index = text::formatInt(row.lineIndex, 4, '0');
    switch (rows.mode) {
    case ListMode::Holidays:
        return index;
    case ListMode::Memos:
        return text::formatInt(row.date.year, 4, '0') + twoDigits(row.date.month) + twoDigits(row.date.day);
    case ListMode::Schedules:
        break;
    }
    return text::formatInt(row.date.year, 4, '0') + twoDigits(row.date.month) + text::field(row.text, 1, 2) + index;
}

std::string ListCellText(const ListRows& rows, const ListRow& row, int column)
{
    if (column == kListKeyColumn)
        return ListRowKey(rows, row);
    switch (rows.mode) {
    case ListMode::Holidays:
        return holidayCell(row, column);
    case ListMode::Memos:
        return memoCell(row, column);
    case ListMode::Schedules:
        break;
    }
    return scheduleCell(row, column);
}

std::vector<std::size_t> ListSortOrder(const ListRows& rows, std::vector<std::size_t> order, int column, int direction,
                                       const text::Collation& collation)
{
    if (column <= kListKeyColumn || column > kListLastSortColumn)
        return order;
    std::vector<std::string> texts;
    texts.reserve(rows.rows.size());
    for (const ListRow& row : rows.rows)
        texts.push_back(ListCellText(rows, row, column));
    const std::vector<int> ranks = collation.ranks(texts);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return text::compareRanks(ranks[a], ranks[b]) * direction < 0;
    });
    return order;
}

ScheduleRef ScheduleRefOf(const ListRows& rows, const ListRow& row)
{
    if (row.extra)
        return ScheduleRef{{}, -1, row.text};
    return ScheduleRef{MonthFilePath(rows.folder, row.date.year, row.date.month), row.lineIndex, row.text};
}

store::LineRef HolidayRefOf(const ListRows& rows, const ListRow& row)
{
    return store::LineRef{rows.table, row.lineIndex, row.text};
}

std::string MemoPathOf(const ListRows& rows, const ListRow& row)
{
    return MemoFilePath(rows.folder, row.date);
}

std::optional<DateSpan> ViewSpan(ListScope view, const Date& selected)
{
    switch (view) {
    case ListScope::Day:
        return DateSpan{selected, selected};
    case ListScope::Month:
        return DateSpan{Date{selected.year, selected.month, 1},
                        Date{selected.year, selected.month, daysInMonth(selected.year, selected.month)}};
    case ListScope::Year:
        return DateSpan{Date{selected.year, 1, 1}, Date{selected.year, 12, 31}};
    case ListScope::All:
        break;
    }
    return std::nullopt;
}

std::string ScheduleStatusLine(ListScope view, const Date& selected, std::size_t n)
{
    switch (view) {
    case ListScope::Day:
        return text::formatDateUtf8("yyyy\"年\"m\"月\"d\"日(\"aaa\")の予定\"", selected) + count(n);
    case ListScope::Month:
        return text::formatDateUtf8("yyyy\"年\"m\"月の予定\"", selected) + count(n);
    case ListScope::Year:
        return std::to_string(selected.year) + "年の予定" + count(n);
    case ListScope::All:
        break;
    }
    return "予定" + count(n);
}

std::string SearchStatusLine(std::size_t n)
{
    return "検索結果" + count(n);
}

ListRows HolidayEdit(const std::string& tablePath, std::optional<int> kind)
{
    ListRows rows;
    rows.mode = ListMode::Holidays;
    rows.table = tablePath;
    const std::vector<std::string> lines = files::loadLines(tablePath);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.empty() || (kind && store::kHolidayColumns.get(line, store::HolidayField::Kind) !=
                                         std::string(1, static_cast<char>('0' + *kind))))
            continue;
        rows.rows.push_back(ListRow{Date{}, static_cast<int>(i), line});
    }
    return rows;
}

std::string HolidayDateText(const std::string& line)
{
    const std::string month = store::kHolidayColumns.get(line, store::HolidayField::Month);
    const std::string day = store::kHolidayColumns.get(line, store::HolidayField::Day);
    const char weekNo = store::kHolidayColumns.byte(line, store::HolidayField::WeekNo);
    const std::string weekday = weekdayName(store::kHolidayColumns.byte(line, store::HolidayField::Weekday)) + "曜日";
    const bool everyMonth = month == "99";
    const bool dateRule = !text::isBlank(day);
    std::string utf8;
    if (month == "  ")
        utf8 = "毎週" + weekday;
    else if (everyMonth && dateRule)
        utf8 = "毎月" + numberText(day) + "日";
    else if (!everyMonth && !dateRule)
        utf8 = numberText(month) + "月" + weekNoText(weekNo) + weekday;
    else if (everyMonth)
        utf8 = "毎月" + weekNoText(weekNo) + weekday;
    else
        utf8 = numberText(month) + "月" + numberText(day) + "日";
    return sjis::fromUtf8Lossy(utf8);
}

} // namespace kal
