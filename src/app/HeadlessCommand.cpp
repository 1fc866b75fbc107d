#include "app/HeadlessCommand.h"

#include "app/AppSettings.h"
#include "app/Startup.h"
#include "calendar/CalendarMath.h"
#include "platform/ByteText.h"

namespace kal {

int usageError(const HeadlessContext& context, const HeadlessCommand& command, const std::string& why)
{
    context.err << "kalendra: " << why << "\n"
                << "使い方: kalendra [--home フォルダ] " << command.usage << "\n";
    return kExitUsage;
}

int operationFailed(const HeadlessContext& context, const std::string& why)
{
    context.err << "kalendra: " << why << "\n";
    return kExitFailed;
}

bool readCommandSettings(const std::string& programFolder, std::ostream& err, AppSettings& settings)
{
    IniFile ini(SettingsPath(programFolder));
    ini.load();
    if (SettingsLoadResult loaded = readSettings(ini, programFolder, settings); !loaded.ok) {
        err << "kalendra: " << startup_text::kSettingsErrorCaption << ": " << loaded.detail << "\n";
        return false;
    }
    return true;
}

int readYearMonth(const HeadlessContext& context, const HeadlessCommand& command, const std::string& yearText,
                  const std::string& monthText, int& year, int& month)
{
    year = text::toIntOr(yearText, 0);
    month = text::toIntOr(monthText, 0);
    if (year < kFirstYear || year > kLastYear)
        return usageError(context, command, "年は 1900 から 2099 までです。");
    if (month < 1 || month > 12)
        return usageError(context, command, "月は 1 から 12 までです。");
    return kExitOk;
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
