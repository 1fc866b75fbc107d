// The pages "スケジュール" (pick lists, day-list columns) and "メモ" (memo list title and
// display, memo template).
#pragma once

#include "app/TSetupPage.h"

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

namespace kal {

enum class PickListType;

class TSetupSchedulePage : public TSetupPage {
    Q_OBJECT
public:
    TSetupSchedulePage(qt::Services& services, std::string programFolder, QWidget* parent = nullptr);
    void load(const AppSettings& s) override;
    void store(AppSettings& s) const override;

    QPushButton *BtnSchFrom, *BtnSchTo, *BtnSchTitle, *BtnSchPlace;
    QCheckBox *ChkAlarmIcon, *ChkStrTime, *ChkEndTime, *ChkTitle, *ChkPlace, *ChkBunrui;

    void EditPickList(PickListType type);

private:
    FlagBoxes<SchViewFlag> schViewBoxes() const;

    qt::Services& services_;
    std::string programFolder_;
};

class TSetupMemoPage : public TSetupPage {
    Q_OBJECT
public:
    TSetupMemoPage(qt::Services& services, QWidget* parent = nullptr);
    void load(const AppSettings& s) override;
    void store(AppSettings& s) const override;
    void updateEnabled();
    void ShowTitlePreview();
    void ButTemplateClick();

    QCheckBox* ChkMemoTitle;
    QComboBox* CmbMemoTitle;
    QLabel* PanelMemoTitle;
    TSetupRadios* RadioMemo;
    QPushButton* ButTemplate;

    // The memo folder and font as the dialog shows them at the moment.
    std::function<std::string()> memoFolder;
    std::function<FontSpec()> memoFont;

private:
    qt::Services& services_;
};

} // namespace kal
