#include "memo/qt/MemoList.h"

#include "memo/DayMemo.h"
#include "memo/TDlgMemo.h"
#include "platform/qt/QtText.h"
#include "platform/qt/SjisValidator.h"
#include "platform/qt/Widgets.h"

#include <QAction>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStyledItemDelegate>

#include <algorithm>

namespace kal::qt {
namespace {

constexpr int kLineRole = Qt::UserRole + 1;
// A memo line has no limit of its own; this only keeps one line within reason.
constexpr int kMaxLineBytes = 65536;

// In-place editing accepts only what Shift-JIS can store.
class LineEditDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
            edit->setObjectName("MemoLineEdit");
            limitSjisBytes(edit, kMaxLineBytes);
        }
        return editor;
    }
};

} // namespace

MemoList::MemoList(const PanelContext& context, std::function<int()> editorWidth, QWidget* parent)
    : QTreeWidget(parent), context_(context), services_(context_.services), editorWidth_(std::move(editorWidth))
{
    setObjectName("ListMemo");
    setAccessibleName(QString::fromUtf8("メモ"));
    setColumnCount(1);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setContextMenuPolicy(Qt::CustomContextMenu);
    setItemDelegate(new LineEditDelegate(this));
    header()->setStretchLastSection(true);
    header()->setSectionsClickable(false);
    connect(this, &QTreeWidget::itemChanged, this, &MemoList::ListMemoEdited);
    createCommands();
}

void MemoList::createCommands()
{
    MenuMemo = namedAction(this, "MenuMemo", "メモの編集(&M)");
    TBtnMemoNew = toolAction(this, "TBtnMemoNew", "メモの編集", "tb-memo-edit");
    PopMemo = namedAction(this, "PopMemo", "メモの編集(&M)");
    PopMemoAdd = namedAction(this, "PopMemoAdd", "メモの編集(&E)");
    PopTrayMemo = namedAction(this, "PopTrayMemo", "メモの編集(&M)");
    PopMemoLineRep = namedAction(this, "PopMemoLineRep", "メモの行編集(&L)");
    PopMemoLineDel = namedAction(this, "PopMemoLineDel", "メモの行削除(&X)");
    PopMemoDel = namedAction(this, "PopMemoDel", "メモの削除(&O)");
    for (QAction* a : {PopMemoLineRep, PopMemoLineDel, PopMemoDel})
        a->setEnabled(false);
    for (QAction* a : {MenuMemo, TBtnMemoNew, PopMemo, PopMemoAdd, PopTrayMemo})
        connect(a, &QAction::triggered, this, &MemoList::ShowDlgMemo);
    connect(PopMemoLineRep, &QAction::triggered, this, &MemoList::PopMemoLineRepClick);
    connect(PopMemoLineDel, &QAction::triggered, this, &MemoList::PopMemoLineDelClick);
    connect(PopMemoDel, &QAction::triggered, this, &MemoList::MemoDelete);
    // Also on the empty area: a day without memo gets one this way.
    onDoubleClick(this, [this](const QModelIndex&) { ShowDlgMemo(); });
}

void MemoList::MemoSet()
{
    const AppSettings& settings = context_.settings;
    MemoListSettings memo;
    memo.mode = MemoAreaModeOf(settings.memo);
    memo.titleBar = settings.mtUmu;
    memo.title = settings.mTitle;
    memo.memoPath = settings.memoPath;
    memo.font = settings.fonts[FontMemo];
    memo.colors = settings.colors[ColMemoList];
    applySettings(memo);
    setVisible(memo.mode != MemoAreaMode::Never);
}

bool MemoList::MemoRefresh()
{
    const bool wasHidden = isHidden();
    showDay(context_.selectedDate());
    context_.showUnreadable("memo", unreadable_);
    return wasHidden && !isHidden();
}

void MemoList::MemoPopupEnable()
{
    PopMemoAdd->setEnabled(true);
    PopMemoLineRep->setEnabled(hasSelectedRow());
    PopMemoLineDel->setEnabled(hasSelectedRow());
    PopMemoDel->setEnabled(hasRows());
}

void MemoList::applySettings(const MemoListSettings& settings)
{
    settings_ = settings;
    setHeaderHidden(!settings_.titleBar);
    setFont(toQFont(settings_.font));
    QPalette colors = palette();
    colors.setColor(QPalette::Base, toQColor(settings_.colors.back));
    colors.setColor(QPalette::Text, toQColor(settings_.colors.text));
    setPalette(colors);
    if (settings_.mode == MemoAreaMode::Never)
        hide();
}

int MemoList::selectedRow() const
{
    QTreeWidgetItem* item = currentItem();
    return item && item->isSelected() ? indexOfTopLevelItem(item) : -1;
}

void MemoList::fillRows(const std::vector<std::string>& lines)
{
    filling_ = true;
    clear();
    for (const std::string& line : lines) {
        auto* item = new QTreeWidgetItem(this);
        item->setText(0, fromSjis(line));
        item->setData(0, kLineRole, QByteArray::fromStdString(line));
    }
    filling_ = false;
}

void MemoList::showDay(const Date& date)
{
    day_ = date;
    if (settings_.mode == MemoAreaMode::Never)
        return;
    setHeaderLabel(fromSjis(MemoAreaTitle(settings_.title, date)));
    currentFile_ = MemoFilePath(settings_.memoPath, date);
    const bool exists = files::fileExists(currentFile_);
    unreadable_.clear();
    const std::vector<std::string> lines = files::loadLinesNoting(currentFile_, unreadable_);
    fillRows(lines);
    setVisible(MemoAreaShown(settings_.mode, exists, lines.size()));
}

void MemoList::ShowDlgMemo()
{
    const EditorPlace place{context_.dialogPlace(), editorWidth_()};
    EditDayMemo(context_.selectedDate(), window(), &place);
}

bool MemoList::EditDayMemo(const Date& date, QWidget* parent, const EditorPlace* place)
{
    TDlgMemo dialog(services_, MemoEditorTarget{MemoEditorMode::DayMemo, settings_.memoPath, date, {}}, parent);
    dialog.setWindowTitle(settings_.titleBar ? fromSjis(MemoAreaTitle(settings_.title, date))
                                             : fromUtf8(DayMemoCaption(date)));
    if (place) {
        dialog.move(place->topLeft);
        dialog.resize(place->width, dialog.height());
    }
    return runEditor(dialog, date);
}

bool MemoList::EditListedDayMemo(const Date& date, QWidget* listWindow)
{
    TDlgMemo dialog(services_, MemoEditorTarget{MemoEditorMode::DayMemo, settings_.memoPath, date, {}}, listWindow);
    dialog.setWindowTitle(fromUtf8(ListedDayMemoCaption(date)));
    dialog.resize(std::max(width(), dialog.minimumSizeHint().width()), dialog.height());
    // At the list's top-left corner; centred on the screen when it would reach past its edge.
    const QRect area = listWindow->screen()->availableGeometry();
    if (listWindow->x() + dialog.width() <= area.x() + area.width())
        dialog.move(listWindow->pos());
    else
        dialog.move(area.center() - dialog.rect().center());
    return runEditor(dialog, date);
}

bool MemoList::runEditor(TDlgMemo& dialog, const Date& date)
{
    dialog.MemoDay->setFont(toQFont(settings_.font));
    const bool existed = DayMemoExists(settings_.memoPath, date);
    if (services_.dialogs.run(dialog) != QDialog::Accepted)
        return false;
    emit memoChanged(existed != DayMemoExists(settings_.memoPath, date));
    return true;
}

void MemoList::PopMemoLineRepClick()
{
    QTreeWidgetItem* item = currentItem();
    if (!item || !item->isSelected())
        return;
    filling_ = true;
    item->setFlags(item->flags() | Qt::ItemIsEditable);
    filling_ = false;
    editItem(item, 0);
}

void MemoList::ListMemoEdited(QTreeWidgetItem* item)
{
    if (filling_)
        return;
    const int row = indexOfTopLevelItem(item);
    const std::string shown = item->data(0, kLineRole).toByteArray().toStdString();
    const std::string edited = toSjisLossy(item->text(0));
    MemoLineResult result = ReplaceMemoLine(currentFile_, row, shown, edited);
    ReportMemoLineResult(services_.platform, "メモの行編集", "メモ", result);
    // Leave the editor's own commit before the rows are rebuilt.
    QMetaObject::invokeMethod(
        this, [this, result] { emit memoChanged(result.fileDeleted); }, Qt::QueuedConnection);
}

void MemoList::PopMemoLineDelClick()
{
    const int row = selectedRow();
    if (row < 0)
        return;
    const std::string shown = topLevelItem(row)->data(0, kLineRole).toByteArray().toStdString();
    MemoLineResult result = DeleteMemoLine(currentFile_, row, shown);
    ReportMemoLineResult(services_.platform, "メモの行削除", "メモ", result);
    emit memoChanged(result.fileDeleted);
}

void ReportMemoLineResult(Platform& platform, const char* caption, const char* what, const MemoLineResult& result)
{
    if (result.missing)
        return;
    switch (result.status) {
    case store::EditStatus::Done:
        break;
    case store::EditStatus::Changed:
        platform.messageBox(caption, std::string(what) + "が他で変更されています。\r\n表示を更新します。",
                            MessageIcon::Information, MessageButtons::Ok);
        break;
    case store::EditStatus::WriteFailed:
        platform.messageBox(caption, std::string(what) + "を保存できません。\r\n" + result.reason, MessageIcon::Error,
                            MessageButtons::Ok);
        break;
    }
}

void MemoList::MemoDelete()
{
    if (currentFile_.empty() || !files::fileExists(currentFile_))
        return;
    const char* caption = "メモの削除";
    if (services_.platform.messageBox(caption, "メモを削除します。\r\nよろしいですか？", MessageIcon::Warning,
                                      MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    if (files::IoResult deleted = DeleteMemoFile(currentFile_); !deleted) {
        services_.platform.messageBox(caption, "メモを削除できません。\r\n" + deleted.reason, MessageIcon::Error,
                                      MessageButtons::Ok);
        return;
    }
    fillRows({});
    if (settings_.mode == MemoAreaMode::WhenMemo)
        hide();
    emit memoChanged(true);
}

} // namespace kal::qt
