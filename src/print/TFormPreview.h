// The print preview: the month page drawn by the same routine as the printout, at 40 to 140 %.
// It shows the copy of the month it was given and the stored print settings.
#pragma once

#include "platform/qt/Services.h"
#include "print/MonthPrint.h"

#include <QDialog>
#include <QRect>

#include <string>

class QLabel;
class QPushButton;
class QScrollArea;
class QStatusBar;

namespace kal {

namespace qt {
class PageView;
class PrintTarget;
} // namespace qt

inline constexpr int kMinZoom = 40, kMaxZoom = 140, kZoomStep = 20, kOpeningZoom = 60;

class TFormPreview : public QDialog {
    Q_OBJECT
public:
    // Opened from the print dialog, "設定(&S)" is hidden (that dialog is already open).
    enum class Opener { MainWindow, PrintDialog };

    TFormPreview(qt::Services& services, std::string programFolder, qt::PrintTarget& target, PrintSource month,
                 Opener opener, QRect place, QWidget* parent = nullptr);

    QPushButton* BtnPrint;
    QPushButton* BtnZoomIn;
    QPushButton* BtnZoomOut;
    QPushButton* BtnSetup;
    QPushButton* BtnClose;
    QScrollArea* ScrollBox1;
    QWidget* PanelPrint;
    qt::PageView* PaintBox1;
    QStatusBar* StatusBar1;
    QLabel* StatusPanel0;

    int zoom() const { return zoom_; }
    const MonthPage& page() const { return page_; }
    // Pixels per inch of the page on the screen at the current zoom.
    double pageDpi() const;

    // Reads Kaprint.ini and lays the page out at the opening zoom.
    void FormShow();
    // Ignored outside 40..140 or when it is the current zoom.
    void SetZoom(int zoom);
    void BtnZoomInClick();
    void BtnZoomOutClick();
    void BtnPrintClick();
    void BtnSetupClick();

private:
    void buildControls();
    void LayOutPage();

    qt::Services& services_;
    std::string programFolder_;
    qt::PrintTarget& target_;
    PrintSource month_;
    MonthPage page_;
    QWidget* pageHolder_ = nullptr;
    int zoom_ = 0;
};

} // namespace kal
