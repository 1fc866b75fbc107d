#include "platform/qt/DeferredIcons.h"

#include <QApplication>
#include <QImage>
#include <QStyle>
#include <QStyleFactory>
#include <gtest/gtest.h>

#include <memory>

// Deferred or not, every icon the style gives draws as the plain style draws it.
TEST(DeferredIcons, TheStyleGivesTheSameIconsAndDrawsTheOverflowButtonsWhenAsked)
{
    std::unique_ptr<QStyle> plain(QStyleFactory::create(QApplication::style()->name()));
    kal::qt::deferOverflowIcons();
    kal::qt::deferOverflowIcons(); // once only: the second call keeps the first style
    const QStyle* deferring = QApplication::style();
    for (QStyle::StandardPixmap which : {QStyle::SP_ToolBarHorizontalExtensionButton,
                                         QStyle::SP_ToolBarVerticalExtensionButton, QStyle::SP_MessageBoxWarning}) {
        SCOPED_TRACE(which);
        const QIcon icon = deferring->standardIcon(which);
        EXPECT_FALSE(icon.isNull());
        const QImage expected = plain->standardIcon(which).pixmap(16, 16).toImage();
        ASSERT_FALSE(expected.isNull());
        EXPECT_EQ(QIcon(icon).pixmap(16, 16).toImage(), expected); // a copy draws too
    }
    kal::qt::deferOverflowIcons();
    EXPECT_EQ(QApplication::style(), deferring);
}
