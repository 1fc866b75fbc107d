// Every icon of the program is compiled in and draws something at tool-bar and list sizes.
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSet>
#include <QSvgRenderer>
#include <gtest/gtest.h>

namespace {

const char* const kIcons[] = {
    "program",      "alarm",       "message",      "alarm-off",    "memo",        "todo-overdue", "todo-today",
    "todo-warning", "todo-normal", "signal",       "tb-home",      "tb-print",    "tb-preview",   "tb-sch-add",
    "tb-sch-list",  "tb-note",     "tb-memo-edit", "tb-memo-list", "tb-todo-add", "tb-holiday",   "tb-delete",
    "tb-clock",     "tb-weekly",   "tb-monthly",   "tb-panel",     "tb-mini",     "tb-tray",      "tb-find",
    "tb-jump",      "tb-cat",      "tb-cat-view",  "tb-setup",
};

QImage render(QSvgRenderer& renderer, int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

} // namespace

TEST(IconResources, EveryIconIsCompiledInAndDraws)
{
    for (const char* name : kIcons) {
        QString path = QString(":/icons/%1.svg").arg(name);
        SCOPED_TRACE(path.toStdString());
        ASSERT_TRUE(QFile::exists(path));
        QSvgRenderer renderer(path);
        ASSERT_TRUE(renderer.isValid());
        for (int size : {16, 20, 48}) {
            QImage image = render(renderer, size);
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
