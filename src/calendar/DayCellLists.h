// The display lines of the 42 day cells of a month. The first character of a line is its
// kind: "0", "1", "2" holidays, "3" schedules, "4" subscribed calendars' entries (after the
// user's own), "8" ToDo entries. Each list stays sorted
// case-insensitively; equal lines keep the order in which they came.
#pragma once

#include "calendar/CalendarMath.h"
#include "schedule/ExtraSchedules.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

namespace kal {

struct CellLine {
    std::string text; // kind character + the rest, Shift-JIS (an extra schedule: + its start)
    // For schedules: the month file the line came from, one copy shared by the file's lines.
    std::shared_ptr<const std::string> monthFile;
    int lineIndex = -1;                   // for schedules: its 0-based index in that file; for ToDo: in ToDo.dat
    const ExtraSchedule* extra = nullptr; // for a subscribed calendar's entry, kept by the lists (`hold`)

    CellLine() = default;
    explicit CellLine(std::string lineText, std::shared_ptr<const std::string> file = {}, int index = -1)
        : text(std::move(lineText)), monthFile(std::move(file)), lineIndex(index)
    {
    }

    const std::string& file() const
    {
        static const std::string none;
        return monthFile ? *monthFile : none;
    }
    char kind() const { return text.empty() ? '\0' : text[0]; }
    std::string body() const { return text.size() > 1 ? text.substr(1) : std::string(); }
};

class DayCellLists {
public:
    std::vector<CellLine>& at(int column, int row) { return lists_[index(column, row)]; }
    const std::vector<CellLine>& at(int column, int row) const { return lists_[index(column, row)]; }

    // Holiday lines and the same ToDo entry are not added twice; every schedule line is.
    void add(int column, int row, CellLine line);
    // Many lines at once, as one `add` each would place them, with a single sort of the cell;
    // `lines` is left moved from.
    void addAll(int column, int row, std::vector<CellLine>& lines);
    // The lines appended to the list from index `from` on, in order among themselves, merged with
    // those before them.
    void mergeAppended(int column, int row, std::size_t from);
    void removeFirst(int column, int row);
    void clear();
    // Keeps the lists the lines' extra schedules belong to for as long as these lines.
    void hold(std::vector<std::shared_ptr<const ExtraScheduleDays>> lists);

private:
    static std::size_t index(int column, int row) { return static_cast<std::size_t>((row - 1) * 7 + column); }
    std::array<std::vector<CellLine>, 42> lists_;
    std::vector<std::shared_ptr<const ExtraScheduleDays>> held_;
};

} // namespace kal
