#include "lists/Search.h"

#include "memo/DayMemo.h"
#include "platform/ByteText.h"
#include "platform/Files.h"
#include "platform/FolderNames.h"
#include "platform/LineCursor.h"
#include "platform/SjisCodec.h"
#include "platform/Stretches.h"
#include "schedule/ScheduleRecord.h"
#include "store/MonthFile.h"
#include "todo/TodoMemo.h"

#include <algorithm>

namespace kal {
namespace {

constexpr Date kFirstDay{1, 1, 1};
constexpr Date kLastDay{9999, 12, 31};
// Fewer month files are read on one thread: starting another would cost more than it saves.
constexpr std::size_t kFilesPerThread = 200;

struct MonthFile {
    int year;
    int month;
    std::string name;
};

int monthNumber(int year, int month)
{
    return year * 100 + month;
}

// The month files of the folder whose months the range touches, in date order.
std::vector<MonthFile> monthFiles(const std::string& dataPath, const std::optional<Date>& from,
                                  const std::optional<Date>& to)
{
    const std::string folder = files::withSeparator(dataPath);
    const int first = from ? monthNumber(from->year, from->month) : 0;
    const int last = to ? monthNumber(to->year, to->month) : monthNumber(9999, 12);
    std::vector<MonthFile> found;
    // A folder of many memos holds few month files: their names are kept apart.
    static constexpr files::NameKind kMonthFiles{"months",
                                                 [](std::string_view name) { return MonthOfFile(name).has_value(); }};
    for (const std::string& name : files::namesOfKind(folder, kMonthFiles)) {
        const auto month = MonthOfFile(name);
        const int number = monthNumber(month->first, month->second);
        if (number >= first && number <= last)
            found.push_back(MonthFile{month->first, month->second, name});
    }
    std::sort(found.begin(), found.end(), [](const MonthFile& a, const MonthFile& b) {
        return monthNumber(a.year, a.month) < monthNumber(b.year, b.month);
    });
    return found;
}

// A category criterion: the first bytes of the 14-byte field; blanks only mean none.
class CategoryPrefix {
public:
    explicit CategoryPrefix(const std::string& category) : prefix_(text::isBlank(category) ? "" : category) { }
    bool matches(std::string_view line) const
    {
        if (prefix_.empty())
            return true;
        const std::string field = RecCategory(line);
        return field.size() >= prefix_.size() && field.compare(0, prefix_.size(), prefix_) == 0;
    }

private:
    std::string prefix_;
};

// `lines` is a kept buffer for the file's lines.
void addScheduleHits(const MonthFile& file, std::string_view bytes, const SearchCriteria& criteria,
                     const KeywordMatcher& keyword, const CategoryPrefix& category,
                     std::vector<std::string_view>& lines, ListRows& rows)
{
    const Date from = criteria.from.value_or(kFirstDay);
    const Date to = criteria.to.value_or(kLastDay);
    const auto consider = [&](std::size_t index, std::string_view line) {
        const int day = RecDay(line);
        if (day == 0)
            return;
        const Date date{file.year, file.month, day};
        if (date < from || date > to || !category.matches(line))
            return;
        if (!keyword.empty() && !keyword.foundIn(store::kScheduleColumns.view(line, store::ScheduleField::Title)))
            return;
        rows.rows.push_back(ListRow{date, static_cast<int>(index), std::string(line)});
    };
    if (keyword.empty()) {
        files::splitLineViews(bytes, lines);
        for (std::size_t i = 0; i < lines.size(); ++i)
            consider(i, lines[i]);
        return;
    }
    // Only the lines where the keyword may begin are taken apart; the others are only counted.
    KeywordMatcher::Scan scan(keyword, bytes);
    files::LineCursor cursor(bytes);
    for (std::size_t at = scan.next(0); at != std::string_view::npos;) {
        const files::LineCursor::Line line = cursor.lineAt(at);
        consider(line.index, line.text);
        at = line.next < bytes.size() ? scan.next(line.next) : std::string_view::npos;
    }
}

std::string joinedWithoutSeparator(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line;
    return text;
}

SearchCriteria viewCriteria(SearchTarget target, ListScope view, const Date& selected)
{
    SearchCriteria criteria;
    criteria.target = target;
    if (const std::optional<DateSpan> span = ViewSpan(view, selected)) {
        criteria.from = span->from;
        criteria.to = span->to;
    }
    return criteria;
}

} // namespace

KeywordMatcher::KeywordMatcher(std::string_view keyword, LetterCase letterCase)
    : ignoreCase_(letterCase == LetterCase::Ignore)
{
    keyword_ = ignoreCase_ ? text::toUpper(keyword) : std::string(keyword);
    accept_.resize(keyword_.size());
    for (std::size_t i = 0; i < keyword_.size(); ++i) {
        const auto wanted = static_cast<unsigned char>(keyword_[i]);
        for (std::size_t byte = 0; byte < 256; ++byte)
            if (ignoreCase_ ? text::upperForms(static_cast<unsigned char>(byte)).test(wanted) : byte == wanted)
                accept_[i].set(byte);
        if (accept_[i].count() < accept_[anchor_].count())
            anchor_ = i;
    }
    for (std::size_t byte = 0; !keyword_.empty() && byte < 256; ++byte)
        if (accept_[anchor_].test(byte))
            anchorBytes_ += static_cast<char>(byte);
}

bool KeywordMatcher::mayBeginAt(std::string_view text, std::size_t at) const
{
    for (std::size_t i = 0; i < keyword_.size(); ++i)
        if (!accept_[i].test(static_cast<unsigned char>(text[at + i])))
            return false;
    return true;
}

KeywordMatcher::Scan::Scan(const KeywordMatcher& matcher, std::string_view text) : matcher_(matcher), text_(text)
{
    const std::string_view bytes = matcher.anchorBytes_;
    for (std::size_t i = 0; i < std::min(bytes.size(), kMaxAnchorBytes); ++i)
        anchorAt_[i] = text.find(bytes[i], matcher.anchor_);
}

std::size_t KeywordMatcher::Scan::nextAnchor(std::size_t from)
{
    const std::string_view bytes = matcher_.anchorBytes_;
    std::size_t nearest = std::string_view::npos;
    if (bytes.size() > kMaxAnchorBytes) {
        // Not with the one folding there is; kept so that no keyword is ever missed.
        for (std::size_t at = from; at < text_.size() && nearest == std::string_view::npos; ++at)
            if (bytes.find(text_[at]) != std::string_view::npos)
                nearest = at;
        return nearest;
    }
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        std::size_t& at = anchorAt_[i];
        if (at < from)
            at = text_.find(bytes[i], from);
        nearest = std::min(nearest, at);
    }
    return nearest;
}

std::size_t KeywordMatcher::Scan::next(std::size_t from)
{
    const std::size_t length = matcher_.keyword_.size();
    if (length == 0)
        return from <= text_.size() ? from : std::string_view::npos;
    if (from >= askedFrom_ && from <= answer_)
        return answer_;
    askedFrom_ = from;
    answer_ = std::string_view::npos;
    for (std::size_t at = from; at + length <= text_.size(); ++at) {
        const std::size_t anchor = nextAnchor(at + matcher_.anchor_);
        if (anchor == std::string_view::npos || anchor - matcher_.anchor_ + length > text_.size())
            break;
        at = anchor - matcher_.anchor_;
        if (matcher_.mayBeginAt(text_, at))
            return answer_ = at;
    }
    return answer_;
}

bool KeywordMatcher::foundIn(std::string_view text) const
{
    if (keyword_.empty())
        return true;
    Scan scan(*this, text);
    std::size_t boundary = 0;
    for (std::size_t at = scan.next(0); at != std::string_view::npos; at = scan.next(at + 1)) {
        while (boundary < at)
            boundary += sjis::charLength(text, boundary);
        // Folding keeps every character's place, so the text's boundaries are the folded text's.
        if (boundary == at && (!ignoreCase_ || text::upperHoldsAt(text, at, keyword_)))
            return true;
    }
    return false;
}

bool KeywordMatcher::mayBeIn(std::string_view bytes) const
{
    return Scan(*this, bytes).next(0) != std::string_view::npos;
}

ListRows SchFindEdit(const std::string& dataPath, const SearchCriteria& criteria)
{
    ListRows rows;
    rows.mode = ListMode::Schedules;
    rows.folder = files::withSeparator(dataPath);
    const KeywordMatcher keyword(criteria.keyword, criteria.letterCase);
    const CategoryPrefix category(criteria.category);
    const files::OpenFolder folder(dataPath);
    const std::vector<MonthFile> months = monthFiles(dataPath, criteria.from, criteria.to);
    const auto searchStretch = [&](std::size_t first, std::size_t last, ListRows& found) {
        // One buffer for the bytes and one for the lines of every file.
        files::ReadResult read;
        std::vector<std::string_view> lines;
        for (std::size_t i = first; i < last; ++i) {
            const MonthFile& file = months[i];
            folder.readInto(file.name, read);
            if (read.status == files::ReadStatus::Unreadable)
                found.unreadable.push_back({folder.path() + file.name, read.reason});
            // Most files of a keyword search hold no hit: they are never taken apart.
            if (read.status != files::ReadStatus::Ok || !keyword.mayBeIn(read.bytes))
                continue;
            const std::size_t before = found.rows.size();
            addScheduleHits(file, read.bytes, criteria, keyword, category, lines, found);
            // Rows in key order: by day as stored, then by line, whatever the file's order.
            std::stable_sort(found.rows.begin() + static_cast<std::ptrdiff_t>(before), found.rows.end(),
                             [](const ListRow& a, const ListRow& b) { return a.date.day < b.date.day; });
        }
    };
    std::vector<ListRows> found(stretchCount(months.size(), kFilesPerThread));
    runStretches(months.size(), found.size(), [&](std::size_t first, std::size_t last, std::size_t stretch) {
        searchStretch(first, last, found[stretch]);
    });
    for (ListRows& part : found) {
        appendStretch(rows.rows, part.rows);
        appendStretch(rows.unreadable, part.unreadable);
    }
    return rows;
}

ExtraScheduleList FindExtraSchedules(ExtraSchedules& extras, const SearchCriteria& criteria, const Date& today)
{
    if (!text::isBlank(criteria.category))
        return {};
    const KeywordMatcher keyword(criteria.keyword, criteria.letterCase);
    ExtraScheduleList found = extras.between(criteria.from.value_or(addDays(today, -kExtraSearchDays)),
                                             criteria.to.value_or(addDays(today, kExtraSearchDays)));
    std::erase_if(found, [&](const auto& entry) {
        return !keyword.empty() && !keyword.foundIn(entry->title) && !keyword.foundIn(entry->place);
    });
    return found;
}

void AddExtraRows(ListRows& rows, ExtraSchedules& extras, const SearchCriteria& criteria, const Date& today)
{
    const auto own = static_cast<std::ptrdiff_t>(rows.rows.size());
    for (auto& entry : FindExtraSchedules(extras, criteria, today)) {
        ScheduleFields fields;
        fields.day = entry->date.day;
        fields.start = entry->start;
        fields.end = entry->end;
        fields.title = entry->title;
        fields.place = entry->place;
        rows.rows.push_back(ListRow{entry->date, -1, ComposeSchedule(fields), std::move(entry)});
    }
    std::inplace_merge(rows.rows.begin(), rows.rows.begin() + own, rows.rows.end(),
                       [](const ListRow& a, const ListRow& b) { return a.date < b.date; });
}

ListRows MemoFindEdit(const std::string& memoPath, const SearchCriteria& criteria)
{
    ListRows rows;
    rows.mode = ListMode::Memos;
    rows.folder = files::withSeparator(memoPath);
    const KeywordMatcher keyword(criteria.keyword, criteria.letterCase);
    for (const DayMemoText& memo :
         LoadDayMemos(memoPath, criteria.from.value_or(kFirstDay), criteria.to.value_or(kLastDay), &rows.unreadable)) {
        // The lines are searched joined without separator, so a word broken over two lines is found.
        if (!keyword.empty() && !keyword.foundIn(joinedWithoutSeparator(memo.lines)))
            continue;
        rows.rows.push_back(ListRow{memo.date, 0, MemoTextOfLines(memo.lines)});
    }
    return rows;
}

ListRows ListSchEdit(const std::string& dataPath, ListScope view, const Date& selected)
{
    return SchFindEdit(dataPath, viewCriteria(SearchTarget::Schedules, view, selected));
}

ListRows MemoEdit(const std::string& memoPath, ListScope view, const Date& selected)
{
    return MemoFindEdit(memoPath, viewCriteria(SearchTarget::Memos, view, selected));
}

std::optional<SearchInputError> CheckSearchInput(const SearchCriteria& c, bool hasTarget)
{
    if (!hasTarget)
        return SearchInputError{"検索対象を選択して下さい。", SearchField::Target};
    const bool dates = c.from || c.to;
    if (c.target == SearchTarget::Schedules && !dates && c.keyword.empty() && text::isBlank(c.category))
        return SearchInputError{"検索条件を入力して下さい。", SearchField::Keyword};
    if (c.target == SearchTarget::Memos && !dates && c.keyword.empty())
        return SearchInputError{"内容文字列を入力して下さい。", SearchField::Keyword};
    if (c.from && c.to && *c.to < *c.from)
        return SearchInputError{"日付の入力に誤りがあります。", SearchField::FromDate};
    return std::nullopt;
}

} // namespace kal
