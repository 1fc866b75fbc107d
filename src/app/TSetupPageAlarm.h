// The page "アラーム": the schedule alarm and the time signal, each with its sound and a test
// play.
#pragma once

#include "app/TSetupPage.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace kal {

class TSetupAlarmPage : public TSetupPage {
    Q_OBJECT
public:
    TSetupAlarmPage(qt::Services& services, std::string programFolder, QWidget* parent = nullptr);
    void load(const AppSettings& s) override;
    void store(AppSettings& s) const override;
    void updateEnabled();

    QCheckBox* ChkAlarm;
    QSpinBox* SpinAlarmTime;
    QCheckBox* ChkAlarmJust;
    QLineEdit* EditAlarmWav;
    QPushButton *BtnOpenAlarm, *BtnAlarmTest;
    QCheckBox* ChkSignal;
    QRadioButton *RadioSignal1, *RadioSignal2, *RadioSignal3;
    QPushButton* BtnSignalSet;
    QLineEdit* EditSignalWav;
    QPushButton *BtnOpenSignal, *BtnSignalTest;

    void ChooseSound(QLineEdit* field);
    void PlaySound(const QLineEdit* field);
    void BtnSignalSetClick();

private:
    qt::Services& services_;
    std::string programFolder_;
};

} // namespace kal
