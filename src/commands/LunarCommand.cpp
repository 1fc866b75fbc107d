#include "commands/LunarCommand.h"

#include "calendar/Almanac.h"
#include "calendar/CalendarMath.h"
#include "platform/DateFormat.h"

#include <optional>

namespace kal {

HeadlessCommand lunarCommand()
{
    HeadlessCommand command;
    command.option = "--lunar";
    command.usage = "--lunar FROM [TO]";
    command.summary = "旧暦の日付、六曜、二十四節気、雑節を一日一行で表示します（日付は yyyy/mm/dd）";
    command.run = [command](const HeadlessContext& context, const std::vector<std::string>& arguments) {
        if (arguments.empty() || arguments.size() > 2)
            return usageError(context, command, "開始日と、必要なら終了日を指定して下さい。");
        std::optional<Date> dates[2];
        for (std::size_t i = 0; i < 2; ++i) {
            dates[i] = text::parseSlashDate(arguments[std::min(i, arguments.size() - 1)]);
            if (!dates[i])
                return usageError(context, command, "日付は yyyy/mm/dd の形で指定して下さい。");
            if (dates[i]->year < kFirstYear || dates[i]->year > kLastYear)
                return usageError(context, command, "日付は 1900/01/01 から 2099/12/31 までです。");
        }
        if (*dates[1] < *dates[0])
            return usageError(context, command, "終了日は開始日より後の日付を指定して下さい。");
        std::string out;
        for (Date day = *dates[0]; day <= *dates[1]; day = addDays(day, 1))
            out += LunarLine(day) + '\n';
        context.out << out;
        return kExitOk;
    };
    return command;
}

} // namespace kal
