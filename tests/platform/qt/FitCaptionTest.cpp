// Dialogs are at least as wide as their captions when they are shown.
#include "app/TDlgPasswd.h"
#include "app/TDlgVersion.h"
#include "exchange/TDlgIcalRead.h"
#include "platform/qt/Widgets.h"
#include "support/FakeDialogRunner.h"
#include "support/FakePlatform.h"
#include "support/TempFolder.h"

#include <QTest>
#include <gtest/gtest.h>

using namespace kal;
using namespace kal::test;

TEST(FitCaption, NarrowDialogsGrowToTheirCaptionAndKeepTheirHeight)
{
    TempFolder home;
    FakePlatform platform;
    FakeDialogRunner runner;
    qt::Services services{platform, runner};
    TDlgPasswd password(services, home.path(), "パスワードの入力：");
    TDlgVersion version(services);
    TDlgIcalRead ical(services, IcalReadSource{home.file("予定表.ics"), "", home.path(), home.path(), home.path(), {}});
    for (QDialog* dialog : std::initializer_list<QDialog*>{&password, &version, &ical}) {
        SCOPED_TRACE(dialog->windowTitle().toStdString());
        QFont bold = dialog->font();
        bold.setBold(true);
        const int caption = QFontMetrics(bold).horizontalAdvance(dialog->windowTitle());
        const int height = dialog->sizeHint().height();
        qt::fitCaption(*dialog);
        dialog->show();
        QTest::qWait(10);
        EXPECT_GE(dialog->width(), caption + 100) << "room for the title bar's icon and buttons too";
        EXPECT_EQ(dialog->height(), height);
        dialog->hide();
    }
}
