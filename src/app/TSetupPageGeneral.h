// The pages "起動" (placement, tray, password) and "表示" (title, week start, panels, refresh).
#pragma once

#include "app/TSetupPage.h"

class QCheckBox;
class QLineEdit;
class QSpinBox;

namespace kal {

class TSetupStartPage : public TSetupPage {
    Q_OBJECT
public:
    explicit TSetupStartPage(QWidget* parent = nullptr);
    void load(const AppSettings& s) override;
    void store(AppSettings& s) const override;

    TSetupRadios* RadioPos;
    QCheckBox *ChkTaskTray, *ChkTaskBar, *ChkStayOnTop, *ChkPasswd, *ChkPasswd2;
};

class TSetupViewPage : public TSetupPage {
    Q_OBJECT
public:
    explicit TSetupViewPage(QWidget* parent = nullptr);
    void load(const AppSettings& s) override;
    void store(AppSettings& s) const override;
    void updateEnabled();

    QLineEdit* EditTitle;
    TSetupRadios* RadioStrWeek;
    QCheckBox *ChkDateJap, *ChkAutoIme, *ChkTodo, *ChkCloseTray, *ChkNotePas, *ChkNoteTab, *ChkScrUd;
    QSpinBox* SpnUdTime;
};

} // namespace kal
