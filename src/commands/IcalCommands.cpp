#include "commands/IcalCommands.h"

#include "exchange/CsvText.h"
#include "exchange/IcalExport.h"
#include "exchange/IcalImport.h"
#include "platform/Files.h"
#include "settings/AppSettings.h"

namespace kal {
namespace {

const char* const kDateHint = " には日付を yyyy/mm/dd の形で指定して下さい。";

struct ImportArguments {
    std::string file;
    std::optional<Date> from, to;
    ImportOptions options;
};

// Empty when the arguments are understood, else why not.
std::string parseImportArguments(const std::vector<std::string>& arguments, ImportArguments& parsed)
{
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (a == "--from" || a == "--to") {
            std::optional<Date> date = i + 1 < arguments.size() ? parseCsvDate(arguments[++i]) : std::nullopt;
            if (!date)
                return a + kDateHint;
            (a == "--from" ? parsed.from : parsed.to) = date;
        } else if (a == "--no-duplicate-check") {
            parsed.options.skipDuplicates = false;
        } else if (a.starts_with("--") || !parsed.file.empty()) {
            return "不明な引数です: " + a;
        } else {
            parsed.file = a;
        }
    }
    if (parsed.file.empty())
        return "iCalendar ファイルを指定して下さい。";
    if (parsed.from && parsed.to && *parsed.to < *parsed.from)
        return "--to の日付が --from より前です。";
    return {};
}

} // namespace

HeadlessCommand exportIcsCommand()
{
    HeadlessCommand command = exportIcsListing();
    command.run = [command](const HeadlessContext& context, const std::vector<std::string>& arguments) {
        if (arguments.size() != 3)
            return usageError(context, command, "期間の初めと終わりの日付と保存するファイルを指定して下さい。");
        const std::optional<Date> from = parseCsvDate(arguments[0]), to = parseCsvDate(arguments[1]);
        if (!from || !to)
            return usageError(context, command, std::string(from ? "TO" : "FROM") + kDateHint);
        if (*to < *from)
            return usageError(context, command, "TO の日付が FROM より前です。");
        const std::string& file = arguments[2];
        if (files::fileExists(file))
            return operationFailed(context, "「" + file + "」は既にあります。上書きしません。");
        // The export keeps the identities it gives out, so it writes as well as reads.
        AppSettings settings;
        if (int code = readDataSettings(context, settings); code != kExitOk)
            return code;
        const IcalExportRequest request{settings.dataPath,  settings.todoPath,    *from, *to, true,
                                        settings.alarmTime, context.programFolder};
        const IcalExportResult exported = exportIcal(request, file);
        if (!exported.ok)
            return operationFailed(context, exported.message);
        context.out << terminalText(exported.message) << "\n";
        return kExitOk;
    };
    return command;
}

HeadlessCommand importIcsCommand()
{
    HeadlessCommand command = importIcsListing();
    command.run = [command](const HeadlessContext& context, const std::vector<std::string>& arguments) {
        ImportArguments parsed;
        if (std::string why = parseImportArguments(arguments, parsed); !why.empty())
            return usageError(context, command, why);
        AppSettings settings;
        if (int code = readDataSettings(context, settings); code != kExitOk)
            return code;
        IcalFile file = readIcalFile(parsed.file);
        if (!file.ok)
            return operationFailed(context, file.message);
        const Date from = parsed.from.value_or(context.today);
        const Date to = parsed.to.value_or(icalDefaultPeriodEnd(from));
        if (to < from)
            return usageError(context, command, "--to の日付が期間の初めより前です。");
        const IcalImportRequest request{
            std::move(file.text), from, to, context.today, parsed.options, settings.dataPath, settings.todoPath,
            context.programFolder};
        const IcalImportOutcome imported = runIcalImport(request, ImportRun::Execute);
        if (!imported.outcome.ok())
            return operationFailed(context, imported.outcome.message);
        context.out << terminalText(imported.outcome.message) << "\n";
        return kExitOk;
    };
    return command;
}

} // namespace kal
