#include "print/TDlgPrint.h"

#include "platform/qt/QtText.h"
#include "platform/qt/SjisValidator.h"
#include "platform/qt/Widgets.h"
#include "print/TFormPreview.h"
#include "print/qt/PrintOutput.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>

namespace kal {
namespace {

constexpr int kPatternBytes = 100;

const char* const kTitlePatterns[] = {"yyyy\"年\"m\"月のスケジュール\"", "ggge\"年\"m\"月のスケジュール\""};
const char* const kDatePatterns[] = {"(なし)", "yyyy.mm.dd", "yyyy\"年\"mm\"月\"dd\"日\"", "ggge\"年\"mm\"月\"dd\"日\"",
                                     "\"作成者: ○○○　作成日: \"yyyy.mm.dd"};

QComboBox* patternBox(const char* name, std::initializer_list<const char*> items, QWidget* parent)
{
    QComboBox* box = qt::named(new QComboBox(parent), name);
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    for (const char* item : items)
        box->addItem(QString::fromUtf8(item));
    qt::limitSjisBytes(box, kPatternBytes);
    return box;
}

QCheckBox* checkBox(const char* name, const char* caption, QWidget* parent)
{
    return qt::named(new QCheckBox(QString::fromUtf8(caption), parent), name);
}

QSpinBox* marginBox(const char* name, QWidget* parent)
{
    QSpinBox* spin = qt::named(new QSpinBox(parent), name);
    spin->setRange(kMinMargin, kMaxMargin);
    return spin;
}

QLabel* buddyLabel(const char* caption, QWidget* buddy, QWidget* parent)
{
    return qt::captionLabel(caption, parent, buddy);
}

} // namespace

TDlgPrint::TDlgPrint(qt::Services& services, std::string programFolder, qt::PrintTarget& target, PrintSource month,
                     Use use, QRect previewPlace, QWidget* parent)
    : QDialog(parent), services_(services), programFolder_(std::move(programFolder)), target_(target),
      month_(std::move(month)), previewPlace_(previewPlace)
{
    setObjectName("TDlgPrint");
    buildControls();
    layOutControls();
    connectControls();
    BtnPrint->setVisible(use == Use::PrintAndPreview);
    BtnPreview->setVisible(use == Use::PrintAndPreview);
    FormShow();
}

void TDlgPrint::buildControls()
{
    CmbTitle = patternBox("CmbTitle", {kTitlePatterns[0], kTitlePatterns[1]}, this);
    BtnFont = qt::namedButton("BtnFont", "フォント(&F)", this);
    BtnColor = qt::namedButton("BtnColor", "色(&O)", this);
    PanelTitle = new QLabel(this);
    PanelTitle->setObjectName("PanelTitle");
    PanelTitle->setFrameShape(QFrame::Panel);
    PanelTitle->setFrameShadow(QFrame::Sunken);
    PanelTitle->setAutoFillBackground(true);
    PanelTitle->setFixedHeight(52);
    PanelTitle->setMinimumWidth(380);
    PanelTitle->setTextFormat(Qt::PlainText);
    CmbDate = patternBox(
        "CmbDate", {kDatePatterns[0], kDatePatterns[1], kDatePatterns[2], kDatePatterns[3], kDatePatterns[4]}, this);

    SpinTop = marginBox("SpinTop", this);
    SpinBottom = marginBox("SpinBottom", this);
    SpinLeft = marginBox("SpinLeft", this);
    SpinRight = marginBox("SpinRight", this);

    CmbFontSize = new QComboBox(this);
    CmbFontSize->setObjectName("CmbFontSize");
    for (int size = kMinLineFont; size <= kMaxLineFont; ++size)
        CmbFontSize->addItem(QString::number(size));

    RadioOrientation = new QGroupBox(QString::fromUtf8("用紙の向き"), this);
    RadioOrientation->setObjectName("RadioOrientation");
    RadioPortrait = new QRadioButton(QString::fromUtf8("縦(&T)"), RadioOrientation);
    RadioPortrait->setObjectName("RadioPortrait");
    RadioLandscape = new QRadioButton(QString::fromUtf8("横(&L)"), RadioOrientation);
    RadioLandscape->setObjectName("RadioLandscape");

    ChkPlace = checkBox("ChkPlace", "場所を印刷する。(&E)", this);
    ChkTodo = checkBox("ChkTodo", "ToDoの件名を印刷する。(&B)", this);
    ChkUnderline = checkBox("ChkUnderline", "下線を付ける(&U)", this);
    ChkOtherMon = checkBox("ChkOtherMon", "前・次月を印刷する。(&A)", this);
    ChkLight = checkBox("ChkLight", "淡色で印刷する(&G)", this);
    ChkSatSun = checkBox("ChkSatSun", "土・日曜日は印刷しない。(&C)", this);
    ChkColor = checkBox("ChkColor", "カラー印刷", this);

    BtnPrint = qt::namedButton("BtnPrint", "印刷開始(&P)", this);
    BtnPreview = qt::namedButton("BtnPreview", "印刷ﾌﾟﾚﾋﾞｭｰ(&V)", this);
    BtnSetup = qt::namedButton("BtnSetup", "プリンタの設定(&S)", this);
    BtnOk = qt::namedButton("BtnOk", "OK", this);
    BtnOk->setDefault(true);
    BtnCancel = qt::namedButton("BtnCancel", "キャンセル", this);
}

void TDlgPrint::layOutControls()
{
    auto* titleBox = new QGroupBox(QString::fromUtf8("タイトル"), this);
    auto* title = new QGridLayout(titleBox);
    title->addWidget(buddyLabel("タイトル(&I)", CmbTitle, titleBox), 0, 0);
    title->addWidget(CmbTitle, 0, 1);
    title->addWidget(BtnFont, 0, 2);
    title->addWidget(BtnColor, 0, 3);
    title->addWidget(PanelTitle, 1, 1, 1, 3);
    title->addWidget(buddyLabel("作成日(&D)", CmbDate, titleBox), 2, 0);
    title->addWidget(CmbDate, 2, 1, 1, 3);
    title->setColumnStretch(1, 1);

    auto* marginGroup = new QGroupBox(QString::fromUtf8("余白 (mm)(&M)"), this);
    auto* margins = new QGridLayout(marginGroup);
    margins->addWidget(buddyLabel("上", SpinTop, marginGroup), 0, 0);
    margins->addWidget(SpinTop, 0, 1);
    margins->addWidget(buddyLabel("下", SpinBottom, marginGroup), 0, 2);
    margins->addWidget(SpinBottom, 0, 3);
    margins->addWidget(buddyLabel("左", SpinLeft, marginGroup), 1, 0);
    margins->addWidget(SpinLeft, 1, 1);
    margins->addWidget(buddyLabel("右", SpinRight, marginGroup), 1, 2);
    margins->addWidget(SpinRight, 1, 3);
    margins->setColumnStretch(4, 1);

    auto* radios = new QVBoxLayout(RadioOrientation);
    radios->addWidget(RadioPortrait);
    radios->addWidget(RadioLandscape);

    auto* pageRow = new QHBoxLayout;
    pageRow->addWidget(marginGroup, 1);
    pageRow->addWidget(RadioOrientation);

    auto* contentBox = new QGroupBox(QString::fromUtf8("印刷内容"), this);
    auto* content = new QGridLayout(contentBox);
    auto* sizeRow = new QHBoxLayout;
    sizeRow->addWidget(buddyLabel("文字サイズ(&Z)", CmbFontSize, contentBox));
    sizeRow->addWidget(CmbFontSize);
    sizeRow->addStretch();
    content->addLayout(sizeRow, 0, 0, 1, 2);
    content->addWidget(ChkPlace, 1, 0, 1, 2);
    content->addWidget(ChkTodo, 2, 0, 1, 2);
    content->addWidget(ChkUnderline, 3, 1);
    content->addWidget(ChkOtherMon, 4, 0, 1, 2);
    content->addWidget(ChkLight, 5, 1);
    content->addWidget(ChkSatSun, 6, 0, 1, 2);
    content->addWidget(ChkColor, 7, 0, 1, 2);
    content->setColumnMinimumWidth(0, 20);
    content->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BtnPrint);
    buttons->addWidget(BtnPreview);
    buttons->addWidget(BtnSetup);
    buttons->addStretch();
    buttons->addWidget(BtnOk);
    buttons->addWidget(BtnCancel);

    auto* main = new QVBoxLayout(this);
    main->addWidget(titleBox);
    main->addLayout(pageRow);
    main->addWidget(contentBox);
    main->addLayout(buttons);
}

void TDlgPrint::connectControls()
{
    connect(CmbTitle, &QComboBox::currentTextChanged, this, &TDlgPrint::PanelTitleUpdate);
    connect(ChkColor, &QCheckBox::toggled, this, &TDlgPrint::PanelTitleUpdate);
    connect(ChkTodo, &QCheckBox::toggled, this, &TDlgPrint::ChkTodoClick);
    connect(ChkOtherMon, &QCheckBox::toggled, this, &TDlgPrint::ChkOtherMonClick);
    connect(BtnFont, &QPushButton::clicked, this, &TDlgPrint::BtnFontClick);
    connect(BtnColor, &QPushButton::clicked, this, &TDlgPrint::BtnColorClick);
    connect(BtnPrint, &QPushButton::clicked, this, &TDlgPrint::PrintRun);
    connect(BtnPreview, &QPushButton::clicked, this, &TDlgPrint::BtnPreviewClick);
    connect(BtnSetup, &QPushButton::clicked, this, &TDlgPrint::BtnSetupClick);
    connect(BtnOk, &QPushButton::clicked, this, &TDlgPrint::BtnOkClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void TDlgPrint::FormShow()
{
    setCaption();
    showSettings(LoadPrintSettings(programFolder_));
}

void TDlgPrint::setCaption()
{
    setWindowTitle(QString::fromUtf8("印刷 - ") + target_.name());
}

void TDlgPrint::showSettings(const PrintSettings& s)
{
    titleFont_ = s.titleFont;
    titleHasColor_ = s.titleHasColor;
    CmbTitle->setEditText(qt::fromSjis(s.title));
    CmbDate->setEditText(qt::fromSjis(s.date));
    SpinTop->setValue(s.top);
    SpinBottom->setValue(s.bottom);
    SpinLeft->setValue(s.left);
    SpinRight->setValue(s.right);
    CmbFontSize->setCurrentIndex(s.fontSize - kMinLineFont);
    RadioLandscape->setChecked(s.orientation == PageOrientation::Landscape);
    RadioPortrait->setChecked(s.orientation != PageOrientation::Landscape);
    ChkPlace->setChecked(s.place);
    ChkTodo->setChecked(s.todo != TodoPrint::None);
    ChkUnderline->setChecked(s.todo != TodoPrint::Plain);
    ChkOtherMon->setChecked(s.otherMonth != OtherMonthPrint::Hidden);
    ChkLight->setChecked(s.otherMonth != OtherMonthPrint::Plain);
    ChkSatSun->setChecked(s.noWeekend);
    ChkColor->setChecked(s.color);
    ChkTodoClick();
    ChkOtherMonClick();
    PanelTitleUpdate();
}

PrintSettings TDlgPrint::settings() const
{
    PrintSettings s;
    s.title = qt::toSjisLossy(CmbTitle->currentText());
    s.date = qt::toSjisLossy(CmbDate->currentText());
    s.titleFont = titleFont_;
    s.titleHasColor = titleHasColor_;
    s.top = SpinTop->value();
    s.bottom = SpinBottom->value();
    s.left = SpinLeft->value();
    s.right = SpinRight->value();
    s.fontSize = CmbFontSize->currentIndex() + kMinLineFont;
    s.orientation = RadioLandscape->isChecked() ? PageOrientation::Landscape : PageOrientation::Portrait;
    s.place = ChkPlace->isChecked();
    if (!ChkTodo->isChecked())
        s.todo = TodoPrint::None;
    else
        s.todo = ChkUnderline->isChecked() ? TodoPrint::Underlined : TodoPrint::Plain;
    if (!ChkOtherMon->isChecked())
        s.otherMonth = OtherMonthPrint::Hidden;
    else
        s.otherMonth = ChkLight->isChecked() ? OtherMonthPrint::Light : OtherMonthPrint::Plain;
    s.noWeekend = ChkSatSun->isChecked();
    s.color = ChkColor->isChecked();
    return s;
}

void TDlgPrint::PanelTitleUpdate()
{
    const MonthLayout& month = month_.build.layout;
    PrintSettings s = settings();
    PanelTitle->setText(qt::fromSjis(PageTitleText(s, month.year, month.month)));
    PanelTitle->setFont(qt::toQFont(titleFont_));
    QPalette palette = PanelTitle->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, qt::toQColor(s.color && titleHasColor_ ? titleFont_.color : kPrintBlack));
    PanelTitle->setPalette(palette);
}

void TDlgPrint::ChkTodoClick()
{
    ChkUnderline->setEnabled(ChkTodo->isChecked());
}

void TDlgPrint::ChkOtherMonClick()
{
    ChkLight->setEnabled(ChkOtherMon->isChecked());
}

void TDlgPrint::BtnFontClick()
{
    std::optional<FontSpec> chosen = services_.platform.chooseFont(titleFont_);
    if (!chosen)
        return;
    // The font dialog has no colour: the title keeps its own, which BtnColor sets.
    titleFont_ =
        FontSpec{chosen->name, std::clamp(chosen->size, kMinTitleFont, kMaxTitleFont), chosen->style, titleFont_.color};
    titleHasColor_ = true;
    PanelTitleUpdate();
}

void TDlgPrint::BtnColorClick()
{
    std::optional<ColorValue> chosen = services_.platform.chooseColor(titleFont_.color);
    if (!chosen)
        return;
    titleFont_.color = *chosen;
    titleHasColor_ = true;
    PanelTitleUpdate();
}

bool TDlgPrint::saveSettings()
{
    files::IoResult saved = SavePrintSettings(programFolder_, settings());
    if (!saved)
        services_.platform.messageBox("印刷の設定", "印刷の設定を保存できません。\r\n" + saved.reason,
                                      MessageIcon::Error, MessageButtons::Ok);
    return saved.ok;
}

void TDlgPrint::BtnOkClick()
{
    if (saveSettings())
        accept();
}

void TDlgPrint::PrintRun()
{
    // A settings file that cannot be written does not stop the print: it is reported, and the
    // page follows the dialog.
    saveSettings();
    const MonthPage page = ComposeMonthPage(month_, settings());
    target_.setOrientation(page.settings.orientation);
    if (qt::PrintPage(services_, target_, page) == qt::PrintOutcome::Printed)
        accept();
}

void TDlgPrint::BtnPreviewClick()
{
    if (!saveSettings())
        return;
    TFormPreview preview(services_, programFolder_, target_, month_, TFormPreview::Opener::PrintDialog, previewPlace_,
                         this);
    services_.dialogs.run(preview);
}

void TDlgPrint::BtnSetupClick()
{
    target_.setOrientation(settings().orientation);
    if (!target_.setup(services_.dialogs, this))
        return;
    // The setup may have chosen another printer or turned the paper.
    setCaption();
    const bool landscape = target_.orientation() == PageOrientation::Landscape;
    RadioLandscape->setChecked(landscape);
    RadioPortrait->setChecked(!landscape);
}

} // namespace kal
