#include "print/qt/MonthPdf.h"

#include "platform/Files.h"
#include "print/MonthPrint.h"
#include "print/qt/PrintOutput.h"
#include "settings/AppSettings.h"

#include <QGuiApplication>

#include <cstdio>
#include <memory>

namespace kal::qt {
namespace {

// Qt's own notes (a missing runtime folder and the like) are not the caller's reasons.
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

MonthPdfResult failed(std::string message)
{
    return MonthPdfResult{false, std::move(message)};
}

} // namespace

MonthPdfResult WriteMonthPdf(const std::string& programFolder, int year, int month, const Date& today,
                             const std::string& path, ExtraSchedules* extras)
{
    PrintSourceLoad loaded = LoadPrintSource(programFolder, year, month, today, extras);
    if (!loaded.ok)
        return failed(std::string(kSettingsErrorCaption) + ": " + loaded.why);
    if (const auto& unreadable = loaded.source.build.unreadable; !unreadable.empty())
        return failed("読み込めないファイルがあるため、月を印刷できません。\r\n" + files::problemsText(unreadable));
    MonthPage page = ComposeMonthPage(std::move(loaded.source), LoadPrintSettings(programFolder));
    const QPageLayout::Orientation orientation =
        page.settings.orientation == PageOrientation::Landscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    const QPageLayout a4(QPageSize(QPageSize::A4), orientation, QMarginsF());

    std::unique_ptr<QGuiApplication> application = offscreenApplication();
    if (files::IoResult written = WritePdf(path, page, a4); !written)
        return failed("PDFファイルを保存できません: " + path + ": " + written.reason);
    return MonthPdfResult{true, {}};
}

} // namespace kal::qt
