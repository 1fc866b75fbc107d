// The memo area `ListMemo` under the day's schedule list: the selected day's memo lines, the
// memo commands (the editor, the in-place line edit, the line and memo deletions). It tells the
// window when a memo file changed, so the calendar's memo marks follow.
#pragma once

#include "memo/DayMemo.h"
#include "memo/MemoArea.h"
#include "platform/Files.h"
#include "settings/AppSettings.h"
#include "settings/qt/PanelContext.h"

#include <QTreeWidget>

#include <functional>
#include <string>
#include <vector>

namespace kal {
class TDlgMemo;
}

namespace kal::qt {

struct MemoListSettings {
    MemoAreaMode mode = MemoAreaMode::Always;
    bool titleBar = true; // MTUmu
    std::string title;    // MTitle, Shift-JIS
    std::string memoPath; // UTF-8, with its separator
    FontSpec font;        // the memo font, also the editor's
    ColorPair colors;     // colour item 11
};

// Where the window puts the memo editor.
struct EditorPlace {
    QPoint topLeft;
    int width = 0;
};

// Tells the user why a line edit of a memo or note (`what`: "メモ", "ノート") wrote nothing.
void ReportMemoLineResult(Platform& platform, const char* caption, const char* what, const MemoLineResult& result);

class MemoList : public QTreeWidget {
    Q_OBJECT
public:
    // The editor opens as wide as `editorWidth` says, beside the window.
    MemoList(const PanelContext& context, std::function<int()> editorWidth, QWidget* parent = nullptr);

    QAction *MenuMemo, *TBtnMemoNew, *PopMemo, *PopMemoAdd, *PopTrayMemo;
    QAction *PopMemoLineRep, *PopMemoLineDel, *PopMemoDel;

    // The settings of the area: title, font, colours, when it shows.
    void MemoSet();
    void applySettings(const MemoListSettings& settings);
    // The memo area refresh for the selected day; true when the area came back into view.
    bool MemoRefresh();
    void showDay(const Date& date);

    const std::string& currentFile() const { return currentFile_; }
    // The shown day's memo file when it exists but could not be read.
    const std::vector<files::FileProblem>& unreadable() const { return unreadable_; }
    const Date& day() const { return day_; }
    bool hasSelectedRow() const { return selectedRow() >= 0; }
    bool hasRows() const { return topLevelItemCount() > 0; }
    int selectedRow() const;

    // The commands.
    void ShowDlgMemo();
    // Enables the memo entries of the day's pop-up menu.
    void MemoPopupEnable();
    // The day memo editor over `parent`, at `place` when given; true when the memo was saved.
    bool EditDayMemo(const Date& date, QWidget* parent, const EditorPlace* place = nullptr);
    // The same from the list window `listWindow` (the memo list or a memo search): the caption
    // with two-digit month and day, as wide as the memo area, at the list's top-left corner.
    bool EditListedDayMemo(const Date& date, QWidget* listWindow);
    void PopMemoLineRepClick();
    void PopMemoLineDelClick();
    void MemoDelete();

signals:
    // A memo file was written or deleted; `existenceChanged` when the day gained or lost its memo.
    void memoChanged(bool existenceChanged);

private:
    void createCommands();
    bool runEditor(TDlgMemo& dialog, const Date& date);
    void ListMemoEdited(QTreeWidgetItem* item);
    void fillRows(const std::vector<std::string>& lines);

    PanelContext context_;
    Services& services_;
    std::function<int()> editorWidth_;
    MemoListSettings settings_;
    Date day_;
    std::string currentFile_;
    std::vector<files::FileProblem> unreadable_;
    bool filling_ = false;
};

} // namespace kal::qt
