// The window module's entry for --print-pdf, the one command that paints (the main window's
// start is app/qt/modules/WindowStartEntry.cpp).
#include "commands/CommandModules.h"
#include "commands/PrintPdfCommand.h"
#include "print/qt/MonthPdf.h"
#include "sync/FeedSchedules.h"

namespace {

std::string writeMonthPdf(const std::string& programFolder, int year, int month, const kal::Date& today,
                          const std::string& path)
{
    const std::unique_ptr<kal::FeedSchedules> feeds = kal::loadFeedSchedules(programFolder);
    const kal::qt::MonthPdfResult written =
        kal::qt::WriteMonthPdf(programFolder, year, month, today, path, feeds.get());
    return written.ok ? std::string() : written.message;
}

} // namespace

extern "C" __attribute__((visibility("default"))) int kalendra_window_main(int argc, char** argv,
                                                                           const char* programFolder)
{
    static_assert(std::is_same_v<decltype(&kalendra_window_main), kal::ModuleEntry>);
    const std::vector<kal::HeadlessCommand> commands{kal::printPdfCommand(writeMonthPdf)};
    return kal::runCommand(commands, kal::readCommandLine(argc, argv, commands), programFolder);
}
