// One panel of the main window on a fresh program folder, built alone from its context,
// offscreen with the fake platform; today is 8 December 2026 and so is the selected day unless a
// test says otherwise. The rebuilds a panel asks of the window are counted.
#pragma once

#include "exchange/RecordIdentities.h"
#include "settings/qt/PanelContext.h"
#include "support/FakeDialogRunner.h"
#include "support/FakePlatform.h"
#include "support/TempFolder.h"

#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace kal::test {

struct PanelFixture : ::testing::Test {
    TempFolder home;
    FakePlatform platform;
    FakeDialogRunner dialogs;
    bool dialogOpen = false; // the window's ModalDialogOpen, raised by the panels' dialogs
    qt::FlaggingDialogRunner flaggingDialogs{dialogs, dialogOpen};
    qt::Services services{platform, flaggingDialogs};
    AppSettings settings;
    std::string programFolder = home.path();
    IdentityFollower identities{programFolder};
    Date selected{2026, 12, 8};
    int rebuilds = 0;                  // rebuildMonth requests
    std::function<void()> whenRebuilt; // the calendar's part: what it shows again
    QWidget window;                    // the panels' parent, as the main window is
    qt::PanelContext context{services,
                             settings,
                             programFolder,
                             &identities,
                             dialogOpen,
                             [this] { return selected; },
                             [] { return QPoint(16, 24); },
                             [this] { rebuilt(); },
                             [](const std::string&, const std::vector<files::FileProblem>&) {}};

    void rebuilt()
    {
        ++rebuilds;
        if (whenRebuilt)
            whenRebuilt();
    }
    void SetUp() override { platform.setToday(2026, 12, 8); }
    // Writes the settings (a current version plus `extraSettings`) and reads them as the window does.
    void readSettings(const std::string& extraSettings = "")
    {
        home.write("Kalendra.ini", "[Kalendra]\r\nVer=3.01\r\n" + extraSettings);
        IniFile ini(home.file("Kalendra.ini"));
        ini.load();
        ASSERT_TRUE(kal::readSettings(ini, programFolder, settings).ok);
    }
};

} // namespace kal::test
