#pragma once

#include <QPixmap>
#include <QSize>

// The title window's emblem: a gold-rimmed shield with a star, drawn at any size.
QPixmap DrawShieldEmblem(const QSize& size, qreal devicePixelRatio);
