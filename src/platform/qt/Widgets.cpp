#include "platform/qt/Widgets.h"

#include "platform/qt/LatinDigits.h"
#include "platform/qt/ResourceIcon.h"

#include <QAbstractItemView>
#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDialog>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPixmapCache>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QTreeWidget>

#include <algorithm>

namespace kal::qt {
namespace {

class DoubleClickFilter : public QObject {
public:
    DoubleClickFilter(QAbstractItemView* view, std::function<void(const QModelIndex&)> handler)
        : QObject(view), view_(view), handler_(std::move(handler))
    {
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MouseButtonDblClick) {
            auto* click = static_cast<QMouseEvent*>(event);
            if (click->button() == Qt::LeftButton)
                handler_(view_->indexAt(click->position().toPoint()));
        }
        return false;
    }

private:
    QAbstractItemView* view_;
    std::function<void(const QModelIndex&)> handler_;
};

} // namespace

QPushButton* namedButton(const char* name, const char* caption, QWidget* parent)
{
    auto* button = new QPushButton(QString::fromUtf8(caption), parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QAction* namedAction(QObject* owner, const char* name, const char* caption)
{
    auto* action = new QAction(QString::fromUtf8(caption), owner);
    action->setObjectName(name);
    return action;
}

QAction* toolAction(QObject* owner, const char* name, const char* hint, const char* icon)
{
    auto* action = new QAction(resourceIcon(QString::fromLatin1(icon)), QString::fromUtf8(hint), owner);
    action->setObjectName(name);
    action->setToolTip(QString::fromUtf8(hint));
    return action;
}

QString spokenText(const QString& menuText)
{
    QString text = menuText.section('\t', 0, 0);
    text.remove(QRegularExpression(QStringLiteral("\\(&.\\)")));
    if (text.endsWith(QStringLiteral("...")))
        text.chop(3);
    return text.remove('&').trimmed();
}

void nameFromMenu(QAction* tool, const QAction* menu)
{
    auto follow = [tool, menu] { tool->setIconText(spokenText(menu->text())); };
    follow();
    QObject::connect(menu, &QAction::changed, tool, follow);
}

void setHint(QWidget* button, const QString& hint)
{
    button->setToolTip(hint);
    button->setAccessibleName(hint);
}

QPixmap resourcePixmap(const char* icon, int size)
{
    const QString key = QStringLiteral("kalendra-pixmap:%1@%2").arg(QLatin1String(icon)).arg(size);
    QPixmap pixmap;
    if (!QPixmapCache::find(key, &pixmap)) {
        pixmap = resourceIcon(QString::fromLatin1(icon)).pixmap(size, size);
        QPixmapCache::insert(key, pixmap);
    }
    return pixmap;
}

QMenu* popupMenu(QWidget* parent, const char* name, std::initializer_list<QAction*> entries)
{
    auto* menu = new QMenu(parent);
    menu->setObjectName(name);
    for (QAction* entry : entries) {
        if (entry)
            menu->addAction(entry);
        else
            menu->addSeparator();
    }
    return menu;
}

void radioPair(QObject* owner, QAction* first, QAction* second, const char* key)
{
    auto* group = new QActionGroup(owner);
    for (QAction* entry : {first, second}) {
        entry->setCheckable(true);
        group->addAction(entry);
        if (key)
            entry->setText(entry->text() + '\t' + QKeySequence(key).toString(QKeySequence::NativeText));
    }
    first->setChecked(true);
}

void onSelect(QAction* entry, std::function<bool()> isSelected, std::function<void()> select,
              std::function<void()> showState)
{
    QObject::connect(entry, &QAction::triggered, entry, [isSelected, select, showState] {
        if (isSelected())
            showState();
        else
            select();
    });
}

void showShortcut(QAction* entry, const char* key)
{
    entry->setShortcut(QKeySequence(key));
    entry->setShortcutContext(Qt::WidgetShortcut);
}

void setFixedHeightForFont(QWidget* widget, int height)
{
    widget->setFixedHeight(std::max(height, widget->fontMetrics().height() + 4));
}

QLabel* captionLabel(const char* caption, QWidget* parent, QWidget* field)
{
    auto* label = new QLabel(QString::fromUtf8(caption), parent);
    if (!field)
        return label;
    label->setBuddy(field);
    // Said without the mnemonic and the colon; an editable box's own line too.
    QString name = spokenText(label->text());
    if (name.endsWith(QChar(0xFF1A)) || name.endsWith(':'))
        name.chop(1);
    field->setAccessibleName(name);
    if (auto* box = qobject_cast<QComboBox*>(field); box && box->lineEdit())
        box->lineEdit()->setAccessibleName(name);
    return label;
}

QDate toQDate(const Date& date)
{
    return QDate(date.year, date.month, date.day);
}

Date fromQDate(const QDate& date)
{
    return Date{date.year(), date.month(), date.day()};
}

QDateEdit* dateEdit(const char* name, const char* utf8Format, QWidget* parent)
{
    auto* edit = new QDateEdit(parent);
    edit->setObjectName(name);
    edit->setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    edit->setDisplayFormat(QString::fromUtf8(utf8Format));
    edit->setCalendarPopup(true);
    edit->setDateRange(QDate(1900, 1, 1), QDate(2099, 12, 31));
    edit->setInputMethodHints(Qt::ImhDigitsOnly);
    takeFullWidthDigits(edit);
    return edit;
}

QTreeWidget* reportList(QWidget* parent, const char* name)
{
    auto* list = new QTreeWidget(parent);
    list->setObjectName(name);
    list->setRootIsDecorated(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->header()->setStretchLastSection(false);
    list->header()->setSectionsMovable(false);
    list->header()->setMinimumSectionSize(0);
    return list;
}

QHBoxLayout* rightAlignedRow(std::initializer_list<QWidget*> widgets)
{
    auto* row = new QHBoxLayout;
    row->addStretch();
    for (QWidget* widget : widgets)
        row->addWidget(widget);
    return row;
}

void onDoubleClick(QAbstractItemView* view, std::function<void(const QModelIndex&)> handler)
{
    view->viewport()->installEventFilter(new DoubleClickFilter(view, std::move(handler)));
}

QRect keptOnScreen(const QRect& wanted, const QWidget* near)
{
    const QScreen* screen = near && near->screen() ? near->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return wanted;
    const QRect area = screen->availableGeometry();
    QRect kept(wanted.topLeft(), wanted.size().boundedTo(area.size()));
    kept.moveLeft(std::clamp(kept.left(), area.left(), area.right() + 1 - kept.width()));
    kept.moveTop(std::clamp(kept.top(), area.top(), area.bottom() + 1 - kept.height()));
    return kept;
}

void fitCaption(QDialog& dialog)
{
    // The title bar's icon, buttons and margins beside the text, in a bold face as most window
    // managers draw it.
    constexpr int kTitleBarExtras = 110;
    QFont titleFont = dialog.font();
    titleFont.setBold(true);
    int need = QFontMetrics(titleFont).horizontalAdvance(dialog.windowTitle()) + kTitleBarExtras;
    if (const QScreen* screen = dialog.screen())
        need = std::min(need, screen->availableGeometry().width() * 9 / 10);
    QLayout* layout = dialog.layout();
    if (layout)
        layout->activate();
    const bool sized = dialog.testAttribute(Qt::WA_Resized);
    const int width = sized ? dialog.width() : std::max(dialog.sizeHint().width(), dialog.minimumWidth());
    if (width >= need)
        return;
    if (layout && layout->sizeConstraint() == QLayout::SetFixedSize) {
        // A fixed size would be set again from the contents at every show.
        const int height = dialog.sizeHint().height();
        layout->setSizeConstraint(QLayout::SetDefaultConstraint);
        dialog.setFixedSize(need, height);
        return;
    }
    dialog.setMinimumWidth(need);
    if (sized)
        dialog.resize(need, dialog.height());
}

bool cancelWaitingDialogs()
{
    bool any = false;
    for (QWidget* window : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<QDialog*>(window);
        // exec() makes a dialog application-modal; windows opened beside the main one stay.
        if (dialog && dialog->isVisible() && dialog->windowModality() == Qt::ApplicationModal) {
            dialog->reject();
            any = true;
        }
    }
    return any;
}

} // namespace kal::qt
