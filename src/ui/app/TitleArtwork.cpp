#include "ui/app/TitleArtwork.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QResource>
#include <QtMath>

#include <cstring>

static QPainterPath shieldPath(const QRectF& r) {
    QPainterPath path;
    const qreal w = r.width();
    const qreal h = r.height();
    path.moveTo(r.left() + w * 0.5, r.top());
    path.cubicTo(r.left() + w * 0.68, r.top() + h * 0.07, r.left() + w * 0.86, r.top() + h * 0.09, r.right(),
                 r.top() + h * 0.08);
    path.cubicTo(r.right(), r.top() + h * 0.45, r.right() - w * 0.06, r.top() + h * 0.78, r.left() + w * 0.5,
                 r.bottom());
    path.cubicTo(r.left() + w * 0.06, r.top() + h * 0.78, r.left(), r.top() + h * 0.45, r.left(), r.top() + h * 0.08);
    path.cubicTo(r.left() + w * 0.14, r.top() + h * 0.09, r.left() + w * 0.32, r.top() + h * 0.07, r.left() + w * 0.5,
                 r.top());
    path.closeSubpath();
    return path;
}

static QPainterPath starPath(const QPointF& centre, qreal outer, qreal inner) {
    QPainterPath path;
    for (int i = 0; i < 10; ++i) {
        const qreal radius = i % 2 == 0 ? outer : inner;
        const qreal angle = qDegreesToRadians(-90.0 + i * 36.0);
        const QPointF p(centre.x() + radius * qCos(angle), centre.y() + radius * qSin(angle));
        if (i == 0)
            path.moveTo(p);
        else
            path.lineTo(p);
    }
    path.closeSubpath();
    return path;
}

namespace {

// A picture the build made: width and height as two 32-bit numbers, then the rows of 32-bit pixels.
QImage rawPicture(const QString& resource, QImage::Format format) {
    const QResource stored(resource);
    const QByteArray bytes = stored.uncompressedData();
    quint32 size[2] = {0, 0};
    if (bytes.size() >= qsizetype(sizeof size))
        std::memcpy(size, bytes.constData(), sizeof size);
    const qsizetype row = qsizetype(size[0]) * 4;
    if (size[0] == 0 || bytes.size() != qsizetype(sizeof size) + row * size[1])
        return QImage();
    const auto* pixels = reinterpret_cast<const uchar*>(bytes.constData() + sizeof size);
    // The pixels are shown where the program holds them, without a copy, when they are stored as they are and lie
    // as an image needs them (a painter that drew on them would copy them first).
    if (stored.compressionAlgorithm() == QResource::NoCompression &&
        reinterpret_cast<quintptr>(pixels) % alignof(quint32) == 0)
        return QImage(pixels, static_cast<int>(size[0]), static_cast<int>(size[1]), row, format);
    QImage image(static_cast<int>(size[0]), static_cast<int>(size[1]), format);
    for (int y = 0; y < image.height(); ++y)
        std::memcpy(image.scanLine(y), pixels + y * row, size_t(row));
    return image;
}

} // namespace

QPixmap DrawShieldEmblem(const QSize& size, qreal devicePixelRatio) {
    // The size of a screen at 96 dpi comes ready from the build: drawing it is most of what the title window costs
    // to show, and its larger fills start the painting threads.
    if (devicePixelRatio == 1 && size == ShieldEmblemBuildSize) {
        QImage built = rawPicture(QStringLiteral(":/images/emblem.argb32"), QImage::Format_ARGB32_Premultiplied);
        if (built.size() == size)
            return QPixmap::fromImage(std::move(built));
    }
    return QPixmap::fromImage(PaintShieldEmblem(size, devicePixelRatio));
}

QImage PaintShieldEmblem(const QSize& size, qreal devicePixelRatio) {
    QImage picture(size * devicePixelRatio, QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(devicePixelRatio);
    picture.fill(Qt::transparent);

    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF outer = QRectF(QPointF(0, 0), QSizeF(size)).adjusted(3, 3, -3, -3);

    // A soft shadow below the shield lifts it off the backdrop.
    p.save();
    p.translate(0, 3);
    p.fillPath(shieldPath(outer), QColor(0, 0, 0, 70));
    p.restore();

    QLinearGradient gold(outer.topLeft(), outer.bottomRight());
    gold.setColorAt(0.0, QColor(246, 222, 150));
    gold.setColorAt(0.45, QColor(201, 160, 74));
    gold.setColorAt(1.0, QColor(150, 112, 42));
    p.fillPath(shieldPath(outer), gold);

    const qreal rim = outer.width() * 0.08;
    const QRectF inner = outer.adjusted(rim, rim * 1.1, -rim, -rim * 1.4);
    QRadialGradient field(inner.center() - QPointF(inner.width() * 0.2, inner.height() * 0.25), inner.height());
    field.setColorAt(0.0, QColor(44, 82, 140));
    field.setColorAt(1.0, QColor(12, 28, 60));
    p.fillPath(shieldPath(inner), field);

    const QPointF centre = inner.center() - QPointF(0, inner.height() * 0.05);
    const qreal starSize = inner.width() * 0.36;
    p.fillPath(starPath(centre, starSize, starSize * 0.42), gold);
    p.setPen(QPen(QColor(255, 240, 200, 160), 1.0));
    p.setBrush(Qt::NoBrush);
    p.drawPath(starPath(centre, starSize, starSize * 0.42));

    // A fine highlight along the rim's upper edge.
    p.setPen(QPen(QColor(255, 248, 220, 150), 1.2));
    p.drawPath(shieldPath(outer.adjusted(1, 1, -1, -1)));
    p.end();
    return picture;
}

QPixmap TitleBackdrop() {
    return QPixmap::fromImage(rawPicture(QStringLiteral(":/images/title.rgb32"), QImage::Format_RGB32));
}
