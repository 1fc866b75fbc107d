#include "print/qt/PrintPdfCommand.h"

#include "platform/Files.h"
#include "print/MonthPrint.h"
#include "print/qt/PrintOutput.h"
#include "settings/AppSettings.h"

#include <QGuiApplication>

#include <algorithm>
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
    AppSettings settings;
    if (int code = readDataSettings(context, settings); code != kExitOk)
        return code;
    PrintSourceLoad loaded = LoadPrintSource(context.programFolder, year, month, context.today);
    if (!loaded.ok)
        return operationFailed(context, std::string(kSettingsErrorCaption) + ": " + loaded.why);
    if (const auto& unreadable = loaded.source.build.unreadable; !unreadable.empty())
        return operationFailed(context, "読み込めないファイルがあるため、月を印刷できません。\r\n" +
                                            files::problemsText(unreadable));
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
    command.usage = "--print-pdf YYYY MM FILE [--force]";
    command.summary = "その月のカレンダーを印刷の設定で一ページの PDF ファイルに書き出します"
                      "（既存のファイルは --force がなければ上書きしません）";
    command.run = [command](const HeadlessContext& context, std::vector<std::string> arguments) {
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
        return printPdf(context, when.year, when.month, file);
    };
    return command;
}

} // namespace kal::qt
