#include "app/TSetupPageScheduleMemo.h"

#include "memo/TDlgMemo.h"
#include "platform/DateFormat.h"
#include "platform/qt/QtText.h"
#include "platform/qt/SjisValidator.h"
#include "platform/qt/Widgets.h"
#include "schedule/TDlgItemSet.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kal {

namespace {
constexpr int kMemoTitleBytes = 64;
}

TSetupSchedulePage::TSetupSchedulePage(qt::Services& services, std::string programFolder, QWidget* parent)
    : TSetupPage(parent), services_(services), programFolder_(std::move(programFolder))
{
    auto* layout = pageColumn(this);
    QVBoxLayout* lists = groupColumn("入力候補の設定", this, layout);
    auto* grid = new QGridLayout;
    lists->addLayout(grid);
    BtnSchFrom = qt::namedButton("BtnSchFrom", "開始時刻(&S)...", this);
    BtnSchTo = qt::namedButton("BtnSchTo", "終了時刻(&E)...", this);
    BtnSchTitle = qt::namedButton("BtnSchTitle", "内容(&T)...", this);
    BtnSchPlace = qt::namedButton("BtnSchPlace", "場所(&P)...", this);
    const std::pair<QPushButton*, PickListType> buttons[] = {{BtnSchFrom, PickListType::StartTime},
                                                             {BtnSchTo, PickListType::EndTime},
                                                             {BtnSchTitle, PickListType::Title},
                                                             {BtnSchPlace, PickListType::Place}};
    int i = 0;
    for (const auto& [button, type] : buttons) {
        grid->addWidget(button, i / 2, i % 2);
        ++i;
        connect(button, &QPushButton::clicked, this, [this, type = type] { EditPickList(type); });
    }
    QVBoxLayout* columns = groupColumn("スケジュールリストに表示する項目", this, layout);
    ChkAlarmIcon = setupCheck("ChkAlarmIcon", "アラーム(&A)", this);
    ChkStrTime = setupCheck("ChkStrTime", "開始時刻(&1)", this);
    ChkEndTime = setupCheck("ChkEndTime", "終了時刻(&2)", this);
    ChkTitle = setupCheck("ChkTitle", "内容(&3)", this);
    ChkPlace = setupCheck("ChkPlace", "場所(&4)", this);
    ChkBunrui = setupCheck("ChkBunrui", "分類(&5)", this);
    for (const auto& [flag, box] : schViewBoxes())
        columns->addWidget(box);
}

FlagBoxes<SchViewFlag> TSetupSchedulePage::schViewBoxes() const
{
    return {{SchViewFlag::AlarmIcon, ChkAlarmIcon}, {SchViewFlag::StartTime, ChkStrTime},
            {SchViewFlag::EndTime, ChkEndTime},     {SchViewFlag::Contents, ChkTitle},
            {SchViewFlag::Place, ChkPlace},         {SchViewFlag::Category, ChkBunrui}};
}

void TSetupSchedulePage::load(const AppSettings& s)
{
    showFlags(schViewBoxes(), s.schView);
}

void TSetupSchedulePage::store(AppSettings& s) const
{
    takeFlags(schViewBoxes(), s.schView);
}

void TSetupSchedulePage::EditPickList(PickListType type)
{
    TDlgItemSet dialog(services_, programFolder_, type, window());
    services_.dialogs.run(dialog);
}

TSetupMemoPage::TSetupMemoPage(qt::Services& services, QWidget* parent) : TSetupPage(parent), services_(services)
{
    auto* layout = pageColumn(this);
    QVBoxLayout* title = groupColumn("メモリストのタイトル", this, layout);
    ChkMemoTitle = setupCheck("ChkMemoTitle", "タイトルを表示する。(&T)", this);
    CmbMemoTitle = qt::named(new QComboBox(this), "CmbMemoTitle");
    CmbMemoTitle->setEditable(true);
    for (const char* item : {"メモ", "日記帳", "yyyy/m/d \"のメモ\"", "yyyy\"年\"m\"月\"d\"日（\"aaa\"）のメモ\"",
                             "gggge\"年\"m\"月\"d\"日（\"aaaa\"）のメモ\""})
        CmbMemoTitle->addItem(QString::fromUtf8(item));
    qt::limitSjisBytes(CmbMemoTitle, kMemoTitleBytes);
    PanelMemoTitle = qt::named(new QLabel(this), "PanelMemoTitle");
    PanelMemoTitle->setFrameShape(QFrame::StyledPanel);
    title->addWidget(ChkMemoTitle);
    title->addWidget(CmbMemoTitle);
    title->addWidget(PanelMemoTitle);
    RadioMemo = new TSetupRadios("RadioMemo", "メモリストの表示",
                                 {"メモがあるときのみ表示する。", "常に表示する。", "表示しない。"}, this);
    layout->addWidget(RadioMemo);
    ButTemplate = qt::namedButton("ButTemplate", "メモのテンプレート(&M)...", this);
    layout->addLayout(qt::rightAlignedRow({ButTemplate}));
    connect(ChkMemoTitle, &QCheckBox::toggled, this, &TSetupMemoPage::updateEnabled);
    connect(CmbMemoTitle, &QComboBox::editTextChanged, this, &TSetupMemoPage::ShowTitlePreview);
    connect(ButTemplate, &QPushButton::clicked, this, &TSetupMemoPage::ButTemplateClick);
}

void TSetupMemoPage::load(const AppSettings& s)
{
    ChkMemoTitle->setChecked(s.mtUmu);
    CmbMemoTitle->setEditText(qt::fromSjis(s.mTitle));
    RadioMemo->setIndex(s.memo);
    updateEnabled();
    ShowTitlePreview();
}

void TSetupMemoPage::store(AppSettings& s) const
{
    s.mtUmu = ChkMemoTitle->isChecked();
    s.mTitle = qt::toSjisLossy(CmbMemoTitle->currentText());
    s.memo = RadioMemo->index();
}

void TSetupMemoPage::updateEnabled()
{
    CmbMemoTitle->setEnabled(ChkMemoTitle->isChecked());
}

void TSetupMemoPage::ShowTitlePreview()
{
    const std::string pattern = qt::toUtf8(CmbMemoTitle->currentText());
    PanelMemoTitle->setText(" " + qt::fromUtf8(text::formatDateUtf8(pattern, services_.platform.now().date)));
}

void TSetupMemoPage::ButTemplateClick()
{
    if (!memoFolder)
        return;
    TDlgMemo dialog(services_, MemoEditorTarget{MemoEditorMode::Template, memoFolder(), {}, {}}, window());
    if (memoFont)
        dialog.MemoDay->setFont(qt::toQFont(memoFont()));
    services_.dialogs.run(dialog);
}

} // namespace kal
