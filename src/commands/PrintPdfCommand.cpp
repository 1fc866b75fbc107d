#include "commands/PrintPdfCommand.h"

#include "platform/Files.h"
#include "settings/AppSettings.h"

#include <algorithm>

namespace kal {
namespace {

int printPdf(const HeadlessContext& context, const MonthPdfWriter& write, int year, int month, const std::string& path)
{
    AppSettings settings;
    if (int code = readDataSettings(context, settings); code != kExitOk)
        return code;
    const std::string failure = write(context.programFolder, year, month, context.today, path);
    return failure.empty() ? kExitOk : operationFailed(context, failure);
}

} // namespace

HeadlessCommand printPdfCommand(MonthPdfWriter write)
{
    HeadlessCommand command = printPdfListing();
    command.run = [command, write](const HeadlessContext& context, std::vector<std::string> arguments) {
        const auto force = std::find(arguments.begin(), arguments.end(), "--force");
        const bool replace = force != arguments.end();
        if (replace)
            arguments.erase(force);
        if (arguments.size() != 3)
            return usageError(context, command, "年、月と PDF ファイルを指定して下さい。");
        const YearMonthArguments when = parseYearMonth(context, command, arguments[0], arguments[1]);
        if (when.exitCode != kExitOk)
            return when.exitCode;
        const std::string& file = arguments[2];
        if (file.empty())
            return usageError(context, command, "PDF ファイルを指定して下さい。");
        if (!replace && files::anythingAt(file))
            return operationFailed(context,
                                   "「" + file + "」は既にあります。上書きしません（上書きするには --force）。");
        return printPdf(context, write, when.year, when.month, file);
    };
    return command;
}

} // namespace kal
