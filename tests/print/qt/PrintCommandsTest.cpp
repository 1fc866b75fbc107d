// The print commands alone: the print dialog and the preview of the month they are given.
#include "print/qt/PrintCommands.h"

#include "print/TDlgPrint.h"
#include "print/TFormPreview.h"
#include "support/PanelFixture.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>

using namespace kal;
using namespace kal::test;

namespace {

struct PrintCommandsFixture : PanelFixture {
    int month = 12; // the month on screen
    std::unique_ptr<qt::PrintCommands> printing;

    void start()
    {
        readSettings();
        printing = std::make_unique<qt::PrintCommands>(
            context,
            [this] {
                return LoadPrintSource(programFolder, 2026, month, {2026, 12, 8}).source;
            },
            &window);
    }
};

} // namespace

TEST_F(PrintCommandsFixture, PrintEntriesOpenTheDialogAndThePreviewOfTheDisplayedMonth)
{
    start();
    bool modalWhileOpen = false;
    int shownMonth = 0;
    dialogs.handlers.push_back([&](QDialog& shown) {
        modalWhileOpen = dialogOpen;
        if (auto* dialog = qobject_cast<TDlgPrint*>(&shown))
            shownMonth = dialog->PanelTitle->text().contains(QString::fromUtf8("12月")) ? 12 : -1;
        return int(QDialog::Rejected);
    });
    printing->TBtnPrint->trigger();
    ASSERT_EQ(dialogs.shownClasses.size(), 1u);
    EXPECT_EQ(dialogs.shownClasses[0], "kal::TDlgPrint");
    EXPECT_TRUE(modalWhileOpen);
    EXPECT_FALSE(dialogOpen);
    EXPECT_EQ(shownMonth, 12);

    printing->MenuPrintPrev->trigger();
    ASSERT_EQ(dialogs.shownClasses.size(), 2u);
    EXPECT_EQ(dialogs.shownClasses[1], "kal::TFormPreview");
}

TEST_F(PrintCommandsFixture, ThePreviewKeepsTheMonthItOpenedWithWhileTheWindowMoves)
{
    start();
    int monthBefore = 0, monthAfter = 0;
    bool setupShown = false;
    dialogs.handlers.push_back([&](QDialog& shown) {
        auto* preview = qobject_cast<TFormPreview*>(&shown);
        if (!preview)
            return int(QDialog::Rejected);
        setupShown = !preview->BtnSetup->isHidden();
        monthBefore = preview->page().source.build.layout.month;
        // A change of day or a periodic refresh while the preview is open.
        month = 1;
        monthAfter = preview->page().source.build.layout.month;
        return int(QDialog::Rejected);
    });
    printing->PrintPreview();
    EXPECT_TRUE(setupShown);
    EXPECT_EQ(monthBefore, 12);
    EXPECT_EQ(monthAfter, 12);
}
