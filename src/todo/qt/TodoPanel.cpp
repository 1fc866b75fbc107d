#include "todo/qt/TodoPanel.h"

#include "platform/qt/JapaneseCollation.h"
#include "platform/qt/QtText.h"
#include "platform/qt/Widgets.h"

#include <QFontMetricsF>
#include <QHeaderView>
#include <QKeyEvent>
#include <QSet>
#include <QStyle>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cmath>

namespace kal::qt {
namespace {

constexpr int kRowRole = Qt::UserRole + 1;

Qt::Alignment alignmentOf(ColumnAlign align)
{
    switch (align) {
    case ColumnAlign::Centre:
        return Qt::AlignHCenter | Qt::AlignVCenter;
    case ColumnAlign::Right:
        return Qt::AlignRight | Qt::AlignVCenter;
    case ColumnAlign::Left:
        break;
    }
    return Qt::AlignLeft | Qt::AlignVCenter;
}

Qt::CheckState checkOf(bool checked)
{
    return checked ? Qt::Checked : Qt::Unchecked;
}

// What a column's contents need in the list's own font and style, whatever width the settings
// give it: the check box with the status icon beside it, or a whole date.
int contentsWidth(const QTreeWidget& view, const TodoColumn& column, bool withIcon)
{
    const QStyle* style = view.style();
    // Each part of an item (check box, icon, text) has this margin on either side.
    const int margin = 2 * (style->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &view) + 1);
    if (!column.item) {
        const int check = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, &view) + margin;
        return withIcon ? check + view.iconSize().width() + margin : check;
    }
    if (column.item != TodoItem::Deadline && column.item != TodoItem::DoneDate)
        return 0;
    // "yy/mm/dd" of the widest digits, in the fractions the view elides by.
    const QFontMetricsF metrics(view.font());
    qreal digit = 0;
    for (char c = '0'; c <= '9'; ++c)
        digit = std::max(digit, metrics.horizontalAdvance(QLatin1Char(c)));
    return static_cast<int>(std::ceil(6 * digit + 2 * metrics.horizontalAdvance(QLatin1Char('/')))) + margin;
}

} // namespace

TodoPanel::TodoPanel(const PanelContext& context, TodoPanelLinks links, QWidget* parent)
    : QWidget(parent), context_(context), links_(std::move(links))
{
    setObjectName("PanelTodo");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    PageTodo = new QTabWidget(this);
    PageTodo->setObjectName("PageTodo");
    layout->addWidget(PageTodo);
    ListTodoNo = reportList(PageTodo, "ListTodoNo");
    ListTodoOk = reportList(PageTodo, "ListTodoOk");
    ListTodoNo->setAccessibleName(QString::fromUtf8("ToDo 未処理"));
    ListTodoOk->setAccessibleName(QString::fromUtf8("ToDo 処理済"));
    PageTodo->addTab(ListTodoNo, QString::fromStdString(TodoTabCaption(TodoList::Open, 0)));
    PageTodo->addTab(ListTodoOk, QString::fromStdString(TodoTabCaption(TodoList::Done, 0)));
    open_.view = ListTodoNo;
    done_.view = ListTodoOk;
    ListTodoNo->setIconSize(QSize(16, 16));
    directions_.fill(1);

    for (QTreeWidget* list : {ListTodoNo, ListTodoOk}) {
        list->setSelectionMode(QAbstractItemView::ExtendedSelection);
        list->setContextMenuPolicy(Qt::CustomContextMenu);
        list->header()->setSectionsClickable(true);
        list->installEventFilter(this);
        connect(list, &QWidget::customContextMenuRequested, this, [this, list](const QPoint& at) {
            PopupToDoPopup();
            PopupToDo->popup(list->viewport()->mapToGlobal(at));
        });
        connect(list, &QTreeWidget::itemActivated, this, &TodoPanel::ToDoRep);
    }
    connect(ListTodoNo->header(), &QHeaderView::sectionClicked, this, &TodoPanel::ListTodoNoColumnClick);
    connect(ListTodoOk->header(), &QHeaderView::sectionClicked, this, &TodoPanel::ListTodoOkColumnClick);
    createCommands();
}

void TodoPanel::CreateColumns(const TodoColumnSettings& settings)
{
    const std::map<TodoKey, bool> pending = [this] {
        std::map<TodoKey, bool> all = pendingChecks(open_);
        all.merge(pendingChecks(done_));
        return all;
    }();
    PageTodo->setTabPosition(settings.tabsAtBottom ? QTabWidget::South : QTabWidget::North);
    statusIcons_ = settings.statusIcons;
    open_.columns = TodoColumns(TodoList::Open, settings.openItems, settings.statusIcons, settings.openPriorityWidth,
                                settings.openTitleWidth);
    done_.columns = TodoColumns(TodoList::Done, settings.doneItems, settings.statusIcons, settings.donePriorityWidth,
                                settings.doneTitleWidth);
    for (ListState* state : {&open_, &done_}) {
        applyColumns(*state);
        populate(*state, pending);
    }
    directions_.fill(1);
    PageTodo->setCurrentIndex(0);
}

void TodoPanel::applyColumns(ListState& state)
{
    QTreeWidget* view = state.view;
    view->clear();
    QStringList captions;
    for (const TodoColumn& column : state.columns)
        captions << QString::fromStdString(column.caption);
    view->setColumnCount(captions.size());
    view->setHeaderLabels(captions);
    // The check column may have no caption; a screen reader still names it.
    view->headerItem()->setData(0, Qt::AccessibleTextRole, QString::fromUtf8("状況"));
    view->header()->setSortIndicatorShown(false);
    for (std::size_t i = 0; i < state.columns.size(); ++i) {
        const TodoColumn& column = state.columns[i];
        const int contents = contentsWidth(*view, column, withIcons(state));
        // Such a column shows its caption whole too.
        const int needed = contents > 0 ? std::max(contents, view->header()->sectionSizeHint(static_cast<int>(i))) : 0;
        view->setColumnWidth(static_cast<int>(i), std::max(column.width, needed));
        view->headerItem()->setTextAlignment(static_cast<int>(i), alignmentOf(state.columns[i].align));
    }
}

void TodoPanel::Fill(const TodoRows& rows)
{
    std::map<TodoKey, bool> pending = pendingChecks(open_);
    pending.merge(pendingChecks(done_));
    open_.rows = rows.open;
    done_.rows = rows.done;
    populate(open_, pending);
    populate(done_, pending);
    PageTodo->setTabText(0, QString::fromStdString(TodoTabCaption(TodoList::Open, static_cast<int>(rows.open.size()))));
    PageTodo->setTabText(1, QString::fromStdString(TodoTabCaption(TodoList::Done, static_cast<int>(rows.done.size()))));
}

void TodoPanel::populate(ListState& state, const std::map<TodoKey, bool>& pendingChecks)
{
    QTreeWidget* view = state.view;
    const std::vector<TodoKey> keys = TodoKeys(state.rows);
    view->setUpdatesEnabled(false);
    view->clear();
    view->header()->setSortIndicatorShown(false);
    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(state.rows.size()));
    for (std::size_t i = 0; i < state.rows.size(); ++i) {
        const TodoRow& row = state.rows[i];
        auto* item = new QTreeWidgetItem;
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        auto pending = pendingChecks.find(keys[i]);
        item->setCheckState(0, checkOf(pending != pendingChecks.end() ? pending->second : row.done));
        item->setData(0, kRowRole, static_cast<int>(i));
        item->setData(0, Qt::AccessibleTextRole, QString::fromUtf8(TodoStateWords(row)));
        if (withIcons(state))
            item->setIcon(0, icons_[static_cast<std::size_t>(row.status)]);
        for (std::size_t c = 1; c < state.columns.size(); ++c) {
            const TodoColumn& column = state.columns[c];
            item->setText(static_cast<int>(c), fromSjis(row.cells[static_cast<std::size_t>(*column.item)]));
            if (column.align != ColumnAlign::Left)
                item->setTextAlignment(static_cast<int>(c), alignmentOf(column.align));
        }
        items.append(item);
    }
    view->addTopLevelItems(items);
    view->setUpdatesEnabled(true);
}

std::map<TodoKey, bool> TodoPanel::pendingChecks(const ListState& state) const
{
    std::map<TodoKey, bool> pending;
    const std::vector<TodoKey> keys = TodoKeys(state.rows);
    for (int i = 0; i < state.view->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = state.view->topLevelItem(i);
        const int index = item->data(0, kRowRole).toInt();
        const bool checked = item->checkState(0) == Qt::Checked;
        if (checked != state.rows[static_cast<std::size_t>(index)].done)
            pending[keys[static_cast<std::size_t>(index)]] = checked;
    }
    return pending;
}

void TodoPanel::setStatusIcons(const TodoIconSet& icons)
{
    icons_ = icons;
    if (!statusIcons_)
        return;
    for (int i = 0; i < ListTodoNo->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = ListTodoNo->topLevelItem(i);
        item->setIcon(0, icons_[static_cast<std::size_t>(rowOf(open_, item).status)]);
    }
}

void TodoPanel::setColors(const QColor& openBack, const QColor& doneBack, const QColor& text)
{
    for (auto [list, back] : {std::pair{ListTodoNo, openBack}, std::pair{ListTodoOk, doneBack}}) {
        QPalette palette = list->palette();
        palette.setColor(QPalette::Base, back);
        palette.setColor(QPalette::Text, text);
        list->setPalette(palette);
    }
}

const TodoRow& TodoPanel::rowOf(const ListState& state, const QTreeWidgetItem* item) const
{
    return state.rows[static_cast<std::size_t>(item->data(0, kRowRole).toInt())];
}

const TodoPanel::ListState& TodoPanel::activeState() const
{
    return DoneTabActive() ? done_ : open_;
}

QTreeWidgetItem* TodoPanel::selectedItem(const ListState& state) const
{
    QTreeWidgetItem* current = state.view->currentItem();
    if (current && current->isSelected())
        return current;
    const QList<QTreeWidgetItem*> selected = state.view->selectedItems();
    return selected.isEmpty() ? nullptr : selected.front();
}

std::vector<TodoTick> TodoPanel::PendingTicks() const
{
    std::vector<TodoTick> ticks;
    for (const ListState* state : {&open_, &done_})
        for (int i = 0; i < state->view->topLevelItemCount(); ++i) {
            const QTreeWidgetItem* item = state->view->topLevelItem(i);
            const TodoRow& row = rowOf(*state, item);
            const bool checked = item->checkState(0) == Qt::Checked;
            if (checked != row.done)
                ticks.push_back(TodoTick{row.ref, checked});
        }
    return ticks;
}

std::optional<store::LineRef> TodoPanel::TodoKeySearch() const
{
    const ListState& state = activeState();
    if (const QTreeWidgetItem* item = selectedItem(state))
        return rowOf(state, item).ref;
    return std::nullopt;
}

std::vector<store::LineRef> TodoPanel::SelectedRefs() const
{
    const ListState& state = activeState();
    std::vector<store::LineRef> refs;
    for (const QTreeWidgetItem* item : state.view->selectedItems())
        refs.push_back(rowOf(state, item).ref);
    return refs;
}

bool TodoPanel::CurrentRowChecked() const
{
    const QTreeWidgetItem* item = selectedItem(activeState());
    return item && item->checkState(0) == Qt::Checked;
}

bool TodoPanel::DoneTabActive() const
{
    return PageTodo->currentIndex() == 1;
}

bool TodoPanel::ListFocused() const
{
    return ListTodoNo->hasFocus() || ListTodoOk->hasFocus();
}

std::optional<int> TodoPanel::widthOf(const ListState& state, TodoItem item) const
{
    for (std::size_t i = 0; i < state.columns.size(); ++i)
        if (state.columns[i].item == item)
            return state.view->columnWidth(static_cast<int>(i));
    return std::nullopt;
}

TodoColumnWidths TodoPanel::ColumnWidths() const
{
    return TodoColumnWidths{widthOf(open_, TodoItem::Title), widthOf(done_, TodoItem::Title),
                            widthOf(open_, TodoItem::Priority), widthOf(done_, TodoItem::Priority)};
}

void TodoPanel::ListTodoNoColumnClick(int position)
{
    sortList(open_, position);
}

void TodoPanel::ListTodoOkColumnClick(int position)
{
    sortList(done_, position);
}

void TodoPanel::sortList(ListState& state, int position)
{
    if (position < 0 || position >= kTodoItemCount)
        return;
    int& direction = directions_[static_cast<std::size_t>(position)];
    direction = -direction;
    // The first column holds the check boxes and does not sort.
    if (position == 0 || position >= static_cast<int>(state.columns.size()))
        return;
    QTreeWidget* view = state.view;
    const QList<QTreeWidgetItem*> selected = view->selectedItems();
    QTreeWidgetItem* current = view->currentItem();
    const QList<QTreeWidgetItem*> items = view->invisibleRootItem()->takeChildren();
    std::vector<TodoRow> shown;
    shown.reserve(static_cast<std::size_t>(items.size()));
    for (const QTreeWidgetItem* item : items)
        shown.push_back(rowOf(state, item));
    QList<QTreeWidgetItem*> sorted;
    sorted.reserve(items.size());
    for (std::size_t i :
         TodoSortOrder(shown, *state.columns[static_cast<std::size_t>(position)].item, direction, japaneseCollation()))
        sorted.append(items[static_cast<qsizetype>(i)]);
    view->addTopLevelItems(sorted);
    if (current)
        view->setCurrentItem(current, 0, QItemSelectionModel::NoUpdate);
    for (QTreeWidgetItem* item : selected)
        item->setSelected(true);
    view->header()->setSortIndicatorShown(true);
    view->header()->setSortIndicator(position, direction < 0 ? Qt::DescendingOrder : Qt::AscendingOrder);
}

bool TodoPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && (watched == ListTodoNo || watched == ListTodoOk) &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
        TodoDel();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kal::qt
