// The memo area of the main window: its settings, its refresh with the day's lists, the memo
// commands and the calendar's memo marks after a memo changed.
#include "app/TForm1.h"

#include "calendar/qt/MonthGrid.h"
#include "memo/qt/MemoList.h"
#include "platform/qt/Widgets.h"

#include <QAction>
#include <QSplitter>
#include <QWidget>

namespace kal {

qt::EditorPlace TForm1::EditorPlaceOf(int width) const
{
    return qt::EditorPlace{DialogPlace(), width};
}

void TForm1::MemoSet()
{
    qt::MemoListSettings memo;
    memo.mode = MemoAreaModeOf(settings_.memo);
    memo.titleBar = settings_.mtUmu;
    memo.title = settings_.mTitle;
    memo.memoPath = settings_.memoPath;
    memo.font = settings_.fonts[FontMemo];
    memo.colors = settings_.colors[ColMemoList];
    ListMemo->applySettings(memo);
    ListMemo->setVisible(memo.mode != MemoAreaMode::Never);
}

void TForm1::MemoRefresh()
{
    const bool wasHidden = ListMemo->isHidden();
    ListMemo->showDay(state_.selectedDate);
    ShowUnreadable("memo", ListMemo->unreadable());
    // An area that comes back sits under the day list at its remembered height.
    if (wasHidden && !ListMemo->isHidden())
        SplM->setSizes({std::max(58, SplM->height() - memoHeight_ - SplM->handleWidth()), memoHeight_});
}

void TForm1::MemoChanged(bool existenceChanged)
{
    // The week view's memo column shows the text itself, so every change reaches it.
    const bool weekShowsMemos = weekShown_ && FlagOn(settings_.weekView, 5);
    if (weekShowsMemos || (existenceChanged && FlagOn(settings_.calView, 5)))
        RebuildMonth();
    else
        DaySchEdit();
}

void TForm1::ShowDlgMemo()
{
    ListMemo->ShowDlgMemo(state_.selectedDate, EditorPlaceOf(pnlWidth_ + 20));
}

void TForm1::PopMemoLineRepClick()
{
    ListMemo->PopMemoLineRepClick();
}

void TForm1::PopMemoLineDelClick()
{
    ListMemo->PopMemoLineDelClick();
}

void TForm1::MemoDelete()
{
    ListMemo->MemoDelete();
}

void TForm1::MemoPopupEnable()
{
    PopMemoAdd->setEnabled(true);
    PopMemoLineRep->setEnabled(ListMemo->hasSelectedRow());
    PopMemoLineDel->setEnabled(ListMemo->hasSelectedRow());
    PopMemoDel->setEnabled(ListMemo->hasRows());
}

void TForm1::ConnectMemoCommands()
{
    for (QAction* a : {MenuMemo, TBtnMemoNew, PopMemo, PopMemoAdd, PopTrayMemo})
        connect(a, &QAction::triggered, this, &TForm1::ShowDlgMemo);
    for (QAction* a : {MenuMemo, TBtnMemoNew, PopMemo, PopMemoAdd})
        a->setEnabled(true);
    connect(PopMemoLineRep, &QAction::triggered, this, &TForm1::PopMemoLineRepClick);
    connect(PopMemoLineDel, &QAction::triggered, this, &TForm1::PopMemoLineDelClick);
    connect(PopMemoDel, &QAction::triggered, this, &TForm1::MemoDelete);
    // Also on the empty area: a day without memo gets one this way.
    qt::onDoubleClick(ListMemo, [this](const QModelIndex&) { ShowDlgMemo(); });
    connect(ListMemo, &qt::MemoList::memoChanged, this, &TForm1::MemoChanged);

    ConnectNoteCommands();
}

} // namespace kal
