// The save loop of the crash test (scripts/crash-test): a program that keeps changing a data
// folder the way the windows do, to be killed with SIGKILL at random moments, and the check
// that the folder is whole after the next start.
//
//   kalendra_crash_writer setup DIR    60 records over six months, settings and a pick list
//   kalendra_crash_writer run DIR SEED saves until killed
//   kalendra_crash_writer check DIR    the next start's recovery, then every invariant
//   kalendra_crash_writer import-setup DIR      a home folder with one month of records
//   kalendra_crash_writer import-csv DIR N [FILE]   DIR/FILE (import.csv): batch N, to be imported
//   kalendra_crash_writer import-check DIR N [M...] recovery, then the invariants of batches 1..N;
//                                                   batches M (whose import exited 0) must be there
//   kalendra_crash_writer import-held DIR FILE MARK  the import of DIR/FILE, its lock held a
//                                                   random while first (MARK made), so another waits
//
// Invariants: every month file holds whole record lines only; each of the 60 records is in
// exactly one month (a move is never lost or doubled); each repeat series is wholly there (three
// months) or wholly absent; no temporary file or intent record survives; the settings and the
// pick list read back. Imports: each batch is wholly there (every record once) or wholly absent,
// its new category is in the table when its records are, no category is listed twice, and a
// batch whose command reported success is there.
#include "exchange/CsvImport.h"
#include "platform/ByteText.h"
#include "platform/CommaText.h"
#include "platform/FileTransaction.h"
#include "platform/FolderLock.h"
#include "platform/IniFile.h"
#include "platform/NumberFormat.h"
#include "schedule/Categories.h"
#include "schedule/PickList.h"
#include "schedule/Repeat.h"
#include "schedule/ScheduleRecord.h"
#include "settings/AppSettings.h"
#include "settings/DataFolders.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <map>
#include <random>
#include <string>
#include <thread>

using namespace kal;

namespace {

constexpr int kYear = 2026;
constexpr int kMonths = 6;
constexpr int kRecords = 60;
constexpr int kSeriesLength = 3;

std::string recordTitle(int n)
{
    return "R" + text::formatInt(n, 3, '0');
}

std::string monthPath(const std::string& dir, int month)
{
    return MonthFilePath(dir, kYear, month);
}

ScheduleFields fieldsFor(int day, const std::string& title)
{
    ScheduleFields f;
    f.day = day;
    f.start = "09:00";
    f.title = title;
    return f;
}

int setup(const std::string& dir)
{
    for (int month = 1; month <= kMonths; ++month) {
        std::vector<std::string> lines;
        for (int i = 0; i < kRecords / kMonths; ++i)
            lines.push_back(ComposeSchedule(fieldsFor(1 + i, recordTitle((month - 1) * 10 + i))));
        if (!files::saveLines(monthPath(dir, month), lines))
            return 1;
    }
    IniFile ini(SettingsPath(dir));
    ini.writeInteger("Crash", "Saves", 0);
    return ini.flush() && PickList({"09:00"}).save(PickListPath(dir, PickListType::StartTime)) ? 0 : 1;
}

// Moves a random record to another month, as a correction with a changed date does.
void moveRecord(const std::string& dir, std::mt19937& random)
{
    const int from = 1 + static_cast<int>(random() % kMonths);
    const std::vector<std::string> lines = LoadMonthFile(monthPath(dir, from));
    std::vector<int> records;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (RecTitle(lines[i]).rfind("R", 0) == 0)
            records.push_back(static_cast<int>(i));
    if (records.empty())
        return;
    const int index = records[random() % records.size()];
    const int to = 1 + static_cast<int>(random() % kMonths);
    const std::string moved = ComposeSchedule(
        fieldsFor(1 + static_cast<int>(random() % 28), RecTitle(lines[static_cast<std::size_t>(index)])));
    CorrectSchedule(ScheduleRef{monthPath(dir, from), index, lines[static_cast<std::size_t>(index)]},
                    monthPath(dir, to), moved, store::Follower::none());
}

// Adds a monthly series over three months, or removes one again in a single multi-file change.
void changeSeries(const std::string& dir, std::mt19937& random)
{
    const int first = 1 + static_cast<int>(random() % (kMonths - kSeriesLength + 1));
    // The title names the first month, so that a removal finds the same months as the addition.
    const std::string title = "S" + std::to_string(first) + "-" + std::to_string(random() % 100);
    std::vector<files::FileChange> removal;
    for (int month = first; month < first + kSeriesLength; ++month) {
        std::vector<std::string> lines = LoadMonthFile(monthPath(dir, month));
        const auto kept = std::remove_if(lines.begin(), lines.end(),
                                         [&](const std::string& line) { return RecTitle(line) == title; });
        if (kept != lines.end()) {
            lines.erase(kept, lines.end());
            removal.push_back({monthPath(dir, month), files::joinLines(lines)});
        }
    }
    if (!removal.empty()) {
        files::writeAllOrNothing(dir, removal);
        return;
    }
    RepeatRule monthly{RepeatPattern::MonthlyOnDay, 28, WeekOfMonth::Every, 0};
    RepeatSchUd(dir, monthly, {{kYear, first, 1}, {kYear, first + kSeriesLength - 1, 28}}, fieldsFor(28, title));
}

void saveSettings(const std::string& dir, std::mt19937& random)
{
    IniFile ini(SettingsPath(dir));
    ini.load();
    ini.writeInteger("Crash", "Saves", ini.readInteger("Crash", "Saves", 0) + 1);
    ini.flush();
    PickList list = PickList::Load(PickListPath(dir, PickListType::StartTime));
    list.add(text::formatInt(static_cast<int>(random() % 24), 2, '0') + ":00");
    list.save(PickListPath(dir, PickListType::StartTime));
}

int run(const std::string& dir, unsigned seed)
{
    RecoverDataFolders({dir});
    std::mt19937 random(seed);
    for (;;) {
        switch (random() % 4) {
        case 0:
        case 1:
            moveRecord(dir, random);
            break;
        case 2:
            changeSeries(dir, random);
            break;
        default:
            saveSettings(dir, random);
            break;
        }
    }
}

int fail(const std::string& why)
{
    std::cerr << "crash check: " << why << "\n";
    return 1;
}

int check(const std::string& dir)
{
    const std::string problems = RecoverDataFolders({dir});
    if (!problems.empty())
        return fail(problems);
    std::map<std::string, int> records;
    std::map<std::string, std::vector<int>> series;
    for (int month = 1; month <= kMonths; ++month) {
        files::ReadResult read = files::readFile(monthPath(dir, month));
        if (read.status != files::ReadStatus::Ok)
            return fail(MonthFileName(kYear, month) + " cannot be read");
        if (!read.bytes.empty() && read.bytes.compare(read.bytes.size() - 2, 2, "\r\n") != 0)
            return fail(MonthFileName(kYear, month) + " is cut short");
        for (const std::string& line : files::splitLines(read.bytes)) {
            const std::string title = RecTitle(line);
            if (!IsScheduleRecord(line) || RecStart(line) != "09:00")
                return fail(MonthFileName(kYear, month) + " holds a torn line: " + line);
            if (title[0] == 'R')
                ++records[title];
            else
                series[title].push_back(month);
        }
    }
    for (int n = 0; n < kRecords; ++n)
        if (records[recordTitle(n)] != 1)
            return fail(recordTitle(n) + " is there " + std::to_string(records[recordTitle(n)]) + " times");
    for (const auto& [title, months] : series)
        if (months.size() != kSeriesLength || months.back() - months.front() != kSeriesLength - 1)
            return fail("series " + title + " is in " + std::to_string(months.size()) + " months");
    for (const std::string& name : files::listFiles(dir, "*"))
        if (files::isTemporaryName(name))
            return fail("temporary file left: " + name);
    for (const std::string& name : files::listFiles(dir, ".*"))
        if (files::isTemporaryName(name) || files::isIntentRecordName(name))
            return fail("left behind: " + name);
    IniFile ini(SettingsPath(dir));
    ini.load();
    if (ini.readInteger("Crash", "Saves", -1) < 0)
        return fail("the settings lost their key");
    PickList list = PickList::Load(PickListPath(dir, PickListType::StartTime));
    if (!list.readable() || list.entries().empty() || list.entries().front().size() != 5)
        return fail("the pick list is damaged");
    return 0;
}

// The headless import's home: settings default to month files and category table in it.
constexpr int kBatchRecords = 24;
constexpr int kBaseRecords = 10;

std::string batchTitle(int batch, int n)
{
    return "I" + std::to_string(batch) + "-" + std::to_string(n);
}

std::string batchCategory(int batch)
{
    return "C" + std::to_string(batch);
}

int importSetup(const std::string& dir)
{
    std::vector<std::string> lines;
    for (int i = 0; i < kBaseRecords; ++i)
        lines.push_back(ComposeSchedule(fieldsFor(1 + i, recordTitle(i))));
    return files::saveLines(monthPath(dir, 1), lines) && files::saveLines(dir + kCategoryFileName, {}) ? 0 : 1;
}

// Batch N over all six months; its first line twice, which the import adds once.
int importCsv(const std::string& dir, int batch, const std::string& file)
{
    std::vector<std::string> lines;
    for (int n = 0; n < kBatchRecords; ++n) {
        const std::string date =
            std::to_string(kYear) + "/" + std::to_string(1 + n % kMonths) + "/" + std::to_string(1 + n % 28);
        lines.push_back(text::joinCommaText({date, "09:00", "", batchTitle(batch, n), "", batchCategory(batch)}));
    }
    lines.push_back(lines.front());
    return files::saveLines(dir + file, lines) ? 0 : 1;
}

int importCheck(const std::string& dir, int batches, const std::vector<std::string>& reported)
{
    const files::RecoveryResult recovered = files::recoverInterruptedChanges(dir);
    if (!recovered.ok())
        return fail(recovered.problems.front());
    std::map<std::string, int> titles;
    for (int month = 1; month <= kMonths; ++month) {
        files::ReadResult read = files::readFile(monthPath(dir, month));
        if (read.status == files::ReadStatus::Missing)
            continue;
        if (read.status != files::ReadStatus::Ok)
            return fail(MonthFileName(kYear, month) + " cannot be read");
        if (!read.bytes.empty() && read.bytes.compare(read.bytes.size() - 2, 2, "\r\n") != 0)
            return fail(MonthFileName(kYear, month) + " is cut short");
        for (const std::string& line : files::splitLines(read.bytes)) {
            if (!IsScheduleRecord(line) || RecStart(line) != "09:00")
                return fail(MonthFileName(kYear, month) + " holds a torn line: " + line);
            ++titles[text::trimRight(RecTitle(line))];
        }
    }
    for (int n = 0; n < kBaseRecords; ++n)
        if (titles[recordTitle(n)] != 1)
            return fail(recordTitle(n) + " is there " + std::to_string(titles[recordTitle(n)]) + " times");
    std::map<std::string, int> categories;
    for (const std::string& line : files::loadLines(dir + kCategoryFileName))
        ++categories[text::trimRight(line.substr(0, 14))];
    for (const auto& [name, count] : categories)
        if (count != 1)
            return fail("category " + name + " is listed " + std::to_string(count) + " times");
    for (int batch = 1; batch <= batches; ++batch) {
        const int first = titles[batchTitle(batch, 0)];
        for (int n = 0; n < kBatchRecords; ++n)
            if (titles[batchTitle(batch, n)] != first || first > 1)
                return fail("batch " + std::to_string(batch) + " is partly there: " + batchTitle(batch, n) + " " +
                            std::to_string(titles[batchTitle(batch, n)]) + " times");
        if (first == 1 && categories.count(batchCategory(batch)) == 0)
            return fail("batch " + std::to_string(batch) + " is there without its category");
    }
    for (const std::string& batch : reported)
        if (titles[batchTitle(std::stoi(batch), 0)] != 1)
            return fail("batch " + batch + " was reported imported but is not there");
    for (const char* pattern : {"*", ".*"})
        for (const std::string& name : files::listFiles(dir, pattern))
            if (files::isTemporaryName(name) || files::isIntentRecordName(name))
                return fail("left behind: " + name);
    // For the script's tally: whether the last batch made it, and whether the kill fell inside
    // its write so that this start had to finish or undo it.
    std::cout << (titles[batchTitle(batches, 0)] == 1 ? "imported" : "absent")
              << (recovered.finished > 0 ? " finished-by-next-start" : "") << "\n";
    return 0;
}

int importHeld(const std::string& dir, const std::string& file, const std::string& mark)
{
    files::FolderLock lock = files::lockFolder(dir);
    if (!lock || !files::saveLines(mark, {}))
        return fail("cannot take the lock: " + lock.reason());
    std::this_thread::sleep_for(std::chrono::milliseconds(std::random_device{}() % 20));
    CsvImportRequest request{files::loadLines(dir + file), CsvMapping::inOrder(), {}, dir, dir};
    return runCsvImport(request, ImportRun::Execute).ok() ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string mode = argc > 2 ? argv[1] : "";
    const std::string dir = argc > 2 ? files::withSeparator(argv[2]) : "";
    if (mode == "setup")
        return setup(dir);
    if (mode == "run" && argc > 3)
        return run(dir, static_cast<unsigned>(std::stoul(argv[3])));
    if (mode == "check")
        return check(dir);
    if (mode == "import-setup")
        return importSetup(dir);
    if (mode == "import-csv" && argc > 3)
        return importCsv(dir, std::stoi(argv[3]), argc > 4 ? argv[4] : "import.csv");
    if (mode == "import-held" && argc > 4)
        return importHeld(dir, argv[3], argv[4]);
    if (mode == "import-check" && argc > 3)
        return importCheck(dir, std::stoi(argv[3]), {argv + 4, argv + argc});
    std::cerr << "usage: kalendra_crash_writer setup|run|check|import-setup|import-csv|import-held|import-check DIR\n";
    return 2;
}
