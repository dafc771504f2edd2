#include "core/button/ButtonColours.h"

#include <algorithm>
#include <cmath>

quint32 ColourToBgr(const QColor& colour) {
    const QRgb rgb = colour.rgb();
    return quint32(qRed(rgb)) | quint32(qGreen(rgb)) << 8 | quint32(qBlue(rgb)) << 16;
}

QColor BgrToColour(quint32 bgr) {
    return QColor(int(bgr & 0xFF), int(bgr >> 8 & 0xFF), int(bgr >> 16 & 0xFF));
}

int RoundHalfEven(double value) {
    // std::nearbyint follows the default rounding mode, which is to nearest with ties to even.
    return int(std::nearbyint(value));
}

namespace {

int Level(int value) {
    return std::clamp(value, 0, 255);
}

} // namespace

QColor Shade(const QColor& colour, int step, bool softBevel, bool style3Manner) {
    if (softBevel)
        step = RoundHalfEven(step / 2.0);
    const QRgb rgb = colour.rgb();
    const int blue = qBlue(rgb);
    const int newBlue = style3Manner ? blue + RoundHalfEven(double(step) * blue / 192.0) : blue + step;
    return QColor(Level(qRed(rgb) + step), Level(qGreen(rgb) + step), Level(newBlue));
}

QColor Lighten(const QColor& colour, int amount) {
    const QRgb rgb = colour.rgb();
    auto lift = [amount](int c) { return std::min(255, amount + RoundHalfEven(c * (255.0 - amount) / 255.0)); };
    return QColor(lift(qRed(rgb)), lift(qGreen(rgb)), lift(qBlue(rgb)));
}

ButtonColours DeriveColours(const ColourSource& s, bool over) {
    ButtonColours c;
    auto deriveEdges = [&c, &s] {
        c.shadow = Shade(c.face, -64, s.softBevel);
        c.light = Shade(c.face, 31, s.softBevel);
        c.highlight = Shade(c.face, 47, s.softBevel);
        c.darkShadow = Shade(c.face, -192, s.softBevel);
    };
    switch (s.scheme) {
    case 2:
        c.face = over ? s.backOver.toRgb() : s.backColor.toRgb();
        c.faceOver = s.backOver.toRgb();
        c.text = s.foreColor.toRgb();
        c.textOver = s.foreOver.toRgb();
        deriveEdges();
        c.focus = Shade(c.face, -128, s.softBevel);
        c.focusLight = c.face;
        break;
    case 3:
        c.shadow = BgrToColour(0x808080);
        c.face = c.faceOver = BgrToColour(0xC0C0C0);
        c.light = BgrToColour(0xDFDFDF);
        c.darkShadow = BgrToColour(0);
        c.highlight = BgrToColour(0xFFFFFF);
        c.text = c.textOver = BgrToColour(0);
        c.focus = BgrToColour(0x800000);
        c.focusLight = BgrToColour(0xD1ADAD);
        break;
    case 4:
        c.face = c.faceOver = s.parentBack.toRgb();
        c.text = c.textOver = s.parentText.toRgb();
        deriveEdges();
        c.focus = s.system.color(QPalette::Highlight).toRgb();
        c.focusLight = Lighten(c.focus, 176);
        break;
    default:
        // Qt's Light is the bright bevel edge (the button highlight), Midlight the softer 3-D light beside it.
        c.face = c.faceOver = s.system.color(QPalette::Button).toRgb();
        c.shadow = s.system.color(QPalette::Dark).toRgb();
        c.light = s.system.color(QPalette::Midlight).toRgb();
        c.darkShadow = s.system.color(QPalette::Shadow).toRgb();
        c.highlight = s.system.color(QPalette::Light).toRgb();
        c.text = c.textOver = s.system.color(QPalette::ButtonText).toRgb();
        c.focus = s.system.color(QPalette::Highlight).toRgb();
        c.focusLight = Lighten(c.focus, 176);
        break;
    }
    c.mask = s.maskColor.toRgb();
    c.base = Shade(c.face, 48, s.softBevel, s.buttonType == 3);
    return c;
}
