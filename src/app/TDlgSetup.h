// The settings dialog ("環境設定"): thirteen pages over one copy of the settings. OK checks the
// pages, writes the ToDo pictures and then every key the dialog owns, leaving the rest of the
// settings file as it was; a failed write keeps the dialog open.
#pragma once

#include "platform/qt/Services.h"
#include "settings/SetupSettings.h"

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;
class QStackedWidget;

namespace kal {

class TSetupPage;
class TSetupStartPage;
class TSetupViewPage;
class TSetupMonthPage;
class TSetupWeekPage;
class TSetupSchedulePage;
class TSetupMemoPage;
class TSetupTodoPage;
class TSetupMiniPage;
class TSetupClockPage;
class TSetupColorPage;
class TSetupAlarmPage;
class TSetupFolderPage;
class TSetupOtherPage;
class TSetupFeedsPage;
class TSetupSyncPage;

class TDlgSetup : public QDialog {
    Q_OBJECT
public:
    // `position` is the main window's top-left corner to be kept as [Window] Top and Left.
    TDlgSetup(qt::Services& services, std::string programFolder, const QString& caption, QWidget* parent = nullptr,
              std::optional<SetupPosition> position = std::nullopt);

    QListWidget* ListPage;
    QStackedWidget* PageControl;
    TSetupStartPage* TabStart;
    TSetupViewPage* TabView;
    TSetupMonthPage* TabMonth;
    TSetupWeekPage* TabWeek;
    TSetupSchedulePage* TabSchedule;
    TSetupMemoPage* TabMemo;
    TSetupTodoPage* TabTodo;
    TSetupMiniPage* TabMini;
    TSetupClockPage* TabClock;
    TSetupColorPage* TabColor;
    TSetupAlarmPage* TabAlarm;
    TSetupFolderPage* TabFolder;
    TSetupOtherPage* TabOther;
    TSetupSyncPage* TabSync;
    TSetupFeedsPage* TabFeeds;
    QPushButton* BtnOk;
    QPushButton* BtnCancel;

    void FormShow();
    void BtnOkClick();
    void ShowPage(SetupPage page);

    // The settings as the pages show them now.
    AppSettings edited() const;

private:
    std::vector<TSetupPage*> pages() const;
    void AddPage(TSetupPage* page, const char* caption);
    bool Check(const AppSettings& s);
    void SaveIcons(AppSettings& s);
    bool WriteSettings(const AppSettings& s);
    void ShowError(const char* caption, const std::string& text);
    void FollowSampleOptions();

    qt::Services& services_;
    std::string programFolder_;
    std::optional<SetupPosition> position_;
    AppSettings loaded_;
};

} // namespace kal
