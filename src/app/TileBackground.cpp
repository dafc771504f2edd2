#include "app/TileBackground.h"

#include <QFrame>
#include <QPainter>
#include <QPalette>
#include <QWidget>

QList<QPoint> TilePositions(const QSize& tile, const QSize& area) {
    QList<QPoint> positions;
    if (tile.width() <= 0 || tile.height() <= 0)
        return positions;
    for (int x = 0; x <= area.width(); x += tile.width())
        for (int y = 0; y <= area.height(); y += tile.height())
            positions.append(QPoint(x, y));
    return positions;
}

void TileBackground(const QPixmap& picture, QWidget* window) {
    if (picture.isNull() || !window)
        return;
    const QSize tile = picture.deviceIndependentSize().toSize();
    const QSize area = window->size();
    const qreal ratio = window->devicePixelRatioF();
    QPixmap face(area * ratio);
    face.setDevicePixelRatio(ratio);
    face.fill(Qt::white);
    {
        QPainter painter(&face);
        for (const QPoint& at : TilePositions(tile, area))
            painter.drawPixmap(QRect(at, tile), picture);
    }
    QPalette palette = window->palette();
    palette.setBrush(QPalette::Window, QBrush(face));
    window->setPalette(palette);
    window->setAutoFillBackground(true);
}

QPixmap BackgroundTile() {
    return QPixmap(QStringLiteral(":/images/tile.png"));
}

QFrame* NewLinenPanel(QWidget* parent) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QStringLiteral("Shape1"));
    panel->setStyleSheet(QStringLiteral("#Shape1 { background: rgba(255, 255, 255, 150);"
                                        " border: 1px solid rgb(150, 132, 96); border-radius: 6px; }"));
    return panel;
}
