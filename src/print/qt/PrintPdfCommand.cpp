#include "print/qt/PrintPdfCommand.h"

#include "app/Startup.h"
#include "print/MonthPrint.h"
#include "print/qt/PrintOutput.h"

#include <QGuiApplication>

#include <cstdio>
#include <memory>

namespace kal::qt {
namespace {

// Qt's own notes (a missing runtime folder and the like) are not this command's reasons.
void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fputs((message + '\n').toLocal8Bit().constData(), stderr);
}

// Fonts and painting need a GUI application; a headless one draws without any display.
std::unique_ptr<QGuiApplication> offscreenApplication()
{
    if (QCoreApplication::instance())
        return nullptr;
    qInstallMessageHandler(quietMessages);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "kalendra";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QGuiApplication>(argc, argv);
}

int printPdf(const HeadlessContext& context, int year, int month, const std::string& path)
{
    PrintSourceLoad loaded = LoadPrintSource(context.programFolder, year, month, context.today);
    if (!loaded.ok)
        return operationFailed(context, std::string(startup_text::kSettingsErrorCaption) + ": " + loaded.why);
    MonthPage page = ComposeMonthPage(std::move(loaded.source), LoadPrintSettings(context.programFolder));
    const QPageLayout::Orientation orientation =
        page.settings.orientation == PageOrientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    const QPageLayout a4(QPageSize(QPageSize::A4), orientation, QMarginsF());

    std::unique_ptr<QGuiApplication> application = offscreenApplication();
    files::IoResult written = WritePdf(path, page, a4);
    if (!written)
        return operationFailed(context, "PDFファイルを保存できません: " + path + ": " + written.reason);
    return kExitOk;
}

} // namespace

HeadlessCommand printPdfCommand()
{
    HeadlessCommand command;
    command.option = "--print-pdf";
    command.usage = "--print-pdf YYYY MM FILE";
    command.summary = "その月のカレンダーを印刷の設定で一ページの PDF ファイルに書き出します";
    command.run = [command](const HeadlessContext& context, const std::vector<std::string>& arguments) {
        if (arguments.size() != 3)
            return usageError(context, command, "年、月と PDF ファイルを指定して下さい。");
        const YearMonthArguments when = parseYearMonth(context, command, arguments[0], arguments[1]);
        if (when.exitCode != kExitOk)
            return when.exitCode;
        if (arguments[2].empty())
            return usageError(context, command, "PDF ファイルを指定して下さい。");
        return printPdf(context, when.year, when.month, arguments[2]);
    };
    return command;
}

} // namespace kal::qt
