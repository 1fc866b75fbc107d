#include "platform/qt/SvgIcon.h"

#include <QApplication>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QPixmapCache>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>

namespace kal::qt {
namespace {

class SvgIconEngine : public QIconEngine {
public:
    explicit SvgIconEngine(QString resource) : resource_(std::move(resource)) { }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override
    {
        const QString key = QStringLiteral("kalendra-svg:%1@%2x%3/%4")
                                .arg(resource_)
                                .arg(size.width())
                                .arg(size.height())
                                .arg(int(mode));
        QPixmap pixmap;
        if (!QPixmapCache::find(key, &pixmap)) {
            pixmap = drawn(size, mode);
            QPixmapCache::insert(key, pixmap);
        }
        return pixmap;
    }
    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        QSize size = rect.size();
        if (painter->device())
            size *= painter->device()->devicePixelRatio();
        painter->drawPixmap(rect, pixmap(size, mode, state));
    }
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override
    {
        return pixmap(size, mode, state).size();
    }
    QIconEngine* clone() const override { return new SvgIconEngine(resource_); }
    QString key() const override { return QStringLiteral("KalendraSvg"); }

private:
    // As the SVG icon engine draws it: the picture scaled into the size, other modes as the
    // style makes them (greyed when disabled). The parsed picture is not kept, only what was
    // drawn from it: an icon is drawn in few sizes, and thirty parsed pictures cost a fifth of a
    // megabyte.
    QPixmap drawn(const QSize& size, QIcon::Mode mode)
    {
        QSvgRenderer renderer(resource_);
        QSize actual = renderer.defaultSize();
        if (!actual.isNull())
            actual.scale(size, Qt::KeepAspectRatio);
        if (!renderer.isValid() || actual.isEmpty())
            return {};
        QImage image(actual, QImage::Format_ARGB32_Premultiplied);
        image.fill(0);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        QPixmap pixmap = QPixmap::fromImage(image);
        if (mode == QIcon::Normal)
            return pixmap;
        QStyleOption option(0);
        option.palette = QGuiApplication::palette();
        const QPixmap generated = QApplication::style()->generatedIconPixmap(mode, pixmap, &option);
        return generated.isNull() ? pixmap : generated;
    }

    QString resource_;
};

} // namespace

QIcon svgIcon(const QString& resource)
{
    return QIcon(new SvgIconEngine(resource));
}

} // namespace kal::qt
