#include "exchange/TDlgCsvToSch.h"

#include "exchange/CsvText.h"
#include "exchange/qt/ImportOptionBoxes.h"
#include "platform/qt/QtText.h"
#include "platform/qt/Widgets.h"

#include <QApplication>
#include <QCheckBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace kal {
namespace {

// A line of garbage may hold any number of commas; the list shows no more columns than this.
constexpr int kMostColumnsShown = 256;

const QColor kAssigned(0, 255, 255); // aqua
const QColor kUnassignedBack(Qt::white);

// Selected rows white on navy, also while the list does not have the focus.
void paintSelectionNavy(QListWidget* list)
{
    QPalette palette = list->palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        palette.setColor(group, QPalette::Highlight, QColor(0, 0, 128));
        palette.setColor(group, QPalette::HighlightedText, Qt::white);
        palette.setColor(group, QPalette::Base, Qt::white);
    }
    list->setPalette(palette);
}

// The target labels are padded to a fixed width in bytes, so they line up in a fixed-pitch font.
QListWidget* mappingList(const char* name, QWidget* parent)
{
    auto* list = qt::named(new QListWidget(parent), name);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    paintSelectionNavy(list);
    return list;
}

// Rows rebuilt with their texts and marks; the current row stays where it was.
void fillRows(QListWidget* list, const std::vector<QString>& texts, const std::vector<bool>& assigned)
{
    const int current = list->currentRow();
    list->clear();
    for (std::size_t i = 0; i < texts.size(); ++i) {
        auto* item = new QListWidgetItem(texts[i], list);
        item->setBackground(assigned[i] ? kAssigned : kUnassignedBack);
    }
    if (current >= 0 && current < list->count())
        list->setCurrentRow(current);
}

void deselect(QListWidget* list)
{
    list->setCurrentRow(-1);
    list->clearSelection();
}

class WaitCursor {
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

TDlgCsvToSch::TDlgCsvToSch(qt::Services& services, CsvImportSource source, QWidget* parent)
    : QDialog(parent), services_(services), source_(std::move(source))
{
    setObjectName("TDlgCsvToSch");
    setWindowTitle(QString::fromUtf8(kCsvReadCaption) + " - " + qt::fromUtf8(source_.path));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    buildControls();
    layOutControls();
    connectControls();
    FormShow();
}

void TDlgCsvToSch::buildControls()
{
    LabelCsvToSch = qt::named(qt::captionLabel("変換先項目　：　変換元項目", this), "LabelCsvToSch");
    ListCsvToSch = mappingList("ListCsvToSch", this);
    LabelCsvToSch->setBuddy(ListCsvToSch);
    LabelCsvItem = qt::named(new QLabel(this), "LabelCsvItem");
    ListCsvItem = mappingList("ListCsvItem", this);
    LabelCsvItem->setBuddy(ListCsvItem);
    ListCsvToSch->setMinimumSize(340, 160);
    ListCsvItem->setMinimumSize(220, 160);

    BtnLeft = qt::namedButton("BtnLeft", "< 選択", this);
    BtnAllLeft = qt::namedButton("BtnAllLeft", "<< 全選択", this);
    BtnRight = qt::namedButton("BtnRight", "クリア >", this);
    BtnAllRight = qt::namedButton("BtnAllRight", "全クリア >>", this);
    BtnBefore = qt::namedButton("BtnBefore", "< 前", this);
    BtnNext = qt::namedButton("BtnNext", "次 >", this);

    Chk1stHeader =
        qt::named(new QCheckBox(QString::fromUtf8("先頭のレコードは見出しとする。(&H)"), this), "Chk1stHeader");
    ChkDubleNo = qt::duplicateCheckBox(this);
    ChkCategory = qt::newCategoryBox(this);

    BtnDataCheck = qt::namedButton("BtnDataCheck", "データチェック", this);
    BtnDataCheck->setDefault(true);
    BtnConvert = qt::namedButton("BtnConvert", "実行", this);
    CancelBtn = qt::namedButton("CancelBtn", "キャンセル", this);
}

void TDlgCsvToSch::layOutControls()
{
    auto* targets = new QVBoxLayout;
    targets->addWidget(LabelCsvToSch);
    targets->addWidget(ListCsvToSch, 1);

    auto* commands = new QVBoxLayout;
    commands->addStretch();
    for (QPushButton* button : {BtnLeft, BtnAllLeft, BtnRight, BtnAllRight})
        commands->addWidget(button);
    commands->addStretch();

    auto* browse = new QHBoxLayout;
    browse->addStretch();
    browse->addWidget(BtnBefore);
    browse->addWidget(BtnNext);
    auto* columns = new QVBoxLayout;
    columns->addWidget(LabelCsvItem);
    columns->addWidget(ListCsvItem, 1);
    columns->addLayout(browse);

    auto* mapping = new QHBoxLayout;
    mapping->addLayout(targets, 3);
    mapping->addLayout(commands);
    mapping->addLayout(columns, 2);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(mapping, 1);
    for (QCheckBox* option : {Chk1stHeader, ChkDubleNo, ChkCategory})
        layout->addWidget(option);
    layout->addLayout(qt::rightAlignedRow({BtnDataCheck, BtnConvert, CancelBtn}));
}

void TDlgCsvToSch::connectControls()
{
    connect(BtnLeft, &QPushButton::clicked, this, &TDlgCsvToSch::BtnLeftClick);
    connect(BtnAllLeft, &QPushButton::clicked, this, &TDlgCsvToSch::BtnAllLeftClick);
    connect(BtnRight, &QPushButton::clicked, this, &TDlgCsvToSch::BtnRightClick);
    connect(BtnAllRight, &QPushButton::clicked, this, &TDlgCsvToSch::BtnAllRightClick);
    connect(BtnBefore, &QPushButton::clicked, this, &TDlgCsvToSch::BtnBeforeClick);
    connect(BtnNext, &QPushButton::clicked, this, &TDlgCsvToSch::BtnNextClick);
    // A double click on a column assigns it to the selected target, like "< 選択".
    connect(ListCsvItem, &QListWidget::itemDoubleClicked, this, &TDlgCsvToSch::BtnLeftClick);
    for (QCheckBox* option : {Chk1stHeader, ChkDubleNo, ChkCategory})
        connect(option, &QCheckBox::toggled, this, &TDlgCsvToSch::OptionChanged);
    connect(BtnDataCheck, &QPushButton::clicked, this, &TDlgCsvToSch::BtnDataCheckClick);
    connect(BtnConvert, &QPushButton::clicked, this, &TDlgCsvToSch::BtnConvertClick);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
}

void TDlgCsvToSch::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (centred_ || !screen())
        return;
    centred_ = true;
    move(screen()->availableGeometry().center() - rect().center());
}

void TDlgCsvToSch::FormShow()
{
    mapping_.clear();
    position_ = 1;
    widest_ = 0;
    BtnConvert->setEnabled(false);
    ShowLine();
    ListCsvItem->setCurrentRow(0);
    ListCsvToSch->setCurrentRow(0);
}

void TDlgCsvToSch::ShowLine()
{
    const int count = static_cast<int>(source_.lines.size());
    shownColumns_ =
        count > 0 ? splitCsvLine(source_.lines[static_cast<std::size_t>(position_ - 1)]) : std::vector<std::string>{};
    widest_ = std::min(std::max(widest_, static_cast<int>(shownColumns_.size())), kMostColumnsShown);
    LabelCsvItem->setText(QString::fromUtf8("CSV項目一覧 [%1/%2]").arg(count > 0 ? position_ : 0).arg(count));

    std::vector<QString> columnTexts;
    std::vector<bool> columnMarks;
    for (int column = 0; column < widest_; ++column) {
        columnTexts.push_back(qt::fromSjis(csvColumn(shownColumns_, column)));
        columnMarks.push_back(mapping_.isAssigned(column));
    }
    fillRows(ListCsvItem, columnTexts, columnMarks);

    std::vector<QString> targetTexts;
    std::vector<bool> targetMarks;
    for (int target = 0; target < kCsvTargetCount; ++target) {
        targetTexts.push_back(qt::fromSjis(csvTargetRow(target, mapping_.columnOf(target), shownColumns_)));
        targetMarks.push_back(mapping_.columnOf(target) != kUnassigned);
    }
    fillRows(ListCsvToSch, targetTexts, targetMarks);
}

// Every change of the mapping asks for a new data check.
void TDlgCsvToSch::MappingChanged()
{
    BtnConvert->setEnabled(false);
    ShowLine();
    deselect(ListCsvToSch);
    deselect(ListCsvItem);
}

// The counts of a data check hold only for the options it ran with.
void TDlgCsvToSch::OptionChanged()
{
    BtnConvert->setEnabled(false);
}

void TDlgCsvToSch::BtnLeftClick()
{
    const int target = ListCsvToSch->currentRow();
    const int column = ListCsvItem->currentRow();
    if (target < 0 || column < 0 || mapping_.isAssigned(column))
        return;
    mapping_.release(target);
    mapping_.assign(target, column);
    MappingChanged();
}

void TDlgCsvToSch::BtnAllLeftClick()
{
    mapping_.assignInOrder(static_cast<int>(shownColumns_.size()));
    MappingChanged();
}

void TDlgCsvToSch::BtnRightClick()
{
    const int target = ListCsvToSch->currentRow();
    if (target < 0)
        return;
    mapping_.release(target);
    MappingChanged();
}

void TDlgCsvToSch::BtnAllRightClick()
{
    mapping_.clear();
    MappingChanged();
}

void TDlgCsvToSch::BtnBeforeClick()
{
    if (position_ <= 1)
        return;
    --position_;
    ShowLine();
}

void TDlgCsvToSch::BtnNextClick()
{
    if (position_ >= static_cast<int>(source_.lines.size()))
        return;
    ++position_;
    ShowLine();
}

void TDlgCsvToSch::BtnDataCheckClick()
{
    CsvConvert(ImportRun::Check);
}

void TDlgCsvToSch::BtnConvertClick()
{
    if (BtnConvert->isEnabled())
        CsvConvert(ImportRun::Execute);
}

CsvImportRequest TDlgCsvToSch::request() const
{
    CsvImportRequest request;
    request.lines = source_.lines;
    request.mapping = mapping_;
    request.options.firstLineIsHeader = Chk1stHeader->isChecked();
    request.options.import.skipDuplicates = ChkDubleNo->isChecked();
    request.options.import.addCategories = ChkCategory->isChecked();
    request.dataPath = source_.dataPath;
    request.programFolder = source_.programFolder;
    return request;
}

void TDlgCsvToSch::CsvConvert(ImportRun run)
{
    ImportOutcome outcome;
    {
        WaitCursor busy;
        outcome = runCsvImport(request(), run);
    }
    wroteFiles_ = wroteFiles_ || outcome.wroteFiles;
    if (!outcome.ok()) {
        BtnConvert->setEnabled(false);
        services_.platform.messageBox(kCsvReadCaption, outcome.message, MessageIcon::Error, MessageButtons::Ok);
        return;
    }
    services_.platform.messageBox(kCsvReadCaption, outcome.message, MessageIcon::Information, MessageButtons::Ok);
    if (run == ImportRun::Execute) {
        accept();
        return;
    }
    BtnConvert->setEnabled(true);
}

} // namespace kal
