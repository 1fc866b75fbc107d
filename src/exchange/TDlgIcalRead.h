// The iCalendar import dialog ("iCalendar形式の読込"): the period over which recurring events are
// expanded and the options of the CSV import; the data check reports what the execute run adds.
#pragma once

#include "exchange/IcalImport.h"
#include "platform/qt/Services.h"

#include <QDialog>

class QCheckBox;
class QDateEdit;
class QLabel;
class QPushButton;

namespace kal {

struct IcalReadSource {
    std::string path;          // UTF-8, shown in the caption
    std::string text;          // the file's content
    std::string dataPath;      // ends with '/'
    std::string todoPath;      // ends with '/'
    std::string programFolder; // ends with '/'
    Date today;
};

class TDlgIcalRead : public QDialog {
    Q_OBJECT
public:
    TDlgIcalRead(qt::Services& services, IcalReadSource source, QWidget* parent = nullptr);

    QLabel* LabelPeriod;
    QDateEdit* DtpFromDate;
    QLabel* LabelTo;
    QDateEdit* DtpToDate;
    QCheckBox* ChkDubleNo;
    QCheckBox* ChkCategory;
    QPushButton* BtnDataCheck;
    QPushButton* BtnConvert;
    QPushButton* CancelBtn;

    void BtnDataCheckClick();
    void BtnConvertClick();

    // Some file was written, also when the import then failed: the opener shows the new data.
    bool wroteFiles() const { return wroteFiles_; }

private:
    void IcalConvert(ImportRun run);

    qt::Services& services_;
    IcalReadSource source_;
    bool wroteFiles_ = false;
};

} // namespace kal
