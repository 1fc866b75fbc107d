// The iCalendar export dialog ("iCalendar形式で保存"): the period of the schedules and whether
// the ToDo entries go along; OK asks for the file and writes it.
#pragma once

#include "exchange/IcalExport.h"
#include "platform/qt/Services.h"

#include <QDialog>

class QCheckBox;
class QDateEdit;
class QLabel;
class QPushButton;

namespace kal {

struct IcalSaveSource {
    std::string dataPath; // month files and the proposed folder, ends with '/'
    std::string todoPath; // ends with '/'
    int alarmMinutes = 0;
    Date from, to;             // proposed period
    std::string programFolder; // Identity.dat, ends with '/'
};

class TDlgIcalSave : public QDialog {
    Q_OBJECT
public:
    TDlgIcalSave(qt::Services& services, IcalSaveSource source, QWidget* parent = nullptr);

    QLabel* LabelPeriod;
    QDateEdit* DtpFromDate;
    QLabel* LabelTo;
    QDateEdit* DtpToDate;
    QCheckBox* ChkTodo;
    QPushButton* BtnOk;
    QPushButton* BtnCancel;

    void BtnOkClick();

private:
    qt::Services& services_;
    IcalSaveSource source_;
};

} // namespace kal
