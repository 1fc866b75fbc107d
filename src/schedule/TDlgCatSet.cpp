#include "schedule/TDlgCatSet.h"

#include "platform/ByteText.h"
#include "platform/Files.h"
#include "platform/IniFile.h"
#include "platform/SjisCodec.h"
#include "platform/qt/QtText.h"
#include "platform/qt/Widgets.h"
#include "schedule/Categories.h"
#include "schedule/CategoryFiles.h"
#include "schedule/qt/CategoryItemDelegate.h"
#include "settings/AppSettings.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace kal {
namespace {

constexpr const char* kCaption = "分類の設定";

struct NameAnswer {
    std::string utf8;
    std::string sjis;
};

// An empty or blank answer, or cancel, gives nothing. So does a character Shift-JIS cannot
// hold: saving would lose it, so it is refused here with a message.
std::optional<NameAnswer> askName(Platform& platform, const std::string& caption, const std::string& prompt,
                                  const std::string& initial)
{
    std::optional<std::string> answer = platform.inputBox(caption, prompt, initial);
    if (!answer || text::isBlank(*answer))
        return std::nullopt;
    std::optional<std::string> sjisAnswer = sjis::fromUtf8(*answer);
    if (!sjisAnswer) {
        platform.messageBox(caption,
                            "「" + *answer +
                                "」には登録できない文字が含まれています。\r\n"
                                "Shift-JIS で表せない文字は分類名に使えません。",
                            MessageIcon::Error, MessageButtons::Ok);
        return std::nullopt;
    }
    return NameAnswer{*answer, *sjisAnswer};
}

bool refuseDuplicate(Platform& platform, const std::vector<std::string>& lines, const NameAnswer& answer)
{
    if (!CategoryNameTaken(lines, answer.sjis))
        return false;
    platform.messageBox("分類の重複", "「" + answer.utf8 + "」はすでに登録済みです。", MessageIcon::Error,
                        MessageButtons::Ok);
    return true;
}

} // namespace

TDlgCatSet::TDlgCatSet(qt::Services& services, std::string programFolder, QWidget* parent)
    : QDialog(parent), services_(services), programFolder_(std::move(programFolder))
{
    setObjectName("TDlgCatSet");
    setWindowTitle(QString::fromUtf8(kCaption));
    buildControls();
    layOutControls();
    connectControls();
    FormShow();
}

void TDlgCatSet::buildControls()
{
    RadioView = new QGroupBox(QString::fromUtf8("表示設定(&S)"), this);
    RadioView->setObjectName("RadioView");
    RadioViewShow = new QRadioButton(QString::fromUtf8("チェック項目を表示する"), RadioView);
    RadioViewShow->setObjectName("RadioViewShow");
    RadioViewHide = new QRadioButton(QString::fromUtf8("チェック項目を表示しない"), RadioView);
    RadioViewHide->setObjectName("RadioViewHide");

    ListItem = new QListWidget(this);
    ListItem->setObjectName("ListItem");
    ListItem->setAccessibleName(QString::fromUtf8("分類"));
    ListItem->setItemDelegate(new qt::CategoryItemDelegate(74, ListItem));
    ListItem->setSelectionMode(QAbstractItemView::SingleSelection);
    ListItem->setMinimumSize(260, 240);

    BtnAdd = qt::namedButton("BtnAdd", "追加", this);
    BtnRep = qt::namedButton("BtnRep", "分類名変更", this);
    BtnDel = qt::namedButton("BtnDel", "削除", this);
    BtnUp = qt::namedButton("BtnUp", "上へ", this);
    BtnDown = qt::namedButton("BtnDown", "下へ", this);
    BtnFontColor = qt::namedButton("BtnFontColor", "文字色", this);
    BtnBackColor = qt::namedButton("BtnBackColor", "背景色", this);
    ChkNoColor = new QCheckBox(QString::fromUtf8("色指定なし"), this);
    ChkNoColor->setObjectName("ChkNoColor");
    BtnOk = qt::namedButton("BtnOk", "登録", this);
    BtnOk->setDefault(true);
    BtnCancel = qt::namedButton("BtnCancel", "キャンセル", this);
}

void TDlgCatSet::layOutControls()
{
    auto* radios = new QHBoxLayout(RadioView);
    radios->addWidget(RadioViewShow);
    radios->addWidget(RadioViewHide);
    radios->addStretch();

    auto* side = new QVBoxLayout;
    side->addWidget(BtnAdd);
    side->addWidget(BtnRep);
    side->addWidget(BtnDel);
    side->addSpacing(12);
    side->addWidget(BtnUp);
    side->addWidget(BtnDown);
    side->addSpacing(12);
    side->addWidget(BtnFontColor);
    side->addWidget(BtnBackColor);
    side->addWidget(ChkNoColor);
    side->addStretch();

    auto* middle = new QHBoxLayout;
    middle->addWidget(ListItem, 1);
    middle->addLayout(side);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(RadioView);
    layout->addLayout(middle, 1);
    layout->addLayout(qt::rightAlignedRow({BtnOk, BtnCancel}));
}

void TDlgCatSet::connectControls()
{
    connect(BtnAdd, &QPushButton::clicked, this, &TDlgCatSet::BtnAddClick);
    connect(BtnRep, &QPushButton::clicked, this, &TDlgCatSet::BtnRepClick);
    connect(ListItem, &QListWidget::itemDoubleClicked, this, &TDlgCatSet::BtnRepClick);
    connect(BtnDel, &QPushButton::clicked, this, &TDlgCatSet::BtnDelClick);
    connect(BtnUp, &QPushButton::clicked, this, &TDlgCatSet::BtnUpClick);
    connect(BtnDown, &QPushButton::clicked, this, &TDlgCatSet::BtnDownClick);
    connect(BtnFontColor, &QPushButton::clicked, this, &TDlgCatSet::BtnFontColorClick);
    connect(BtnBackColor, &QPushButton::clicked, this, &TDlgCatSet::BtnBackColorClick);
    connect(ChkNoColor, &QCheckBox::clicked, this, &TDlgCatSet::ChkNoColorClick);
    connect(ListItem, &QListWidget::currentRowChanged, this, &TDlgCatSet::ListItemSelect);
    connect(BtnOk, &QPushButton::clicked, this, &TDlgCatSet::BtnOkClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

int TDlgCatSet::viewMode() const
{
    return RadioViewHide->isChecked() ? 1 : 0;
}

void TDlgCatSet::setViewMode(int mode)
{
    (mode != 0 ? RadioViewHide : RadioViewShow)->setChecked(true);
}

void TDlgCatSet::FormShow()
{
    IniFile ini(SettingsPath(programFolder_));
    ini.load();
    setViewMode(ReadCatchk(ini));
    ListItem->clear();
    const CategoryLoad loaded = LoadCategoriesForUpdate(programFolder_);
    if (!loaded.ok) {
        // What could not be read must not be replaced by an empty table.
        services_.platform.messageBox(kCaption, "分類ファイルを読み込めません。\r\n" + loaded.reason,
                                      MessageIcon::Error, MessageButtons::Ok);
        BtnOk->setEnabled(false);
    }
    for (const std::string& line : loaded.table.lines())
        appendRow(line, CheckedUnderMode(line, viewMode()));
    selectRow(0);
    ListItemSelect();
}

void TDlgCatSet::BtnAddClick()
{
    std::optional<NameAnswer> answer = askName(services_.platform, "分類の追加", "新しい分類：", "");
    if (!answer || refuseDuplicate(services_.platform, lines(), *answer))
        return;
    const std::string line = NewCategoryLine(answer->sjis);
    appendRow(line, CheckedUnderMode(line, viewMode()));
    selectRow(ListItem->count() - 1);
}

void TDlgCatSet::BtnRepClick()
{
    QListWidgetItem* item = selectedItem();
    if (!item)
        return;
    const std::string line = lineOf(item);
    const std::string name = CategoryTable::NameOf(line);
    std::optional<NameAnswer> answer = askName(
        services_.platform, "分類の修正", "「" + sjis::toUtf8(name) + "」の修正：", sjis::toUtf8(text::trim(name)));
    if (!answer || SameStoredName(answer->sjis) == SameStoredName(name))
        return;
    if (refuseDuplicate(services_.platform, lines(), *answer))
        return;
    setLine(item, RenamedCategoryLine(line, answer->sjis));
}

void TDlgCatSet::BtnDelClick()
{
    const int row = ListItem->currentRow();
    if (row < 0)
        return;
    delete ListItem->takeItem(row);
    selectRow(std::min(row, ListItem->count() - 1));
}

void TDlgCatSet::BtnUpClick()
{
    moveSelected(-1);
}

void TDlgCatSet::BtnDownClick()
{
    moveSelected(1);
}

void TDlgCatSet::BtnFontColorClick()
{
    QListWidgetItem* item = selectedItem();
    if (!item)
        return;
    const std::string line = lineOf(item);
    if (std::optional<ColorValue> color = services_.platform.chooseColor(TextColorOrBlack(line))) {
        setLine(item, WithTextColor(line, selectedShown(), *color));
        ListItemSelect();
    }
}

void TDlgCatSet::BtnBackColorClick()
{
    QListWidgetItem* item = selectedItem();
    if (!item)
        return;
    const std::string line = lineOf(item);
    if (std::optional<ColorValue> color = services_.platform.chooseColor(BackColorOrBlack(line))) {
        setLine(item, WithBackColor(line, selectedShown(), *color));
        ListItemSelect();
    }
}

void TDlgCatSet::ChkNoColorClick()
{
    if (QListWidgetItem* item = selectedItem())
        setLine(item, WithoutColors(lineOf(item), selectedShown()));
    ListItemSelect();
}

void TDlgCatSet::BtnOkClick()
{
    if (!BtnOk->isEnabled())
        return; // the table could not be read, so it is not replaced
    const int mode = viewMode();
    std::vector<std::string> table;
    table.reserve(static_cast<std::size_t>(ListItem->count()));
    for (int row = 0; row < ListItem->count(); ++row) {
        const QListWidgetItem* item = ListItem->item(row);
        table.push_back(ConfirmedCategoryLine(lineOf(item), ShownForCheck(item->checkState() == Qt::Checked, mode)));
    }
    if (saveFiles(table, mode))
        accept();
}

// The flags written depend on the mode, so the table and Catchk must land together: when the
// settings cannot be saved the table goes back to what it was.
bool TDlgCatSet::saveFiles(const std::vector<std::string>& table, int mode)
{
    CategorySaveResult saved = SaveCategoriesWithMode(programFolder_, table, mode);
    if (!saved.ok())
        services_.platform.messageBox(kCaption, CategorySaveMessage(saved), MessageIcon::Error, MessageButtons::Ok);
    return saved.ok();
}

std::vector<std::string> TDlgCatSet::lines() const
{
    std::vector<std::string> out;
    for (int row = 0; row < ListItem->count(); ++row)
        out.push_back(lineOf(ListItem->item(row)));
    return out;
}

std::string TDlgCatSet::lineOf(const QListWidgetItem* item)
{
    return item->data(qt::kCategoryLineRole).toByteArray().toStdString();
}

void TDlgCatSet::setLine(QListWidgetItem* item, const std::string& line)
{
    item->setData(qt::kCategoryLineRole, QByteArray::fromStdString(line));
    item->setText(qt::fromSjis(text::trimRight(CategoryTable::NameOf(line))));
}

QListWidgetItem* TDlgCatSet::appendRow(const std::string& line, bool checked)
{
    auto* item = new QListWidgetItem(ListItem);
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(checked ? Qt::Checked : Qt::Unchecked);
    setLine(item, line);
    return item;
}

QListWidgetItem* TDlgCatSet::selectedItem() const
{
    return ListItem->currentItem();
}

bool TDlgCatSet::selectedShown() const
{
    const QListWidgetItem* item = selectedItem();
    return item && ShownForCheck(item->checkState() == Qt::Checked, viewMode());
}

void TDlgCatSet::selectRow(int row)
{
    if (row >= 0 && row < ListItem->count())
        ListItem->setCurrentRow(row);
}

void TDlgCatSet::moveSelected(int step)
{
    const int row = ListItem->currentRow();
    const int target = row + step;
    if (row < 0 || target < 0 || target >= ListItem->count())
        return;
    QListWidgetItem* item = ListItem->takeItem(row);
    ListItem->insertItem(target, item);
    ListItem->setCurrentRow(target);
}

// "色指定なし" shows whether the selected row has no colour at all.
void TDlgCatSet::ListItemSelect()
{
    const QListWidgetItem* item = selectedItem();
    const std::string line = item ? lineOf(item) : std::string();
    QSignalBlocker blocker(ChkNoColor);
    ChkNoColor->setChecked(item && !CategoryTable::TextColorOf(line).set && !CategoryTable::BackColorOf(line).set);
}

} // namespace kal
