// The window module's entry: the main window, or --print-pdf, the one command that paints.
#include "app/qt/WindowStart.h"
#include "commands/CommandLine.h"
#include "commands/HeadlessCommands.h"
#include "commands/PrintPdfCommand.h"
#include "commands/WindowModule.h"
#include "print/qt/MonthPdf.h"

#include <iostream>

namespace {

std::string writeMonthPdf(const std::string& programFolder, int year, int month, const kal::Date& today,
                          const std::string& path)
{
    const kal::qt::MonthPdfResult written = kal::qt::WriteMonthPdf(programFolder, year, month, today, path);
    return written.ok ? std::string() : written.message;
}

} // namespace

extern "C" __attribute__((visibility("default"))) int kalendra_window_main(int argc, char** argv,
                                                                           const char* programFolder)
{
    static_assert(std::is_same_v<decltype(&kalendra_window_main), kal::WindowEntry>);
    // The program has checked the command line already; this reads it the same way.
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const kal::CommandLine commandLine = kal::parseCommandLine(arguments, kal::commandOptions(kal::headlessCommands()));
    if (commandLine.command.empty())
        return kal::qt::runWindow(argc, argv, programFolder, commandLine.skipInstanceGuard);
    const kal::HeadlessContext context{programFolder, kal::localToday(), std::cout, std::cerr};
    return kal::runHeadlessCommand({kal::printPdfCommand(writeMonthPdf)}, commandLine.command, context,
                                   commandLine.commandArguments);
}
