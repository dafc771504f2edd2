#include "core/button/ButtonColours.h"
#include "core/button/ButtonLayout.h"
#include "core/button/ButtonPainter.h"
#include "core/button/ButtonProperties.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QtTest>

// The button's rules without a widget: colours, layout, access keys, the window shape, the picture inks and the
// stored configuration.
class tst_ButtonRules : public QObject {
    Q_OBJECT

private slots:
    void shade_data() {
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<int>("step");
        QTest::addColumn<bool>("soft");
        QTest::addColumn<bool>("style3");
        QTest::addColumn<QColor>("expected");
        const QColor c(100, 150, 200);
        QTest::newRow("darker") << c << -29 << false << false << QColor(71, 121, 171);
        QTest::newRow("lighter") << c << 47 << false << false << QColor(147, 197, 247);
        QTest::newRow("clamped at black") << QColor(10, 20, 30) << -50 << false << false << QColor(0, 0, 0);
        QTest::newRow("clamped at white") << QColor(250, 240, 230) << 47 << false << false << QColor(255, 255, 255);
        QTest::newRow("soft halves, half to even") << c << -29 << true << false << QColor(86, 136, 186);
        QTest::newRow("soft halves up") << c << 47 << true << false << QColor(124, 174, 224);
        QTest::newRow("style 3: blue in proportion")
            << QColor(100, 150, 192) << 48 << false << true << QColor(148, 198, 240);
        QTest::newRow("style 3 darker") << c << -25 << false << true << QColor(75, 125, 174);
        QTest::newRow("style 3 half to even, down") << QColor(0, 0, 96) << 1 << false << true << QColor(1, 1, 96);
        QTest::newRow("style 3 half to even, up") << QColor(0, 0, 96) << 3 << false << true << QColor(3, 3, 98);
        QTest::newRow("style 3 on no blue") << QColor(10, 10, 0) << 48 << false << true << QColor(58, 58, 0);
    }
    void shade() {
        QFETCH(QColor, colour);
        QFETCH(int, step);
        QFETCH(bool, soft);
        QFETCH(bool, style3);
        QFETCH(QColor, expected);
        QCOMPARE(Shade(colour, step, soft, style3), expected);
    }

    void lighten_data() {
        QTest::addColumn<QColor>("colour");
        QTest::addColumn<int>("amount");
        QTest::addColumn<QColor>("expected");
        QTest::newRow("black") << QColor(0, 0, 0) << 176 << QColor(176, 176, 176);
        QTest::newRow("white stays white") << QColor(255, 255, 255) << 176 << QColor(255, 255, 255);
        QTest::newRow("rounded") << QColor(100, 0, 255) << 176 << QColor(207, 176, 255);
        QTest::newRow("nothing") << QColor(12, 34, 56) << 0 << QColor(12, 34, 56);
        QTest::newRow("all the way") << QColor(12, 34, 56) << 255 << QColor(255, 255, 255);
    }
    void lighten() {
        QFETCH(QColor, colour);
        QFETCH(int, amount);
        QFETCH(QColor, expected);
        QCOMPARE(Lighten(colour, amount), expected);
    }

    void rowSteps_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("step");
        QTest::newRow("14: last row of 20") << 14 << 20 << 20 << -58;
        QTest::newRow("14: tenth row of 20") << 14 << 10 << 20 << -29;
        QTest::newRow("14: half to even, down") << 14 << 1 << 4 << -14;
        QTest::newRow("14: half to even, up") << 14 << 3 << 4 << -44;
        QTest::newRow("3: last row") << 3 << 24 << 24 << -25;
        QTest::newRow("3: half to even") << 3 << 1 << 2 << -12;
    }
    void rowSteps() {
        QFETCH(int, style);
        QFETCH(int, row);
        QFETCH(int, height);
        QFETCH(int, step);
        QCOMPARE(style == 14 ? Style14RowStep(row, height) : Style3RowStep(row, height), step);
    }

    void schemes() {
        ColourSource s;
        s.backColor = QColor(200, 100, 50);
        s.backOver = QColor(0, 128, 128);
        s.foreColor = QColor(1, 2, 3);
        s.foreOver = QColor(4, 5, 6);
        s.maskColor = QColor(0xC0, 0xC0, 0xC0);
        s.scheme = 2;
        ButtonColours c = DeriveColours(s);
        QCOMPARE(c.face, QColor(200, 100, 50));
        QCOMPARE(c.faceOver, QColor(0, 128, 128));
        QCOMPARE(c.text, QColor(1, 2, 3));
        QCOMPARE(c.textOver, QColor(4, 5, 6));
        QCOMPARE(c.shadow, QColor(136, 36, 0));
        QCOMPARE(c.light, QColor(231, 131, 81));
        QCOMPARE(c.highlight, QColor(247, 147, 97));
        QCOMPARE(c.darkShadow, QColor(8, 0, 0));
        QCOMPARE(c.focus, QColor(72, 0, 0));
        QCOMPARE(c.focusLight, QColor(200, 100, 50));
        QCOMPARE(c.base, QColor(248, 148, 98));
        QCOMPARE(c.mask, QColor(0xC0, 0xC0, 0xC0));

        // Hovered, scheme 2 draws from the hover face.
        c = DeriveColours(s, true);
        QCOMPARE(c.face, QColor(0, 128, 128));
        QCOMPARE(c.highlight, QColor(47, 175, 175));
        QCOMPARE(c.text, QColor(1, 2, 3));

        s.buttonType = 3;
        QCOMPARE(DeriveColours(s).base, QColor(248, 148, 62));

        s.scheme = 3;
        c = DeriveColours(s, true);
        QCOMPARE(c.face, QColor(0xC0, 0xC0, 0xC0));
        QCOMPARE(c.shadow, QColor(0x80, 0x80, 0x80));
        QCOMPARE(c.light, QColor(0xDF, 0xDF, 0xDF));
        QCOMPARE(c.highlight, QColor(255, 255, 255));
        QCOMPARE(c.focus, QColor(0, 0, 0x80));
        QCOMPARE(c.focusLight, QColor(0xAD, 0xAD, 0xD1));

        s.scheme = 4;
        s.parentBack = QColor(10, 20, 30);
        s.parentText = QColor(250, 250, 250);
        s.system.setColor(QPalette::Highlight, QColor(0, 0, 0));
        c = DeriveColours(s);
        QCOMPARE(c.face, QColor(10, 20, 30));
        QCOMPARE(c.text, QColor(250, 250, 250));
        QCOMPARE(c.light, QColor(41, 51, 61));
        QCOMPARE(c.focusLight, QColor(176, 176, 176));

        s.scheme = 1;
        s.system.setColor(QPalette::Button, QColor(11, 11, 11));
        s.system.setColor(QPalette::Dark, QColor(22, 22, 22));
        s.system.setColor(QPalette::Midlight, QColor(33, 33, 33));
        s.system.setColor(QPalette::Shadow, QColor(44, 44, 44));
        s.system.setColor(QPalette::Light, QColor(55, 55, 55));
        s.system.setColor(QPalette::ButtonText, QColor(66, 66, 66));
        c = DeriveColours(s, true);
        QCOMPARE(c.face, QColor(11, 11, 11));
        QCOMPARE(c.faceOver, QColor(11, 11, 11));
        QCOMPARE(c.shadow, QColor(22, 22, 22));
        QCOMPARE(c.light, QColor(33, 33, 33));
        QCOMPARE(c.darkShadow, QColor(44, 44, 44));
        QCOMPARE(c.highlight, QColor(55, 55, 55));
        QCOMPARE(c.textOver, QColor(66, 66, 66));
    }

    void accessKey_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("key");
        const auto row = [](const char* name, const char* caption, const char* key) {
            QTest::newRow(name) << QString::fromUtf8(caption) << QString::fromUtf8(key);
        };
        row("first letter", "&OK", "o");
        row("inside", "A&gency Name...", "g");
        row("pair skipped", "Save && &Close", "c");
        row("pair then key", "&&&x", "x");
        row("pair only", "&&x", "");
        row("no ampersand", "Close", "");
        row("one character", "&", "");
        row("ends in ampersand", "&Print&", "");
        row("empty", "", "");
        row("over a line break", "&Print\r\nthis Info", "p");
        row("digit", "Page &2", "2");
    }
    void accessKey() {
        QFETCH(QString, caption);
        QFETCH(QString, key);
        const QChar found = AccessKey(caption);
        QCOMPARE(found.isNull() ? QString() : QString(found), key);
    }

    void focusRectangles_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<QRect>("focus");
        QTest::newRow("3: inset 4") << 3 << QRect(4, 4, 92, 32);
        QTest::newRow("11: inset 3") << 11 << QRect(3, 3, 94, 34);
        QTest::newRow("14: inset 5, moved") << 14 << QRect(6, 6, 90, 30);
    }
    void focusRectangles() {
        QFETCH(int, style);
        QFETCH(QRect, focus);
        QCOMPARE(LayOutButton(QSize(100, 40), style, QFont(), QString(), QSize(), 0).focusRect, focus);
    }

    void captionPlaces_data() {
        QTest::addColumn<int>("position");
        QTest::addColumn<QRect>("area");    // where the caption is centred
        QTest::addColumn<QRect>("picture"); // where the 16 × 12 picture goes
        QTest::newRow("no picture") << -1 << QRect(QPoint(4, 4), QPoint(195, 55)) << QRect();
        QTest::newRow("left") << 0 << QRect(QPoint(24, 4), QPoint(195, 55)) << QRect(4, 24, 16, 12);
        QTest::newRow("right") << 1 << QRect(QPoint(4, 4), QPoint(175, 55)) << QRect(180, 24, 16, 12);
        QTest::newRow("above") << 2 << QRect(QPoint(4, 20), QPoint(195, 55)) << QRect(92, 4, 16, 12);
        QTest::newRow("below") << 3 << QRect(QPoint(4, 4), QPoint(195, 39)) << QRect(92, 44, 16, 12);
        QTest::newRow("behind") << 4 << QRect(QPoint(4, 1), QPoint(195, 55)) << QRect(92, 24, 16, 12);
    }
    void captionPlaces() {
        QFETCH(int, position);
        QFETCH(QRect, area);
        QFETCH(QRect, picture);
        const QFont font;
        const QString caption = QStringLiteral("&Print\r\nthis Info");
        const QSize pictureSize = position < 0 ? QSize() : QSize(16, 12);
        const ButtonGeometry g = LayOutButton(QSize(200, 60), 14, font, caption, pictureSize, std::max(0, position));
        const QSize text = QFontMetrics(font)
                               .boundingRect(QRect(0, 0, area.width(), 1000), Qt::TextWordWrap | Qt::TextShowMnemonic,
                                             QStringLiteral("&Print\nthis Info"))
                               .size();
        QCOMPARE(g.captionRect.size(), text);
        QCOMPARE(g.captionRect.left(), area.left() + (area.width() - text.width()) / 2);
        QCOMPARE(g.captionRect.top(), area.top() + (area.height() - text.height()) / 2);
        QCOMPARE(g.shadowRect, g.captionRect.translated(1, 1));
        QCOMPARE(g.pictureRect, picture);
    }

    void regions_data() {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("pixels");
        QTest::addColumn<QList<QPoint>>("cut");
        QTest::addColumn<QList<QPoint>>("kept");
        QTest::newRow("14: single corner pixels")
            << 14 << 56 << QList<QPoint>{{0, 0}, {9, 0}, {0, 5}, {9, 5}} << QList<QPoint>{{1, 0}, {0, 1}, {8, 5}};
        QTest::newRow("3: notches") << 3 << 48
                                    << QList<QPoint>{{0, 0}, {1, 0}, {0, 1}, {8, 0}, {9, 1}, {0, 4}, {1, 5}, {9, 4}}
                                    << QList<QPoint>{{2, 0}, {1, 1}, {0, 2}, {8, 4}, {7, 5}};
        QTest::newRow("11: full rectangle") << 11 << 60 << QList<QPoint>{} << QList<QPoint>{{0, 0}, {9, 5}};
        QTest::newRow("other styles: full") << 2 << 60 << QList<QPoint>{} << QList<QPoint>{{0, 0}, {9, 5}};
    }
    void regions() {
        QFETCH(int, style);
        QFETCH(int, pixels);
        QFETCH(QList<QPoint>, cut);
        QFETCH(QList<QPoint>, kept);
        const QRegion region = ButtonRegion(QSize(10, 6), style);
        int count = 0;
        for (const QRect& r : region)
            count += r.width() * r.height();
        QCOMPARE(count, pixels);
        for (const QPoint& p : cut)
            QVERIFY2(!region.contains(p), qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
        for (const QPoint& p : kept)
            QVERIFY2(region.contains(p), qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
    }

    void pictureInks_data() {
        QTest::addColumn<int>("ink");
        QTest::addColumn<bool>("useMask");
        QTest::addColumn<QRgb>("red");   // the result for a red pixel
        QTest::addColumn<QRgb>("white"); // for a white one
        QTest::addColumn<QRgb>("mask");  // for one of the (dark) mask colour
        const QRgb gone = 0;
        const QRgb ink = qRgb(0, 0, 255);
        QTest::newRow("colour") << int(PictureInk::Colour) << true << qRgb(255, 0, 0) << qRgb(255, 255, 255) << gone;
        QTest::newRow("mask off") << int(PictureInk::Colour) << false << qRgb(255, 0, 0) << qRgb(255, 255, 255)
                                  << qRgb(64, 64, 64);
        QTest::newRow("greyscale") << int(PictureInk::Greyscale) << true << qRgb(76, 76, 76) << qRgb(255, 255, 255)
                                   << gone;
        QTest::newRow("silhouette") << int(PictureInk::Silhouette) << true << ink << gone << gone;
        QTest::newRow("silhouette without mask") << int(PictureInk::Silhouette) << false << ink << gone << ink;
        QTest::newRow("monochrome") << int(PictureInk::Monochrome) << true << ink << ink << gone;
    }
    void pictureInks() {
        QFETCH(int, ink);
        QFETCH(bool, useMask);
        QFETCH(QRgb, red);
        QFETCH(QRgb, white);
        QFETCH(QRgb, mask);
        QImage picture(3, 1, QImage::Format_RGB32);
        picture.setPixel(0, 0, qRgb(255, 0, 0));
        picture.setPixel(1, 0, qRgb(255, 255, 255));
        picture.setPixel(2, 0, qRgb(64, 64, 64));
        const QImage out = InkPicture(picture, PictureInk(ink), QColor(0, 0, 255), useMask, QColor(64, 64, 64));
        QCOMPARE(out.pixel(0, 0), red);
        QCOMPARE(out.pixel(1, 0), white);
        QCOMPARE(out.pixel(2, 0), mask);
    }

    void silhouetteThreshold() {
        // 385 is light enough to leave out; 384 is dark enough to paint.
        QImage picture(2, 1, QImage::Format_RGB32);
        picture.setPixel(0, 0, qRgb(128, 128, 129));
        picture.setPixel(1, 0, qRgb(128, 128, 128));
        const QImage out = InkPicture(picture, PictureInk::Silhouette, Qt::black, true, QColor(1, 2, 3));
        QCOMPARE(qAlpha(out.pixel(0, 0)), 0);
        QCOMPARE(out.pixel(1, 0), qRgb(0, 0, 0));
    }

    void storedDefaults_data() {
        QTest::addColumn<QVariantMap>("bag");
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("expected");
        const QVariantMap empty;
        const qlonglong face = 0xF0F0F0, text = 0x000000;
        QTest::newRow("BTYPE") << empty << "BTYPE" << QVariant(2);
        QTest::newRow("TX") << empty << "TX" << QVariant(QString());
        QTest::newRow("COLTYPE") << empty << "COLTYPE" << QVariant(1);
        QTest::newRow("BCOL: system face") << empty << "BCOL" << QVariant(face);
        QTest::newRow("BCOLO: system face") << empty << "BCOLO" << QVariant(face);
        QTest::newRow("BCOLO follows BCOL") << QVariantMap{{"BCOL", 0x0000FF}} << "BCOLO" << QVariant(qlonglong(0xFF));
        QTest::newRow("BCOLO of its own")
            << QVariantMap{{"BCOL", 0x0000FF}, {"BCOLO", 0x00FF00}} << "BCOLO" << QVariant(qlonglong(0xFF00));
        QTest::newRow("FCOL: system text") << empty << "FCOL" << QVariant(text);
        QTest::newRow("FCOLO follows FCOL")
            << QVariantMap{{"FCOL", 0x808080}} << "FCOLO" << QVariant(qlonglong(0x808080));
        QTest::newRow("MCOL") << empty << "MCOL" << QVariant(qlonglong(0xC0C0C0));
        QTest::newRow("ENAB") << empty << "ENAB" << QVariant(true);
        QTest::newRow("FOCUSR") << empty << "FOCUSR" << QVariant(true);
        QTest::newRow("UMCOL") << empty << "UMCOL" << QVariant(true);
        QTest::newRow("NGREY") << empty << "NGREY" << QVariant(false);
        QTest::newRow("CHECK") << empty << "CHECK" << QVariant(false);
        QTest::newRow("VALUE") << empty << "VALUE" << QVariant(false);
        QTest::newRow("PICPOS") << empty << "PICPOS" << QVariant(0);
        QTest::newRow("colour as a colour")
            << QVariantMap{{"BCOL", QColor(0, 128, 128)}} << "BCOL" << QVariant(qlonglong(0x808000));
        QTest::newRow("stored style") << QVariantMap{{"BTYPE", 11}} << "BTYPE" << QVariant(11);
        QTest::newRow("stored caption") << QVariantMap{{"TX", "&Quit"}} << "TX" << QVariant(QStringLiteral("&Quit"));
    }
    void storedDefaults() {
        QFETCH(QVariantMap, bag);
        QFETCH(QString, key);
        QFETCH(QVariant, expected);
        const QVariantMap written = WritePropertyBag(
            ReadPropertyBag(bag, BgrToColour(0xF0F0F0), BgrToColour(0), QFont(QStringLiteral("Liberation Sans"))));
        QCOMPARE(written.value(key), expected);
    }

    void savingWritesEveryKey() {
        ButtonProperties p = NewButtonProperties(QColor(1, 2, 3), QColor(4, 5, 6), QFont());
        p.Caption = QStringLiteral("&Help");
        p.ButtonType = 3;
        p.PictureNormal = QImage(4, 4, QImage::Format_RGB32);
        p.PictureNormal.fill(Qt::red);
        const QVariantMap bag = WritePropertyBag(p);
        const QStringList keys = {"BCOL",   "BCOLO",   "FCOL",   "FCOLO", "MCOL",  "BTYPE", "TX",   "ENAB",
                                  "FONT",   "COLTYPE", "FOCUSR", "MPTR",  "MICON", "SOFT",  "PICN", "PICH",
                                  "PICPOS", "UMCOL",   "NGREY",  "FX",    "CHECK", "VALUE"};
        QCOMPARE(bag.size(), keys.size());
        for (const QString& key : keys)
            QVERIFY2(bag.contains(key), qPrintable(key));
        const ButtonProperties back = ReadPropertyBag(bag, Qt::white, Qt::black, QFont());
        QCOMPARE(back.BackColor, QColor(1, 2, 3));
        QCOMPARE(back.ForeOver, QColor(4, 5, 6));
        QCOMPARE(back.ButtonType, 3);
        QCOMPARE(back.ColorScheme, 2);
        QCOMPARE(back.Caption, QStringLiteral("&Help"));
        QCOMPARE(back.PictureNormal.pixel(1, 1), qRgb(255, 0, 0));
    }
};

QTEST_MAIN(tst_ButtonRules)
#include "tst_buttonrules.moc"
