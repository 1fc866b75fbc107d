// Every icon of the program is compiled in, in every size the window draws from, and draws
// something there.
#include "platform/qt/ResourceIcon.h"

#include <QImage>
#include <QSet>
#include <gtest/gtest.h>

namespace {

const char* const kIcons[] = {
    "program",      "alarm",       "message",      "alarm-off",    "memo",        "todo-overdue", "todo-today",
    "todo-warning", "todo-normal", "signal",       "tb-home",      "tb-print",    "tb-preview",   "tb-sch-add",
    "tb-sch-list",  "tb-note",     "tb-memo-edit", "tb-memo-list", "tb-todo-add", "tb-holiday",   "tb-delete",
    "tb-clock",     "tb-weekly",   "tb-monthly",   "tb-panel",     "tb-mini",     "tb-tray",      "tb-find",
    "tb-jump",      "tb-cat",      "tb-cat-view",  "tb-setup",
};

} // namespace

TEST(IconResources, EveryIconIsCompiledInAndDraws)
{
    for (const char* name : kIcons) {
        for (int size : {16, 20, 32, 40}) {
            SCOPED_TRACE(testing::Message() << name << " size " << size);
            const QImage image = kal::qt::storedIconImage(name, size);
            ASSERT_EQ(image.size(), QSize(size, size));
            int inked = 0;
            QSet<QRgb> colours;
            for (int y = 0; y < size; ++y)
                for (int x = 0; x < size; ++x)
                    if (qAlpha(image.pixel(x, y)) > 128) {
                        ++inked;
                        colours.insert(image.pixel(x, y));
                    }
            // A real drawing covers a fair part of the square and has more than one colour.
            EXPECT_GT(inked, size * size / 6) << size;
            EXPECT_GT(colours.size(), 1) << size;
        }
    }
}
