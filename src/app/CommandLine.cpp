#include "app/CommandLine.h"

#include "app/AppSettings.h"

#include "platform/ByteText.h"
#include "platform/Files.h"

#include <climits>
#include <unistd.h>

namespace kal {

CommandLine parseCommandLine(const std::vector<std::string>& arguments)
{
    CommandLine cl;
    std::size_t i = 0;
    if (!arguments.empty() && arguments[0] == "/2") {
        cl.skipInstanceGuard = true;
        i = 1;
    }
    for (; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        if (a == "--home") {
            if (i + 1 >= arguments.size()) {
                cl.error = "--home needs a folder";
                return cl;
            }
            cl.home = arguments[++i];
        } else if (a == "--dump-month") {
            if (i + 2 >= arguments.size()) {
                cl.error = "--dump-month needs a year and a month";
                return cl;
            }
            cl.dumpMonth = true;
            cl.dumpYear = text::toIntOr(arguments[i + 1], 0);
            cl.dumpMonthNumber = text::toIntOr(arguments[i + 2], 0);
            i += 2;
            if (cl.dumpYear < 1900 || cl.dumpYear > 2099) {
                cl.error = "--dump-month: the year must be 1900 to 2099";
                return cl;
            }
            if (cl.dumpMonthNumber < 1 || cl.dumpMonthNumber > 12) {
                cl.error = "--dump-month: the month must be 1 to 12";
                return cl;
            }
        } else if (a.rfind("-", 0) == 0 && a.size() > 1) {
            // Options the window system understands (-platform, -display...) are Qt's.
            continue;
        }
    }
    return cl;
}

std::string absolutePath(const std::string& path)
{
    if (!path.empty() && path[0] == '/')
        return path;
    char buffer[PATH_MAX];
    if (!::getcwd(buffer, sizeof buffer))
        return path;
    return files::withSeparator(buffer) + path;
}

std::string chooseProgramFolder(const ProgramFolderInputs& in)
{
    if (in.homeArgument && !in.homeArgument->empty())
        return files::withSeparator(absolutePath(*in.homeArgument));
    if (in.homeEnvironment && !in.homeEnvironment->empty())
        return files::withSeparator(absolutePath(*in.homeEnvironment));
    std::string exe = files::withSeparator(in.executableFolder);
    if (!exe.empty() && files::fileExists(SettingsPath(exe)))
        return exe;
    if (in.xdgDataHome && !in.xdgDataHome->empty() && (*in.xdgDataHome)[0] == '/')
        return files::withSeparator(*in.xdgDataHome) + "kalendra/";
    std::string home = in.userHome ? *in.userHome : std::string();
    return files::withSeparator(home) + ".local/share/kalendra/";
}

} // namespace kal
