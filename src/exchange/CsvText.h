// Data exchange: schedules to and from comma-separated text.
//
// CsvText reads the lines of a CSV file: columns, dates and the encodings it refuses.
// CsvExport writes the shown month or a list of records; ScheduleImport turns imported schedules
// into month files and new categories (shared by every import format); CsvImport maps the
// columns of a CSV file onto it. The functions here are pure, so they can be fed anything.
#pragma once

#include "platform/Date.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kal {

// The size limit of a CSV file, for the import that reads it and the exports that write it.
inline constexpr std::size_t kMaxCsvFileBytes = std::size_t{64} << 20;

// Every field of a raw line enclosed in double quotes: a quote outside a quoted field only
// switches quoting, a doubled quote inside one stands for one quote character, and a comma
// inside quotes belongs to the field.
std::string normalizeCsvLine(std::string_view raw);

// Whether a raw line ends inside a quoted field: a field broken over two lines, or a quote
// that is never closed.
bool csvLineEndsInsideQuotes(std::string_view raw);

// The columns of a raw line (the normalised line split by the comma-text rule); a trailing
// comma gives a last empty column.
std::vector<std::string> splitCsvLine(std::string_view raw);

// The column at a 0-based index; empty beyond the last one.
std::string csvColumn(const std::vector<std::string>& columns, int index);

// A date written yyyy/mm/dd (month and day also with one digit, blanks around allowed) inside
// the years the calendar shows.
std::optional<Date> parseCsvDate(std::string_view text);

// A time of day written H:MM or HH:MM (seconds allowed and dropped, blanks around allowed) as
// the zero-padded HH:MM the schedules store; an empty text for a blank one; nothing for
// anything that is not a time of day.
std::optional<std::string> parseCsvTime(std::string_view text);

// Why a line cannot be Shift-JIS text.
enum class CsvEncodingIssue { None, ByteOrderMark, Utf8, Binary };
// `firstLine`: only the first line of a file can begin with a byte-order mark.
CsvEncodingIssue csvEncodingIssue(std::string_view line, bool firstLine);

} // namespace kal
