#include "app/TSetupPageTodo.h"

#include "app/TodoIconFiles.h"
#include "platform/Files.h"
#include "platform/qt/QtText.h"
#include "platform/qt/Widgets.h"
#include "todo/TodoList.h"
#include "todo/qt/TodoIcons.h"

#include <QBuffer>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace kal {

namespace {

constexpr const char* kIconNames[kTodoIconCount] = {"期限切れ", "期限日", "警告", "進行中"};

} // namespace

TSetupTodoPage::TSetupTodoPage(qt::Services& services, std::string programFolder, QWidget* parent)
    : TSetupPage(parent), services_(services), programFolder_(std::move(programFolder))
{
    auto* layout = pageColumn(this);
    QVBoxLayout* icons = groupColumn("アイコン", this, layout);
    ChkTodoIcon = setupCheck("ChkTodoIcon", "状態アイコンを表示する。(&I)", this);
    icons->addWidget(ChkTodoIcon);
    ListTodo = qt::named(new QListWidget(this), "ListTodo");
    ListTodo->setViewMode(QListView::IconMode);
    ListTodo->setFlow(QListView::LeftToRight);
    ListTodo->setMovement(QListView::Static);
    ListTodo->setFixedHeight(64);
    ListTodo->setGridSize(QSize(72, 48));
    for (const char* name : kIconNames)
        ListTodo->addItem(QString::fromUtf8(name));
    BtnIconChange = qt::namedButton("BtnIconChange", "変更(&C)...", this);
    BtnIconOrigin = qt::namedButton("BtnIconOrigin", "元に戻す(&O)", this);
    auto* iconRow = new QHBoxLayout;
    iconRow->addWidget(ListTodo, 1);
    auto* iconButtons = new QVBoxLayout;
    iconButtons->addWidget(BtnIconChange);
    iconButtons->addWidget(BtnIconOrigin);
    iconRow->addLayout(iconButtons);
    icons->addLayout(iconRow);
    SpinWarnTerm = qt::named(new QSpinBox(this), "SpinWarnTerm");
    SpinWarnTerm->setRange(1, 99);
    auto* warnRow = new QHBoxLayout;
    warnRow->addWidget(qt::captionLabel("期限の", this));
    warnRow->addWidget(SpinWarnTerm);
    warnRow->addWidget(qt::captionLabel("日前から警告アイコンを表示する。", this));
    warnRow->addStretch();
    icons->addLayout(warnRow);

    QVBoxLayout* columns = groupColumn("表示項目", this, layout);
    ListName = qt::named(new QListWidget(this), "ListName");
    ListName->addItem(QString::fromUtf8("ToDo 未処理の表示項目"));
    ListName->addItem(QString::fromUtf8("ToDo 処理済の表示項目"));
    ListName->setFixedHeight(ListName->sizeHintForRow(0) * 2 + 8);
    columns->addWidget(ListName);
    const char* itemNames[7] = {"期限日", "残り日数", "優先度", "件名", "分類", "進捗", "処理日"};
    auto* grid = new QGridLayout;
    for (int i = 0; i < 7; ++i) {
        const TodoItemFlag item = TodoItemFlags::names()[static_cast<std::size_t>(i)];
        ChkTi[static_cast<std::size_t>(i)] =
            setupCheck(QString("ChkTi%1").arg(i + 1).toLatin1().constData(), itemNames[i], this);
        grid->addWidget(itemBox(item), i / 4, i % 4);
        connect(itemBox(item), &QCheckBox::clicked, this, [this, item] { TiClick(item); });
    }
    columns->addLayout(grid);
    ChkToDoTab = setupCheck("ChkToDoTab", "ToDoのタブを下に表示する。(&B)", this);
    layout->addWidget(ChkToDoTab);

    connect(ChkTodoIcon, &QCheckBox::toggled, this, &TSetupTodoPage::updateEnabled);
    connect(BtnIconChange, &QPushButton::clicked, this, &TSetupTodoPage::BtnIconChangeClick);
    connect(BtnIconOrigin, &QPushButton::clicked, this, &TSetupTodoPage::BtnIconOriginClick);
    connect(ListName, &QListWidget::currentRowChanged, this, &TSetupTodoPage::ListNameClick);
}

void TSetupTodoPage::load(const AppSettings& s)
{
    ChkTodoIcon->setChecked(s.tNoIcon == 1);
    SpinWarnTerm->setValue(s.warnTerm);
    for (std::size_t n = 0; n < custom_.size(); ++n)
        custom_[n] = s.setIcon.on(TodoIconFlags::names()[n]);
    chosen_ = {};
    openItems_ = s.tNoItem;
    doneItems_ = s.tOkItem;
    ChkToDoTab->setChecked(s.toDoTab == 1);
    ShowIcons();
    ListName->setCurrentRow(0);
    ListNameClick();
    updateEnabled();
}

void TSetupTodoPage::store(AppSettings& s) const
{
    s.tNoIcon = checkedFlag(ChkTodoIcon->isChecked());
    s.warnTerm = SpinWarnTerm->value();
    s.tNoItem = openItems_;
    s.tOkItem = doneItems_;
    s.toDoTab = checkedFlag(ChkToDoTab->isChecked());
    // A picture chosen now counts only once SaveIcons has written it.
    for (std::size_t n = 0; n < custom_.size(); ++n)
        s.setIcon.set(TodoIconFlags::names()[n], custom_[n] && chosen_[n].isNull() ? 1 : 0);
}

void TSetupTodoPage::updateEnabled()
{
    const bool on = ChkTodoIcon->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{ListTodo, SpinWarnTerm, BtnIconChange, BtnIconOrigin})
        w->setEnabled(on);
}

void TSetupTodoPage::ShowIcons()
{
    TodoIconFlags stored;
    for (std::size_t n = 0; n < custom_.size(); ++n)
        stored.set(TodoIconFlags::names()[n], custom_[n] ? 1 : 0);
    const qt::TodoIconSet icons = qt::LoadTodoIcons(programFolder_, stored);
    for (int n = 0; n < kTodoIconCount; ++n) {
        const QImage& picked = chosen_[static_cast<std::size_t>(n)];
        QPixmap icon = picked.isNull() ? icons[static_cast<std::size_t>(n + 1)] : QPixmap::fromImage(picked);
        ListTodo->item(n)->setIcon(QIcon(icon));
    }
}

void TSetupTodoPage::BtnIconChangeClick()
{
    const int row = ListTodo->currentRow();
    if (row < 0 || !ListTodo->currentItem()->isSelected()) {
        services_.platform.messageBox("エラー", "変更するアイコンを選択して下さい。", MessageIcon::Error,
                                      MessageButtons::Ok);
        return;
    }
    std::optional<std::string> file =
        services_.platform.openFileName("アイコンの変更", programFolder_, "ビットマップ (*.bmp);;すべてのファイル (*)");
    if (!file)
        return;
    QImage image;
    if (!image.load(qt::fromUtf8(*file)) || image.isNull()) {
        services_.platform.messageBox("エラー", "画像を読み込めません。\r\n" + *file, MessageIcon::Error,
                                      MessageButtons::Ok);
        return;
    }
    chosen_[static_cast<std::size_t>(row)] = image;
    custom_[static_cast<std::size_t>(row)] = true;
    ShowIcons();
}

void TSetupTodoPage::BtnIconOriginClick()
{
    custom_ = {};
    chosen_ = {};
    ShowIcons();
}

std::vector<std::string> TSetupTodoPage::SaveIcons(TodoIconFlags& setIcon) const
{
    std::vector<std::string> failures;
    std::vector<std::optional<std::string>> pictures(kTodoIconCount);
    for (int n = 0; n < kTodoIconCount; ++n) {
        const QImage& image = chosen_[static_cast<std::size_t>(n)];
        if (image.isNull())
            continue;
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        if (image.save(&buffer, "BMP"))
            pictures[static_cast<std::size_t>(n)] = bytes.toStdString();
        else
            failures.push_back(TodoIconFilePath(programFolder_, n + 1));
    }
    std::vector<std::string> unsaved = SaveTodoIcons(programFolder_, pictures, setIcon);
    failures.insert(failures.end(), unsaved.begin(), unsaved.end());
    return failures;
}

TodoItemFlags& TSetupTodoPage::chosenItems()
{
    return ListName->currentRow() == 1 ? doneItems_ : openItems_;
}

void TSetupTodoPage::ListNameClick()
{
    const bool done = ListName->currentRow() == 1;
    TodoItemFlags& items = chosenItems();
    // Days left belong to the open list, the done date to the done list; the title is always shown.
    if (done)
        items.set(TodoItemFlag::DaysLeft, 0);
    else
        items.set(TodoItemFlag::DoneDate, 0);
    itemBox(TodoItemFlag::DaysLeft)->setEnabled(!done);
    itemBox(TodoItemFlag::DoneDate)->setEnabled(done);
    for (TodoItemFlag item : TodoItemFlags::names()) {
        if (item != TodoItemFlag::Title)
            itemBox(item)->setChecked(items.on(item));
    }
    itemBox(TodoItemFlag::Title)->setChecked(true);
    itemBox(TodoItemFlag::Title)->setEnabled(false);
}

void TSetupTodoPage::TiClick(TodoItemFlag item)
{
    chosenItems().set(item, checkedFlag(itemBox(item)->isChecked()));
}

} // namespace kal
