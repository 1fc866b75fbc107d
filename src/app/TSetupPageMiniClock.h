// The pages "ミニカレンダー" (placement, translucency, underline, status bar) and "デジタル時計"
// (graphic or text clock, its format and font).
#pragma once

#include "app/TSetupPage.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSlider;

namespace kal {

class TSetupMiniPage : public TSetupPage {
    Q_OBJECT
public:
    explicit TSetupMiniPage(QWidget* parent = nullptr);
    void load(const AppSettings& s) override;
    void store(AppSettings& s) const override;
    void updateEnabled();

    TSetupRadios* RadioMiniPos;
    QCheckBox* ChkMiniTrans;
    QSlider* TrackMiniTrans;
    QLabel* LblMiniTransPer;
    QCheckBox *ChkSchLine, *ChkMiniBar;

private:
    void ShowPercent();
};

class TSetupClockPage : public TSetupPage {
    Q_OBJECT
public:
    explicit TSetupClockPage(qt::Services& services, QWidget* parent = nullptr);
    void load(const AppSettings& s) override;
    void store(AppSettings& s) const override;
    void updateEnabled();
    void ShowPreview();
    void BtnClockFontClick();
    void BtnClockColorClick();

    TSetupRadios *RadioClType, *RadioClhour;
    QComboBox* CmbClStyle;
    QLabel* PanelClock;
    // Qt's font dialog has no colour, so the clock's colour has its own button.
    QPushButton *BtnClockFont, *BtnClockColor;
    QCheckBox *ChkLeft, *ChkClsec;

private:
    qt::Services& services_;
    FontSpec font_;
};

} // namespace kal
