#include "commands/CsvCommands.h"

#include "exchange/CsvExport.h"
#include "exchange/CsvImport.h"
#include "platform/ByteText.h"
#include "platform/Files.h"
#include "platform/NumberFormat.h"
#include "settings/AppSettings.h"

namespace kal {
namespace {

// "1,2,3,4,5,6": the 1-based CSV column of each target in order, 0 for none; a column serves
// one target at most.
bool parseColumns(const std::string& list, CsvMapping& mapping)
{
    mapping.clear();
    std::vector<std::string> items;
    std::size_t begin = 0;
    for (std::size_t comma; (comma = list.find(',', begin)) != std::string::npos; begin = comma + 1)
        items.push_back(list.substr(begin, comma - begin));
    items.push_back(list.substr(begin));
    if (items.size() != kCsvTargetCount)
        return false;
    for (int target = 0; target < kCsvTargetCount; ++target) {
        const int column = text::toIntOr(items[static_cast<std::size_t>(target)], -1);
        if (column < 0 || (column > 0 && !mapping.assign(target, column - 1)))
            return false;
    }
    return true;
}

struct ImportArguments {
    std::string file;
    CsvMapping mapping = CsvMapping::inOrder();
    CsvImportOptions options;
};

// Empty when the arguments are understood, else why not.
std::string parseImportArguments(const std::vector<std::string>& arguments, ImportArguments& parsed)
{
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (a == "--columns") {
            if (i + 1 >= arguments.size() || !parseColumns(arguments[++i], parsed.mapping))
                return "--columns には 6 つの列番号（0 は割り当てなし）をカンマで区切って指定して下さい。";
        } else if (a == "--header") {
            parsed.options.firstLineIsHeader = true;
        } else if (a == "--no-duplicate-check") {
            parsed.options.import.skipDuplicates = false;
        } else if (a == "--no-new-categories") {
            parsed.options.import.addCategories = false;
        } else if (a.starts_with("--") || !parsed.file.empty()) {
            return "不明な引数です: " + a;
        } else {
            parsed.file = a;
        }
    }
    return parsed.file.empty() ? "CSVファイルを指定して下さい。" : "";
}

} // namespace

HeadlessCommand exportCsvCommand()
{
    HeadlessCommand command;
    command.option = "--export-csv";
    command.usage = "--export-csv YYYY MM FILE";
    command.summary = "その月のスケジュールを CSV 形式で保存します（既存のファイルは上書きしません）";
    command.run = [command](const HeadlessContext& context, const std::vector<std::string>& arguments) {
        if (arguments.size() != 3)
            return usageError(context, command, "年と月と保存するファイルを指定して下さい。");
        const YearMonthArguments when = parseYearMonth(context, command, arguments[0], arguments[1]);
        if (when.exitCode != kExitOk)
            return when.exitCode;
        const std::string& file = arguments[2];
        if (files::fileExists(file))
            return operationFailed(context, "「" + file + "」は既にあります。上書きしません。");
        AppSettings settings;
        if (int code = readDataSettings(context, settings); code != kExitOk)
            return code;
        const CsvExportResult exported = exportMonthCsv(settings.dataPath, when.year, when.month, file);
        if (!exported.ok)
            return operationFailed(context, exported.message);
        context.out << text::formatThousands(exported.count) << " 件のスケジュールデータを保存しました。\n";
        return kExitOk;
    };
    return command;
}

HeadlessCommand importCsvCommand()
{
    HeadlessCommand command;
    command.option = "--import-csv";
    command.usage = "--import-csv FILE [--columns LIST] [--header] [--no-duplicate-check] [--no-new-categories]";
    command.summary = "CSV ファイルのスケジュールを読み込みます（LIST は日付,開始,終了,内容,場所,分類の列番号、"
                      "既定 1,2,3,4,5,6）";
    command.run = [command](const HeadlessContext& context, const std::vector<std::string>& arguments) {
        ImportArguments parsed;
        if (std::string why = parseImportArguments(arguments, parsed); !why.empty())
            return usageError(context, command, why);
        AppSettings settings;
        if (int code = readDataSettings(context, settings); code != kExitOk)
            return code;
        CsvFile file = readCsvFile(parsed.file);
        if (!file.ok)
            return operationFailed(context, file.message);
        CsvImportRequest request{std::move(file.lines), parsed.mapping, parsed.options, settings.dataPath,
                                 context.programFolder};
        const ImportOutcome outcome = runCsvImport(request, ImportRun::Execute);
        if (!outcome.ok())
            return operationFailed(context, outcome.message);
        context.out << terminalText(outcome.message) << "\n";
        return kExitOk;
    };
    return command;
}

} // namespace kal
