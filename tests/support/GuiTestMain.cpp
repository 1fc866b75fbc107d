// One QApplication for all window tests, offscreen, created before any test runs.
#include "platform/qt/JapaneseUi.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // As the program does: Qt's system locale is Japanese whatever the environment says.
    kal::qt::useJapaneseSystemLocale();
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
