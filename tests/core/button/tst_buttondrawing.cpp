#include "core/button/ButtonColours.h"
#include "core/button/ButtonLayout.h"
#include "core/button/ButtonPainter.h"

#include <QPainter>
#include <QtTest>

namespace {

const QColor kFace(0, 128, 128);
const QColor kText(0, 0, 0);

// A button of the given style and size in the teal face of the administration window, without caption.
ButtonLook Look(int style, const QSize& size, bool over = false) {
    ColourSource source;
    source.scheme = 2;
    source.backColor = source.backOver = kFace;
    source.foreColor = source.foreOver = kText;
    source.maskColor = QColor(0xC0, 0xC0, 0xC0);
    source.buttonType = style;
    ButtonLook look;
    look.size = size;
    look.buttonType = style;
    look.over = over;
    look.colours = DeriveColours(source, over);
    look.geometry = LayOutButton(size, style, look.font, QString(), QSize(), 0);
    return look;
}

void SetPicture(ButtonLook& look, const QImage& picture, int position = PictureLeft) {
    look.pictureNormal = picture;
    look.picturePosition = position;
    look.geometry = LayOutButton(look.size, look.buttonType, look.font, look.caption, picture.size(), position);
}

QColor At(const QImage& image, int x, int y) {
    return QColor::fromRgba(image.pixel(x, y));
}

// A white picture with black pixels on its diagonal from (2, 2) to (3, 3) and one pure red pixel at (0, 5).
QImage TestPicture() {
    QImage picture(6, 6, QImage::Format_RGB32);
    picture.fill(Qt::white);
    picture.setPixel(2, 2, qRgb(0, 0, 0));
    picture.setPixel(3, 3, qRgb(0, 0, 0));
    picture.setPixel(0, 5, qRgb(255, 0, 0));
    return picture;
}

} // namespace

// The looks of styles 14, 11 and 3, pixel by pixel, drawn without a widget.
class tst_ButtonDrawing : public QObject {
    Q_OBJECT

private slots:
    void style14Shading() {
        const ButtonLook look = Look(14, QSize(60, 20));
        const QImage image = RenderButton(look);
        const ButtonColours& c = look.colours;
        QCOMPARE(c.highlight, QColor(47, 175, 175));
        // The tenth row is 29 steps darker than the highlight; further down the face keeps darkening.
        QCOMPARE(At(image, 30, 10), QColor(18, 146, 146));
        QCOMPARE(At(image, 30, 10), Shade(c.highlight, -29));
        QCOMPARE(At(image, 30, 17), Shade(c.highlight, -49));
        QCOMPARE(At(image, 30, 4), Shade(c.highlight, -12));
        // Outer frame, inner frame and the two highlight strips.
        QCOMPARE(At(image, 30, 0), Shade(c.shadow, -50));
        QCOMPARE(At(image, 0, 10), Shade(c.shadow, -50));
        QCOMPARE(At(image, 30, 19), Shade(c.shadow, -50));
        QCOMPARE(At(image, 30, 1), Shade(kFace, -9));
        QCOMPARE(At(image, 58, 10), Shade(kFace, -9));
        QCOMPARE(At(image, 30, 2), c.highlight);
        QCOMPARE(At(image, 57, 3), c.highlight);
        QCOMPARE(At(image, 3, 17), c.highlight);
        QCOMPARE(At(image, 4, 17), Shade(c.highlight, -49));
        // The corners are cut from the window.
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(image.pixel(59, 19)), 0);
        QCOMPARE(qAlpha(image.pixel(1, 0)), 255);
    }

    void style14Looks_data() {
        QTest::addColumn<bool>("over");
        QTest::addColumn<int>("state");
        QTest::addColumn<bool>("isDefault");
        QTest::addColumn<bool>("focused");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QString>("expected"); // a colour name of the derived set, with an optional step
        QTest::newRow("over: light face") << true << 0 << false << false << QPoint(30, 10) << "light";
        QTest::newRow("over: frame stays") << true << 0 << false << false << QPoint(30, 0) << "shadow-50";
        QTest::newRow("over: strips stay") << true << 0 << false << false << QPoint(30, 3) << "highlight";
        QTest::newRow("pressed: flat face") << false << 2 << false << false << QPoint(30, 10) << "face-9";
        QTest::newRow("pressed: frame") << false << 2 << false << false << QPoint(0, 10) << "shadow-48";
        QTest::newRow("pressed: bottom edge lit") << false << 2 << false << false << QPoint(30, 18) << "highlight";
        QTest::newRow("pressed: right edge lit") << false << 2 << false << false << QPoint(58, 10) << "highlight";
        QTest::newRow("pressed: no top strip") << false << 2 << false << false << QPoint(30, 2) << "face-9";
        QTest::newRow("default: second dark ring") << false << 0 << true << false << QPoint(30, 1) << "shadow-50";
        QTest::newRow("focused: dotted mark") << false << 0 << false << true << QPoint(6, 6) << "text";
        QTest::newRow("focused: gap in the dots") << false << 0 << false << true << QPoint(7, 6) << "highlight-17";
    }
    void style14Looks() {
        QFETCH(bool, over);
        QFETCH(int, state);
        QFETCH(bool, isDefault);
        QFETCH(bool, focused);
        QFETCH(QPoint, at);
        QFETCH(QString, expected);
        ButtonLook look = Look(14, QSize(60, 20), over);
        look.state = state;
        look.isDefault = isDefault;
        look.focused = focused;
        const ButtonColours& c = look.colours;
        const QStringList parts = expected.split(QLatin1Char('-'));
        const int step = parts.size() > 1 ? -parts.at(1).toInt() : 0;
        const QColor named = parts.at(0) == QLatin1String("light")       ? c.light
                             : parts.at(0) == QLatin1String("shadow")    ? c.shadow
                             : parts.at(0) == QLatin1String("highlight") ? c.highlight
                             : parts.at(0) == QLatin1String("text")      ? c.text
                                                                         : c.face;
        QCOMPARE(At(RenderButton(look), at.x(), at.y()), Shade(named, step));
    }

    void disabledPictureIsEmbossed() {
        // Only the dark pixels show: highlight one pixel down and right, shadow on top at the picture's place.
        ButtonLook look = Look(14, QSize(60, 20));
        look.enabled = false;
        SetPicture(look, TestPicture());
        QCOMPARE(look.geometry.pictureRect, QRect(4, 7, 6, 6));
        const QImage image = RenderButton(look);
        const ButtonColours& c = look.colours;
        QCOMPARE(At(image, 6, 9), c.shadow);     // picture (2, 2)
        QCOMPARE(At(image, 7, 10), c.shadow);    // picture (3, 3), over the highlight of (2, 2)
        QCOMPARE(At(image, 8, 11), c.highlight); // the highlight of (3, 3)
        // Pure red is dark by the rule (255 < 385); white leaves the face as it was.
        QCOMPARE(At(image, 4, 12), c.shadow);
        QCOMPARE(At(image, 5, 13), c.highlight);
        QCOMPARE(At(image, 5, 8), Shade(c.highlight, Style14RowStep(8, 20)));
    }

    void pictureModes_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<bool>("over");
        QTest::addColumn<int>("state");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("greyscale");
        QTest::addColumn<bool>("overPicture");
        QTest::addColumn<QPoint>("offset");
        QTest::addColumn<QColor>("red"); // what the red pixel of the picture becomes
        const QColor red(255, 0, 0), grey(76, 76, 76), blue(0, 0, 255);
        QTest::newRow("normal in colour") << 14 << false << 0 << true << false << false << QPoint() << red;
        QTest::newRow("normal in greys") << 14 << false << 0 << true << true << false << QPoint() << grey;
        QTest::newRow("greys turn to colour when over") << 14 << true << 0 << true << true << false << QPoint() << red;
        QTest::newRow("over picture when over") << 14 << true << 0 << true << true << true << QPoint() << blue;
        QTest::newRow("over picture not before") << 14 << false << 0 << true << false << true << QPoint() << red;
        QTest::newRow("pressed: moved, in colour") << 14 << false << 2 << true << true << false << QPoint(1, 1) << red;
        QTest::newRow("pressed: the over picture") << 11 << false << 2 << true << false << true << QPoint(1, 1) << blue;
        QTest::newRow("style 3 disabled: greys, moved")
            << 3 << false << 0 << false << false << false << QPoint(1, 1) << grey;
    }
    void pictureModes() {
        QFETCH(int, style);
        QFETCH(bool, over);
        QFETCH(int, state);
        QFETCH(bool, enabled);
        QFETCH(bool, greyscale);
        QFETCH(bool, overPicture);
        QFETCH(QPoint, offset);
        QFETCH(QColor, red);
        ButtonLook look = Look(style, QSize(60, 24), over);
        look.state = state;
        look.enabled = enabled;
        look.useGreyscale = greyscale;
        if (style == 11) {
            look.background = QImage(look.size, QImage::Format_RGB32);
            look.background.fill(Qt::white);
        }
        SetPicture(look, TestPicture());
        if (overPicture) {
            QImage blue = TestPicture();
            blue.setPixel(0, 5, qRgb(0, 0, 255));
            look.pictureOver = blue;
        }
        const QPoint red05 = look.geometry.pictureRect.topLeft() + QPoint(0, 5) + offset;
        QCOMPARE(At(RenderButton(look), red05.x(), red05.y()), red);
    }

    void style11ShowsItsBackgroundUntilOver_data() {
        QTest::addColumn<bool>("over");
        QTest::addColumn<int>("state");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<QString>("left"); // the left edge: background, highlight or shadow
        QTest::addColumn<QString>("right");
        QTest::newRow("normal: no edge") << false << 0 << true << "background"
                                         << "background";
        QTest::newRow("over: raised") << true << 0 << true << "highlight"
                                      << "shadow";
        QTest::newRow("pressed: sunken") << true << 2 << true << "shadow"
                                         << "highlight";
        QTest::newRow("disabled: no edge") << true << 0 << false << "background"
                                           << "background";
    }
    void style11ShowsItsBackgroundUntilOver() {
        QFETCH(bool, over);
        QFETCH(int, state);
        QFETCH(bool, enabled);
        QFETCH(QString, left);
        QFETCH(QString, right);
        ButtonLook look = Look(11, QSize(40, 20), over);
        look.state = state;
        look.enabled = enabled;
        look.background = QImage(look.size, QImage::Format_RGB32);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 40; ++x)
                look.background.setPixel(x, y, qRgb(x * 5, y * 10, 200));
        const QImage image = RenderButton(look);
        auto expected = [&](const QString& name, int x, int y) {
            return name == QLatin1String("highlight") ? look.colours.highlight
                   : name == QLatin1String("shadow")  ? look.colours.shadow
                                                      : QColor(look.background.pixel(x, y));
        };
        QCOMPARE(At(image, 0, 10), expected(left, 0, 10));
        QCOMPARE(At(image, 39, 10), expected(right, 39, 10));
        QCOMPARE(At(image, 0, 0), expected(left, 0, 0));
        QCOMPARE(At(image, 20, 10), QColor(look.background.pixel(20, 10)));
        QCOMPARE(qAlpha(image.pixel(0, 0)), 255); // style 11 keeps its corners
    }

    void style3Looks_data() {
        QTest::addColumn<bool>("over");
        QTest::addColumn<int>("state");
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<bool>("focused");
        QTest::addColumn<bool>("showFocusRect");
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<QColor>("expected");
        const ButtonColours c = Look(3, QSize(60, 24)).colours;
        const QColor base = c.base;
        const QColor pressed = Shade(base, -32, false, true);
        const QColor frame(0x00, 0x3C, 0x73), corner(0x10, 0x4D, 0x7B);
        QTest::newRow("frame") << false << 0 << true << false << false << QPoint(30, 0) << frame;
        QTest::newRow("corner pixel") << false << 0 << true << false << false << QPoint(1, 1) << corner;
        QTest::newRow("shading") << false << 0 << true << false << false << QPoint(30, 12)
                                 << Shade(base, -12, false, true);
        QTest::newRow("top edge") << false << 0 << true << false << false << QPoint(30, 1)
                                  << Shade(base, 16, false, true);
        QTest::newRow("bottom edge") << false << 0 << true << false << false << QPoint(30, 22)
                                     << Shade(base, -48, false, true);
        QTest::newRow("over: orange edge")
            << true << 0 << true << false << false << QPoint(1, 12) << QColor(0xFF, 0xB2, 0x31);
        QTest::newRow("over: top line") << true << 0 << true << false << false << QPoint(30, 1)
                                        << QColor(0xFF, 0xF3, 0xCE);
        QTest::newRow("focused: blue edge")
            << false << 0 << true << true << true << QPoint(30, 1) << QColor(0xCE, 0xE7, 0xFF);
        QTest::newRow("focus hidden without the rectangle")
            << false << 0 << true << true << false << QPoint(30, 1) << Shade(base, 16, false, true);
        QTest::newRow("pressed: shading from the bottom")
            << false << 2 << true << false << false << QPoint(30, 12) << Shade(pressed, -12, false, true);
        QTest::newRow("pressed: dark top")
            << false << 2 << true << false << false << QPoint(30, 1) << Shade(pressed, -32, false, true);
        QTest::newRow("pressed: frame") << false << 2 << true << false << false << QPoint(0, 12) << frame;
        QTest::newRow("disabled: flat") << false << 0 << false << false << false << QPoint(30, 12)
                                        << Shade(base, -24, false, true);
        QTest::newRow("disabled: frame") << false << 0 << false << false << false << QPoint(30, 0)
                                         << Shade(base, -84, false, true);
        QTest::newRow("disabled: corner")
            << false << 0 << false << false << false << QPoint(58, 22) << Shade(base, -72, false, true);
    }
    void style3Looks() {
        QFETCH(bool, over);
        QFETCH(int, state);
        QFETCH(bool, enabled);
        QFETCH(bool, focused);
        QFETCH(bool, showFocusRect);
        QFETCH(QPoint, at);
        QFETCH(QColor, expected);
        ButtonLook look = Look(3, QSize(60, 24), over);
        look.state = state;
        look.enabled = enabled;
        look.focused = focused;
        look.showFocusRect = showFocusRect;
        const QImage image = RenderButton(look);
        QCOMPARE(At(image, at.x(), at.y()), expected);
        QCOMPARE(qAlpha(image.pixel(1, 0)), 0); // the notched corners
    }

    void captionKeepsTheLinesItWasMeasuredIn_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<double>("points");
        for (const double points : {8.0, 9.0, 10.0, 11.0, 12.0, 14.0})
            for (const char* caption :
                 {"Help &Topics...", "&Print this Topic", "Select the Highlighted User", "&Admin\r\nWindow"})
                QTest::addRow("%s, %g pt", caption, points) << QString::fromLatin1(caption) << points;
    }
    void captionKeepsTheLinesItWasMeasuredIn() {
        // A button just wide enough for its caption shows all of it: the ink spans the measured width, where a
        // line broken once more would leave its right part out.
        QFETCH(QString, caption);
        QFETCH(double, points);
        QFont font;
        font.setPointSizeF(points);
        const int measured = LayOutButton(QSize(1000, 40), 14, font, caption, QSize(), 0).captionRect.width();
        ButtonLook look = Look(14, QSize(measured + 8, 40));
        look.caption = caption;
        look.font = font;
        look.geometry = LayOutButton(look.size, 14, font, caption, QSize(), 0);
        const QRect at = look.geometry.captionRect;
        QCOMPARE(at.width(), measured);
        const QImage image = RenderButton(look);
        int left = look.size.width(), right = -1;
        for (int y = at.top(); y <= at.bottom(); ++y)
            for (int x = 4; x < look.size.width() - 4; ++x) {
                const QRgb px = image.pixel(x, y);
                if (qRed(px) + qGreen(px) + qBlue(px) < 200) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                }
            }
        // The ink of the widest line stops short of the measured width by the side bearings of its end glyphs,
        // which are the font's own: in a monospaced face (the only sans family some systems have) "." sits in the
        // middle of a wide cell. A line broken once more would fall short by a whole word.
        const QFontMetrics metrics(font);
        QString widest;
        for (QString line : CaptionLines(caption).split(QLatin1Char('\n'))) {
            line.remove(QLatin1Char('&'));
            if (metrics.horizontalAdvance(line) > metrics.horizontalAdvance(widest))
                widest = line;
        }
        const int leftSlack = 3 + std::max(0, metrics.leftBearing(widest.front()));
        const int rightSlack = 3 + std::max(0, metrics.rightBearing(widest.back()));
        QVERIFY2(left <= at.left() + leftSlack,
                 qPrintable(QStringLiteral("ink from %1 in %2").arg(left).arg(at.left())));
        QVERIFY2(right >= at.right() - rightSlack,
                 qPrintable(QStringLiteral("ink to %1 in %2").arg(right).arg(at.right())));
    }

    void captionLooks() {
        // The disabled caption of style 14 is engraved: highlight one pixel down and right, shadow on top.
        ButtonLook look = Look(14, QSize(120, 40));
        look.caption = QStringLiteral("&Quit");
        look.font = QFont(QStringLiteral("Liberation Sans"), 14, QFont::Bold);
        look.geometry = LayOutButton(look.size, 14, look.font, look.caption, QSize(), 0);
        auto count = [](const QImage& image, const QColor& colour) {
            int n = 0;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    n += qAlpha(image.pixel(x, y)) == 255 && QColor(image.pixel(x, y)) == colour;
            return n;
        };
        const int plain = count(RenderButton(look), look.colours.text);
        QVERIFY(plain > 20);
        look.enabled = false;
        const QImage disabled = RenderButton(look);
        QCOMPARE(count(disabled, look.colours.text), 0);
        QVERIFY(count(disabled, look.colours.shadow) > 20);
        look.enabled = true;
        look.state = 2;
        // Pressed: highlight text over its dark shadow; more highlight than the two lit edges alone.
        const QImage pressed = RenderButton(look);
        QVERIFY(count(pressed, Shade(look.colours.shadow, -50)) > 0);
        QVERIFY(count(pressed, look.colours.highlight) > (120 - 4) + (40 - 3) + 20);
    }
};

QTEST_MAIN(tst_ButtonDrawing)
#include "tst_buttondrawing.moc"
