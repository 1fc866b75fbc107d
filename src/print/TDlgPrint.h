// The print dialog: edits Kaprint.ini and starts printing or the preview of the month it was
// given. The month is a copy taken when the dialog opened, so nothing that changes meanwhile
// changes what is printed.
#pragma once

#include "platform/qt/Services.h"
#include "print/MonthPrint.h"

#include <QDialog>
#include <QRect>

#include <string>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace kal {

namespace qt {
class PrintTarget;
}

class TDlgPrint : public QDialog {
    Q_OBJECT
public:
    // From the preview's "設定(&S)" the dialog only edits the settings.
    enum class Use { PrintAndPreview, SettingsOnly };

    // `previewPlace` is where a preview opened from here goes (the main window's place).
    TDlgPrint(qt::Services& services, std::string programFolder, qt::PrintTarget& target, PrintSource month, Use use,
              QRect previewPlace, QWidget* parent = nullptr);

    QComboBox* CmbTitle;
    QPushButton* BtnFont;
    // The title's colour, printed with "カラー印刷".
    QPushButton* BtnColor;
    QLabel* PanelTitle;
    QComboBox* CmbDate;
    QSpinBox *SpinTop, *SpinBottom, *SpinLeft, *SpinRight;
    QComboBox* CmbFontSize;
    QGroupBox* RadioOrientation;
    QRadioButton *RadioPortrait, *RadioLandscape;
    QCheckBox* ChkPlace;
    QCheckBox* ChkTodo;
    QCheckBox* ChkUnderline;
    QCheckBox* ChkOtherMon;
    QCheckBox* ChkLight;
    QCheckBox* ChkSatSun;
    QCheckBox* ChkColor;
    QPushButton* BtnPrint;
    QPushButton* BtnPreview;
    QPushButton* BtnSetup;
    QPushButton* BtnOk;
    QPushButton* BtnCancel;

    // The settings as the controls show them.
    PrintSettings settings() const;

    void FormShow();
    void BtnOkClick();
    void PrintRun();
    void BtnPreviewClick();
    void BtnSetupClick();
    void BtnFontClick();
    void BtnColorClick();
    void PanelTitleUpdate();
    void ChkTodoClick();
    void ChkOtherMonClick();

private:
    void buildControls();
    void layOutControls();
    void connectControls();
    void showSettings(const PrintSettings& settings);
    void setCaption();
    // Writes Kaprint.ini; a failure is reported and returns false.
    bool saveSettings();

    qt::Services& services_;
    std::string programFolder_;
    qt::PrintTarget& target_;
    PrintSource month_;
    QRect previewPlace_;
    FontSpec titleFont_;
    bool titleHasColor_ = false;
};

} // namespace kal
