#include "exchange/qt/ExchangeCommands.h"

#include "exchange/CsvExport.h"
#include "exchange/CsvImport.h"
#include "exchange/IcalImport.h"
#include "exchange/TDlgCsvToSch.h"
#include "exchange/TDlgIcalRead.h"
#include "exchange/TDlgIcalSave.h"
#include "platform/qt/Widgets.h"

#include <QAction>

namespace kal::qt {

ExchangeCommands::ExchangeCommands(const PanelContext& context, ExchangeLinks links, QWidget* window)
    : QObject(window), context_(context), links_(std::move(links)), window_(window)
{
    MenuCsvRead = namedAction(this, "MenuCsvRead", "CSV形式の読込(&R)");
    MenuCsvSave = namedAction(this, "MenuCsvSave", "CSV形式で保存(&S)");
    MenuIcalSave = namedAction(this, "MenuIcalSave", "iCalendar形式で保存(&I)...");
    MenuIcalRead = namedAction(this, "MenuIcalRead", "iCalendar形式の読込(&J)...");
    connect(MenuCsvSave, &QAction::triggered, this, &ExchangeCommands::MenuCsvSaveClick);
    connect(MenuCsvRead, &QAction::triggered, this, &ExchangeCommands::MenuCsvReadClick);
    connect(MenuIcalSave, &QAction::triggered, this, &ExchangeCommands::MenuIcalSaveClick);
    connect(MenuIcalRead, &QAction::triggered, this, &ExchangeCommands::MenuIcalReadClick);
}

void ExchangeCommands::MenuCsvSaveClick()
{
    const Date month = links_.shownMonth();
    const std::string& dataPath = context_.settings.dataPath;
    Platform& platform = context_.services.platform;
    std::optional<std::string> path = askCsvExportPath(platform, dataPath, monthCsvName(month.year, month.month));
    if (!path)
        return;
    CsvExportResult exported = exportMonthCsv(dataPath, month.year, month.month, *path);
    if (!exported.ok)
        platform.messageBox(kCsvSaveCaption, exported.message, MessageIcon::Error, MessageButtons::Ok);
}

void ExchangeCommands::MenuCsvReadClick()
{
    const ModalScope modal(context_);
    std::optional<std::string> path = context_.services.platform.openFileName(
        kCsvReadCaption, context_.settings.dataPath, "CSVﾌｧｲﾙ (*.csv);;すべてのﾌｧｲﾙ (*)");
    if (path && !path->empty())
        ImportCsvFile(*path);
}

void ExchangeCommands::ImportCsvFile(const std::string& path)
{
    CsvFile file = readCsvFile(path);
    if (!file.ok) {
        context_.services.platform.messageBox(kCsvReadCaption, file.message, MessageIcon::Error, MessageButtons::Ok);
        return;
    }
    TDlgCsvToSch dialog(context_.services,
                        {path, std::move(file.lines), context_.settings.dataPath, context_.programFolder}, window_);
    const bool accepted = context_.services.dialogs.run(dialog) == QDialog::Accepted;
    if (accepted || dialog.wroteFiles())
        context_.rebuildMonth();
}

void ExchangeCommands::MenuIcalSaveClick()
{
    const AppSettings& settings = context_.settings;
    const Date first = links_.shownMonth();
    const Date last{first.year, first.month, daysInMonth(first.year, first.month)};
    TDlgIcalSave dialog(context_.services,
                        {settings.dataPath, settings.todoPath, settings.alarmTime, first, last, context_.programFolder},
                        window_);
    context_.services.dialogs.run(dialog);
}

void ExchangeCommands::MenuIcalReadClick()
{
    const ModalScope modal(context_);
    std::optional<std::string> path = context_.services.platform.openFileName(
        kIcalReadCaption, context_.settings.dataPath, "iCalendar (*.ics);;すべてのファイル (*)");
    if (path && !path->empty())
        ImportIcalFile(*path);
}

void ExchangeCommands::ImportIcalFile(const std::string& path)
{
    IcalFile file = readIcalFile(path);
    if (!file.ok) {
        context_.services.platform.messageBox(kIcalReadCaption, file.message, MessageIcon::Error, MessageButtons::Ok);
        return;
    }
    const AppSettings& settings = context_.settings;
    TDlgIcalRead dialog(
        context_.services,
        {path, std::move(file.text), settings.dataPath, settings.todoPath, context_.programFolder, links_.today()},
        window_);
    context_.services.dialogs.run(dialog);
    if (!dialog.wroteFiles())
        return;
    links_.todoChanged();
    context_.rebuildMonth();
}

} // namespace kal::qt
