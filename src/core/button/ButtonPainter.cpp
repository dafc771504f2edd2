#include "core/button/ButtonPainter.h"

#include <QPainter>

QImage InkPicture(const QImage& picture, PictureInk ink, const QColor& colour, bool useMask, const QColor& mask) {
    QImage source = picture.convertToFormat(QImage::Format_RGB32);
    QImage result(source.size(), QImage::Format_ARGB32);
    const QRgb maskRgb = mask.rgb() & RGB_MASK;
    const QRgb solid = colour.rgb() | 0xFF000000u;
    for (int y = 0; y < source.height(); ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        QRgb* out = reinterpret_cast<QRgb*>(result.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            const QRgb px = in[x] & RGB_MASK;
            if (useMask && px == maskRgb) {
                out[x] = 0;
                continue;
            }
            switch (ink) {
            case PictureInk::Colour:
                out[x] = px | 0xFF000000u;
                break;
            case PictureInk::Greyscale: {
                const int grey = RoundHalfEven(0.30 * qRed(px) + 0.59 * qGreen(px) + 0.11 * qBlue(px));
                out[x] = qRgb(grey, grey, grey);
                break;
            }
            case PictureInk::Silhouette:
                out[x] = qRed(px) + qGreen(px) + qBlue(px) >= 385 ? 0 : solid;
                break;
            case PictureInk::Monochrome:
                out[x] = solid;
                break;
            }
        }
    }
    return result;
}

int Style14RowStep(int row, int height) {
    return height > 0 ? -RoundHalfEven(58.0 * row / height) : 0;
}

int Style3RowStep(int row, int height) {
    return height > 0 ? -RoundHalfEven(25.0 * row / height) : 0;
}

namespace {

// The drawing primitives of the button. Rectangles are given as left, top, width and height; a line runs from
// its first point up to, but not including, its second, as the system's own line drawing does.
class ButtonCanvas {
public:
    ButtonCanvas(QPainter& painter, const ButtonLook& look)
        : p(painter), look(look), c(look.colours), w(look.size.width()), h(look.size.height()) {}

    void Draw();

private:
    QColor Shade(const QColor& colour, int step) const { return ::Shade(colour, step, look.softBevel, false); }
    QColor Shade3(const QColor& colour, int step) const { return ::Shade(colour, step, look.softBevel, true); }

    void Fill(int x, int y, int fw, int fh, const QColor& colour) {
        if (fw > 0 && fh > 0)
            p.fillRect(QRect(x, y, fw, fh), colour);
    }
    void Frame(int x, int y, int fw, int fh, const QColor& colour) {
        if (fw <= 0 || fh <= 0)
            return;
        Fill(x, y, fw, 1, colour);
        Fill(x, y + fh - 1, fw, 1, colour);
        Fill(x, y, 1, fh, colour);
        Fill(x + fw - 1, y, 1, fh, colour);
    }
    void Line(int x1, int y1, int x2, int y2, const QColor& colour) {
        if (y1 == y2) {
            if (x2 > x1)
                Fill(x1, y1, x2 - x1, 1, colour);
            else if (x2 < x1)
                Fill(x2 + 1, y1, x1 - x2, 1, colour);
        } else if (x1 == x2) {
            if (y2 > y1)
                Fill(x1, y1, 1, y2 - y1, colour);
            else
                Fill(x1, y2 + 1, 1, y1 - y2, colour);
        }
    }
    void Pixel(int x, int y, const QColor& colour) { Fill(x, y, 1, 1, colour); }
    void Bevel(const QColor& topLeft, const QColor& bottomRight) {
        Fill(0, 0, w, 1, topLeft);
        Fill(0, 0, 1, h, topLeft);
        Fill(0, h - 1, w, 1, bottomRight);
        Fill(w - 1, 0, 1, h, bottomRight);
    }

    void Text(const QRect& rect, const QColor& colour);
    void Caption(int mode);
    void Picture(int mode);
    void FocusMark();

    void Style14();
    void Style11();
    void Style3();
    void Style3Corners(const QColor& frame, const QColor& corner);
    void Style3Edge(const QColor (&edge)[6]);

    QPainter& p;
    const ButtonLook& look;
    const ButtonColours& c;
    const int w;
    const int h;
    int captionMode = 0;
};

void ButtonCanvas::Text(const QRect& rect, const QColor& colour) {
    p.setPen(colour);
    p.drawText(rect, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic,
               CaptionLines(look.caption));
}

void ButtonCanvas::Caption(int mode) {
    captionMode = mode;
    if (look.caption.isEmpty())
        return;
    p.setFont(look.font);
    const QRect at = look.geometry.textRect;
    const QRect shadow = at.translated(1, 1);
    switch (mode) {
    case 0:
    case 1: {
        const QColor ink = mode == 0 ? c.text : c.textOver;
        // The caption effects: raised, sunken, a drop shadow, an outline and a soft glow.
        switch (look.specialEffect) {
        case 1:
            Text(at.translated(-1, -1), c.highlight);
            break;
        case 2:
            Text(shadow, c.highlight);
            break;
        case 3:
            Text(at.translated(2, 2), c.shadow);
            break;
        case 4:
            for (const QPoint d : {QPoint(-1, 0), QPoint(1, 0), QPoint(0, -1), QPoint(0, 1)})
                Text(at.translated(d), c.shadow);
            break;
        case 5:
            Text(at.translated(-1, -1), c.light);
            Text(shadow, c.light);
            break;
        default:
            break;
        }
        Text(at, ink);
        break;
    }
    case 2:
        Text(shadow, c.textOver);
        break;
    case 3:
        Text(shadow, c.highlight);
        Text(at, c.shadow);
        break;
    case 4:
        Text(at, Shade3(c.base, -104));
        break;
    case 5:
        Text(shadow, Shade(c.shadow, -50));
        Text(at, c.highlight);
        break;
    default:
        break;
    }
}

void ButtonCanvas::Picture(int mode) {
    if (look.pictureNormal.isNull())
        return;
    const QRect at = look.geometry.pictureRect;
    const QPoint moved = at.topLeft() + QPoint(1, 1);
    const QImage& chosen = look.pictureOver.isNull() ? look.pictureNormal : look.pictureOver;
    auto ink = [this](const QImage& picture, PictureInk how, const QColor& colour = QColor()) {
        return InkPicture(picture, how, colour, look.useMaskColor, c.mask);
    };
    switch (mode) {
    case 0:
        if (look.over)
            p.drawImage(at.topLeft(), ink(chosen, PictureInk::Colour));
        else
            p.drawImage(at.topLeft(),
                        ink(look.pictureNormal, look.useGreyscale ? PictureInk::Greyscale : PictureInk::Colour));
        break;
    case 1:
        p.drawImage(moved, ink(chosen, PictureInk::Colour));
        break;
    default:
        if (look.buttonType == 3) {
            p.drawImage(moved, ink(look.pictureNormal, PictureInk::Greyscale));
        } else {
            p.drawImage(moved, ink(look.pictureNormal, PictureInk::Silhouette, c.highlight));
            p.drawImage(at.topLeft(), ink(look.pictureNormal, PictureInk::Silhouette, c.shadow));
        }
        break;
    }
    // A picture behind the caption would hide it; the caption goes on top again.
    if (look.picturePosition == PictureBehind)
        Caption(captionMode);
}

void ButtonCanvas::FocusMark() {
    if (!look.focused || !look.showFocusRect)
        return;
    const QRect r = look.geometry.focusRect;
    if (r.width() < 2 || r.height() < 2)
        return;
    // Every other pixel of the outline, as the system's dotted focus rectangle.
    const QColor ink = look.over ? c.textOver : c.text;
    for (int x = r.left(); x <= r.right(); ++x)
        for (const int y : {r.top(), r.bottom()})
            if ((x + y) % 2 == 0)
                Pixel(x, y, ink);
    for (int y = r.top() + 1; y < r.bottom(); ++y)
        for (const int x : {r.left(), r.right()})
            if ((x + y) % 2 == 0)
                Pixel(x, y, ink);
}

void ButtonCanvas::Style14() {
    const bool defaultLook = look.isDefault && look.enabled;
    if (look.enabled && look.state == 2) {
        Fill(1, 1, w, h, Shade(c.face, -9));
        Frame(0, 0, w, h, Shade(c.shadow, -48));
        if (defaultLook)
            Frame(1, 1, w - 2, h - 2, Shade(c.shadow, -48));
        Line(2, h - 2, w - 2, h - 2, c.highlight);
        Line(w - 2, 2, w - 2, h - 1, c.highlight);
        Caption(5);
        FocusMark();
        Picture(1);
        return;
    }
    const bool hovered = look.over && look.enabled;
    if (hovered) {
        Fill(0, 0, w, h, c.light);
    } else {
        for (int i = 1; i <= h; ++i)
            Line(0, i, w, i, Shade(c.highlight, Style14RowStep(i, h)));
    }
    if (look.enabled)
        Caption(hovered ? 1 : 0);
    Frame(0, 0, w, h, Shade(c.shadow, -50));
    // The default button, which Enter presses, carries a second dark ring.
    Frame(1, 1, w - 2, h - 2, defaultLook ? Shade(c.shadow, -50) : Shade(c.face, -9));
    Fill(2, 2, w - 4, 2, c.highlight);
    Fill(2, 4, 2, h - 6, c.highlight);
    if (look.enabled) {
        FocusMark();
        Picture(0);
    } else {
        Caption(3);
        Picture(2);
    }
}

void ButtonCanvas::Style11() {
    if (!look.background.isNull())
        p.drawImage(QRect(0, 0, w, h), look.background);
    if (!look.enabled) {
        Caption(3);
        Picture(2);
    } else if (look.state == 2) {
        Bevel(c.shadow, c.highlight);
        Caption(5);
        FocusMark();
        Picture(1);
    } else {
        Caption(look.over ? 1 : 0);
        if (look.over)
            Bevel(c.highlight, c.shadow);
        FocusMark();
        Picture(0);
    }
}

void ButtonCanvas::Style3Corners(const QColor& frame, const QColor& corner) {
    Frame(0, 0, w, h, frame);
    Pixel(1, 1, corner);
    Pixel(1, h - 2, corner);
    Pixel(w - 2, 1, corner);
    Pixel(w - 2, h - 2, corner);
}

void ButtonCanvas::Style3Edge(const QColor (&e)[6]) {
    Frame(1, 2, w - 2, h - 4, e[0]);
    Line(2, h - 2, w - 2, h - 2, e[1]);
    Line(2, 1, w - 2, 1, e[2]);
    Line(1, 2, w - 1, 2, e[3]);
    Line(2, 3, 2, h - 3, e[4]);
    Line(w - 3, 3, w - 3, h - 3, e[5]);
}

void ButtonCanvas::Style3() {
    const QColor frame = BgrToColour(0x733C00);
    const QColor corner = BgrToColour(0x7B4D10);
    const QColor& base = c.base;
    if (!look.enabled) {
        Fill(0, 0, w, h, Shade3(base, -24));
        Caption(4);
        Style3Corners(Shade3(base, -84), Shade3(base, -72));
        Picture(2);
        return;
    }
    if (look.state == 2) {
        const QColor pressed = Shade3(base, -32);
        for (int i = 1; i <= h; ++i)
            Line(0, h - i, w, h - i, Shade3(pressed, Style3RowStep(i, h)));
        Caption(2);
        Style3Corners(frame, corner);
        Line(2, h - 2, w - 2, h - 2, Shade3(pressed, 16));
        Line(1, h - 3, w - 2, h - 3, Shade3(pressed, 10));
        Line(w - 2, 2, w - 2, h - 2, Shade3(pressed, 5));
        Line(w - 3, 3, w - 3, h - 3, base);
        Line(2, 1, w - 2, 1, Shade3(pressed, -32));
        Line(1, 2, w - 2, 2, Shade3(pressed, -24));
        Line(1, 2, 1, h - 2, Shade3(pressed, -32));
        Line(2, 2, 2, h - 2, Shade3(pressed, -22));
        Picture(1);
        return;
    }
    for (int i = 1; i <= h; ++i)
        Line(0, i, w, i, Shade3(base, Style3RowStep(i, h)));
    Caption(look.over ? 1 : 0);
    Style3Corners(frame, corner);
    if (look.over) {
        static const QColor over[6] = {BgrToColour(0x31B2FF), BgrToColour(0x0096E7), BgrToColour(0xCEF3FF),
                                       BgrToColour(0x8CDBFF), BgrToColour(0x6BCBFF), BgrToColour(0x6BCBFF)};
        Style3Edge(over);
    } else if ((look.focused || look.isDefault) && look.showFocusRect) {
        static const QColor focus[6] = {BgrToColour(0xE7AE8C), BgrToColour(0xEF826B), BgrToColour(0xFFE7CE),
                                        BgrToColour(0xF7D7BD), BgrToColour(0xF0D1B5), BgrToColour(0xF0D1B5)};
        Style3Edge(focus);
    } else {
        Line(2, h - 2, w - 2, h - 2, Shade3(base, -48));
        Line(1, h - 3, w - 2, h - 3, Shade3(base, -32));
        Line(w - 2, 2, w - 2, h - 2, Shade3(base, -36));
        Line(w - 3, 3, w - 3, h - 3, Shade3(base, -24));
        Line(2, 1, w - 2, 1, Shade3(base, 16));
        Line(1, 2, w - 2, 2, Shade3(base, 10));
        Line(1, 2, 1, h - 2, Shade3(base, -5));
        Line(2, 3, 2, h - 3, Shade3(base, -10));
    }
    Picture(0);
}

void ButtonCanvas::Draw() {
    if (w <= 0 || h <= 0)
        return;
    // Style 11 without a copy of its background leaves the parent's own pixels in place.
    if (look.buttonType != 11 || !look.background.isNull())
        Fill(0, 0, w, h, c.face);
    switch (look.buttonType) {
    case 11:
        Style11();
        break;
    case 3:
        Style3();
        break;
    default:
        // The program's windows use styles 3, 11 and 14; the others draw as the ordinary button.
        Style14();
        break;
    }
}

} // namespace

void PaintButton(QPainter& painter, const ButtonLook& look) {
    painter.save();
    ButtonCanvas(painter, look).Draw();
    painter.restore();
}

QImage RenderButton(const ButtonLook& look) {
    QImage image(look.size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setClipRegion(ButtonRegion(look.size, look.buttonType));
    PaintButton(painter, look);
    return image;
}
