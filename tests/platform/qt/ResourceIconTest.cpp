#include "platform/qt/ResourceIcon.h"
#include "platform/qt/IconPixels.h"

#include <QImage>
#include <QPixmap>
#include <algorithm>
#include <gtest/gtest.h>

namespace {

// The stored sizes of an icon, ascending.
std::vector<int> storedSizes(const char* name)
{
    std::vector<int> sizes;
    for (const kal::qt::IconPixels& icon : kal::qt::iconPixels())
        if (std::string_view(icon.name) == name)
            sizes.push_back(icon.size);
    std::sort(sizes.begin(), sizes.end());
    return sizes;
}

} // namespace

// A stored size is drawn as stored; a size between two is the next larger one scaled down, one
// above the largest is scaled up; other modes are greyed from the same picture.
TEST(ResourceIcon, DrawsTheStoredSizeOrScalesTheNextLarger)
{
    for (const char* name : {"tb-note", "todo-overdue", "program"}) {
        const std::vector<int> stored = storedSizes(name);
        ASSERT_GE(stored.size(), 3u) << name;
        const QIcon icon = kal::qt::resourceIcon(name);
        const std::pair<int, int> cases[] = {{stored[0], stored[0]},
                                             {stored[0] - 4, stored[0]},
                                             {stored[1] - 1, stored[1]},
                                             {stored.back() + 8, stored.back()}};
        for (const auto& [size, from] : cases) {
            SCOPED_TRACE(testing::Message() << name << " size " << size);
            QImage expected = kal::qt::storedIconImage(name, size);
            ASSERT_EQ(expected.size(), QSize(from, from));
            if (size != from)
                expected = expected.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
            const QImage normal = icon.pixmap(size, size).toImage();
            EXPECT_EQ(normal, QPixmap::fromImage(expected).toImage());
            EXPECT_EQ(QIcon(icon).pixmap(size, size).toImage(), normal) << "a copy";
            const QImage disabled = icon.pixmap(size, size, QIcon::Disabled).toImage();
            EXPECT_EQ(disabled.size(), normal.size());
            EXPECT_NE(disabled, normal);
        }
    }
    EXPECT_TRUE(kal::qt::resourceIcon("no-such").pixmap(16, 16).isNull());
    EXPECT_TRUE(kal::qt::storedIconImage("no-such", 16).isNull());
}
