#include "commands/SearchCommand.h"

#include "commands/SubscribedSchedules.h"
#include "lists/Search.h"
#include "platform/ByteText.h"
#include "platform/DateFormat.h"
#include "platform/IniFile.h"
#include "platform/NumberFormat.h"
#include "platform/SjisCodec.h"
#include "schedule/ScheduleRecord.h"
#include "settings/AppSettings.h"

#include <algorithm>

namespace kal {
namespace {

// A field of one output line after a tab, without the blanks that end it: a tab or line end
// inside it would break the line apart. No byte of a Shift-JIS character is one of those.
void appendField(std::string& line, std::string_view text)
{
    line += '\t';
    const std::size_t from = line.size();
    line += text::withoutTrailingBlanks(text);
    std::replace_if(
        line.begin() + static_cast<std::ptrdiff_t>(from), line.end(),
        [](char c) { return static_cast<unsigned char>(c) < 0x20; }, ' ');
}

std::string outputField(const std::string& sjisText)
{
    std::string field;
    appendField(field, sjisText);
    return sjis::toUtf8(field).substr(1);
}

void appendDate(std::string& line, const Date& date)
{
    const auto digits = [&](int value, int count) {
        for (int unit = count == 4 ? 1000 : 10; unit > 0; unit /= 10)
            line += static_cast<char>('0' + value / unit % 10);
    };
    digits(date.year, 4);
    line += '/';
    digits(date.month, 2);
    line += '/';
    digits(date.day, 2);
}

struct SearchArguments {
    SearchCriteria criteria;
    bool hasKeyword = false;
    bool hasCategory = false;
};

// Empty when the arguments are understood, else why not.
std::string parseArguments(const std::vector<std::string>& arguments, SearchArguments& parsed)
{
    SearchCriteria& c = parsed.criteria;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        const bool option = !optionsEnded && a.starts_with("--");
        if (option && a == "--") {
            optionsEnded = true;
        } else if (option && a == "--memos") {
            c.target = SearchTarget::Memos;
        } else if (option && a == "--subscriptions") {
            c.subscriptions = true;
        } else if (option && a == "--case") {
            c.letterCase = LetterCase::Match;
        } else if (option && (a == "--from" || a == "--to")) {
            std::optional<Date> date = i + 1 < arguments.size() ? text::parseSlashDate(arguments[++i]) : std::nullopt;
            if (!date)
                return a + " には日付を yyyy/mm/dd の形で指定して下さい。";
            (a == "--from" ? c.from : c.to) = date;
        } else if (option && a == "--category") {
            std::optional<std::string> name = i + 1 < arguments.size() ? sjis::fromUtf8(arguments[++i]) : std::nullopt;
            if (!name)
                return "--category には Shift-JIS で表せる分類名を指定して下さい。";
            c.category = *name;
            parsed.hasCategory = true;
        } else if (option || parsed.hasKeyword) {
            return "不明な引数です: " + a;
        } else {
            std::optional<std::string> keyword = sjis::fromUtf8(a);
            if (!keyword)
                return "検索する文字列に Shift-JIS で表せない文字があります。";
            c.keyword = *keyword;
            parsed.hasKeyword = true;
        }
    }
    if (!parsed.hasKeyword)
        return "検索する文字列を指定して下さい（なければ \"\"）。";
    if (c.target == SearchTarget::Memos && parsed.hasCategory)
        return "メモの検索に分類は指定できません。";
    if (c.target == SearchTarget::Memos && c.subscriptions)
        return "購読している予定表はスケジュールの検索にだけ含められます。";
    if (std::optional<SearchInputError> error = CheckSearchInput(c))
        return error->message;
    return {};
}

// The hits of the subscribed calendars, or the reason they could not be searched.
bool findExtras(const HeadlessContext& context, const SearchCriteria& criteria, ExtraScheduleList& found)
{
    const SubscribedSchedules subscribed = loadSubscribedSchedules(context.programFolder);
    if (!subscribed.reason.empty()) {
        operationFailed(context, terminalText(subscribed.reason));
        return false;
    }
    if (subscribed.schedules)
        found = FindExtraSchedules(*subscribed.schedules, criteria, context.today);
    return true;
}

int runSearch(const HeadlessContext& context, const SearchArguments& arguments)
{
    const SearchCriteria& criteria = arguments.criteria;
    AppSettings settings;
    if (int code = readDataSettings(context, settings); code != kExitOk)
        return code;
    const ListRows rows = criteria.target == SearchTarget::Memos ? MemoFindEdit(settings.memoPath, criteria)
                                                                 : SchFindEdit(settings.dataPath, criteria);
    // A file left out would make "nothing found" a wrong answer.
    if (!rows.unreadable.empty())
        return operationFailed(context, "読み込めないファイルがあるため、検索できません。\r\n" +
                                            files::problemsText(rows.unreadable));
    ExtraScheduleList extras;
    if (criteria.subscriptions && !findExtras(context, criteria, extras))
        return kExitFailed;
    if (rows.rows.empty() && extras.empty())
        return operationFailed(context, "該当するデータはありません。");
    printSearchHits(rows, context.out);
    printExtraHits(extras, context.out);
    return kExitOk;
}

} // namespace

void printSearchHits(const ListRows& rows, std::ostream& out)
{
    // The lines in Shift-JIS, converted and written a block at a time: one conversion for many
    // fields, in buffers small enough to be used again.
    constexpr std::size_t kBlockBytes = 16 * 1024;
    std::string lines;
    for (const ListRow& row : rows.rows) {
        appendDate(lines, row.date);
        if (rows.mode == ListMode::Memos) {
            appendField(lines, ListCellText(rows, row, kListMemoTextColumn));
        } else {
            for (const std::string& field :
                 {RecStart(row.text), RecEnd(row.text), RecTitle(row.text), RecPlace(row.text), RecCategory(row.text)})
                appendField(lines, field);
        }
        lines += '\n';
        if (lines.size() >= kBlockBytes) {
            out << sjis::toUtf8(lines);
            lines.clear();
        }
    }
    out << sjis::toUtf8(lines);
}

void printExtraHits(const ExtraScheduleList& extras, std::ostream& out)
{
    for (const auto& entry : extras) {
        out << text::formatDate("yyyy/mm/dd", entry->date);
        for (const std::string& field : {entry->start, entry->end, entry->title, entry->place})
            out << '\t' << outputField(field);
        out << "\t購読:" << outputField(entry->source) << '\n';
    }
}

HeadlessCommand searchCommand()
{
    HeadlessCommand command;
    command.option = "--search";
    command.usage = "--search 文字列 [--memos] [--category 分類] [--from yyyy/mm/dd] [--to yyyy/mm/dd] [--case] "
                    "[--subscriptions]";
    command.summary = "スケジュール（--memos でメモ）を検索し、一件一行で日付順に表示します";
    command.run = [command](const HeadlessContext& context, const std::vector<std::string>& arguments) {
        SearchArguments parsed;
        if (std::string why = parseArguments(arguments, parsed); !why.empty())
            return usageError(context, command, why);
        return runSearch(context, parsed);
    };
    return command;
}

} // namespace kal
