// The selected day's schedule list and the operations started from it: add, correct, copy
// and delete. Every entry carries its month file and line index from the month build; a
// record is written only when that line still holds the text the list showed.
#include "app/TForm1.h"

#include "calendar/qt/MonthGrid.h"
#include "memo/qt/MemoList.h"
#include "memo/qt/NotePanel.h"
#include "platform/ByteText.h"
#include "platform/DateFormat.h"
#include "platform/SjisCodec.h"
#include "platform/qt/QtText.h"
#include "todo/qt/TodoPanel.h"

#include <QIcon>
#include <QLabel>
#include <QMenu>
#include <QTreeWidget>

namespace kal {
namespace {

constexpr int kFileRole = Qt::UserRole + 1;
constexpr int kIndexRole = Qt::UserRole + 2;
constexpr int kLineRole = Qt::UserRole + 3;
constexpr int kIconRole = Qt::UserRole + 4;

// Text of one day-list column: 1 start, 2 end, 3 contents, 4 place, 5 category.
QString columnText(int field, const std::string& record)
{
    switch (field) {
    case 1:
        return qt::fromSjis(text::trimRight(RecStart(record)));
    case 2:
        return qt::fromSjis(text::trimRight(RecEnd(record)));
    case 3:
        return qt::fromSjis(RecTitle(record));
    case 4:
        return qt::fromSjis(text::trimRight(RecPlace(record)));
    case 5:
        return qt::fromSjis(text::trimRight(RecCategory(record)));
    default:
        return {};
    }
}

const char* stateIcon(const std::string& record, bool alarmsOn)
{
    const char* icon = RecSound(record) ? ":/icons/alarm.svg" : RecMessage(record) ? ":/icons/message.svg" : nullptr;
    if (icon && !alarmsOn)
        return ":/icons/alarm-off.svg";
    return icon;
}

} // namespace

void TForm1::DaySchEdit()
{
    if (state_.layoutBusy || !created_)
        return;
    const int column = GridMonth->selectedColumn(), row = GridMonth->selectedRow();
    const Date date = state_.selectedDate;
    const auto& lines = build_.lists.at(column, row);
    int count = 0;
    for (const CellLine& line : lines)
        count += line.kind() == '3';

    if (miniMode_) {
        setWindowTitle(qt::fromSjis(DayText(date, look_.eraDates)));
        QString hint = qt::fromSjis(ShortDayText(date));
        for (const CellLine& line : lines) {
            if (line.kind() == '3')
                hint += "\r\n" + qt::fromSjis(RecTitle(line.body()));
            else if (line.kind() >= '0' && line.kind() <= '2')
                hint += "\r\n" + qt::fromSjis(line.body());
        }
        GridMonth->setToolTip(hint);
    } else {
        GridMonth->setToolTip(QString());
    }

    FillDayList(column, row);
    if (panelMode_ != 0 || miniMode_)
        return;

    MemoRefresh();

    const char* pattern =
        look_.eraDates ? " ggge\"年\"m\"月\"d\"日（\"aaaa\"）の予定\"" : " yyyy\"年\"m\"月\"d\"日（\"aaaa\"）の予定\"";
    QString header = qt::fromUtf8(text::formatDateUtf8(pattern, date));
    const DayCell& cell = build_.layout.cell(column, row);
    if (cell.kind <= 1 && !lines.empty() && lines.front().kind() <= '1')
        header += " - " + qt::fromSjis(lines.front().body());
    header += QString::fromUtf8(" [%1件］").arg(count);
    PanelDaySch->setText(header);
    ColorValue headerColor = 0;
    if (cell.kind == 0)
        headerColor = look_.textColor[ColHoliday];
    else if (cell.kind == 1)
        headerColor = look_.textColor[ColDayOff];
    else if (column == build_.layout.saturdayColumn())
        headerColor = look_.textColor[ColSaturday];
    else if (column == build_.layout.sundayColumn())
        headerColor = look_.textColor[ColSunday];
    QPalette palette = PanelDaySch->palette();
    palette.setColor(QPalette::WindowText, qt::toQColor(headerColor));
    PanelDaySch->setPalette(palette);
}

void TForm1::FillDayList(int column, int row)
{
    ListDaySch->clear();
    if (panelMode_ != 0 || miniMode_)
        return;
    const bool alarmsOn = settings_.alarm != 0;
    for (const CellLine& line : build_.lists.at(column, row)) {
        if (line.kind() != '3')
            continue;
        const std::string record = line.body();
        auto* item = new QTreeWidgetItem(ListDaySch);
        for (std::size_t c = 0; c < dayColumns_.size(); ++c)
            item->setText(static_cast<int>(c), columnText(dayColumns_[c], record));
        if (const char* icon = stateIcon(record, alarmsOn)) {
            item->setIcon(0, QIcon(icon));
            item->setData(0, kIconRole, QString::fromLatin1(icon));
        }
        item->setData(0, kFileRole, QByteArray::fromStdString(line.file));
        item->setData(0, kIndexRole, line.lineIndex);
        item->setData(0, kLineRole, QByteArray::fromStdString(record));
    }
}

std::optional<ScheduleRef> TForm1::SchKeySearch() const
{
    QTreeWidgetItem* item = ListDaySch->currentItem();
    if (!item || !item->isSelected())
        return std::nullopt;
    ScheduleRef ref;
    ref.file = item->data(0, kFileRole).toByteArray().toStdString();
    ref.lineIndex = item->data(0, kIndexRole).toInt();
    ref.line = item->data(0, kLineRole).toByteArray().toStdString();
    return ref;
}

QPoint TForm1::DialogPlace() const
{
    if (miniMode_)
        return QPoint(mini_.left + 16, mini_.top + 24);
    return geometry().topLeft() + QPoint(16, 24);
}

void TForm1::RebuildMonth()
{
    // The data changed, not the month: the same cell stays selected, even a neighbouring
    // month's day.
    const int column = GridMonth->selectedColumn(), row = GridMonth->selectedRow();
    HeaderEdit();
    SetWeekRows(row);
    GridMonth->setSelection(column, row);
    UpdateSelectedDate();
    MonthSchEdit();
}

void TForm1::RunScheduleInput(SchInputRequest request)
{
    if (!MonthEditable(request.date, "スケジュールの入力"))
        return;
    request.dataPath = settings_.dataPath;
    request.programFolder = programFolder_;
    request.autoIme = settings_.autoIme == 1;
    request.follower = identities_.get();
    state_.modalDialogOpen = true;
    TDlgSchInput dialog(services_, request, this);
    dialog.move(DialogPlace());
    const bool accepted = services_.dialogs.run(dialog) == QDialog::Accepted;
    state_.modalDialogOpen = false;
    if (accepted || dialog.writeFailed())
        RebuildMonth();
}

void TForm1::DaySchInputAdd()
{
    SchInputRequest request;
    request.mode = SchInputMode::New;
    request.date = state_.selectedDate;
    RunScheduleInput(request);
}

void TForm1::DaySchInputRep(QAction* invokedBy)
{
    std::optional<ScheduleRef> ref = SchKeySearch();
    if (!ref) {
        DaySchInputAdd();
        return;
    }
    SchInputRequest request;
    request.mode = invokedBy == PopDayCopy ? SchInputMode::Copy : SchInputMode::Correct;
    request.date = state_.selectedDate;
    request.record = *ref;
    RunScheduleInput(request);
}

void TForm1::ListDaySchDblClick(bool onEntry)
{
    // Empty space below the entries adds, whatever entry is still selected.
    if (onEntry)
        DaySchInputRep(nullptr);
    else
        DaySchInputAdd();
}

void TForm1::ScheduleChangedMeanwhile(const char* caption)
{
    services_.platform.messageBox(caption, "スケジュールが他で変更されています。\r\n表示を更新します。",
                                  MessageIcon::Information, MessageButtons::Ok);
    RebuildMonth();
}

void TForm1::DaySchDel()
{
    std::optional<ScheduleRef> ref = SchKeySearch();
    if (!ref)
        return;
    const char* caption = "スケジュールの削除";
    if (!MonthEditable(state_.selectedDate, caption))
        return;
    switch (CheckSchedule(*ref)) {
    case RecordCheck::Found:
        break;
    case RecordCheck::Changed:
        ScheduleChangedMeanwhile(caption);
        return;
    case RecordCheck::Gone:
        // Nothing is left to ask about; the list shows the files again.
        RebuildMonth();
        return;
    }
    std::string question = "「" + sjis::toUtf8(RecTitle(ref->line)) + "」を削除します。\r\nよろしいですか？";
    if (services_.platform.messageBox(caption, question, MessageIcon::Warning, MessageButtons::YesNo) !=
        MessageAnswer::Yes)
        return;
    ScheduleResult result = DeleteSchedule(*ref, identities_.get());
    switch (result.status) {
    case ScheduleWrite::Done:
        RebuildMonth();
        break;
    case ScheduleWrite::Changed:
        ScheduleChangedMeanwhile(caption);
        break;
    case ScheduleWrite::WriteFailed:
        services_.platform.messageBox(caption, "スケジュールを削除できません。\r\n" + result.reason, MessageIcon::Error,
                                      MessageButtons::Ok);
        break;
    }
}

void TForm1::PopupDayPopup()
{
    const bool selected = SchKeySearch().has_value();
    PopDayNew->setEnabled(true);
    for (QAction* a : {PopDayRep, PopDayCopy, PopDayDel, PanelTodo->PoPTodoCopy})
        a->setEnabled(selected);
    ListMemo->MemoPopupEnable();
}

void TForm1::DataDelete()
{
    if (ListDaySch->hasFocus())
        DaySchDel();
    if (PanelNote->ListNote->hasFocus())
        PanelNote->NoteDelete();
    if (ListMemo->hasFocus())
        ListMemo->MemoDelete();
    if (PanelTodo->ListFocused())
        PanelTodo->TodoDel();
}

} // namespace kal
