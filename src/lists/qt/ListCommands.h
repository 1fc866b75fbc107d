// The main window's way into the lists: the schedule, holiday and memo lists and the find dialog.
// Each opens below the window with the selected day and the folders of the settings, and has the
// month built again when it changed something.
#pragma once

#include "lists/ListRows.h"
#include "lists/TFormEdit.h"
#include "settings/qt/PanelContext.h"

#include <QObject>
#include <QSize>

#include <functional>

class QAction;
class QWidget;

namespace kal::qt {

class MemoList;

class ListCommands : public QObject {
    Q_OBJECT
public:
    // `listArea` is the width and height a list window takes below the window (the full-size
    // window's, also while the mini calendar is shown); memos are corrected with `memos`' editor.
    ListCommands(const PanelContext& context, MemoList& memos, std::function<QSize()> listArea, QWidget* window);

    QAction *MenuSchEdit, *TBtnSchRep, *PopSchEdit, *PopTraySchEdit;
    QAction *MenuHoliday, *BtnHoliday, *MenuMemoList, *TBtnMemo, *MenuFind, *TBtnFind;

    void ShowFormEdit();
    void HolidayUpdate();
    void ShowMemoList();
    void ShowDlgFind();
    // The subscribed calendars the find dialog offers to search.
    void setExtraSchedules(std::function<ExtraSchedules*()> source) { extraSchedules_ = std::move(source); }

private:
    FormEditRequest ListRequest(ListMode mode) const;
    // Shows the list window below the main window, `narrower` pixels narrower; true when it
    // changed something.
    bool RunFormEdit(const FormEditRequest& request, int narrower);
    // The day memo editor the list windows correct memos with.
    std::function<bool(const Date&, QWidget*)> DayMemoEditor();

    PanelContext context_;
    MemoList& memos_;
    std::function<QSize()> listArea_;
    QWidget* window_;
    std::function<ExtraSchedules*()> extraSchedules_;
};

} // namespace kal::qt
