#include "exchange/CsvExport.h"

#include "exchange/CsvText.h"
#include "platform/ByteText.h"
#include "platform/CommaText.h"
#include "platform/Files.h"
#include "platform/NumberFormat.h"
#include "platform/ReplaceQuestion.h"
#include "schedule/ScheduleRecord.h"
#include "store/MonthFile.h"

namespace kal {

std::vector<MonthRecord> monthRecords(int year, int month, const std::vector<std::string>& lines)
{
    std::vector<MonthRecord> records;
    records.reserve(lines.size());
    for (const std::string& line : lines)
        records.push_back(MonthRecord{year, month, line});
    return records;
}

std::string csvLineOf(const MonthRecord& record)
{
    const std::string& line = record.line;
    const std::string date = text::formatInt(record.year, 4, '0') + "/" + text::formatInt(record.month, 2, '0') + "/" +
                             std::string(store::kScheduleColumns.view(line, store::ScheduleField::Day));
    return text::joinCommaText({date, text::trimRight(RecStart(line)), text::trimRight(RecEnd(line)), RecTitle(line),
                                text::trimRight(RecPlace(line)), text::trimRight(RecCategory(line))});
}

std::vector<std::string> csvExportLines(const std::vector<MonthRecord>& records)
{
    std::vector<std::string> lines;
    lines.reserve(records.size());
    for (const MonthRecord& record : records)
        if (IsScheduleRecord(record.line))
            lines.push_back(csvLineOf(record));
    return lines;
}

CsvExportResult exportRecordsCsv(const std::string& csvPath, const std::vector<MonthRecord>& records,
                                 files::FileOps& ops)
{
    const std::vector<std::string> lines = csvExportLines(records);
    if (files::IoResult saved = files::saveBytesWithin(csvPath, files::joinLines(lines), kMaxCsvFileBytes, ops); !saved)
        return CsvExportResult{false, 0, "「" + csvPath + "」を保存できません。\r\n" + saved.reason};
    return CsvExportResult{true, static_cast<int>(lines.size()), {}};
}

CsvExportResult exportMonthCsv(const std::string& dataPath, int year, int month, const std::string& csvPath,
                               files::FileOps& ops)
{
    const std::string monthPath = MonthFilePath(dataPath, year, month);
    files::LoadForUpdate loaded = files::loadLinesForUpdate(monthPath);
    if (!loaded.ok)
        return CsvExportResult{false, 0, "「" + monthPath + "」を読み込めません。\r\n" + loaded.reason};
    return exportRecordsCsv(csvPath, monthRecords(year, month, loaded.lines), ops);
}

std::string monthCsvName(int year, int month)
{
    return text::formatInt(year, 4, '0') + text::formatInt(month, 2, '0') + ".csv";
}

std::optional<std::string> askCsvExportPath(Platform& platform, const std::string& dataPath,
                                            const std::string& proposedName)
{
    return askExportPath(platform, "CSV形式で保存", dataPath, proposedName, "CSV (*.csv);;すべてのファイル (*)");
}

std::optional<std::string> askExportPath(Platform& platform, const std::string& caption, const std::string& dataPath,
                                         const std::string& proposedName, const std::string& filter)
{
    std::optional<std::string> path =
        platform.saveFileName(caption, files::withSeparator(dataPath) + proposedName, filter);
    if (!path || path->empty())
        return std::nullopt;
    if (!AskBeforeReplacing(platform, kCsvSaveCaption, *path))
        return std::nullopt;
    return path;
}

} // namespace kal
