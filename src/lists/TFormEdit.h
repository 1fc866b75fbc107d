// The list window ("一覧"): schedules, the rules of the holiday table or daily memos of a day, a
// month, a year or all, or the hits of a search; rows are added, corrected, copied and deleted,
// several at a time where selected together. Every change is written at once; the opener reads
// changed() after the window closed and rebuilds what it shows.
#pragma once

#include "lists/ListRows.h"
#include "lists/Search.h"
#include "platform/Date.h"
#include "platform/UnreadableNotice.h"
#include "platform/qt/Services.h"
#include "store/Edit.h"

#include <QDialog>
#include <array>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QActionGroup;
class QMenuBar;
class QStatusBar;
class QToolBar;
class QTreeView;

namespace kal {

namespace qt {
class ListModel;
}

struct FormEditRequest {
    ListMode mode = ListMode::Schedules;
    std::string dataPath;                 // schedules and Holiday.dat; ends with '/'
    std::string memoPath;                 // memos; ends with '/'
    std::string programFolder;            // what the schedule input dialog reads; ends with '/'
    Date selected;                        // the calendar's selected date
    std::optional<SearchCriteria> search; // a result list: the criteria
    bool autoIme = true;                  // the AutoIme setting
    // Opens the day memo editor over `parent`; true when the memo was saved. Without it memo
    // rows cannot be corrected here.
    std::function<bool(const Date&, QWidget* parent)> editDayMemo;
    // Follows corrected and deleted schedules (RecordFollower.h); every caller names it.
    store::Follower follower;
    // The subscribed calendars a search may include.
    ExtraSchedules* extras = nullptr;
};

class TFormEdit : public QDialog {
    Q_OBJECT
public:
    TFormEdit(qt::Services& services, FormEditRequest request, QWidget* parent = nullptr);

    QMenuBar* MainMenu;
    QToolBar* ToolBar1;
    QAction *BtnAdd, *BtnRep, *BtnCopy, *BtnDel, *BtnClose;
    std::array<QAction*, 4> BtnView;
    QAction *MenuCsvSave, *MenuExit, *MenuAdd, *MenuRep, *MenuCopy, *MenuDel;
    std::array<QAction*, 4> MenuView;
    QTreeView* ListView;
    QStatusBar* StatusBar1;

    void FormShow();
    // Shows a view (one day, month, year or all; for holidays a kind or all).
    void ViewClick(ListScope view);
    void AddClick();
    // Correction, or a copy when `copy` (schedules only).
    void RepClick(bool copy);
    void DelClick();
    // A subscribed calendar's row among `selected`: says it cannot be changed.
    bool RefuseExtraRows(const std::vector<const ListRow*>& selected);
    void ListViewClick();
    void ListViewColumnClick(int position);
    void MenuCsvSaveClick();

    ListScope currentView() const { return view_; }
    const ListRows& rows() const;
    // The selected rows, in the order shown.
    std::vector<const ListRow*> SelectedRows() const;
    // Every row, top to bottom as shown: what the CSV export writes.
    std::vector<const ListRow*> ShownRows() const;
    QString statusText() const;
    // Something was added, corrected, copied or deleted.
    bool changed() const { return changed_; }
    // A result list that found nothing.
    bool nothingFound() const { return nothingFound_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildActions();
    void buildMenus();
    void buildToolBar();
    void applyMode();
    void Refill();
    ListRows scan() const;
    std::string statusLine(std::size_t count) const;
    void fitMemoColumn();
    void setCommandsEnabled(bool enabled);
    void afterEdit(bool accepted, bool changedMeanwhile);
    void runScheduleInput(bool copy, const ListRow* row);
    void runHolidayInput(const ListRow* row);
    void runMemoEditor(const ListRow& row);
    void reportChangedMeanwhile(const char* caption);
    bool searchMode() const { return request_.search.has_value(); }

    qt::Services& services_;
    FormEditRequest request_;
    qt::ListModel* model_;
    QActionGroup* viewGroup_;
    QAction* csvSeparator_;
    ListScope view_ = ListScope::Day;
    std::array<int, kListLastSortColumn + 1> directions_{};
    bool changed_ = false;
    bool nothingFound_ = false;
    UnreadableNotice unreadable_; // files of the range that could not be read
};

} // namespace kal
