#include "platform/qt/SvgIcon.h"

#include <QImage>
#include <gtest/gtest.h>

// The icon draws as the SVG icon engine draws the same file, greyed and scaled ones included.
TEST(SvgIcon, DrawsAsTheSvgIconEngineInEveryModeAndSize)
{
    for (const char* resource : {":/icons/tb-note.svg", ":/icons/todo-overdue.svg", ":/icons/program.svg"})
        for (QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled, QIcon::Selected})
            for (int size : {16, 24, 40}) {
                SCOPED_TRACE(testing::Message() << resource << " mode " << mode << " size " << size);
                const QImage expected = QIcon(resource).pixmap(size, size, mode).toImage();
                ASSERT_FALSE(expected.isNull());
                const QIcon icon = kal::qt::svgIcon(resource);
                EXPECT_EQ(icon.actualSize(QSize(size, size), mode), expected.size());
                EXPECT_EQ(icon.pixmap(size, size, mode).toImage(), expected);
                EXPECT_EQ(QIcon(icon).pixmap(size, size, mode).toImage(), expected) << "a copy";
            }
    EXPECT_TRUE(kal::qt::svgIcon(":/icons/no-such.svg").pixmap(16, 16).isNull());
}
