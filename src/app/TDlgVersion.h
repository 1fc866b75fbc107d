// The about box: program icon, name, version with the program file's date, rights notice and
// a link to the home page.
#pragma once

#include "platform/Date.h"
#include "platform/qt/Services.h"

#include <QDialog>

#include <optional>
#include <string>

class QLabel;
class QPushButton;

namespace kal {

inline constexpr const char* kHomePage = "https://kalendra.example.org/";

// "Version 3.01." followed by the program file's date as yymmdd (nothing when it is unknown).
std::string versionLine(const std::optional<DateTime>& programModified);

class TDlgVersion : public QDialog {
    Q_OBJECT
public:
    explicit TDlgVersion(qt::Services& services, QWidget* parent = nullptr);

    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* Version;
    QLabel* Copyright;
    QLabel* LabelUrl;
    QPushButton* BtnOk;

    void LabelUrlClick();
    void BtnOkClick();

protected:
    void showEvent(QShowEvent* event) override;

private:
    qt::Services& services_;
};

} // namespace kal
