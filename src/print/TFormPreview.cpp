#include "print/TFormPreview.h"

#include "platform/qt/QtText.h"
#include "platform/qt/Widgets.h"
#include "print/TDlgPrint.h"
#include "print/qt/PageView.h"
#include "print/qt/PrintOutput.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QShortcut>
#include <QStatusBar>
#include <QVBoxLayout>

namespace kal {
namespace {

constexpr int kPageGap = 4; // pixels around the page when it is larger than the box

} // namespace

TFormPreview::TFormPreview(qt::Services& services, std::string programFolder, qt::PrintTarget& target,
                           PrintSource month, Opener opener, QRect place, QWidget* parent)
    : QDialog(parent), services_(services), programFolder_(std::move(programFolder)), target_(target),
      month_(std::move(month))
{
    setObjectName("TFormPreview");
    setWindowTitle(QString::fromUtf8("印刷プレビュー"));
    setSizeGripEnabled(true);
    buildControls();
    BtnSetup->setVisible(opener == Opener::MainWindow);
    if (place.isValid())
        setGeometry(place);
    FormShow();
}

void TFormPreview::buildControls()
{
    BtnPrint = qt::namedButton("BtnPrint", "印刷(&P)", this);
    BtnZoomIn = qt::namedButton("BtnZoomIn", "拡大(&I)", this);
    BtnZoomOut = qt::namedButton("BtnZoomOut", "縮小(&O)", this);
    BtnSetup = qt::namedButton("BtnSetup", "設定(&S)", this);
    BtnClose = qt::namedButton("BtnClose", "閉じる(&C)", this);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName("ScrollBox1");
    ScrollBox1->setAlignment(Qt::AlignCenter);
    ScrollBox1->setBackgroundRole(QPalette::Dark);
    pageHolder_ = new QWidget;
    PanelPrint = new QWidget(pageHolder_);
    PanelPrint->setObjectName("PanelPrint");
    PanelPrint->setAutoFillBackground(true);
    QPalette paper = PanelPrint->palette();
    paper.setColor(QPalette::Window, Qt::white);
    PanelPrint->setPalette(paper);
    PaintBox1 = new qt::PageView(PanelPrint);
    PaintBox1->setObjectName("PaintBox1");
    ScrollBox1->setWidget(pageHolder_);

    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName("StatusBar1");
    StatusBar1->setSizeGripEnabled(false);
    StatusPanel0 = new QLabel(StatusBar1);
    StatusPanel0->setObjectName("StatusPanel0");
    StatusBar1->addWidget(StatusPanel0, 1);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {BtnPrint, BtnZoomIn, BtnZoomOut, BtnSetup})
        buttons->addWidget(button);
    buttons->addStretch();
    buttons->addWidget(BtnClose);

    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(0, 4, 0, 0);
    buttons->setContentsMargins(6, 0, 6, 0);
    main->addLayout(buttons);
    main->addWidget(ScrollBox1, 1);
    main->addWidget(StatusBar1);

    connect(BtnPrint, &QPushButton::clicked, this, &TFormPreview::BtnPrintClick);
    connect(BtnZoomIn, &QPushButton::clicked, this, &TFormPreview::BtnZoomInClick);
    connect(BtnZoomOut, &QPushButton::clicked, this, &TFormPreview::BtnZoomOutClick);
    connect(BtnSetup, &QPushButton::clicked, this, &TFormPreview::BtnSetupClick);
    connect(BtnClose, &QPushButton::clicked, this, &QDialog::reject);
    // The usual zoom keys besides the buttons' own Alt+I and Alt+O.
    connect(new QShortcut(QKeySequence::ZoomIn, this), &QShortcut::activated, this, &TFormPreview::BtnZoomInClick);
    connect(new QShortcut(QKeySequence::ZoomOut, this), &QShortcut::activated, this, &TFormPreview::BtnZoomOutClick);
}

void TFormPreview::FormShow()
{
    page_ = ComposeMonthPage(month_, LoadPrintSettings(programFolder_));
    target_.setOrientation(page_.settings.orientation);
    zoom_ = kOpeningZoom;
    LayOutPage();
}

double TFormPreview::pageDpi() const
{
    return PaintBox1->logicalDpiY() * zoom_ / 100.0;
}

void TFormPreview::LayOutPage()
{
    StatusPanel0->setText(QString::fromUtf8("プリンタ名：　") + target_.name());
    const PageFrame frame = target_.frame();
    const double dpi = pageDpi();
    const QSize paper(UnitsToPixels(frame.width, dpi), UnitsToPixels(frame.height, dpi));
    PanelPrint->setGeometry(QRect(QPoint(kPageGap, kPageGap), paper));
    pageHolder_->resize(paper + QSize(2 * kPageGap, 2 * kPageGap));
    const QPoint offset(UnitsToPixels(frame.minLeft, dpi), UnitsToPixels(frame.minTop, dpi));
    const QPoint end(UnitsToPixels(frame.width - frame.minRight, dpi),
                     UnitsToPixels(frame.height - frame.minBottom, dpi));
    PaintBox1->setGeometry(QRect(offset, end - QPoint(1, 1)));
    PaintBox1->setPage(&page_, frame, dpi);
    BtnZoomIn->setEnabled(zoom_ < kMaxZoom);
    BtnZoomOut->setEnabled(zoom_ > kMinZoom);
}

void TFormPreview::SetZoom(int zoom)
{
    if (zoom == zoom_ || zoom < kMinZoom || zoom > kMaxZoom)
        return;
    zoom_ = zoom;
    LayOutPage();
}

void TFormPreview::BtnZoomInClick()
{
    SetZoom(zoom_ + kZoomStep);
}

void TFormPreview::BtnZoomOutClick()
{
    SetZoom(zoom_ - kZoomStep);
}

void TFormPreview::BtnPrintClick()
{
    qt::PrintPage(services_, target_, page_);
}

void TFormPreview::BtnSetupClick()
{
    TDlgPrint dialog(services_, programFolder_, target_, month_, TDlgPrint::Use::SettingsOnly, geometry(), this);
    if (services_.dialogs.run(dialog) != QDialog::Accepted)
        return;
    FormShow();
}

} // namespace kal
