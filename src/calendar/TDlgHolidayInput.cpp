#include "calendar/TDlgHolidayInput.h"

#include "platform/qt/QtText.h"
#include "platform/qt/SjisValidator.h"
#include "platform/qt/Widgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace kal {
namespace {

constexpr const char* kUpdateCaption = "祝日・休日・記念日更新";
constexpr int kNameBytes = 40;

QComboBox* fixedCombo(const char* name, const QStringList& rows, QWidget* parent)
{
    auto* combo = qt::named(new QComboBox(parent), name);
    combo->addItems(rows);
    combo->setCurrentIndex(-1);
    return combo;
}

QStringList monthRows()
{
    QStringList rows{QString::fromUtf8("毎月")};
    for (int month = 1; month <= 12; ++month)
        rows << QString::number(month) + QString::fromUtf8("月");
    return rows;
}

QStringList dayRows()
{
    QStringList rows;
    for (int day = 1; day <= 31; ++day)
        rows << QString::number(day) + QString::fromUtf8("日");
    return rows;
}

QLineEdit* yearEdit(const char* name, QWidget* parent)
{
    auto* edit = qt::named(new QLineEdit(parent), name);
    edit->setMaxLength(4);
    edit->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]{0,4}"), edit));
    edit->setInputMethodHints(Qt::ImhDigitsOnly | Qt::ImhPreferLatin);
    edit->setFixedWidth(edit->fontMetrics().horizontalAdvance("00000") + 12);
    return edit;
}

void choose(QComboBox* combo, int index)
{
    combo->setCurrentIndex(index >= 0 && index < combo->count() ? index : -1);
}

} // namespace

TDlgHolidayInput::TDlgHolidayInput(qt::Services& services, HolidayInputRequest request, QWidget* parent)
    : QDialog(parent), services_(services), request_(std::move(request))
{
    setObjectName("TDlgHolidayInput");
    setWindowTitle(QString::fromUtf8(kUpdateCaption));
    buildControls();
    buildLayout();
    connect(BtnOk, &QPushButton::clicked, this, &TDlgHolidayInput::BtnOkClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ChkIreg, &QCheckBox::toggled, this, &TDlgHolidayInput::ChkIregClick);
    connect(CmbWeekNo, &QComboBox::currentIndexChanged, this, &TDlgHolidayInput::ChkIregClick);
    FormShow();
}

void TDlgHolidayInput::buildControls()
{
    EdtTitle = qt::named(new QLineEdit(this), "EdtTitle");
    qt::limitSjisBytes(EdtTitle, kNameBytes);
    CmbBunrui = fixedCombo("CmbBunrui",
                           {QString::fromUtf8("祝日"), QString::fromUtf8("休日"), QString::fromUtf8("記念日")}, this);
    EditFromYear = yearEdit("EditFromYear", this);
    EditToYear = yearEdit("EditToYear", this);
    CmbMonth = fixedCombo("CmbMonth", monthRows(), this);
    CmbDay = fixedCombo("CmbDay", dayRows(), this);
    CmbDay->setMaxVisibleItems(16);
    ChkIreg = qt::named(new QCheckBox(QString::fromUtf8("曜日で設定(&W)"), this), "ChkIreg");
    CmbWeekNo = fixedCombo("CmbWeekNo",
                           {QString::fromUtf8("毎週"), QString::fromUtf8("第1"), QString::fromUtf8("第2"),
                            QString::fromUtf8("第3"), QString::fromUtf8("第4"), QString::fromUtf8("最終")},
                           this);
    CmbWeek = fixedCombo("CmbWeek",
                         {QString::fromUtf8("日曜日"), QString::fromUtf8("月曜日"), QString::fromUtf8("火曜日"),
                          QString::fromUtf8("水曜日"), QString::fromUtf8("木曜日"), QString::fromUtf8("金曜日"),
                          QString::fromUtf8("土曜日")},
                         this);
    CmbWMonth = fixedCombo("CmbWMonth", monthRows(), this);
    BtnOk = qt::named(new QPushButton("OK", this), "BtnOk");
    BtnOk->setDefault(true);
    BtnCancel = qt::namedButton("BtnCancel", "キャンセル", this);
}

void TDlgHolidayInput::buildLayout()
{
    auto* fields = new QGridLayout;
    auto label = [this](const char* caption, QWidget* buddy) { return qt::captionLabel(caption, this, buddy); };
    fields->addWidget(label("名称(&N)：", EdtTitle), 0, 0);
    fields->addWidget(EdtTitle, 0, 1, 1, 5);
    fields->addWidget(label("分類(&K)：", CmbBunrui), 1, 0);
    fields->addWidget(CmbBunrui, 1, 1, 1, 2);
    fields->addWidget(label("適用年(&Y)：", EditFromYear), 2, 0);
    auto* years = new QHBoxLayout;
    years->addWidget(EditFromYear);
    years->addWidget(qt::captionLabel("から", this));
    years->addWidget(EditToYear);
    EditToYear->setAccessibleName(QString::fromUtf8("適用年（まで）"));
    years->addWidget(qt::captionLabel("まで", this));
    years->addStretch();
    fields->addLayout(years, 2, 1, 1, 5);
    fields->addWidget(label("日付(&D)：", CmbMonth), 3, 0);
    fields->addWidget(CmbMonth, 3, 1);
    fields->addWidget(CmbDay, 3, 2);
    fields->addWidget(ChkIreg, 4, 0, 1, 3);
    fields->addWidget(label("週：", CmbWeekNo), 5, 0);
    fields->addWidget(CmbWeekNo, 5, 1);
    fields->addWidget(label("曜日：", CmbWeek), 5, 2, Qt::AlignRight);
    fields->addWidget(CmbWeek, 5, 3);
    fields->addWidget(label("月：", CmbWMonth), 5, 4, Qt::AlignRight);
    fields->addWidget(CmbWMonth, 5, 5);
    fields->setColumnStretch(5, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addStretch();
    layout->addLayout(qt::rightAlignedRow({BtnOk, BtnCancel}));
}

void TDlgHolidayInput::FormShow()
{
    const bool correcting = request_.mode == HolidayInputMode::Correct && request_.rule;
    setWindowTitle(QString::fromUtf8(correcting ? "祝日・休日・記念日訂正" : "祝日・休日・記念日新規登録"));
    HolidayChoices choices = correcting ? HolidayChoicesOf(request_.rule->line) : HolidayChoicesFor(request_.selected);
    if (!correcting)
        choices.kind = request_.kind;
    showChoices(choices);
    // Qt cannot ask an input method for hiragana, so AutoIme leaves the name alone; the year
    // fields ask for Latin digits.
    EdtTitle->setFocus();
}

void TDlgHolidayInput::showChoices(const HolidayChoices& c)
{
    QSignalBlocker blockIreg(ChkIreg), blockWeekNo(CmbWeekNo);
    EdtTitle->setText(qt::fromSjis(c.name));
    choose(CmbBunrui, c.kind);
    EditFromYear->setText(QString::fromStdString(c.fromYear));
    EditToYear->setText(QString::fromStdString(c.toYear));
    choose(CmbMonth, c.month);
    choose(CmbDay, c.day);
    ChkIreg->setChecked(c.weekdayRule);
    choose(CmbWeekNo, c.weekNo);
    choose(CmbWeek, c.weekday);
    choose(CmbWMonth, c.weekMonth);
    ChkIregClick();
}

void TDlgHolidayInput::ChkIregClick()
{
    const bool weekday = ChkIreg->isChecked();
    CmbMonth->setEnabled(!weekday);
    CmbDay->setEnabled(!weekday);
    CmbWeekNo->setEnabled(weekday);
    CmbWeek->setEnabled(weekday);
    CmbWMonth->setEnabled(weekday && CmbWeekNo->currentIndex() != 0);
}

HolidayChoices TDlgHolidayInput::choicesFromControls() const
{
    HolidayChoices c;
    c.name = qt::toSjisLossy(EdtTitle->text());
    c.kind = CmbBunrui->currentIndex();
    c.fromYear = qt::toUtf8(EditFromYear->text());
    c.toYear = qt::toUtf8(EditToYear->text());
    c.weekdayRule = ChkIreg->isChecked();
    c.month = CmbMonth->currentIndex();
    c.day = CmbDay->currentIndex();
    c.weekNo = CmbWeekNo->currentIndex();
    c.weekday = CmbWeek->currentIndex();
    c.weekMonth = CmbWMonth->currentIndex();
    return c;
}

QWidget* TDlgHolidayInput::fieldWidget(HolidayField field) const
{
    switch (field) {
    case HolidayField::Name:
        return EdtTitle;
    case HolidayField::Kind:
        return CmbBunrui;
    case HolidayField::FromYear:
        return EditFromYear;
    case HolidayField::ToYear:
        return EditToYear;
    case HolidayField::WeekMonth:
        return CmbWMonth;
    case HolidayField::Day:
        return CmbDay;
    case HolidayField::None:
        break;
    }
    return nullptr;
}

void TDlgHolidayInput::BtnOkClick()
{
    const HolidayChoices choices = choicesFromControls();
    if (std::optional<HolidayInputError> error = CheckHolidayChoices(choices)) {
        services_.platform.messageBox("入力エラー", error->message, MessageIcon::Error, MessageButtons::Ok);
        if (QWidget* field = fieldWidget(error->focus))
            field->setFocus();
        return;
    }
    if (writeRule(ComposeHolidayLine(choices)))
        accept();
}

bool TDlgHolidayInput::writeRule(const std::string& line)
{
    const std::optional<store::LineRef> replaced =
        request_.mode == HolidayInputMode::Correct ? request_.rule : std::optional<store::LineRef>{};
    const store::EditResult result = SaveHolidayLine(request_.path, replaced, line);
    switch (result.status) {
    case store::EditStatus::Done:
        return true;
    case store::EditStatus::Changed:
        changedMeanwhile_ = true;
        services_.platform.messageBox(qt::toUtf8(windowTitle()),
                                      "祝日・休日・記念日が他で変更されています。\r\n表示を更新します。",
                                      MessageIcon::Information, MessageButtons::Ok);
        reject();
        return false;
    case store::EditStatus::WriteFailed:
        services_.platform.messageBox(kUpdateCaption, "祝日・休日・記念日を保存できません。\r\n" + result.reason,
                                      MessageIcon::Error, MessageButtons::Ok);
        return false;
    }
    return false;
}

} // namespace kal
