#pragma once

#include <QImage>
#include <QPixmap>
#include <QSize>

// The title window's emblem: a gold-rimmed shield with a star, drawn at any size.
QPixmap DrawShieldEmblem(const QSize& size, qreal devicePixelRatio);
// The drawing itself, on an image (the build draws the emblem of ShieldEmblemBuildSize with it).
QImage PaintShieldEmblem(const QSize& size, qreal devicePixelRatio);
// The emblem's size on a screen of 96 dpi (1500 by 1740 twips), which the build draws ahead.
inline constexpr QSize ShieldEmblemBuildSize(100, 116);

// The title window's backdrop (resources/images/title.png), from the raw pixels the build made of it.
QPixmap TitleBackdrop();
