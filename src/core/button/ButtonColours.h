#pragma once

#include <QColor>
#include <QPalette>

// The colour rules of the owner-drawn button. Where colours are stored as numbers they are 0x00BBGGRR.

quint32 ColourToBgr(const QColor& colour);
QColor BgrToColour(quint32 bgr);

// Rounds to the nearest whole number, halves to the even neighbour.
int RoundHalfEven(double value);

// Moves a colour towards light (positive step) or dark (negative step). Red and green take the step as it is;
// blue takes it too, or in the style-3 manner in proportion to its own level (blue + step × blue ÷ 192), which
// keeps the blue tint of that style. A soft bevel halves the step.
QColor Shade(const QColor& colour, int step, bool softBevel = false, bool style3Manner = false);

// Blends a colour towards white: each level c becomes amount + c × (255 − amount) ÷ 255.
QColor Lighten(const QColor& colour, int amount);

// The colours a button is drawn with.
struct ButtonColours {
    QColor face;
    QColor faceOver;
    QColor text;
    QColor textOver;
    QColor light;
    QColor highlight;
    QColor shadow;
    QColor darkShadow;
    QColor focus;
    QColor focusLight;
    QColor mask;
    QColor base; // the face shade that styles 3 and 14 shade from
};

// Everything the colours are derived from.
struct ColourSource {
    int scheme = 2; // 1 system, 2 custom, 3 fixed palette, 4 inherited from the parent
    QColor backColor;
    QColor backOver;
    QColor foreColor;
    QColor foreOver;
    QColor maskColor;
    int buttonType = 14;
    bool softBevel = false;
    QPalette system;   // the system colours of scheme 1, and the highlight of scheme 4
    QColor parentBack; // the parent's background and text colours, for scheme 4
    QColor parentText;
};

// The derived colours. With over set, scheme 2 derives them from BackOver instead of BackColor, which is how a
// hovered button of that scheme is drawn.
ButtonColours DeriveColours(const ColourSource& source, bool over = false);
