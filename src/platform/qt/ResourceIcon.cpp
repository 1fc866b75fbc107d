#include "platform/qt/ResourceIcon.h"

#include "platform/qt/IconPixels.h"

#include <QApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPixmapCache>
#include <QStyle>
#include <QStyleOption>

namespace kal::qt {
namespace {

class ResourceIconEngine : public QIconEngine {
public:
    explicit ResourceIconEngine(QString name) : name_(std::move(name)) { }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override
    {
        const QString key =
            QStringLiteral("kalendra-icon:%1@%2x%3/%4").arg(name_).arg(size.width()).arg(size.height()).arg(int(mode));
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
    QIconEngine* clone() const override { return new ResourceIconEngine(name_); }
    QString key() const override { return QStringLiteral("KalendraResource"); }

private:
    // The stored picture scaled into the size; other modes as the style makes them (greyed when
    // disabled).
    QPixmap drawn(const QSize& size, QIcon::Mode mode) const
    {
        const QImage stored = storedIconImage(name_, std::max(size.width(), size.height()));
        if (stored.isNull() || size.isEmpty())
            return {};
        QPixmap pixmap = QPixmap::fromImage(
            stored.size() == size ? stored : stored.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation));
        if (mode == QIcon::Normal)
            return pixmap;
        QStyleOption option(0);
        option.palette = QGuiApplication::palette();
        const QPixmap generated = QApplication::style()->generatedIconPixmap(mode, pixmap, &option);
        return generated.isNull() ? pixmap : generated;
    }

    QString name_;
};

} // namespace

QImage storedIconImage(const QString& name, int size)
{
    const IconPixels* best = nullptr;
    for (const IconPixels& icon : iconPixels()) {
        if (name != QLatin1String(icon.name))
            continue;
        // The smallest size not below the one asked for, else the largest.
        if (!best || (best->size < size ? icon.size > best->size : icon.size >= size && icon.size < best->size))
            best = &icon;
    }
    if (!best)
        return {};
    return QImage(reinterpret_cast<const uchar*>(best->pixels), best->size, best->size, best->size * 4,
                  QImage::Format_ARGB32_Premultiplied);
}

QIcon resourceIcon(const QString& name)
{
    return QIcon(new ResourceIconEngine(name));
}

} // namespace kal::qt
