#include "platform/qt/DeferredIcons.h"

#include <QApplication>
#include <QImage>
#include <QProxyStyle>
#include <QStyle>
#include <gtest/gtest.h>

// Deferred or not, every icon the style gives draws as the plain style draws it.
TEST(DeferredIcons, TheStyleGivesTheSameIconsAndDrawsTheOverflowButtonsWhenAsked)
{
    kal::qt::deferOverflowIcons();
    const QStyle* deferring = QApplication::style();
    auto* proxy = qobject_cast<const QProxyStyle*>(deferring);
    ASSERT_NE(proxy, nullptr);
    const QStyle* plain = proxy->baseStyle();
    for (QStyle::StandardPixmap which : {QStyle::SP_ToolBarHorizontalExtensionButton,
                                         QStyle::SP_ToolBarVerticalExtensionButton, QStyle::SP_MessageBoxWarning}) {
        SCOPED_TRACE(which);
        const QIcon icon = deferring->standardIcon(which);
        const QImage expected = plain->standardIcon(which).pixmap(16, 16).toImage();
        ASSERT_FALSE(expected.isNull());
        EXPECT_EQ(QIcon(icon).pixmap(16, 16).toImage(), expected); // a copy draws too
    }
}
