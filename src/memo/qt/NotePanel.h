// The notes panel below the calendar: the tabs `TabNote` and the lines of the current note in
// `ListNote`, with every note command. Link lines are drawn blue and underlined and open on a
// click on their link part. When the last tab is protected, its note is shown, edited, moved or
// deleted only after the password.
#pragma once

#include "memo/Note.h"
#include "memo/qt/MemoList.h"
#include "settings/AppSettings.h"
#include "settings/qt/PanelContext.h"

#include <QListWidget>
#include <QWidget>

#include <functional>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QTabBar;
class QVBoxLayout;

namespace kal::qt {

struct NotePanelSettings {
    std::string notePath;       // UTF-8, with its separator
    std::string programFolder;  // Note.lst
    bool lastProtected = false; // NotePas
    bool tabsAtBottom = true;   // NoteTab
    FontSpec font;
    ColorPair colors; // colour item 17
};

// Why the current note is shown: only a change of tab by the user asks for the password.
enum class NoteShow { UserChange, Startup, Refresh, Command };

// The lines of the current note; draws link lines and reports presses.
class NoteList : public QListWidget {
    Q_OBJECT
public:
    explicit NoteList(QWidget* parent = nullptr);

    // The horizontal position of the last left or middle press.
    int lastPressX() const { return lastPressX_; }
    // Bytes of row `row` as stored.
    std::string lineAt(int row) const;
    void setLines(const std::vector<std::string>& lines);
    // The drawn width of a row's link part, its left margin included; 0 for other lines.
    int linkWidth(int row) const;

signals:
    void rowClicked(int row);
    void doublePressed();
    void returnPressed(int row);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int lastPressX_ = -1;
    int pressedRow_ = -1;
};

class NotePanel : public QWidget {
    Q_OBJECT
public:
    // The editor opens as wide as `editorWidth` says, beside the window.
    NotePanel(const PanelContext& context, std::function<int()> editorWidth, QWidget* parent = nullptr);

    QTabBar* TabNote;
    NoteList* ListNote;
    QMenu* PopupNote;
    QAction *MenuNoteEdit, *TBtnNote, *MenuNoteTab;
    QAction *PopNoteAdd, *PopNoteEdit, *PopNoteDel, *RenNoteTitle, *PopNoteLineDel, *PopNoteClear, *PopTabUp, *PopDown;

    // The settings of the panel, and the notes read again (`atStart`: the first time).
    void NoteSet(bool atStart);
    void applySettings(const NotePanelSettings& settings);
    // Asks the program's password for the protected note; true when given (or when none is set,
    // after saying so).
    void setPasswordCheck(std::function<bool()> check) { passwordCheck_ = std::move(check); }

    // Reads Note.lst: its titles become the tabs; without it the tabs stay as they are.
    void TabNoteSet();
    void TabNoteEdit(NoteShow reason);

    void NoteAdd();
    bool NoteNew(const std::string& title);
    void MenuNoteTabClick();
    void NoteReplace();
    void NoteDelete();
    void RenameTitle();
    void PopNoteLineDelClick();
    void PopNoteClearClick();
    void PopTabUpClick();
    void PopTabDownClick();
    void ListNoteClick(int row);
    void PopupNotePopup();

    const std::vector<std::string>& titles() const { return titles_; }
    int currentIndex() const;
    bool hasSelectedLine() const;
    bool currentFileExists() const;
    // The protected note is shown: the password was given since the tab was chosen.
    bool unlocked() const { return unlocked_; }

private:
    void createCommands();
    bool currentProtected() const;
    bool unlockCurrent();
    bool passwordGiven();
    std::string currentFile() const;
    void rebuildTabs(int select);
    void saveOrder();
    void showTitleProblem(TitleProblem problem, const std::string& title);
    // A title typed by the user (Shift-JIS); nothing when cancelled, empty or not storable.
    std::optional<std::string> askTitle(const char* caption, const char* prompt, const std::string& initial);
    void moveTab(int step);
    void openLink(const NoteLink& link);

    PanelContext context_;
    Services& services_;
    std::function<int()> editorWidth_;
    NotePanelSettings settings_;
    std::function<bool()> passwordCheck_;
    QVBoxLayout* layout_;
    std::vector<std::string> titles_;
    std::vector<std::string> refusedLines_; // lines of Note.lst that are no titles, kept
    bool listUnreadable_ = false;           // Note.lst could not be read: it is never replaced
    bool unlocked_ = false;
};

} // namespace kal::qt
