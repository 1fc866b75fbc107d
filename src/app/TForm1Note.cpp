// The notes panel of the main window and the password setting: the panel's settings, the note
// commands, and the password that guards the last note.
#include "app/TDlgPassEntry.h"
#include "app/TForm1.h"

#include "app/Startup.h"
#include "memo/qt/NotePanel.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

namespace kal {

void TForm1::NoteSet(bool atStart)
{
    qt::NotePanelSettings notes;
    notes.notePath = settings_.notePath;
    notes.programFolder = programFolder_;
    notes.lastProtected = settings_.notePas == 1;
    notes.tabsAtBottom = settings_.noteTab == 1;
    notes.font = settings_.fonts[FontNote];
    notes.colors = settings_.colors[ColNoteList];
    PanelNote->applySettings(notes);
    PanelNote->setPasswordCheck([this] { return PasswordGiven(startup_text::kNotePasswordLabel); });
    PanelNote->TabNoteSet();
    PanelNote->TabNoteEdit(atStart ? qt::NoteShow::Startup : qt::NoteShow::Refresh);
}

void TForm1::NoteAdd()
{
    PanelNote->NoteAdd();
}

void TForm1::MenuNoteTabClick()
{
    PanelNote->MenuNoteTabClick();
}

void TForm1::NoteReplace()
{
    PanelNote->NoteReplace(EditorPlaceOf(PanelLeft->width() + 20));
}

void TForm1::NoteDelete()
{
    PanelNote->NoteDelete();
}

void TForm1::RenameTitle()
{
    PanelNote->RenameTitle();
}

void TForm1::PopNoteLineDelClick()
{
    PanelNote->PopNoteLineDelClick();
}

void TForm1::PopNoteClearClick()
{
    PanelNote->PopNoteClearClick();
}

void TForm1::PopTabUpClick()
{
    PanelNote->PopTabUpClick();
}

void TForm1::PopTabDownClick()
{
    PanelNote->PopTabDownClick();
}

void TForm1::PopupNotePopup()
{
    for (QAction* a : {PopNoteAdd, PopNoteEdit, PopNoteDel, RenNoteTitle, PopTabUp, PopDown})
        a->setEnabled(true);
    PopNoteLineDel->setEnabled(PanelNote->hasSelectedLine());
    PopNoteClear->setEnabled(PanelNote->currentFileExists());
}

void TForm1::MenuPasswdClick()
{
    TDlgPassEntry dialog(panelServices_, programFolder_, this);
    panelServices_.dialogs.run(dialog);
}

void TForm1::ConnectNoteCommands()
{
    for (QAction* a : {MenuNoteEdit, TBtnNote, PopNoteEdit}) {
        a->setEnabled(true);
        connect(a, &QAction::triggered, this, &TForm1::NoteReplace);
    }
    MenuNoteTab->setEnabled(true);
    connect(MenuNoteTab, &QAction::triggered, this, &TForm1::MenuNoteTabClick);
    connect(PopNoteAdd, &QAction::triggered, this, &TForm1::NoteAdd);
    connect(PopNoteDel, &QAction::triggered, this, &TForm1::NoteDelete);
    connect(RenNoteTitle, &QAction::triggered, this, &TForm1::RenameTitle);
    connect(PopNoteLineDel, &QAction::triggered, this, &TForm1::PopNoteLineDelClick);
    connect(PopNoteClear, &QAction::triggered, this, &TForm1::PopNoteClearClick);
    connect(PopTabUp, &QAction::triggered, this, &TForm1::PopTabUpClick);
    connect(PopDown, &QAction::triggered, this, &TForm1::PopTabDownClick);
    connect(PanelNote, &qt::NotePanel::editRequested, this, &TForm1::NoteReplace);
    connect(PanelNote, &qt::NotePanel::noteRead, this,
            [this](const std::vector<files::FileProblem>& unreadable) { ShowUnreadable("note", unreadable); });
    connect(PanelNote, &qt::NotePanel::contextMenuRequested, this, [this](const QPoint& at) {
        PopupNotePopup();
        PopupNote->popup(at);
    });

    MenuPasswd->setEnabled(true);
    connect(MenuPasswd, &QAction::triggered, this, &TForm1::MenuPasswdClick);
}

} // namespace kal
