// A main window on a fresh program folder, offscreen with the fake platform; today is
// 8 December 2026 unless a test says otherwise.
#pragma once

#include "app/TForm1.h"
#include "support/FakeDialogRunner.h"
#include "support/FakePlatform.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace kal::test {

struct MainWindowFixture : ::testing::Test {
    TempFolder home;
    FakePlatform platform;
    FakeDialogRunner dialogs;
    qt::Services services{platform, dialogs};
    std::unique_ptr<TForm1> form;

    void SetUp() override { platform.setToday(2026, 12, 8); }
    // Writes the settings (a current version plus `extraSettings`) and starts the window.
    void start(const std::string& extraSettings = "")
    {
        home.write("Kalendra.ini", "[Kalendra]\r\nVer=3.01\r\n" + extraSettings);
        form = std::make_unique<TForm1>(services, home.path());
        ASSERT_EQ(form->FormCreate(), 0);
        form->ShowAtStart();
    }
    void TearDown() override
    {
        if (form)
            form->ApplicationExit();
    }
};

} // namespace kal::test
