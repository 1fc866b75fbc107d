// The preview offscreen: zoom limits from the keyboard, the page's size and proportions, the
// settings dialog it opens and printing from it.
#include "print/TFormPreview.h"

#include "print/PrintFixture.h"
#include "print/TDlgPrint.h"
#include "print/qt/MonthPagePainter.h"
#include "print/qt/PageView.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace kal;
using namespace kal::test;

namespace {

struct PreviewFixture : PrintFixture {
    std::unique_ptr<TFormPreview> open(TFormPreview::Opener opener = TFormPreview::Opener::MainWindow)
    {
        return std::make_unique<TFormPreview>(services, home.path(), target, month(), opener, QRect(20, 20, 800, 600));
    }
    // A mnemonic presses its button as a short animation.
    static void press(QWidget* window, Qt::Key key)
    {
        QTest::keyClick(window, key, Qt::AltModifier);
        QTest::qWait(150);
    }
};

} // namespace

TEST_F(PreviewFixture, ZoomStepsByTwentyBetweenFortyAndOneHundredForty)
{
    auto preview = open();
    preview->show();
    preview->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(preview.get()));
    EXPECT_EQ(preview->zoom(), 60);
    EXPECT_EQ(preview->geometry().size(), QSize(800, 600)) << "the main window's place and size";
    const double screenDpi = preview->PaintBox1->logicalDpiY();
    press(preview.get(), Qt::Key_I);
    EXPECT_EQ(preview->zoom(), 80);
    for (int expected : {100, 120, 140, 140}) {
        QTest::mouseClick(preview->BtnZoomIn, Qt::LeftButton);
        EXPECT_EQ(preview->zoom(), expected);
        EXPECT_EQ(preview->PanelPrint->width(), UnitsToPixels(21000, screenDpi * expected / 100));
        EXPECT_EQ(preview->PanelPrint->height(), UnitsToPixels(29700, screenDpi * expected / 100));
    }
    EXPECT_FALSE(preview->BtnZoomIn->isEnabled());
    EXPECT_TRUE(preview->BtnZoomOut->isEnabled());
    press(preview.get(), Qt::Key_O);
    EXPECT_EQ(preview->zoom(), 120);
    for (int expected : {100, 80, 60, 40, 40}) {
        QTest::mouseClick(preview->BtnZoomOut, Qt::LeftButton);
        EXPECT_EQ(preview->zoom(), expected);
    }
    EXPECT_FALSE(preview->BtnZoomOut->isEnabled());
    EXPECT_TRUE(preview->BtnZoomIn->isEnabled());
    QTest::keyClick(preview.get(), Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(preview->zoom(), 60) << "Ctrl++ zooms in as well";
    QTest::keyClick(preview.get(), Qt::Key_Minus, Qt::ControlModifier);
    for (int outside : {20, 160}) {
        preview->SetZoom(outside);
        EXPECT_EQ(preview->zoom(), 40);
    }
    EXPECT_EQ(preview->StatusPanel0->text(), QString::fromUtf8("プリンタ名：　PDF"));
}

TEST_F(PreviewFixture, OrientationChangedThroughSetupLaysThePageOutAgain)
{
    auto preview = open();
    preview->SetZoom(100);
    const PageLayout before = qt::MonthPageLayout(preview->page(), target.frame());
    EXPECT_LT(preview->PanelPrint->width(), preview->PanelPrint->height());

    bool printButtonsHidden = false;
    dialogs.handlers.push_back([&](QDialog& shown) {
        auto* dialog = qobject_cast<TDlgPrint*>(&shown);
        if (!dialog)
            return int(QDialog::Rejected);
        printButtonsHidden = dialog->BtnPrint->isHidden() && dialog->BtnPreview->isHidden();
        QTest::mouseClick(dialog->RadioLandscape, Qt::LeftButton);
        QTest::mouseClick(dialog->BtnOk, Qt::LeftButton);
        return dialog->result();
    });
    QTest::mouseClick(preview->BtnSetup, Qt::LeftButton);
    EXPECT_TRUE(printButtonsHidden);
    EXPECT_EQ(preview->zoom(), 60);
    EXPECT_GT(preview->PanelPrint->width(), preview->PanelPrint->height());
    EXPECT_EQ(preview->page().settings.orientation, PageOrientation::Landscape);
    const PageLayout after = qt::MonthPageLayout(preview->page(), target.frame());
    EXPECT_GT(after.columnEdges[1] - after.columnEdges[0], before.columnEdges[1] - before.columnEdges[0]);
    EXPECT_LT(after.rowBottom(1) - after.rowTop(1), before.rowBottom(1) - before.rowTop(1));
    EXPECT_EQ(target.orientation(), PageOrientation::Landscape);
}

TEST_F(PreviewFixture, FromThePrintDialogThereIsNoSetupAndPrintingKeepsThePreviewOpen)
{
    auto preview = open(TFormPreview::Opener::PrintDialog);
    EXPECT_TRUE(preview->BtnSetup->isHidden());
    EXPECT_EQ(preview->page().source.build.layout.month, 5);
    platform.fileAnswers.push_back(home.path() + "preview.pdf");
    QTest::mouseClick(preview->BtnPrint, Qt::LeftButton);
    EXPECT_EQ(home.read("preview.pdf").substr(0, 5), "%PDF-");
    EXPECT_NE(preview->result(), QDialog::Accepted);
    EXPECT_TRUE(platform.messages.empty());
}
