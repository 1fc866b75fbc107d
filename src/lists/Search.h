// Search of schedules and daily memos by a keyword, a category and a date range: the criteria
// the find dialog and the --search command hand over, their checks, the keyword match by whole
// Shift-JIS characters, and the scans that make the list window's rows (the schedule and memo
// lists of a view are the same scans with the view's days as the only criterion).
//
// Only files named exactly yyyymm.sch / yyyymmdd.mem (a real month and day) are read; names are
// filtered before any file is opened, every line of a file is read (files may be unsorted), and
// the keyword is looked for in the raw bytes before a file's lines are taken apart.
#pragma once

#include "lists/ListRows.h"
#include "platform/Date.h"
#include "schedule/ExtraSchedules.h"

#include <array>
#include <bitset>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kal {

enum class SearchTarget { Schedules, Memos };
enum class LetterCase { Ignore, Match };

struct SearchCriteria {
    SearchTarget target = SearchTarget::Schedules;
    std::string keyword; // Shift-JIS as typed; empty: no keyword
    LetterCase letterCase = LetterCase::Ignore;
    std::string category;     // schedules: Shift-JIS as typed or chosen; blanks only: none
    std::optional<Date> from; // none: no lower bound
    std::optional<Date> to;
    bool subscriptions = false; // schedules: the subscribed calendars' entries too
};

// Whether a keyword occurs in a text, starting on one of the text's characters: a keyword never
// matches from the second byte of a double-byte character. Ignoring case folds both sides with
// text::toUpper, the program's one case folding.
class KeywordMatcher {
public:
    KeywordMatcher(std::string_view keyword, LetterCase letterCase);

    bool empty() const { return keyword_.empty(); }
    // `text` begins on a character.
    bool foundIn(std::string_view text) const;
    // False only when no part of `bytes` can match: a quick test before a file is taken apart.
    bool mayBeIn(std::string_view bytes) const;

    // The places of one text where the keyword may begin, found without folding the text: every
    // byte there may read as the keyword's once folded. Each real match is among them.
    class Scan {
    public:
        Scan(const KeywordMatcher& matcher, std::string_view text);
        // The first such place at or after `from`, npos when none; asked in rising order, each
        // byte of the text is searched once.
        std::size_t next(std::size_t from);

    private:
        std::size_t nextAnchor(std::size_t from);
        static constexpr std::size_t kMaxAnchorBytes = 4;
        const KeywordMatcher& matcher_;
        std::string_view text_;
        std::array<std::size_t, kMaxAnchorBytes> anchorAt_{}; // next place of each anchor byte
        // The last answer, for every `from` between the one asked then and it.
        std::size_t askedFrom_ = std::string_view::npos;
        std::size_t answer_ = std::string_view::npos;
    };

private:
    bool mayBeginAt(std::string_view text, std::size_t at) const;

    std::string keyword_;                  // folded when ignoring case
    std::vector<std::bitset<256>> accept_; // the text bytes that may read as each keyword byte
    std::size_t anchor_ = 0;               // the keyword byte with the fewest such text bytes
    std::string anchorBytes_;              // those text bytes
    bool ignoreCase_;
};

// The schedules that meet the criteria, in date order (file by file, then by day and line).
ListRows SchFindEdit(const std::string& dataPath, const SearchCriteria& criteria);
// How far around today subscribed calendars are searched when the criteria set no bound: their
// recurrences may have no end.
inline constexpr int kExtraSearchDays = 366;
// The subscribed calendars' entries whose title meets the keyword within the criteria's dates;
// none when a category is asked for, since they have none.
ExtraScheduleList FindExtraSchedules(ExtraSchedules& extras, const SearchCriteria& criteria, const Date& today);
// The rows of FindExtraSchedules added to schedule rows in date order, each carrying its entry.
void AddExtraRows(ListRows& rows, ExtraSchedules& extras, const SearchCriteria& criteria, const Date& today);
// The memos that meet the criteria (keyword and dates; the category is not used), in date order.
ListRows MemoFindEdit(const std::string& memoPath, const SearchCriteria& criteria);

ListRows ListSchEdit(const std::string& dataPath, ListScope view, const Date& selected);
ListRows MemoEdit(const std::string& memoPath, ListScope view, const Date& selected);

// The find dialog's checks, in its order; `hasTarget` is whether a target was chosen.
enum class SearchField { Target, Keyword, FromDate };
struct SearchInputError {
    const char* message; // UTF-8
    SearchField focus;
};
std::optional<SearchInputError> CheckSearchInput(const SearchCriteria& criteria, bool hasTarget = true);

// The caption of the find dialog's error boxes.
inline constexpr const char* kSearchErrorCaption = "検索条件入力エラー";

} // namespace kal
