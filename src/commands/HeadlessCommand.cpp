#include "commands/HeadlessCommand.h"

#include "calendar/CalendarMath.h"
#include "platform/ByteText.h"
#include "platform/FolderLock.h"
#include "settings/AppSettings.h"
#include "settings/DataFolders.h"

#include <algorithm>
#include <ctime>

namespace kal {
namespace {

const HeadlessCommand* findCommand(const std::vector<HeadlessCommand>& commands, const std::string& option)
{
    const auto found =
        std::find_if(commands.begin(), commands.end(), [&](const auto& c) { return c.option == option; });
    return found != commands.end() ? &*found : nullptr;
}

} // namespace

std::vector<std::string> commandOptions(const std::vector<HeadlessCommand>& commands)
{
    std::vector<std::string> options;
    for (const HeadlessCommand& command : commands)
        options.push_back(command.option);
    return options;
}

const CommandModule* moduleOf(const std::vector<HeadlessCommand>& commands, const std::string& option)
{
    const HeadlessCommand* command = findCommand(commands, option);
    return command ? command->module : nullptr;
}

int runHeadlessCommand(const std::vector<HeadlessCommand>& commands, const std::string& option,
                       const HeadlessContext& context, const std::vector<std::string>& arguments)
{
    const HeadlessCommand* command = findCommand(commands, option);
    if (!command || !command->run) {
        context.err << "kalendra: 不明なコマンドです: " << option << "\n";
        return kExitUsage;
    }
    // A command that waits for another's lock says so once, so a script's user knows why.
    files::LockWaiting waiting;
    const long long seconds = waiting.giveUpAfter.count() / 1000;
    waiting.started = [&context, seconds](const std::string& folder) {
        context.err << "kalendra: " << files::lockWaitingText(folder) << "（最長 " << seconds << " 秒）\n"
                    << std::flush;
    };
    const files::LockWaiting before = files::setLockWaiting(waiting);
    const int exitCode = command->run(context, arguments);
    files::setLockWaiting(before);
    return exitCode;
}

int usageError(const HeadlessContext& context, const HeadlessCommand& command, const std::string& why)
{
    context.err << "kalendra: " << why << "\n"
                << "使い方: kalendra [--home フォルダ] " << command.usage << "\n";
    return kExitUsage;
}

std::string terminalText(const std::string& message)
{
    std::string out;
    out.reserve(message.size());
    for (std::size_t i = 0; i < message.size(); ++i)
        if (!(message[i] == '\r' && i + 1 < message.size() && message[i + 1] == '\n'))
            out += message[i];
    return out;
}

int operationFailed(const HeadlessContext& context, const std::string& why)
{
    context.err << "kalendra: " << terminalText(why) << "\n";
    return kExitFailed;
}

bool readCommandSettings(const std::string& programFolder, std::ostream& err, AppSettings& settings)
{
    if (const std::string missing = CreateProgramFolder(programFolder); !missing.empty()) {
        err << "kalendra: " << terminalText(missing) << "\n";
        return false;
    }
    IniFile ini(SettingsPath(programFolder));
    ini.load();
    if (SettingsLoadResult loaded = readSettings(ini, programFolder, settings); !loaded.ok) {
        err << "kalendra: " << kSettingsErrorCaption << ": " << loaded.detail << "\n";
        return false;
    }
    return true;
}

int readDataSettings(const std::string& programFolder, std::ostream& err, AppSettings& settings)
{
    if (!readCommandSettings(programFolder, err, settings))
        return kExitFailed;
    if (std::string problems = RecoverDataFolders(DataFolders(settings, programFolder)); !problems.empty()) {
        err << "kalendra: " << terminalText(problems) << "\n";
        return kExitFailed;
    }
    return kExitOk;
}

YearMonthArguments parseYearMonth(const HeadlessContext& context, const HeadlessCommand& command,
                                  const std::string& year, const std::string& month)
{
    YearMonthArguments parsed{text::toIntOr(year, 0), text::toIntOr(month, 0)};
    if (parsed.year < kFirstYear || parsed.year > kLastYear)
        parsed.exitCode = usageError(context, command, "年は 1900 から 2099 までです。");
    else if (parsed.month < 1 || parsed.month > 12)
        parsed.exitCode = usageError(context, command, "月は 1 から 12 までです。");
    return parsed;
}

DateTime localNow()
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    if (!::localtime_r(&now, &local))
        ::gmtime_r(&now, &local);
    return DateTime{Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday}, local.tm_hour, local.tm_min,
                    local.tm_sec};
}

Date localToday()
{
    return localNow().date;
}

void printHelp(std::ostream& out, const std::vector<HeadlessCommand>& commands)
{
    out << "使い方: kalendra [/2] [--home フォルダ]\n"
           "       kalendra [--home フォルダ] コマンド 引数...\n"
           "\n"
           "  /2                 起動中でも、もう一つ起動します\n"
           "  --home フォルダ    プログラムフォルダを指定します\n"
           "  --help             この説明を表示します\n"
           "\n"
           "コマンド（ウィンドウを開かずに実行します。終了コード 0 成功、1 失敗、2 引数の誤り）:\n";
    for (const HeadlessCommand& command : commands)
        out << "  " << command.usage << "\n      " << command.summary << "\n";
}

} // namespace kal
