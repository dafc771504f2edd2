#pragma once

#include "core/button/ButtonColours.h"
#include "core/button/ButtonLayout.h"

#include <QFont>
#include <QImage>
#include <QString>

class QPainter;

// How the pixels of a picture are put on the button. Pixels of the mask colour are always left out (when the
// mask is in use) so that what lies beneath shows through.
enum class PictureInk {
    Colour,     // as they are
    Greyscale,  // grey = 0.30 red + 0.59 green + 0.11 blue in all three channels
    Silhouette, // light pixels (red + green + blue ≥ 385) left out, the others in one colour
    Monochrome, // every pixel in one colour
};

// The picture as an image with an alpha channel: left-out pixels are fully transparent.
QImage InkPicture(const QImage& picture, PictureInk ink, const QColor& colour, bool useMask, const QColor& mask);

// Row i (1 to h) of a style-14 face is the highlight shaded by this step.
int Style14RowStep(int row, int height);
// Row i (1 to h) of a style-3 face is the face shade shaded (style-3 manner) by this step.
int Style3RowStep(int row, int height);

// Everything one drawing of a button needs.
struct ButtonLook {
    QSize size;
    int buttonType = 14;
    int state = 0; // 0 normal, 2 pressed
    bool over = false;
    bool enabled = true;
    bool focused = false;
    bool isDefault = false;
    bool showFocusRect = true;
    bool softBevel = false;
    int specialEffect = 0;
    ButtonColours colours; // already derived for the over flag
    QString caption;       // as set, with "&" and CR LF
    QFont font;
    ButtonGeometry geometry;
    QImage pictureNormal;
    QImage pictureOver;
    int picturePosition = 0;
    bool useMaskColor = true;
    bool useGreyscale = false;
    QImage background; // style 11: the parent's pixels under the button
};

// Draws the button into the painter, whose origin is the button's top left corner.
void PaintButton(QPainter& painter, const ButtonLook& look);

// The button drawn on its own into an image of its size; pixels outside its region keep transparent.
QImage RenderButton(const ButtonLook& look);
