#include "lists/TFormEdit.h"

#include "calendar/Holidays.h"
#include "calendar/TDlgHolidayInput.h"
#include "exchange/CsvExport.h"
#include "lists/ListEdits.h"
#include "lists/qt/ListModel.h"
#include "platform/Files.h"
#include "platform/qt/QtText.h"
#include "schedule/TDlgSchInput.h"

#include <QActionGroup>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMenu>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>

#include <set>

namespace kal {
namespace {

struct ViewCaptions {
    const char* button;
    const char* menu;
};

constexpr ViewCaptions kPeriodViews[] = {{"１日", "１日(&D)"}, {"月間", "月間(&M)"}, {"年間", "年間(&Y)"}};
constexpr ViewCaptions kKindViews[] = {{"祝日", "祝日(&H)"}, {"休日", "休日(&R)"}, {"記念日", "記念日(&M)"}};
constexpr ViewCaptions kAllView = {"ALL", "すべて(&A)"};
constexpr int kMemoColumnMargin = 20;
constexpr int kCellPadding = 16;

QAction* newAction(QObject* parent, const char* name, const char* caption)
{
    auto* action = new QAction(QString::fromUtf8(caption), parent);
    action->setObjectName(name);
    return action;
}

} // namespace

TFormEdit::TFormEdit(qt::Services& services, FormEditRequest request, QWidget* parent)
    : QDialog(parent), services_(services), request_(std::move(request))
{
    setObjectName("TFormEdit");
    setWindowTitle(QString::fromUtf8("一覧"));
    setSizeGripEnabled(true);
    buildActions();
    buildMenus();
    buildToolBar();

    model_ = new qt::ListModel(this);
    ListView = new QTreeView(this);
    ListView->setObjectName("ListView");
    ListView->setModel(model_);
    ListView->setRootIsDecorated(false);
    ListView->setUniformRowHeights(true);
    ListView->setAllColumnsShowFocus(true);
    ListView->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView->header()->setStretchLastSection(false);
    ListView->header()->setSectionsMovable(false);
    ListView->header()->setSectionsClickable(true);
    ListView->header()->setMinimumSectionSize(0);
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(MainMenu);
    layout->addWidget(ToolBar1);
    layout->addWidget(ListView, 1);
    layout->addWidget(StatusBar1);
    resize(660, 480);

    for (QAction* a : {BtnAdd, MenuAdd})
        connect(a, &QAction::triggered, this, &TFormEdit::AddClick);
    for (QAction* a : {BtnRep, MenuRep})
        connect(a, &QAction::triggered, this, [this] { RepClick(false); });
    for (QAction* a : {BtnCopy, MenuCopy})
        connect(a, &QAction::triggered, this, [this] { RepClick(true); });
    for (QAction* a : {BtnDel, MenuDel})
        connect(a, &QAction::triggered, this, &TFormEdit::DelClick);
    for (int i = 0; i < 4; ++i) {
        const auto view = static_cast<ListScope>(i + 1);
        connect(BtnView[static_cast<std::size_t>(i)], &QAction::triggered, this, [this, view] { ViewClick(view); });
        connect(MenuView[static_cast<std::size_t>(i)], &QAction::triggered, this, [this, view] { ViewClick(view); });
    }
    for (QAction* a : {BtnClose, MenuExit})
        connect(a, &QAction::triggered, this, &QDialog::reject);
    connect(MenuCsvSave, &QAction::triggered, this, &TFormEdit::MenuCsvSaveClick);
    // Return and a double click correct the row.
    connect(ListView, &QTreeView::activated, this, [this] { RepClick(false); });
    connect(ListView->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TFormEdit::ListViewClick);
    connect(ListView->header(), &QHeaderView::sectionClicked, this, &TFormEdit::ListViewColumnClick);
    FormShow();
}

void TFormEdit::buildActions()
{
    BtnAdd = newAction(this, "BtnAdd", "追加");
    BtnRep = newAction(this, "BtnRep", "訂正");
    BtnCopy = newAction(this, "BtnCopy", "コピー");
    BtnDel = newAction(this, "BtnDel", "削除");
    BtnClose = newAction(this, "BtnClose", "終了");
    MenuAdd = newAction(this, "MenuAdd", "追加(&A)");
    MenuRep = newAction(this, "MenuRep", "訂正(&R)");
    MenuCopy = newAction(this, "MenuCopy", "コピー(&C)");
    MenuDel = newAction(this, "MenuDel", "削除(&D)");
    MenuDel->setShortcut(QKeySequence::Delete);
    MenuCsvSave = newAction(this, "MenuCsvSave", "CSV形式で保存(&C)");
    MenuExit = newAction(this, "MenuExit", "終了(&X)");
    MenuExit->setShortcut(QKeySequence(Qt::Key_Escape));

    viewGroup_ = new QActionGroup(this);
    auto* menuGroup = new QActionGroup(this);
    for (std::size_t i = 0; i < 4; ++i) {
        const ViewCaptions& captions = i < 3 ? kPeriodViews[i] : kAllView;
        BtnView[i] = newAction(this, ("BtnView" + std::to_string(i + 1)).c_str(), captions.button);
        MenuView[i] = newAction(this, ("MenuView" + std::to_string(i + 1)).c_str(), captions.menu);
        BtnView[i]->setCheckable(true);
        MenuView[i]->setCheckable(true);
        viewGroup_->addAction(BtnView[i]);
        menuGroup->addAction(MenuView[i]);
    }
}

void TFormEdit::buildMenus()
{
    MainMenu = new QMenuBar(this);
    MainMenu->setObjectName("MainMenu");
    QMenu* file = MainMenu->addMenu(QString::fromUtf8("ファイル(&F)"));
    file->addAction(MenuCsvSave);
    csvSeparator_ = file->addSeparator();
    file->addAction(MenuExit);
    QMenu* edit = MainMenu->addMenu(QString::fromUtf8("編集(&E)"));
    for (QAction* a : {MenuAdd, MenuRep, MenuCopy, MenuDel})
        edit->addAction(a);
    QMenu* show = MainMenu->addMenu(QString::fromUtf8("表示(&V)"));
    for (QAction* a : MenuView)
        show->addAction(a);
}

void TFormEdit::buildToolBar()
{
    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName("ToolBar1");
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (QAction* a : {BtnAdd, BtnRep, BtnCopy, BtnDel})
        ToolBar1->addAction(a);
    ToolBar1->addSeparator();
    for (QAction* a : BtnView)
        ToolBar1->addAction(a);
    ToolBar1->addSeparator();
    ToolBar1->addAction(BtnClose);
}

void TFormEdit::FormShow()
{
    model_->setRows(ListRows{request_.mode, {}, {}, {}, {}});
    if (request_.mode == ListMode::Holidays)
        ListView->setFont(QFont(QString::fromUtf8("ＭＳ ゴシック"), font().pointSize()));
    const std::vector<ListColumn> columns = ListColumns(request_.mode);
    // The widths were made for a smaller screen font: dates and times are never cut short.
    const QFontMetrics metrics(ListView->font());
    for (std::size_t i = 0; i < columns.size(); ++i) {
        const int sampleWidth =
            *columns[i].sample ? metrics.horizontalAdvance(QString::fromUtf8(columns[i].sample)) + kCellPadding : 0;
        ListView->setColumnWidth(static_cast<int>(i), std::max(columns[i].width, sampleWidth));
    }
    ListView->setColumnHidden(kListKeyColumn, true);
    directions_.fill(1);
    applyMode();
    // A result list has no view: every view button stays off.
    if (searchMode())
        Refill();
    else
        ViewClick(view_);
}

void TFormEdit::applyMode()
{
    const bool search = searchMode();
    switch (request_.mode) {
    case ListMode::Schedules:
        setWindowTitle(QString::fromUtf8(search ? "スケジュール検索結果" : "スケジュール一覧"));
        view_ = search ? ListScope::All : ListScope::Day;
        break;
    case ListMode::Holidays:
        setWindowTitle(QString::fromUtf8("祝日・休日・記念日一覧"));
        for (std::size_t i = 0; i < 3; ++i) {
            BtnView[i]->setText(QString::fromUtf8(kKindViews[i].button));
            MenuView[i]->setText(QString::fromUtf8(kKindViews[i].menu));
        }
        view_ = ListScope::Day;
        break;
    case ListMode::Memos:
        setWindowTitle(QString::fromUtf8(search ? "メモ検索結果" : "メモ一覧"));
        view_ = search ? ListScope::All : ListScope::Month;
        for (QAction* a : {BtnAdd, MenuAdd})
            a->setEnabled(false);
        fitMemoColumn();
        break;
    }
    MenuCsvSave->setVisible(request_.mode == ListMode::Schedules);
    csvSeparator_->setVisible(request_.mode == ListMode::Schedules);
    for (std::size_t i = 0; i < 4; ++i) {
        BtnView[i]->setEnabled(!search);
        MenuView[i]->setEnabled(!search);
    }
    // The copy command exists for schedules only.
    BtnCopy->setVisible(request_.mode == ListMode::Schedules);
    MenuCopy->setVisible(request_.mode == ListMode::Schedules);
}

void TFormEdit::ViewClick(ListScope view)
{
    view_ = view;
    const auto index = static_cast<std::size_t>(view) - 1;
    BtnView[index]->setChecked(true);
    MenuView[index]->setChecked(true);
    Refill();
}

ListRows TFormEdit::scan() const
{
    switch (request_.mode) {
    case ListMode::Holidays:
        return HolidayEdit(files::withSeparator(request_.dataPath) + kHolidayFileName,
                           view_ == ListScope::All ? std::nullopt : std::optional<int>(static_cast<int>(view_) - 1));
    case ListMode::Memos:
        return searchMode() ? MemoFindEdit(request_.memoPath, *request_.search)
                            : MemoEdit(request_.memoPath, view_, request_.selected);
    case ListMode::Schedules:
        break;
    }
    if (!searchMode())
        return ListSchEdit(request_.dataPath, view_, request_.selected);
    ListRows rows = SchFindEdit(request_.dataPath, *request_.search);
    if (request_.search->subscriptions && request_.extras)
        AddExtraRows(rows, *request_.extras, *request_.search, services_.platform.now().date);
    return rows;
}

std::string TFormEdit::statusLine(std::size_t count) const
{
    if (searchMode())
        return SearchStatusLine(count);
    if (request_.mode == ListMode::Schedules)
        return ScheduleStatusLine(view_, request_.selected, count);
    return {};
}

void TFormEdit::Refill()
{
    setCommandsEnabled(false);
    // A hundred years of files take a moment to read.
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    model_->setRows(scan());
    QGuiApplication::restoreOverrideCursor();
    ListView->header()->setSortIndicatorShown(false);
    const std::size_t count = model_->rows().rows.size();
    // The rows of a file that cannot be read are missing: the list says so, the first time in a box.
    const std::vector<files::FileProblem> fresh = unreadable_.update("list", model_->rows().unreadable);
    const std::string warning = unreadable_.statusText();
    StatusBar1->showMessage(
        QString::fromStdString(warning.empty() ? statusLine(count) : warning + "　" + statusLine(count)));
    if (!fresh.empty())
        services_.platform.messageBox(kUnreadableCaption, UnreadableNotice::messageText(fresh), MessageIcon::Warning,
                                      MessageButtons::Ok);
    nothingFound_ = searchMode() && count == 0;
    if (count == 0)
        return;
    ListView->setCurrentIndex(model_->index(0, 1));
    ListView->scrollToTop();
    ListViewClick();
}

void TFormEdit::setCommandsEnabled(bool enabled)
{
    for (QAction* a : {BtnDel, MenuDel})
        a->setEnabled(enabled);
    // Memos are corrected in the memo editor, when the opener gave one.
    const bool correct = enabled && (request_.mode != ListMode::Memos || request_.editDayMemo);
    BtnRep->setEnabled(correct);
    MenuRep->setEnabled(correct);
    const bool copy = enabled && request_.mode == ListMode::Schedules;
    BtnCopy->setEnabled(copy);
    MenuCopy->setEnabled(copy);
}

void TFormEdit::ListViewClick()
{
    // A click only ever enables: the commands go off when the list is refilled.
    if (ListView->selectionModel()->hasSelection())
        setCommandsEnabled(true);
}

const ListRows& TFormEdit::rows() const
{
    return model_->rows();
}

std::vector<const ListRow*> TFormEdit::SelectedRows() const
{
    std::set<int> viewRows;
    for (const QItemSelectionRange& range : ListView->selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row)
            viewRows.insert(row);
    std::vector<const ListRow*> selected;
    selected.reserve(viewRows.size());
    for (int row : viewRows)
        selected.push_back(&model_->rowAt(row));
    return selected;
}

std::vector<const ListRow*> TFormEdit::ShownRows() const
{
    std::vector<const ListRow*> shown;
    shown.reserve(static_cast<std::size_t>(model_->rowCount()));
    for (int row = 0; row < model_->rowCount(); ++row)
        shown.push_back(&model_->rowAt(row));
    return shown;
}

QString TFormEdit::statusText() const
{
    return StatusBar1->currentMessage();
}

void TFormEdit::ListViewColumnClick(int position)
{
    if (position < 0 || position > kListLastSortColumn)
        return;
    int& direction = directions_[static_cast<std::size_t>(position)];
    direction = -direction;
    if (position == kListKeyColumn)
        return;
    model_->sortByColumn(position, direction);
    ListView->header()->setSortIndicatorShown(true);
    ListView->header()->setSortIndicator(position, direction < 0 ? Qt::DescendingOrder : Qt::AscendingOrder);
}

void TFormEdit::AddClick()
{
    if (request_.mode == ListMode::Schedules)
        runScheduleInput(false, nullptr);
    else if (request_.mode == ListMode::Holidays)
        runHolidayInput(nullptr);
}

void TFormEdit::RepClick(bool copy)
{
    const std::vector<const ListRow*> selected = SelectedRows();
    if (selected.empty())
        return;
    // The row with the cursor when it is among the selected, else the first selected.
    const QModelIndex current = ListView->currentIndex();
    const ListRow* row = selected.front();
    if (current.isValid() && ListView->selectionModel()->isRowSelected(current.row(), {}))
        row = &model_->rowAt(current.row());
    if (!copy && RefuseExtraRows({row}))
        return;
    switch (request_.mode) {
    case ListMode::Schedules:
        runScheduleInput(copy, row);
        break;
    case ListMode::Holidays:
        if (!copy)
            runHolidayInput(row);
        break;
    case ListMode::Memos:
        if (!copy)
            runMemoEditor(*row);
        break;
    }
}

void TFormEdit::runScheduleInput(bool copy, const ListRow* row)
{
    SchInputRequest request{.follower = request_.follower};
    request.dataPath = request_.dataPath;
    request.programFolder = request_.programFolder;
    request.autoIme = request_.autoIme;
    if (row) {
        request.mode = copy ? SchInputMode::Copy : SchInputMode::Correct;
        request.record = ScheduleRefOf(rows(), *row);
        request.date = row->date;
    } else {
        request.mode = SchInputMode::New;
        request.date = searchMode() ? services_.platform.now().date : request_.selected;
    }
    TDlgSchInput dialog(services_, request, this);
    dialog.move(pos());
    const bool accepted = services_.dialogs.run(dialog) == QDialog::Accepted;
    afterEdit(accepted, dialog.writeFailed());
}

void TFormEdit::runHolidayInput(const ListRow* row)
{
    HolidayInputRequest request;
    request.path = files::withSeparator(request_.dataPath) + kHolidayFileName;
    request.selected = request_.selected;
    request.autoIme = request_.autoIme;
    if (row) {
        request.mode = HolidayInputMode::Correct;
        request.rule = HolidayRefOf(rows(), *row);
    } else if (view_ != ListScope::All) {
        request.kind = static_cast<int>(view_) - 1;
    }
    TDlgHolidayInput dialog(services_, request, this);
    dialog.move(pos());
    const bool accepted = services_.dialogs.run(dialog) == QDialog::Accepted;
    afterEdit(accepted, dialog.changedMeanwhile());
}

void TFormEdit::runMemoEditor(const ListRow& row)
{
    if (!request_.editDayMemo)
        return;
    const Date date = row.date;
    afterEdit(request_.editDayMemo(date, this), false);
}

void TFormEdit::afterEdit(bool accepted, bool changedMeanwhile)
{
    if (!accepted && !changedMeanwhile)
        return;
    changed_ = true;
    Refill();
}

void TFormEdit::reportChangedMeanwhile(const char* caption)
{
    services_.platform.messageBox(caption, ChangedMeanwhileText(request_.mode), MessageIcon::Information,
                                  MessageButtons::Ok);
    changed_ = true;
    Refill();
}

bool TFormEdit::RefuseExtraRows(const std::vector<const ListRow*>& selected)
{
    if (std::none_of(selected.begin(), selected.end(), [](const ListRow* row) { return row->extra != nullptr; }))
        return false;
    services_.platform.messageBox("購読している予定",
                                  "購読している予定表の予定は訂正・削除できません。\r\n"
                                  "コピーすると自分のスケジュールに加えられます。",
                                  MessageIcon::Information, MessageButtons::Ok);
    return true;
}

void TFormEdit::DelClick()
{
    const std::vector<const ListRow*> selected = SelectedRows();
    if (selected.empty() || RefuseExtraRows(selected))
        return;
    const char* caption = DeleteCaption(request_.mode);
    if (services_.platform.messageBox(caption, DeleteQuestion(rows(), selected), MessageIcon::Warning,
                                      MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    const store::EditResult result = DeleteListRows(rows(), selected, request_.follower);
    switch (result.status) {
    case store::EditStatus::Done:
        changed_ = true;
        Refill();
        break;
    case store::EditStatus::Changed:
        reportChangedMeanwhile(caption);
        break;
    case store::EditStatus::WriteFailed:
        services_.platform.messageBox(
            caption, std::string(ListRecordName(request_.mode)) + "を削除できません。\r\n" + result.reason,
            MessageIcon::Error, MessageButtons::Ok);
        break;
    }
}

void TFormEdit::MenuCsvSaveClick()
{
    if (request_.mode != ListMode::Schedules)
        return;
    std::vector<MonthRecord> records;
    for (const ListRow* row : ShownRows())
        records.push_back(MonthRecord{row->date.year, row->date.month, row->text});
    const std::optional<std::string> path = askCsvExportPath(services_.platform, request_.dataPath, "Sch.csv");
    if (!path)
        return;
    const CsvExportResult exported = exportRecordsCsv(*path, records);
    if (!exported.ok)
        services_.platform.messageBox(kCsvSaveCaption, exported.message, MessageIcon::Error, MessageButtons::Ok);
}

void TFormEdit::fitMemoColumn()
{
    if (request_.mode != ListMode::Memos)
        return;
    const int dateWidth = ListView->columnWidth(1);
    ListView->setColumnWidth(2, std::max(dateWidth, ListView->width() - dateWidth - kMemoColumnMargin));
}

void TFormEdit::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    fitMemoColumn();
}

} // namespace kal
