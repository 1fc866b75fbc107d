// The iCalendar entries of the file menu, right after the CSV entries: a period written out as
// an .ics file, an .ics file read in through its dialog.
#include "app/TForm1.h"

#include "exchange/IcalImport.h"
#include "exchange/TDlgIcalRead.h"
#include "exchange/TDlgIcalSave.h"

#include <QAction>
#include <QMenu>

namespace kal {

void TForm1::ConnectIcalCommands()
{
    NewAction(MenuIcalSave, "MenuIcalSave", "iCalendar形式で保存(&I)...");
    NewAction(MenuIcalRead, "MenuIcalRead", "iCalendar形式の読込(&J)...");
    const QList<QAction*> entries = MenuFile->actions();
    const qsizetype csv = entries.indexOf(MenuCsvSave);
    QAction* after = csv >= 0 && csv + 1 < entries.size() ? entries[csv + 1] : nullptr;
    MenuFile->insertActions(after, {MenuIcalSave, MenuIcalRead});
    connect(MenuIcalSave, &QAction::triggered, this, &TForm1::MenuIcalSaveClick);
    connect(MenuIcalRead, &QAction::triggered, this, &TForm1::MenuIcalReadClick);
}

void TForm1::MenuIcalSaveClick()
{
    state_.modalDialogOpen = true;
    const Date first{state_.viewYear, state_.viewMonth, 1};
    const Date last{state_.viewYear, state_.viewMonth, daysInMonth(state_.viewYear, state_.viewMonth)};
    TDlgIcalSave dialog(
        services_, {settings_.dataPath, settings_.todoPath, settings_.alarmTime, first, last, programFolder_}, this);
    services_.dialogs.run(dialog);
    state_.modalDialogOpen = false;
}

void TForm1::MenuIcalReadClick()
{
    state_.modalDialogOpen = true;
    std::optional<std::string> path = services_.platform.openFileName(kIcalReadCaption, settings_.dataPath,
                                                                      "iCalendar (*.ics);;すべてのファイル (*)");
    if (path && !path->empty())
        ImportIcalFile(*path);
    state_.modalDialogOpen = false;
}

void TForm1::ImportIcalFile(const std::string& path)
{
    IcalFile file = readIcalFile(path);
    if (!file.ok) {
        services_.platform.messageBox(kIcalReadCaption, file.message, MessageIcon::Error, MessageButtons::Ok);
        return;
    }
    TDlgIcalRead dialog(
        services_, {path, std::move(file.text), settings_.dataPath, settings_.todoPath, programFolder_, state_.today},
        this);
    services_.dialogs.run(dialog);
    if (!dialog.wroteFiles())
        return;
    PanelTodo->ToDoEdit();
    RebuildMonth();
}

} // namespace kal
