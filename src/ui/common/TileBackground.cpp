#include "ui/common/TileBackground.h"

#include <QFrame>
#include <QImage>
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
    // The linen is light whatever the desktop's theme, so everything drawn straight onto it (captions, frame
    // titles, tab captions, option texts, the buttons and lists that share the window's button colours) takes
    // the dark text of a light palette; entry boxes keep the desktop's own colours. The brush's colour is the
    // linen's average, for styles that shade with the window colour rather than paint the picture.
    const QColor linen =
        picture.toImage().scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation).pixelColor(0, 0);
    const QPalette light(QColor(240, 240, 240), linen);
    QPalette palette = window->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        for (const QPalette::ColorRole role :
             {QPalette::WindowText, QPalette::Button, QPalette::ButtonText, QPalette::Light, QPalette::Midlight,
              QPalette::Mid, QPalette::Dark, QPalette::Shadow, QPalette::BrightText})
            palette.setColor(group, role, light.color(group, role));
        palette.setBrush(group, QPalette::Window, QBrush(linen, face));
    }
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
