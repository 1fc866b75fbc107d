// The print commands of the main window.
#include "print/TDlgPrint.h"
#include "print/TFormPreview.h"
#include "support/MainWindowFixture.h"

#include <QAction>
#include <QLabel>
#include <QPushButton>
#include <QTest>

using namespace kal;
using namespace kal::test;

TEST_F(MainWindowFixture, PrintEntriesOpenTheDialogAndThePreviewOfTheDisplayedMonth)
{
    start();
    for (QAction* entry : {form->Printing->MenuPrint, form->Printing->TBtnPrint, form->Printing->MenuPrintPrev,
                           form->Printing->TBtnPreview})
        EXPECT_TRUE(entry->isEnabled()) << entry->objectName().toStdString();

    bool modalWhileOpen = false;
    int shownMonth = 0;
    dialogs.handlers.push_back([&](QDialog& shown) {
        modalWhileOpen = form->state().modalDialogOpen;
        if (auto* dialog = qobject_cast<TDlgPrint*>(&shown))
            shownMonth = dialog->PanelTitle->text().contains(QString::fromUtf8("12月")) ? 12 : -1;
        return int(QDialog::Rejected);
    });
    form->Printing->TBtnPrint->trigger();
    ASSERT_EQ(dialogs.shownClasses.size(), 1u);
    EXPECT_EQ(dialogs.shownClasses[0], "kal::TDlgPrint");
    EXPECT_TRUE(modalWhileOpen);
    EXPECT_FALSE(form->state().modalDialogOpen);
    EXPECT_EQ(shownMonth, 12);

    form->Printing->MenuPrintPrev->trigger();
    ASSERT_EQ(dialogs.shownClasses.size(), 2u);
    EXPECT_EQ(dialogs.shownClasses[1], "kal::TFormPreview");
}

TEST_F(MainWindowFixture, ThePreviewKeepsTheMonthItOpenedWithWhileTheWindowMoves)
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
        form->Calendar->NextMonthChange();
        monthAfter = preview->page().source.build.layout.month;
        return int(QDialog::Rejected);
    });
    form->Printing->PrintPreview();
    EXPECT_TRUE(setupShown);
    EXPECT_EQ(monthBefore, 12);
    EXPECT_EQ(monthAfter, 12);
    EXPECT_EQ(form->Calendar->cursor().viewMonth, 1);
}
