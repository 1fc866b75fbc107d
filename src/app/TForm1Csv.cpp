// The CSV entries of the file menu: the shown month written out, a CSV file read in through the
// mapping dialog.
#include "app/TForm1.h"

#include "exchange/CsvExport.h"
#include "exchange/CsvImport.h"
#include "exchange/TDlgCsvToSch.h"

#include <QAction>

namespace kal {

void TForm1::ConnectCsvCommands()
{
    for (QAction* entry : {MenuCsvRead, MenuCsvSave})
        entry->setEnabled(true);
    connect(MenuCsvSave, &QAction::triggered, this, &TForm1::MenuCsvSaveClick);
    connect(MenuCsvRead, &QAction::triggered, this, &TForm1::MenuCsvReadClick);
}

void TForm1::MenuCsvSaveClick()
{
    const int year = state_.viewYear, month = state_.viewMonth;
    std::optional<std::string> path =
        askCsvExportPath(services_.platform, settings_.dataPath, monthCsvName(year, month));
    if (!path)
        return;
    CsvExportResult exported = exportMonthCsv(settings_.dataPath, year, month, *path);
    if (!exported.ok)
        services_.platform.messageBox(kCsvSaveCaption, exported.message, MessageIcon::Error, MessageButtons::Ok);
}

void TForm1::MenuCsvReadClick()
{
    state_.modalDialogOpen = true;
    std::optional<std::string> path =
        services_.platform.openFileName(kCsvReadCaption, settings_.dataPath, "CSVﾌｧｲﾙ (*.csv);;すべてのﾌｧｲﾙ (*)");
    if (path && !path->empty())
        ImportCsvFile(*path);
    state_.modalDialogOpen = false;
}

void TForm1::ImportCsvFile(const std::string& path)
{
    CsvFile file = readCsvFile(path);
    if (!file.ok) {
        services_.platform.messageBox(kCsvReadCaption, file.message, MessageIcon::Error, MessageButtons::Ok);
        return;
    }
    TDlgCsvToSch dialog(services_, {path, std::move(file.lines), settings_.dataPath, programFolder_}, this);
    const bool accepted = services_.dialogs.run(dialog) == QDialog::Accepted;
    if (accepted || dialog.wroteFiles())
        RebuildMonth();
}

} // namespace kal
