#include "app/TSetupPageMiniClock.h"

#include "platform/DateFormat.h"
#include "platform/qt/QtText.h"
#include "platform/qt/SjisValidator.h"
#include "platform/qt/Widgets.h"
#include "settings/SetupSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

namespace kal {

namespace {
constexpr int kClockStyleBytes = 64;
const char* const kPositions[] = {"画面左上", "画面中央", "画面右上", "前回終了時の位置"};
} // namespace

TSetupMiniPage::TSetupMiniPage(QWidget* parent) : TSetupPage(parent)
{
    auto* layout = pageColumn(this);
    RadioMiniPos = new TSetupRadios("RadioMiniPos", "ミニカレンダーの表示位置",
                                    {kPositions[0], kPositions[1], kPositions[2], kPositions[3]}, this);
    layout->addWidget(RadioMiniPos);
    QVBoxLayout* trans = groupColumn("透明度", this, layout);
    ChkMiniTrans = setupCheck("ChkMiniTrans", "ミニカレンダーを半透明にする。(&T)", this);
    TrackMiniTrans = qt::named(new QSlider(Qt::Horizontal, this), "TrackMiniTrans");
    TrackMiniTrans->setRange(0, kTransSliderMax);
    TrackMiniTrans->setTickPosition(QSlider::TicksBelow);
    LblMiniTransPer = qt::named(new QLabel(this), "LblMiniTransPer");
    LblMiniTransPer->setMinimumWidth(LblMiniTransPer->fontMetrics().horizontalAdvance("100%") + 8);
    auto* sliderRow = new QHBoxLayout;
    sliderRow->addWidget(TrackMiniTrans, 1);
    sliderRow->addWidget(LblMiniTransPer);
    trans->addWidget(ChkMiniTrans);
    trans->addLayout(sliderRow);
    ChkSchLine = setupCheck("ChkSchLine", "スケジュールのある日に下線を引く。(&U)", this);
    ChkMiniBar = setupCheck("ChkMiniBar", "ステータスバーを表示する。(&S)", this);
    layout->addWidget(ChkSchLine);
    layout->addWidget(ChkMiniBar);
    connect(ChkMiniTrans, &QCheckBox::toggled, this, &TSetupMiniPage::updateEnabled);
    connect(TrackMiniTrans, &QSlider::valueChanged, this, &TSetupMiniPage::ShowPercent);
}

void TSetupMiniPage::load(const AppSettings& s)
{
    RadioMiniPos->setIndex(s.miniPosMode);
    ChkMiniTrans->setChecked(s.trans == 1);
    TrackMiniTrans->setValue(sliderFromTransValue(s.transValue));
    ChkSchLine->setChecked(s.schLine == 1);
    ChkMiniBar->setChecked(s.miniStatusBar == 1);
    ShowPercent();
    updateEnabled();
}

void TSetupMiniPage::store(AppSettings& s) const
{
    s.miniPosMode = RadioMiniPos->index();
    s.trans = checkedFlag(ChkMiniTrans->isChecked());
    s.transValue = transValueFromSlider(TrackMiniTrans->value());
    s.schLine = checkedFlag(ChkSchLine->isChecked());
    s.miniStatusBar = checkedFlag(ChkMiniBar->isChecked());
}

void TSetupMiniPage::updateEnabled()
{
    TrackMiniTrans->setEnabled(ChkMiniTrans->isChecked());
}

void TSetupMiniPage::ShowPercent()
{
    LblMiniTransPer->setText(qt::fromUtf8(transPercentText(TrackMiniTrans->value())));
}

TSetupClockPage::TSetupClockPage(qt::Services& services, QWidget* parent) : TSetupPage(parent), services_(services)
{
    auto* layout = pageColumn(this);
    RadioClType = new TSetupRadios("RadioClType", "時計の種類", {"グラフィック", "フォント"}, this);
    layout->addWidget(RadioClType);
    QVBoxLayout* graphic = groupColumn("グラフィック", this, layout);
    RadioClhour = new TSetupRadios("RadioClhour", "", {"12時間表示", "24時間表示"}, this);
    RadioClhour->setFlat(true);
    ChkClsec = setupCheck("ChkClsec", "秒を表示する。(&S)", this);
    graphic->addWidget(RadioClhour);
    graphic->addWidget(ChkClsec);
    QVBoxLayout* text = groupColumn("フォント", this, layout);
    CmbClStyle = qt::named(new QComboBox(this), "CmbClStyle");
    CmbClStyle->setEditable(true);
    CmbClStyle->addItem(QString::fromUtf8("yyyy\"年\"m\"月\"d\"日(\"aaa\") \"hh\":\"mm\":\"ss"));
    CmbClStyle->addItem(QString::fromUtf8("yyyy/mm/dd hh:mm:ss"));
    qt::limitSjisBytes(CmbClStyle, kClockStyleBytes);
    PanelClock = qt::named(new QLabel(this), "PanelClock");
    PanelClock->setFrameShape(QFrame::StyledPanel);
    PanelClock->setMinimumHeight(32);
    BtnClockFont = qt::namedButton("BtnClockFont", "フォント(&F)...", this);
    BtnClockColor = qt::namedButton("BtnClockColor", "文字色(&C)...", this);
    ChkLeft = setupCheck("ChkLeft", "左寄せで表示する。(&L)", this);
    text->addWidget(CmbClStyle);
    text->addWidget(PanelClock);
    auto* fontRow = new QHBoxLayout;
    fontRow->addWidget(ChkLeft);
    fontRow->addStretch();
    fontRow->addWidget(BtnClockFont);
    fontRow->addWidget(BtnClockColor);
    text->addLayout(fontRow);
    connect(RadioClType, &TSetupRadios::changed, this, &TSetupClockPage::updateEnabled);
    connect(CmbClStyle, &QComboBox::editTextChanged, this, &TSetupClockPage::ShowPreview);
    connect(BtnClockFont, &QPushButton::clicked, this, &TSetupClockPage::BtnClockFontClick);
    connect(BtnClockColor, &QPushButton::clicked, this, &TSetupClockPage::BtnClockColorClick);
    connect(ChkLeft, &QCheckBox::toggled, this, &TSetupClockPage::ShowPreview);
}

void TSetupClockPage::load(const AppSettings& s)
{
    RadioClType->setIndex(s.clockType);
    RadioClhour->setIndex(s.clhour);
    CmbClStyle->setEditText(qt::fromSjis(s.clockStyle));
    font_ = s.clockFont;
    ChkLeft->setChecked(s.clockLeft == 1);
    ChkClsec->setChecked(s.clsec == 1);
    updateEnabled();
    ShowPreview();
}

void TSetupClockPage::store(AppSettings& s) const
{
    s.clockType = RadioClType->index();
    s.clhour = RadioClhour->index();
    s.clockStyle = qt::toSjisLossy(CmbClStyle->currentText());
    s.clockFont = font_;
    s.clockLeft = checkedFlag(ChkLeft->isChecked());
    s.clsec = checkedFlag(ChkClsec->isChecked());
}

void TSetupClockPage::updateEnabled()
{
    const bool text = RadioClType->index() == 1;
    for (QWidget* w : std::initializer_list<QWidget*>{CmbClStyle, BtnClockFont, BtnClockColor, ChkLeft})
        w->setEnabled(text);
    RadioClhour->setEnabled(!text);
    ChkClsec->setEnabled(!text);
}

void TSetupClockPage::ShowPreview()
{
    const std::string pattern = qt::toUtf8(CmbClStyle->currentText());
    PanelClock->setText(qt::fromUtf8(text::formatDateTimeUtf8(pattern, services_.platform.now())));
    PanelClock->setFont(qt::toQFont(font_));
    QPalette palette = PanelClock->palette();
    palette.setColor(QPalette::WindowText, qt::toQColor(font_.color));
    PanelClock->setPalette(palette);
    PanelClock->setAlignment((ChkLeft->isChecked() ? Qt::AlignLeft : Qt::AlignHCenter) | Qt::AlignVCenter);
}

void TSetupClockPage::BtnClockFontClick()
{
    if (std::optional<FontSpec> chosen = services_.platform.chooseFont(font_)) {
        const ColorValue color = font_.color;
        font_ = *chosen;
        font_.color = color;
        ShowPreview();
    }
}

} // namespace kal

namespace kal {

void TSetupClockPage::BtnClockColorClick()
{
    if (std::optional<ColorValue> chosen = services_.platform.chooseColor(font_.color)) {
        font_.color = *chosen;
        ShowPreview();
    }
}

} // namespace kal
