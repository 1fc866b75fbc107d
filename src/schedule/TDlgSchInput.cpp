#include "schedule/TDlgSchInput.h"

#include "platform/ByteText.h"
#include "platform/IniFile.h"
#include "platform/qt/QtText.h"
#include "platform/qt/SjisValidator.h"
#include "platform/qt/Widgets.h"
#include "schedule/PickList.h"
#include "schedule/TDlgCatSet.h"
#include "schedule/qt/CategoryCombo.h"
#include "settings/AppSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include <functional>

namespace kal {
namespace {

constexpr const char* kInputErrorCaption = "入力エラー";
constexpr const char* kUpdateCaption = "スケジュール更新";
constexpr Qt::InputMethodHints kTimeHints = Qt::ImhPreferNumbers | Qt::ImhPreferLatin | Qt::ImhNoPredictiveText;

// Tells the dialog when its list is about to drop down.
class DropDownComboBox : public QComboBox {
public:
    using QComboBox::QComboBox;
    std::function<void()> onDropDown;

    void showPopup() override
    {
        if (onDropDown)
            onDropDown();
        QComboBox::showPopup();
    }
};

std::string sjisOf(const QComboBox* combo)
{
    return qt::toSjisLossy(combo->currentText());
}

QComboBox* makeEditCombo(QComboBox* combo, const char* name, int maxBytes, int visibleRows)
{
    qt::named(combo, name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->setMaxVisibleItems(visibleRows);
    qt::limitSjisBytes(combo, maxBytes);
    return combo;
}

QCheckBox* makeCheck(const char* caption, const char* name, QWidget* parent)
{
    return qt::named(new QCheckBox(QString::fromUtf8(caption), parent), name);
}

QComboBox* makeFixedCombo(const char* name, const std::vector<const char*>& rows, QWidget* parent)
{
    auto* combo = qt::named(new QComboBox(parent), name);
    for (const char* row : rows)
        combo->addItem(QString::fromUtf8(row));
    return combo;
}

void setRows(QComboBox* combo, const std::vector<std::string>& rows)
{
    combo->clear();
    for (const std::string& row : rows)
        combo->addItem(qt::fromSjis(row));
    combo->setCurrentIndex(-1);
    combo->clearEditText();
}

} // namespace

TDlgSchInput::TDlgSchInput(qt::Services& services, SchInputRequest request, QWidget* parent)
    : QDialog(parent), services_(services), request_(std::move(request))
{
    setObjectName("TDlgSchInput");
    setWindowTitle(QString::fromUtf8(kUpdateCaption));
    buildControls();
    buildLayout();
    connectHandlers();
    FormShow();
}

void TDlgSchInput::buildControls()
{
    DtpSchDate = qt::dateEdit("DtpSchDate", "yyyy'年'M'月'd'日'(dddd)", this);
    CmbStrhhmm = makeEditCombo(new QComboBox(this), "CmbStrhhmm", kRecTimeBytes, 24);
    auto* end = new DropDownComboBox(this);
    end->onDropDown = [this] { CmbEndhhmmDropDown(); };
    CmbEndhhmm = makeEditCombo(end, "CmbEndhhmm", kRecTimeBytes, 24);
    CmbTitle = makeEditCombo(new QComboBox(this), "CmbTitle", kRecTextBytes, 20);
    CmbPlace = makeEditCombo(new QComboBox(this), "CmbPlace", kRecTextBytes, 20);
    // Times are typed in Latin digits whatever the input method's mode.
    for (QComboBox* time : {CmbStrhhmm, CmbEndhhmm}) {
        time->setInputMethodHints(kTimeHints);
        time->lineEdit()->setInputMethodHints(kTimeHints);
    }
    CmbBunrui = qt::named(new QComboBox(this), "CmbBunrui");
    qt::SetupCategoryCombo(CmbBunrui);
    BtnCat = qt::named(new QPushButton(QString::fromUtf8("分類設定"), this), "BtnCat");
    BtnCat->setAutoDefault(false);

    GroupAlarm = qt::named(new QGroupBox(QString::fromUtf8("アラーム(&A)"), this), "GroupAlarm");
    ChkAlarm = makeCheck("音を鳴らす(&S)", "ChkAlarm", GroupAlarm);
    ChkMsg = makeCheck("メッセージ表示(&P)", "ChkMsg", GroupAlarm);
    GroupStyle = qt::named(new QGroupBox(QString::fromUtf8("文字スタイル(&F)"), this), "GroupStyle");
    ChkBold = makeCheck("太字(&B)", "ChkBold", GroupStyle);
    ChkItalic = makeCheck("斜体(&I)", "ChkItalic", GroupStyle);
    ChkUnderline = makeCheck("下線(&U)", "ChkUnderline", GroupStyle);
    ChkStrikeout = makeCheck("取り消し線(&K)", "ChkStrikeout", GroupStyle);
    ChkRepeat = makeCheck("繰り返し入力(&R)", "ChkRepeat", this);
    LabelComent = qt::named(new QLabel(this), "LabelComent");
    LabelComent->setStyleSheet("color: blue;");
    BtnOk = qt::named(new QPushButton("OK", this), "BtnOk");
    BtnOk->setDefault(true);
    BtnCancel = qt::named(new QPushButton(QString::fromUtf8("キャンセル"), this), "BtnCancel");
    BtnCancel->setAutoDefault(false);

    GroupRepeat = qt::named(new QGroupBox(this), "GroupRepeat");
    DtpFromSch = qt::dateEdit("DtpFromSch", "yyyy/MM/dd(ddd)", GroupRepeat);
    DtpToSch = qt::dateEdit("DtpToSch", "yyyy/MM/dd(ddd)", GroupRepeat);
    RadioAllDay = qt::named(new QRadioButton(QString::fromUtf8("毎日"), GroupRepeat), "RadioAllDay");
    SpinDay = qt::named(new QSpinBox(GroupRepeat), "SpinDay");
    SpinDay->setRange(kMinDayCount, kMaxDayCount);
    RadioDate = qt::named(new QRadioButton(QString::fromUtf8("毎月"), GroupRepeat), "RadioDate");
    CmbDateDay = qt::named(new QComboBox(GroupRepeat), "CmbDateDay");
    for (int day = 1; day <= 31; ++day)
        CmbDateDay->addItem(QString::number(day) + QString::fromUtf8("日"));
    RadioWeek = qt::named(new QRadioButton(QString::fromUtf8("曜日"), GroupRepeat), "RadioWeek");
    CmbWeekNo = makeFixedCombo("CmbWeekNo", {"毎週", "第1", "第2", "第3", "第4", "最終"}, GroupRepeat);
    CmbWeek =
        makeFixedCombo("CmbWeek", {"日曜日", "月曜日", "火曜日", "水曜日", "木曜日", "金曜日", "土曜日"}, GroupRepeat);
    // Fields of the repeat beside their choice, without a label of their own.
    DtpToSch->setAccessibleName(QString::fromUtf8("登録日（まで）"));
    CmbDateDay->setAccessibleName(QString::fromUtf8("毎月の日"));
    CmbWeekNo->setAccessibleName(QString::fromUtf8("曜日の週"));
    CmbWeek->setAccessibleName(QString::fromUtf8("曜日"));
}

void TDlgSchInput::buildLayout()
{
    auto* fields = new QGridLayout;
    fields->addWidget(qt::captionLabel("日付(&D)：", this, DtpSchDate), 0, 0);
    fields->addWidget(DtpSchDate, 0, 1, 1, 3, Qt::AlignLeft);
    fields->addWidget(qt::captionLabel("開始(&T)：", this, CmbStrhhmm), 1, 0);
    fields->addWidget(CmbStrhhmm, 1, 1);
    fields->addWidget(qt::captionLabel("終了(&E)：", this, CmbEndhhmm), 1, 2, Qt::AlignRight);
    fields->addWidget(CmbEndhhmm, 1, 3);
    fields->addWidget(qt::captionLabel("内容(&N)：", this, CmbTitle), 2, 0);
    fields->addWidget(CmbTitle, 2, 1, 1, 4);
    fields->addWidget(qt::captionLabel("場所(&L)：", this, CmbPlace), 3, 0);
    fields->addWidget(CmbPlace, 3, 1, 1, 4);
    fields->addWidget(qt::captionLabel("分類(&G)：", this, CmbBunrui), 4, 0);
    fields->addWidget(CmbBunrui, 4, 1, 1, 3);
    fields->addWidget(BtnCat, 4, 4);
    fields->setColumnStretch(4, 1);

    auto* alarm = new QVBoxLayout(GroupAlarm);
    alarm->addWidget(ChkAlarm);
    alarm->addWidget(ChkMsg);
    auto* style = new QGridLayout(GroupStyle);
    style->addWidget(ChkBold, 0, 0);
    style->addWidget(ChkItalic, 0, 1);
    style->addWidget(ChkUnderline, 1, 0);
    style->addWidget(ChkStrikeout, 1, 1);
    auto* groups = new QHBoxLayout;
    groups->addWidget(GroupAlarm);
    groups->addWidget(GroupStyle, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ChkRepeat);
    buttons->addStretch();
    buttons->addWidget(BtnOk);
    buttons->addWidget(BtnCancel);

    auto* repeat = new QGridLayout(GroupRepeat);
    repeat->addWidget(qt::captionLabel("登録日(&O)：", GroupRepeat, DtpFromSch), 0, 0);
    auto* period = new QHBoxLayout;
    period->addWidget(DtpFromSch);
    period->addWidget(qt::captionLabel("から", GroupRepeat));
    period->addWidget(DtpToSch);
    period->addWidget(qt::captionLabel("まで", GroupRepeat));
    period->addStretch();
    repeat->addLayout(period, 0, 1, 1, 3);
    repeat->addWidget(RadioAllDay, 1, 0);
    repeat->addWidget(SpinDay, 1, 1);
    repeat->addWidget(qt::captionLabel("日間", GroupRepeat, SpinDay), 1, 2);
    repeat->addWidget(RadioDate, 2, 0);
    repeat->addWidget(CmbDateDay, 2, 1);
    repeat->addWidget(RadioWeek, 3, 0);
    repeat->addWidget(CmbWeekNo, 3, 1);
    repeat->addWidget(CmbWeek, 3, 2);
    repeat->setColumnStretch(3, 1);

    auto* layout = new QVBoxLayout(this);
    // The dialog takes its contents' size, so hiding the repeat group shortens it.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addLayout(fields);
    layout->addLayout(groups);
    layout->addWidget(LabelComent);
    layout->addLayout(buttons);
    layout->addWidget(GroupRepeat);
}

void TDlgSchInput::connectHandlers()
{
    connect(BtnOk, &QPushButton::clicked, this, &TDlgSchInput::BtnOkClick);
    connect(BtnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ChkAlarm, &QCheckBox::clicked, this, &TDlgSchInput::ChkAlarmClick);
    connect(BtnCat, &QPushButton::clicked, this, &TDlgSchInput::BtnCatClick);
    connect(ChkRepeat, &QCheckBox::toggled, this, &TDlgSchInput::ChkRepeatCheck);
    for (QRadioButton* radio : {RadioAllDay, RadioDate, RadioWeek})
        connect(radio, &QRadioButton::toggled, this, &TDlgSchInput::RepeatPatrnCheck);
    connect(DtpFromSch, &QDateEdit::dateChanged, this, &TDlgSchInput::DaySpanCheck);
    connect(DtpToSch, &QDateEdit::dateChanged, this, &TDlgSchInput::DaySpanCheck);
    connect(SpinDay, &QSpinBox::valueChanged, this, &TDlgSchInput::SpinDayChange);
}

void TDlgSchInput::FormShow()
{
    ChkRepeat->setVisible(request_.mode == SchInputMode::New);
    const Date today = services_.platform.now().date;
    {
        QSignalBlocker block(RadioAllDay);
        RadioAllDay->setChecked(true);
    }
    CmbDateDay->setCurrentIndex(today.day - 1);
    CmbWeekNo->setCurrentIndex(0);
    CmbWeek->setCurrentIndex(dayOfWeek(today));
    RepeatPatrnCheck();
    ChkRepeat->setChecked(false);
    GroupRepeat->setVisible(false);

    fillRows();
    loadRecord();
    {
        QSignalBlocker blockFrom(DtpFromSch), blockTo(DtpToSch), blockSpin(SpinDay);
        DtpFromSch->setDate(DtpSchDate->date());
        DtpToSch->setDate(DtpSchDate->date());
        SpinDay->setValue(1);
    }
    applySettings();
    applyMode();
}

void TDlgSchInput::fillRows()
{
    setRows(CmbStrhhmm, TimeRows(request_.programFolder, PickListType::StartTime));
    setRows(CmbEndhhmm, TimeRows(request_.programFolder, PickListType::EndTime));
    fillCategoryRows();
}

void TDlgSchInput::fillCategoryRows()
{
    categories_ = CategoryTable::Load(request_.programFolder + kCategoryFileName);
    qt::FillCategoryRows(CmbBunrui, categories_);
}

void TDlgSchInput::loadRecord()
{
    Date date = request_.date;
    if (request_.mode == SchInputMode::Correct || request_.mode == SchInputMode::Copy) {
        const ScheduleRef& ref = request_.record;
        const std::vector<std::string> lines = LoadMonthFile(ref.file);
        const auto index = static_cast<std::size_t>(ref.index);
        const auto month = MonthOfFile(ref.file);
        // A record of no file (a subscribed calendar's entry) is only offered for copying; otherwise
        // only the line the opener saw is this record, and anything else leaves the fields empty.
        if (ref.file.empty() && request_.mode == SchInputMode::Copy && IsScheduleRecord(ref.line)) {
            record_ = ref.line;
        } else if (month && ref.index >= 0 && index < lines.size() && lines[index] == ref.line &&
                   IsScheduleRecord(ref.line)) {
            record_ = ref.line;
            date = Date{month->first, month->second, RecDay(record_)};
        }
    }
    if (!isValidDate(date.year, date.month, date.day))
        date = services_.platform.now().date;
    DtpSchDate->setDate(qt::toQDate(date));
    // Recently used texts come from the record's own file, else from the month of the date.
    const std::string monthFile =
        record_.empty() ? MonthFilePath(request_.dataPath, date.year, date.month) : request_.record.file;
    fillRecentRows(monthFile, date);
}

void TDlgSchInput::fillRecentRows(const std::string& monthFile, const Date& date)
{
    int prevYear = date.year, prevMonth = date.month;
    previousMonth(prevYear, prevMonth);
    std::vector<std::string> used = LoadMonthFile(monthFile);
    const std::vector<std::string> previous = LoadMonthFile(MonthFilePath(request_.dataPath, prevYear, prevMonth));
    used.insert(used.end(), previous.begin(), previous.end());

    std::vector<std::string> titles = TextRows(request_.programFolder, PickListType::Title);
    AppendMissingRows(titles, RecentTitles(used));
    setRows(CmbTitle, titles);
    std::vector<std::string> places = TextRows(request_.programFolder, PickListType::Place);
    AppendMissingRows(places, RecentPlaces(used));
    setRows(CmbPlace, places);
}

void TDlgSchInput::applySettings()
{
    IniFile ini(SettingsPath(request_.programFolder));
    ini.load();
    const SoundSettings sound = ReadSoundSettings(ini);
    const int alarmTime = sound.alarmTime;
    if (alarmTime > 0)
        GroupAlarm->setTitle(QString::fromUtf8("開始") + QString::number(alarmTime) +
                             QString::fromUtf8("分前にアラーム(&A)"));
    alarmsOn_ = sound.alarm != 0;
    // Qt has no hint that asks an input method for hiragana: with or without AutoIme the title
    // and place leave the desktop's input method in its own mode, so the setting changes nothing
    // here. Only the time fields ask for Latin digits.
    ChkAlarm->setEnabled(alarmsOn_);
    ChkMsg->setEnabled(alarmsOn_);
}

void TDlgSchInput::applyMode()
{
    switch (request_.mode) {
    case SchInputMode::New:
        setWindowTitle(QString::fromUtf8("スケジュール新規登録"));
        CmbStrhhmm->setFocus();
        break;
    case SchInputMode::Correct:
        setWindowTitle(QString::fromUtf8("スケジュール訂正"));
        showRecord();
        break;
    case SchInputMode::Copy:
        setWindowTitle(QString::fromUtf8("スケジュール複写"));
        LabelComent->setText(QString::fromUtf8("コピー先の日付を入力して下さい。"));
        showRecord();
        break;
    case SchInputMode::FromTodo:
        setWindowTitle(QString::fromUtf8("ToDoをスケジュールにコピー"));
        CmbTitle->setEditText(qt::fromSjis(text::cutBytes(request_.title, kRecTextBytes)));
        if (request_.categoryIndex >= 0 && request_.categoryIndex < CmbBunrui->count())
            CmbBunrui->setCurrentIndex(request_.categoryIndex);
        break;
    }
    // Only copy mode has a hint; an empty line would leave a gap above the buttons.
    LabelComent->setVisible(!LabelComent->text().isEmpty());
    if (ChkAlarm->isChecked()) {
        ChkMsg->setChecked(true);
        ChkMsg->setEnabled(false);
    }
}

void TDlgSchInput::showRecord()
{
    if (record_.empty())
        return;
    CmbStrhhmm->setEditText(qt::fromSjis(RecStart(record_)));
    CmbEndhhmm->setEditText(qt::fromSjis(RecEnd(record_)));
    CmbTitle->setEditText(qt::fromSjis(RecTitle(record_)));
    CmbPlace->setEditText(qt::fromSjis(RecPlace(record_)));
    CmbBunrui->setCurrentIndex(categories_.FindExact(RecCategory(record_)));
    const char style = RecBoldItalic(record_), lines = RecUnderlineStrike(record_);
    ChkBold->setChecked(StyleBold(style));
    ChkItalic->setChecked(StyleItalic(style));
    ChkUnderline->setChecked(StyleUnderline(lines));
    ChkStrikeout->setChecked(StyleStrikeout(lines));
    ChkAlarm->setChecked(RecSound(record_));
    ChkMsg->setChecked(RecMessage(record_));
}

void TDlgSchInput::ChkAlarmClick()
{
    // A sound always comes with its message.
    const bool sound = ChkAlarm->isChecked();
    ChkMsg->setChecked(sound);
    ChkMsg->setEnabled(!sound && alarmsOn_);
}

void TDlgSchInput::CmbEndhhmmDropDown()
{
    if (text::compareBytes(sjisOf(CmbEndhhmm), sjisOf(CmbStrhhmm)) < 0)
        CmbEndhhmm->setEditText(CmbStrhhmm->currentText());
}

void TDlgSchInput::BtnCatClick()
{
    TDlgCatSet dialog(services_, request_.programFolder, this);
    dialog.move(pos());
    if (services_.dialogs.run(dialog) != QDialog::Accepted)
        return;
    if (files::fileExists(request_.programFolder + kCategoryFileName))
        fillCategoryRows();
}

void TDlgSchInput::RepeatPatrnCheck()
{
    SpinDay->setEnabled(RadioAllDay->isChecked());
    CmbDateDay->setEnabled(RadioDate->isChecked());
    CmbWeekNo->setEnabled(RadioWeek->isChecked());
    CmbWeek->setEnabled(RadioWeek->isChecked());
}

void TDlgSchInput::DaySpanCheck()
{
    const DaySpan span = kal::DaySpanCheck(qt::fromQDate(DtpFromSch->date()), qt::fromQDate(DtpToSch->date()));
    QSignalBlocker blockTo(DtpToSch), blockSpin(SpinDay);
    DtpToSch->setDate(qt::toQDate(span.last));
    SpinDay->setValue(span.shownCount);
}

void TDlgSchInput::SpinDayChange()
{
    const Date last = kal::SpinDayChange(qt::fromQDate(DtpFromSch->date()), SpinDay->value());
    QSignalBlocker blockTo(DtpToSch);
    DtpToSch->setDate(qt::toQDate(last));
}

void TDlgSchInput::ChkRepeatCheck()
{
    GroupRepeat->setVisible(ChkRepeat->isChecked());
}

void TDlgSchInput::inputError(const char* message, QWidget* field)
{
    services_.platform.messageBox(kInputErrorCaption, message, MessageIcon::Error, MessageButtons::Ok);
    field->setFocus();
}

bool TDlgSchInput::validate()
{
    const std::string start = sjisOf(CmbStrhhmm), end = sjisOf(CmbEndhhmm);
    if (text::compareBytes(end, "     ") > 0 && text::compareBytes(start, end) > 0) {
        inputError("開始時刻 > 終了時刻", CmbStrhhmm);
        return false;
    }
    if (CmbTitle->currentText().isEmpty()) {
        inputError("内容が未入力です。", CmbTitle);
        return false;
    }
    const bool alarm = ChkAlarm->isChecked() || ChkMsg->isChecked();
    if (alarm && CmbStrhhmm->currentText().size() < kRecTimeBytes) {
        inputError("開始時刻は HH:MM形式(5桁)で入力して下さい。", CmbStrhhmm);
        return false;
    }
    if (alarm && !IsTimeOfDay(start)) {
        inputError("開始時刻を正しく入力して下さい。", CmbStrhhmm);
        return false;
    }
    return true;
}

ScheduleFields TDlgSchInput::fieldsFromControls() const
{
    ScheduleFields f;
    f.day = DtpSchDate->date().day();
    f.start = sjisOf(CmbStrhhmm);
    f.end = sjisOf(CmbEndhhmm);
    const int category = CmbBunrui->currentIndex();
    if (category >= 0 && category < static_cast<int>(categories_.size()))
        f.category = CategoryTable::NameOf(categories_.lines()[static_cast<std::size_t>(category)]);
    f.bold = ChkBold->isChecked();
    f.italic = ChkItalic->isChecked();
    f.underline = ChkUnderline->isChecked();
    f.strikeout = ChkStrikeout->isChecked();
    f.sound = ChkAlarm->isChecked();
    f.message = ChkMsg->isChecked();
    // The fields end where the format ends, whatever reached the edit lines.
    f.title = text::cutBytes(sjisOf(CmbTitle), kRecTextBytes);
    f.place = text::cutBytes(sjisOf(CmbPlace), kRecTextBytes);
    return f;
}

RepeatRule TDlgSchInput::ruleFromControls() const
{
    RepeatRule rule;
    if (RadioDate->isChecked()) {
        rule.pattern = RepeatPattern::MonthlyOnDay;
        rule.dayOfMonth = CmbDateDay->currentIndex() + 1;
    } else if (RadioWeek->isChecked()) {
        rule.pattern = RepeatPattern::ByWeekday;
        rule.week = static_cast<WeekOfMonth>(CmbWeekNo->currentIndex());
        rule.weekday = CmbWeek->currentIndex();
    }
    return rule;
}

void TDlgSchInput::showWriteFailure(const std::string& reason)
{
    writeFailed_ = true;
    services_.platform.messageBox(kUpdateCaption, "スケジュールを保存できません。\r\n" + reason, MessageIcon::Error,
                                  MessageButtons::Ok);
}

bool TDlgSchInput::writeRepeat()
{
    const RepeatPeriod period{qt::fromQDate(DtpFromSch->date()), qt::fromQDate(DtpToSch->date())};
    const RepeatWriteResult written =
        kal::RepeatSchUd(request_.dataPath, ruleFromControls(), period, fieldsFromControls());
    if (!written.result.ok())
        showWriteFailure(written.result.reason);
    return written.result.ok();
}

bool TDlgSchInput::writeRecord()
{
    const QDate date = DtpSchDate->date();
    const std::string path = MonthFilePath(request_.dataPath, date.year(), date.month());
    const std::string line = ComposeSchedule(fieldsFromControls());
    // A record that was gone when the dialog opened left the fields empty; what the user typed
    // is then a new record.
    const bool correcting = request_.mode == SchInputMode::Correct && !record_.empty();
    const store::EditResult result =
        correcting ? CorrectSchedule(request_.record, path, line, request_.follower) : AddSchedule(path, line);
    if (!result.ok())
        showWriteFailure(result.reason);
    return result.ok();
}

void TDlgSchInput::BtnOkClick()
{
    if (!validate())
        return;
    const bool repeat = request_.mode == SchInputMode::New && ChkRepeat->isChecked();
    if (repeat ? writeRepeat() : writeRecord())
        accept();
}

} // namespace kal
