#include "app/TSetupPageAlarm.h"

#include "platform/Files.h"
#include "platform/qt/QtText.h"
#include "platform/qt/SjisValidator.h"
#include "platform/qt/Widgets.h"
#include "schedule/TDlgItemSet.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace kal {

namespace {

constexpr int kSoundPathBytes = 260;

QLineEdit* soundField(const char* name, QWidget* parent)
{
    auto* field = qt::named(new QLineEdit(parent), name);
    qt::limitSjisBytes(field, kSoundPathBytes);
    return field;
}

// The sound file field with its browse and test buttons.
QHBoxLayout* soundRow(QLineEdit* field, QPushButton* browse, QPushButton* test)
{
    auto* row = new QHBoxLayout;
    row->addWidget(qt::captionLabel("音声ファイル：", field->parentWidget()));
    row->addWidget(field, 1);
    row->addWidget(browse);
    row->addWidget(test);
    return row;
}

} // namespace

TSetupAlarmPage::TSetupAlarmPage(qt::Services& services, std::string programFolder, QWidget* parent)
    : TSetupPage(parent), services_(services), programFolder_(std::move(programFolder))
{
    auto* layout = pageColumn(this);
    QVBoxLayout* alarm = groupColumn("アラーム", this, layout);
    ChkAlarm = setupCheck("ChkAlarm", "アラームを鳴らす。(&A)", this);
    SpinAlarmTime = qt::named(new QSpinBox(this), "SpinAlarmTime");
    SpinAlarmTime->setRange(0, 59);
    ChkAlarmJust = setupCheck("ChkAlarmJust", "開始時刻にも鳴らす。(&J)", this);
    auto* timeRow = new QHBoxLayout;
    timeRow->addWidget(ChkAlarm);
    timeRow->addWidget(qt::captionLabel("開始時刻の", this));
    timeRow->addWidget(SpinAlarmTime);
    timeRow->addWidget(qt::captionLabel("分前", this));
    timeRow->addStretch();
    alarm->addLayout(timeRow);
    alarm->addWidget(ChkAlarmJust);
    EditAlarmWav = soundField("EditAlarmWav", this);
    BtnOpenAlarm = qt::namedButton("BtnOpenAlarm", "参照(&R)...", this);
    BtnAlarmTest = qt::namedButton("BtnAlarmTest", "テスト(&T)", this);
    alarm->addLayout(soundRow(EditAlarmWav, BtnOpenAlarm, BtnAlarmTest));

    QVBoxLayout* signal = groupColumn("時報", this, layout);
    ChkSignal = setupCheck("ChkSignal", "時報を鳴らす。(&S)", this);
    signal->addWidget(ChkSignal);
    RadioSignal1 = qt::named(new QRadioButton(QString::fromUtf8("HH時00分"), this), "RadioSignal1");
    RadioSignal2 = qt::named(new QRadioButton(QString::fromUtf8("HH時00分、30分"), this), "RadioSignal2");
    RadioSignal3 = qt::named(new QRadioButton(QString::fromUtf8("時刻を指定する。"), this), "RadioSignal3");
    auto* group = new QButtonGroup(this);
    BtnSignalSet = qt::namedButton("BtnSignalSet", "時刻の設定(&E)...", this);
    for (QRadioButton* radio : {RadioSignal1, RadioSignal2, RadioSignal3}) {
        group->addButton(radio);
        signal->addWidget(radio);
        connect(radio, &QRadioButton::toggled, this, &TSetupAlarmPage::updateEnabled);
    }
    signal->addLayout(qt::rightAlignedRow({BtnSignalSet}));
    EditSignalWav = soundField("EditSignalWav", this);
    BtnOpenSignal = qt::namedButton("BtnOpenSignal", "参照(&O)...", this);
    BtnSignalTest = qt::namedButton("BtnSignalTest", "テスト(&P)", this);
    signal->addLayout(soundRow(EditSignalWav, BtnOpenSignal, BtnSignalTest));

    connect(ChkAlarm, &QCheckBox::toggled, this, &TSetupAlarmPage::updateEnabled);
    connect(ChkSignal, &QCheckBox::toggled, this, &TSetupAlarmPage::updateEnabled);
    connect(BtnOpenAlarm, &QPushButton::clicked, this, [this] { ChooseSound(EditAlarmWav); });
    connect(BtnOpenSignal, &QPushButton::clicked, this, [this] { ChooseSound(EditSignalWav); });
    connect(BtnAlarmTest, &QPushButton::clicked, this, [this] { PlaySound(EditAlarmWav); });
    connect(BtnSignalTest, &QPushButton::clicked, this, [this] { PlaySound(EditSignalWav); });
    connect(BtnSignalSet, &QPushButton::clicked, this, &TSetupAlarmPage::BtnSignalSetClick);
}

void TSetupAlarmPage::load(const AppSettings& s)
{
    ChkAlarm->setChecked(s.alarm >= 1);
    ChkAlarmJust->setChecked(s.alarm == 2);
    SpinAlarmTime->setValue(s.alarmTime);
    EditAlarmWav->setText(qt::fromSjis(s.alarmWav));
    ChkSignal->setChecked(s.signal == 1);
    RadioSignal2->setChecked(s.signalMode == 2);
    RadioSignal3->setChecked(s.signalMode == 3);
    RadioSignal1->setChecked(s.signalMode != 2 && s.signalMode != 3);
    EditSignalWav->setText(qt::fromSjis(s.signalWav));
    updateEnabled();
}

void TSetupAlarmPage::store(AppSettings& s) const
{
    s.alarm = !ChkAlarm->isChecked() ? 0 : ChkAlarmJust->isChecked() ? 2 : 1;
    s.alarmTime = SpinAlarmTime->value();
    s.alarmWav = qt::toSjisLossy(EditAlarmWav->text());
    s.signal = checkedFlag(ChkSignal->isChecked());
    s.signalMode = RadioSignal3->isChecked() ? 3 : RadioSignal2->isChecked() ? 2 : 1;
    s.signalWav = qt::toSjisLossy(EditSignalWav->text());
}

void TSetupAlarmPage::updateEnabled()
{
    const bool alarm = ChkAlarm->isChecked();
    for (QWidget* w :
         std::initializer_list<QWidget*>{ChkAlarmJust, SpinAlarmTime, EditAlarmWav, BtnOpenAlarm, BtnAlarmTest})
        w->setEnabled(alarm);
    const bool signal = ChkSignal->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{RadioSignal1, RadioSignal2, RadioSignal3, EditSignalWav,
                                                      BtnOpenSignal, BtnSignalTest})
        w->setEnabled(signal);
    BtnSignalSet->setEnabled(signal && RadioSignal3->isChecked());
}

void TSetupAlarmPage::ChooseSound(QLineEdit* field)
{
    const std::string current = qt::toUtf8(field->text());
    const std::string folder = current.empty() ? programFolder_ : files::folderOf(current);
    if (std::optional<std::string> file =
            services_.platform.openFileName("音声ファイルの選択", folder, "音声ファイル (*.wav);;すべてのファイル (*)"))
        field->setText(qt::fromUtf8(*file));
}

void TSetupAlarmPage::PlaySound(const QLineEdit* field)
{
    const std::string file = qt::toUtf8(field->text());
    if (!file.empty())
        services_.platform.playSound(file);
}

void TSetupAlarmPage::BtnSignalSetClick()
{
    TDlgItemSet dialog(services_, programFolder_, PickListType::SignalTime, window());
    services_.dialogs.run(dialog);
}

} // namespace kal
