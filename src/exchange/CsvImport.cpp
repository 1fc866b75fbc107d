#include "exchange/CsvImport.h"

#include "exchange/CsvText.h"
#include "platform/ByteText.h"
#include "platform/Files.h"
#include "platform/SjisCodec.h"

#include <algorithm>

namespace kal {

std::string csvTargetLabel(int target)
{
    static const char* const labels[kCsvTargetCount] = {
        "日付（yyyy/mm/dd）", "開始時刻（HH:MM）", "終了時刻（HH:MM）", "内容", "場所", "分類"};
    if (target < 0 || target >= kCsvTargetCount)
        return {};
    return text::padCut(sjis::fromUtf8Lossy(labels[target]), 18);
}

std::string csvTargetRow(int target, int column, const std::vector<std::string>& columns)
{
    return csvTargetLabel(target) + " : " + csvColumn(columns, column);
}

CsvMapping CsvMapping::inOrder()
{
    CsvMapping mapping;
    mapping.assignInOrder(kCsvTargetCount);
    return mapping;
}

int CsvMapping::columnOf(int target) const
{
    if (target < 0 || target >= kCsvTargetCount)
        return kUnassigned;
    return columns_[static_cast<std::size_t>(target)];
}

bool CsvMapping::isAssigned(int column) const
{
    return column != kUnassigned && std::find(columns_.begin(), columns_.end(), column) != columns_.end();
}

bool CsvMapping::assign(int target, int column)
{
    if (target < 0 || target >= kCsvTargetCount || column < 0 || isAssigned(column))
        return false;
    columns_[static_cast<std::size_t>(target)] = column;
    return true;
}

void CsvMapping::release(int target)
{
    if (target >= 0 && target < kCsvTargetCount)
        columns_[static_cast<std::size_t>(target)] = kUnassigned;
}

void CsvMapping::assignInOrder(int columnCount)
{
    for (int target = 0; target < kCsvTargetCount; ++target)
        columns_[static_cast<std::size_t>(target)] = target < columnCount ? target : kUnassigned;
}

void CsvMapping::clear()
{
    columns_.fill(kUnassigned);
}

namespace {

const char* encodingProblem(CsvEncodingIssue issue)
{
    switch (issue) {
    case CsvEncodingIssue::ByteOrderMark:
        return "先頭にバイトオーダーマーク（BOM）があります。";
    case CsvEncodingIssue::Utf8:
        return "UTF-8 の文字があります。";
    case CsvEncodingIssue::Binary:
        return "テキストではないデータ（NUL 文字）があります。";
    case CsvEncodingIssue::None:
        break;
    }
    return "";
}

ImportOutcome badEncoding(std::size_t lineIndex, CsvEncodingIssue issue)
{
    return importFailure(ImportStatus::BadEncoding, "不正なデータ（文字コードエラー）があるため処理できません。\r\n" +
                                                        std::to_string(lineIndex + 1) + " レコード目： " +
                                                        encodingProblem(issue) +
                                                        "Shift-JIS で保存したファイルを指定して下さい。");
}

ImportOutcome badDate(std::size_t lineIndex, const std::string& dateText)
{
    return importFailure(ImportStatus::BadDate, "不正なデータ（日付エラー）があるため処理できません。\r\n" +
                                                    std::to_string(lineIndex + 1) + " レコード目： " +
                                                    sjis::toUtf8(dateText));
}

// The schedule of one line, its columns taken as the mapping says.
ImportedSchedule scheduleOf(const Date& date, const std::vector<std::string>& columns, const CsvMapping& mapping)
{
    ImportedSchedule schedule;
    schedule.date = date;
    schedule.start = csvColumn(columns, mapping.columnOf(CsvStart));
    schedule.end = csvColumn(columns, mapping.columnOf(CsvEnd));
    schedule.title = csvColumn(columns, mapping.columnOf(CsvTitle));
    schedule.place = csvColumn(columns, mapping.columnOf(CsvPlace));
    schedule.category = csvColumn(columns, mapping.columnOf(CsvCategory));
    return schedule;
}

// Every data line checked before anything is planned, so a bad line stops the import before a
// file is read or written.
ImportOutcome readSchedules(const CsvImportRequest& request, std::vector<ImportedSchedule>& schedules)
{
    const std::size_t first = request.options.firstLineIsHeader ? 1 : 0;
    for (std::size_t i = first; i < request.lines.size(); ++i) {
        const std::string& line = request.lines[i];
        if (CsvEncodingIssue issue = csvEncodingIssue(line, i == 0); issue != CsvEncodingIssue::None)
            return badEncoding(i, issue);
        if (text::isBlank(line))
            continue;
        const std::vector<std::string> columns = splitCsvLine(line);
        const std::string dateText = csvColumn(columns, request.mapping.columnOf(CsvDate));
        const std::optional<Date> date = parseCsvDate(dateText);
        if (!date)
            return badDate(i, dateText);
        schedules.push_back(scheduleOf(*date, columns, request.mapping));
    }
    if (schedules.empty())
        return importFailure(ImportStatus::NoData, "読み込むデータがありません。");
    return {};
}

} // namespace

ImportOutcome runCsvImport(const CsvImportRequest& request, ImportRun run, files::FileOps& ops)
{
    if (request.mapping.columnOf(CsvDate) == kUnassigned)
        return importFailure(ImportStatus::NoDateColumn, "日付が選択されていません。");
    std::vector<ImportedSchedule> schedules;
    schedules.reserve(request.lines.size());
    if (ImportOutcome read = readSchedules(request, schedules); !read.ok())
        return read;
    ScheduleImport import(request.dataPath, request.programFolder, request.options.import);
    return runScheduleImport(import, schedules, run, ops);
}

CsvFile readCsvFile(const std::string& path)
{
    CsvFile file;
    if (!files::fileExists(path)) {
        file.ok = false;
        file.message = "「" + path + "」が見つかりません。";
        return file;
    }
    files::LoadForUpdate loaded = files::loadLinesForUpdate(path, kMaxCsvFileBytes);
    if (!loaded.ok) {
        file.ok = false;
        file.message = "「" + path + "」を読み込めません。\r\n" + loaded.reason;
        return file;
    }
    file.lines = std::move(loaded.lines);
    if (std::all_of(file.lines.begin(), file.lines.end(),
                    [](const std::string& line) { return text::isBlank(line); })) {
        file.ok = false;
        file.message = "「" + path + "」にはデータがありません。";
    }
    return file;
}

} // namespace kal
