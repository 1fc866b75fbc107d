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

// "不正なデータ（<what>）があるため処理できません。" with the line and what stands there.
ImportOutcome badLine(ImportStatus status, const char* what, std::size_t lineIndex, const std::string& detail)
{
    return importFailure(status, std::string("不正なデータ（") + what + "）があるため処理できません。\r\n" +
                                     std::to_string(lineIndex + 1) + " レコード目： " + detail);
}

ImportOutcome badEncoding(std::size_t lineIndex, CsvEncodingIssue issue)
{
    return badLine(ImportStatus::BadEncoding, "文字コードエラー", lineIndex,
                   std::string(encodingProblem(issue)) + "Shift-JIS で保存したファイルを指定して下さい。");
}

// The schedule of one line, its columns taken as the mapping says; the times already read.
ImportedSchedule scheduleOf(const Date& date, const std::vector<std::string>& columns, const CsvMapping& mapping)
{
    ImportedSchedule schedule;
    schedule.date = date;
    schedule.title = csvColumn(columns, mapping.columnOf(CsvTitle));
    schedule.place = csvColumn(columns, mapping.columnOf(CsvPlace));
    schedule.category = csvColumn(columns, mapping.columnOf(CsvCategory));
    return schedule;
}

// The time of `target` as stored (HH:MM, or empty), or the refusal naming the line.
ImportOutcome readTime(const std::vector<std::string>& columns, const CsvMapping& mapping, int target,
                       std::size_t lineIndex, std::string& time)
{
    const std::string written = csvColumn(columns, mapping.columnOf(target));
    const std::optional<std::string> parsed = parseCsvTime(written);
    if (!parsed)
        return badLine(ImportStatus::BadTime, "時刻エラー", lineIndex, sjis::toUtf8(written));
    time = *parsed;
    return {};
}

// One data line checked and read; a blank line gives no schedule.
ImportOutcome readLine(const CsvImportRequest& request, std::size_t i, std::vector<ImportedSchedule>& schedules)
{
    const std::string& line = request.lines[i];
    if (CsvEncodingIssue issue = csvEncodingIssue(line, i == 0); issue != CsvEncodingIssue::None)
        return badEncoding(i, issue);
    // A field broken over two lines would be read as two records, the second with a bad date.
    if (csvLineEndsInsideQuotes(line))
        return badLine(ImportStatus::BrokenLine, "引用符エラー", i,
                       i + 1 < request.lines.size()
                           ? "引用符の中に改行があります。セルの中の改行を取り除いて保存し直して下さい。"
                           : "引用符が閉じられていません。");
    if (text::isBlank(line))
        return {};
    const std::vector<std::string> columns = splitCsvLine(line);
    const std::string dateText = csvColumn(columns, request.mapping.columnOf(CsvDate));
    const std::optional<Date> date = parseCsvDate(dateText);
    if (!date)
        return badLine(ImportStatus::BadDate, "日付エラー", i, sjis::toUtf8(dateText));
    ImportedSchedule schedule = scheduleOf(*date, columns, request.mapping);
    if (ImportOutcome start = readTime(columns, request.mapping, CsvStart, i, schedule.start); !start.ok())
        return start;
    if (ImportOutcome end = readTime(columns, request.mapping, CsvEnd, i, schedule.end); !end.ok())
        return end;
    schedules.push_back(std::move(schedule));
    return {};
}

// Every data line checked before anything is planned, so a bad line stops the import before a
// file is read or written.
ImportOutcome readSchedules(const CsvImportRequest& request, std::vector<ImportedSchedule>& schedules)
{
    const std::size_t first = request.options.firstLineIsHeader ? 1 : 0;
    for (std::size_t i = first; i < request.lines.size(); ++i)
        if (ImportOutcome read = readLine(request, i, schedules); !read.ok())
            return read;
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
    // A CSV import files its new categories among the others: the whole table sorted by name.
    ImportOptions options = request.options.import;
    options.categoryOrder = NewCategoryOrder::TableSorted;
    ScheduleImport import(request.dataPath, request.programFolder, options);
    return runScheduleImport(import, schedules, run, ops);
}

CsvFile readCsvFile(const std::string& path)
{
    CsvFile file;
    // Read once, without blocking: a FIFO, a device or a folder is named as what it is.
    files::ReadResult read = files::readFile(path, kMaxCsvFileBytes);
    if (read.status != files::ReadStatus::Ok) {
        file.ok = false;
        file.message = read.status == files::ReadStatus::Missing
                           ? "「" + path + "」が見つかりません。"
                           : "「" + path + "」を読み込めません。\r\n" + read.reason;
        return file;
    }
    file.lines = files::splitLines(read.bytes);
    if (std::all_of(file.lines.begin(), file.lines.end(),
                    [](const std::string& line) { return text::isBlank(line); })) {
        file.ok = false;
        file.message = "「" + path + "」にはデータがありません。";
    }
    return file;
}

} // namespace kal
