#include "commands/CommandLine.h"

#include "settings/AppSettings.h"

#include "platform/Files.h"

#include <climits>
#include <unistd.h>
#include <vector>

namespace kal {

namespace {

// Qt's own options that take a value; the window system reads them from argv itself.
bool isWindowSystemOptionWithValue(const std::string& a)
{
    static const char* const withValue[] = {"-platform", "-platformpluginpath", "-platformtheme", "-plugin",
                                            "-display",  "-geometry",           "-style",         "-stylesheet",
                                            "-session",  "-qwindowgeometry",    "-qwindowtitle",  "-qwindowicon"};
    for (const char* option : withValue)
        if (a == option)
            return true;
    return false;
}

bool isWindowSystemFlag(const std::string& a)
{
    static const char* const flags[] = {"-reverse", "-widgetcount", "-nograb", "-dograb", "-sync"};
    for (const char* option : flags)
        if (a == option)
            return true;
    return false;
}

bool contains(const std::vector<std::string>& names, const std::string& a)
{
    for (const std::string& name : names)
        if (name == a)
            return true;
    return false;
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments, const std::vector<std::string>& commands)
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
            // An empty folder would quietly mean the default one.
            if (i + 1 >= arguments.size() || arguments[i + 1].empty()) {
                cl.error = "--home にはフォルダを指定して下さい。";
                return cl;
            }
            cl.home = arguments[++i];
        } else if (!cl.command.empty()) {
            cl.commandArguments.push_back(a);
        } else if (a == "--help" || a == "-h") {
            cl.help = true;
        } else if (contains(commands, a)) {
            cl.command = a;
        } else if (isWindowSystemOptionWithValue(a) && i + 1 < arguments.size()) {
            ++i;
        } else if (isWindowSystemFlag(a)) {
            continue;
        } else {
            cl.error = "不明な引数です: " + a;
            return cl;
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
