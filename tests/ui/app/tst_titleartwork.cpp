// The pictures the build prepares for the first window must be the ones it would otherwise read and draw.

#include "ui/common/AppIcon.h"
#include "ui/app/TitleArtwork.h"

#include <QDir>
#include <QtTest>

class tst_TitleArtwork : public QObject {
    Q_OBJECT
private slots:
    void preparedPicturesMatchTheirSources_data() {
        QTest::addColumn<QImage>("prepared");
        QTest::addColumn<QImage>("source");
        QTest::newRow("backdrop")
            << TitleBackdrop().toImage()
            << QImage(QStringLiteral(VARDEL_IMAGES "/title.png")).convertToFormat(QImage::Format_RGB32);
        QTest::newRow("emblem at 96 dpi")
            << DrawShieldEmblem(ShieldEmblemBuildSize, 1).toImage() << PaintShieldEmblem(ShieldEmblemBuildSize, 1);
        // Any other size is drawn on the spot.
        QTest::newRow("emblem at another size")
            << DrawShieldEmblem(QSize(150, 174), 1).toImage() << PaintShieldEmblem(QSize(150, 174), 1);
    }
    void preparedPicturesMatchTheirSources() {
        QFETCH(QImage, prepared);
        QFETCH(QImage, source);
        QVERIFY(!source.isNull());
        QCOMPARE(prepared.convertToFormat(source.format()), source);
    }

    // The icon read on first use answers as the icon read whole at start-up did.
    void iconHasEverySize() {
        QIcon whole;
        for (const QString& name : QDir(QStringLiteral(":/icons")).entryList({QStringLiteral("vardel-*.png")}))
            whole.addFile(QStringLiteral(":/icons/") + name);
        const QIcon icon = ApplicationIcon();
        QCOMPARE(icon.availableSizes(), whole.availableSizes());
        QCOMPARE(icon.pixmap(48).toImage(), whole.pixmap(48).toImage());
        QCOMPARE(icon.availableSizes().size(), 8);
    }
};

QTEST_MAIN(tst_TitleArtwork)
#include "tst_titleartwork.moc"
