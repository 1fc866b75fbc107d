// The find dialog ("検索"): searches the schedules or the daily memos by a text, a category and
// a date range and shows the hits in the list window, where they can be corrected, copied and
// deleted. A search that finds nothing returns to the dialog so the criteria can be changed.
#pragma once

#include "lists/Search.h"
#include "platform/Date.h"
#include "platform/qt/Services.h"
#include "store/Edit.h"

#include <QDialog>
#include <functional>
#include <string>

class QCheckBox;
class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;

namespace kal {

struct FindRequest {
    std::string dataPath;      // ends with '/'
    std::string memoPath;      // ends with '/'
    std::string programFolder; // Category.tbl and what the list window's dialogs read; ends with '/'
    int resultHeight = 480;    // the result window's height
    bool autoIme = true;
    // The day memo editor the result window corrects memos with (see FormEditRequest).
    std::function<bool(const Date&, QWidget* parent)> editDayMemo;
    // The subscribed calendars, when there are any: the dialog offers to search them too.
    ExtraSchedules* extras = nullptr;
    // Follows the schedules the result window corrects and deletes.
    store::Follower follower;
};

class TDlgFind : public QDialog {
    Q_OBJECT
public:
    TDlgFind(qt::Services& services, FindRequest request, QWidget* parent = nullptr);

    QComboBox* CmbFile;
    QLineEdit* EditTitle;
    QComboBox* CmbBunrui;
    QCheckBox* ChkDate;
    QDateEdit* DtpFromDate;
    QDateEdit* DtpToDate;
    QPushButton* BtnYear;
    QPushButton* BtnMonth;
    QCheckBox* ChkCapital;
    QCheckBox* ChkFeeds;
    QPushButton* BtnOk;
    QPushButton* BtnClose;

    void FormShow();
    void BtnOkClick();
    void CmbFileChange();
    void ChkDateClick();
    void BtnYearClick();
    void BtnMonthClick();

    // The criteria as the controls stand.
    SearchCriteria Criteria() const;
    // A result window changed something: the opener rebuilds the calendar.
    bool changed() const { return changed_; }

private:
    void buildControls();
    void buildLayout();
    void setRange(const Date& from, const Date& to);
    QWidget* fieldWidget(SearchField field) const;

    qt::Services& services_;
    FindRequest request_;
    bool changed_ = false;
};

} // namespace kal
