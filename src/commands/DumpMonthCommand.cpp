#include "commands/DumpMonthCommand.h"

#include "calendar/MonthBuild.h"
#include "commands/SubscribedSchedules.h"
#include "platform/ByteText.h"
#include "platform/DateFormat.h"
#include "platform/Files.h"
#include "platform/SjisCodec.h"
#include "settings/AppSettings.h"
#include "todo/TodoRecord.h"

namespace kal {
namespace {

char relationLetter(MonthRelation relation)
{
    switch (relation) {
    case MonthRelation::Previous:
        return 'P';
    case MonthRelation::Next:
        return 'N';
    case MonthRelation::Current:
        break;
    }
    return 'C';
}

} // namespace

int dumpMonth(const std::string& programFolder, int year, int month, const Date& today, std::ostream& out,
              std::ostream& err)
{
    AppSettings settings;
    if (int code = readDataSettings(programFolder, err, settings); code != kExitOk)
        return code;
    MonthBuildInput input = MonthBuildInputFrom(settings, year, month, today);
    const SubscribedSchedules subscribed = loadSubscribedSchedules(programFolder);
    if (!subscribed.reason.empty())
        err << "kalendra: " << terminalText(subscribed.reason) << "\n";
    input.extras = subscribed.schedules.get();
    MonthBuild build = BuildMonth(input);
    if (!build.unreadable.empty()) {
        err << "kalendra: 読み込めないファイルがあるため、月を表示できません。\n"
            << terminalText(files::problemsText(build.unreadable)) << "\n";
        return kExitFailed;
    }

    for (int row = 1; row <= 6; ++row)
        for (int column = 0; column < 7; ++column) {
            const DayCell& cell = build.layout.cell(column, row);
            Date date = build.layout.dateOf(column, row);
            out << text::formatDate("yyyy/mm/dd", date) << '\t' << relationLetter(cell.relation) << '\t' << cell.kind
                << '\t' << cell.mark << '\t' << (cell.showRokuyo ? sjis::toUtf8(RokuyoName(cell.rokuyo)) : "-");
            for (const CellLine& line : build.lists.at(column, row))
                out << '\t' << sjis::toUtf8(line.extra ? ExtraLineText(*line.extra) : line.text);
            out << '\n';
        }
    return 0;
}

HeadlessCommand dumpMonthCommand()
{
    HeadlessCommand command;
    command.option = "--dump-month";
    command.usage = "--dump-month YYYY MM";
    command.summary = "その月のカレンダーの中身を一日一行で表示します";
    command.run = [command](const HeadlessContext& context, const std::vector<std::string>& arguments) {
        if (arguments.size() != 2)
            return usageError(context, command, "年と月を指定して下さい。");
        const YearMonthArguments when = parseYearMonth(context, command, arguments[0], arguments[1]);
        if (when.exitCode != kExitOk)
            return when.exitCode;
        return dumpMonth(context.programFolder, when.year, when.month, context.today, context.out, context.err);
    };
    return command;
}

} // namespace kal
