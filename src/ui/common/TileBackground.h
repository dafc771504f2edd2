#pragma once

#include <QList>
#include <QPixmap>
#include <QPoint>
#include <QSize>

class QWidget;

// Where copies of a tile go to cover an area: x from 0 to the area's width in steps of the tile's width, and for
// each x, y from 0 to the height in steps of the tile's height; both ends are included. An empty tile gives
// no positions.
QList<QPoint> TilePositions(const QSize& tile, const QSize& area);

// Covers the window's background with copies of the picture at its own size, at TilePositions. The result
// becomes the window's background brush, so it stays behind every child that does not paint its own.
void TileBackground(const QPixmap& picture, QWidget* window);

// The shared background picture of the dialog windows: a light linen texture.
QPixmap BackgroundTile();

class QFrame;

// The translucent, softly edged panel that holds a dialog's text above the linen, named Shape1.
QFrame* NewLinenPanel(QWidget* parent);
