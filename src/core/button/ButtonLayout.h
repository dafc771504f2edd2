#pragma once

#include <QChar>
#include <QFont>
#include <QRect>
#include <QRegion>
#include <QSize>
#include <QString>

// Where the parts of a button go: its focus rectangle, its caption and the caption's shadow, its picture.
struct ButtonGeometry {
    QRect focusRect;
    QRect captionRect;
    QRect shadowRect; // the caption rectangle one pixel right and down
    // Where the text is drawn, centred: the caption rectangle widened to the whole width it was measured in and
    // two pixels more on either side. Qt's drawing can need a fraction of a pixel more than its measurement (an
    // underlined access key shapes a little wider), and a line must not break where the measurement did not.
    QRect textRect;
    QRect pictureRect;
};

// Picture positions relative to the caption.
enum PicturePlace { PictureLeft = 0, PictureRight = 1, PictureAbove = 2, PictureBelow = 3, PictureBehind = 4 };

// The caption as it is drawn: CR LF and lone CR become line breaks; "&" stays for the access-key underline.
QString CaptionLines(const QString& caption);

// The access key of a caption, lower-cased: the character after the first single "&" ("&&" is a literal
// ampersand and is skipped). None (a null QChar) for a caption of at most one character or one ending in "&".
QChar AccessKey(const QString& caption);

// Lays the button out for its size, style, font, caption and picture. The caption is measured word-wrapped and
// centred in the space the picture leaves.
ButtonGeometry LayOutButton(const QSize& size, int buttonType, const QFont& font, const QString& caption,
                            const QSize& picture, int picturePosition);

// The window shape of a style: style 3 notches its corners (two pixels on the outer row, one on the next),
// style 14 cuts a single pixel at each corner, other styles are plain rectangles.
QRegion ButtonRegion(const QSize& size, int buttonType);
