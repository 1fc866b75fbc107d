// The schedule input dialog ("スケジュール更新"): creates, corrects or copies one record, turns a
// ToDo item into a schedule, and in new mode expands a repeating schedule. It is filled when
// constructed (FormShow), so the opener only runs it.
#pragma once

#include "platform/Date.h"
#include "platform/qt/Services.h"
#include "schedule/Categories.h"
#include "schedule/Repeat.h"
#include "schedule/ScheduleRecord.h"
#include "store/Edit.h"

#include <QDialog>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace kal {

enum class SchInputMode { New = 0, Correct = 1, Copy = 3, FromTodo = 5 };

struct SchInputRequest {
    SchInputMode mode = SchInputMode::New;
    std::string dataPath;      // schedule folder, ends with '/'
    std::string programFolder; // pick lists, Category.tbl, Kalendra.ini; ends with '/'
    Date date;                 // New and FromTodo: the initial date
    ScheduleRef record;        // Correct and Copy: the record
    std::string title;         // FromTodo: the title (Shift-JIS)
    int categoryIndex = -1;    // FromTodo: the category row or -1
    bool autoIme = true;       // the AutoIme setting
    // Follows a corrected record (RecordFollower.h); every caller names it.
    store::Follower follower;
};

class TDlgSchInput : public QDialog {
    Q_OBJECT
public:
    TDlgSchInput(qt::Services& services, SchInputRequest request, QWidget* parent = nullptr);

    QDateEdit* DtpSchDate;
    QComboBox* CmbStrhhmm;
    QComboBox* CmbEndhhmm;
    QComboBox* CmbTitle;
    QComboBox* CmbPlace;
    QComboBox* CmbBunrui;
    QPushButton* BtnCat;
    QGroupBox* GroupAlarm;
    QCheckBox* ChkAlarm;
    QCheckBox* ChkMsg;
    QGroupBox* GroupStyle;
    QCheckBox* ChkBold;
    QCheckBox* ChkItalic;
    QCheckBox* ChkUnderline;
    QCheckBox* ChkStrikeout;
    QCheckBox* ChkRepeat;
    QLabel* LabelComent;
    QPushButton* BtnOk;
    QPushButton* BtnCancel;

    QGroupBox* GroupRepeat;
    QDateEdit* DtpFromSch;
    QDateEdit* DtpToSch;
    QRadioButton* RadioAllDay;
    QSpinBox* SpinDay;
    QRadioButton* RadioDate;
    QComboBox* CmbDateDay;
    QRadioButton* RadioWeek;
    QComboBox* CmbWeekNo;
    QComboBox* CmbWeek;

    void FormShow();
    void BtnOkClick();
    void ChkAlarmClick();
    void CmbEndhhmmDropDown();
    void BtnCatClick();
    void RepeatPatrnCheck();
    void DaySpanCheck();
    void SpinDayChange();
    void ChkRepeatCheck();

    // A write failed while the dialog was open: the opener rebuilds its display whatever the
    // dialog returns, so that the screen shows the files as they are.
    bool writeFailed() const { return writeFailed_; }

private:
    void buildControls();
    void buildLayout();
    void connectHandlers();
    void fillRows();
    void fillCategoryRows();
    void loadRecord();
    void fillRecentRows(const std::string& monthFile, const Date& date);
    void showRecord();
    void applySettings();
    void applyMode();
    bool validate();
    ScheduleFields fieldsFromControls() const;
    RepeatRule ruleFromControls() const;
    bool writeRecord();
    bool writeRepeat();
    void showWriteFailure(const std::string& reason);
    void inputError(const char* message, QWidget* field);

    qt::Services& services_;
    SchInputRequest request_;
    CategoryTable categories_;
    std::string record_; // the line being corrected or copied, empty when none was found
    bool alarmsOn_ = true;
    bool writeFailed_ = false;
};

} // namespace kal
