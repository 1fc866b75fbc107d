// The holiday input dialog: creates or corrects one rule of Holiday.dat (a national holiday, a
// day off or an anniversary on a date or a weekday pattern, for a range of years). It writes the
// table itself before it closes with OK; the opener then rebuilds what shows the holidays.
#pragma once

#include "calendar/HolidayInput.h"
#include "platform/Date.h"
#include "platform/qt/Services.h"

#include <QDialog>
#include <optional>
#include <string>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace kal {

enum class HolidayInputMode { New, Correct };

struct HolidayInputRequest {
    HolidayInputMode mode = HolidayInputMode::New;
    std::string path;                   // Holiday.dat in the schedule folder
    Date selected;                      // New: the day the choices start from
    int kind = -1;                      // New: the kind chosen beforehand, or -1
    std::optional<store::LineRef> rule; // Correct: the rule
    bool autoIme = true;                // the AutoIme setting
};

class TDlgHolidayInput : public QDialog {
    Q_OBJECT
public:
    TDlgHolidayInput(qt::Services& services, HolidayInputRequest request, QWidget* parent = nullptr);

    QLineEdit* EdtTitle;
    QComboBox* CmbBunrui;
    QLineEdit* EditFromYear;
    QLineEdit* EditToYear;
    QComboBox* CmbMonth;
    QComboBox* CmbDay;
    QCheckBox* ChkIreg;
    QComboBox* CmbWeekNo;
    QComboBox* CmbWeek;
    QComboBox* CmbWMonth;
    QPushButton* BtnOk;
    QPushButton* BtnCancel;

    void FormShow();
    void BtnOkClick();
    // Enables the date or the weekday controls after ChkIreg and CmbWeekNo.
    void ChkIregClick();

    // The rule was changed by someone else and the dialog closed without writing.
    bool changedMeanwhile() const { return changedMeanwhile_; }

private:
    void buildControls();
    void buildLayout();
    void showChoices(const HolidayChoices& choices);
    HolidayChoices choicesFromControls() const;
    QWidget* fieldWidget(HolidayField field) const;
    bool writeRule(const std::string& line);

    qt::Services& services_;
    HolidayInputRequest request_;
    bool changedMeanwhile_ = false;
};

} // namespace kal
