#include "FileTestSupport.h"
#include "TempWorkDir.h"

#include "core/record/PictureFile.h"
#include "core/record/RecordView.h"

#include <QElapsedTimer>
#include <QImage>
#include <QImageWriter>
#include <QtEndian>
#include <QtTest>

#include <memory>

namespace {

quint32 Crc32(const QByteArray& bytes) {
    quint32 crc = 0xFFFFFFFFu;
    for (const char c : bytes) {
        crc ^= static_cast<quint8>(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

QByteArray PngChunk(const char* type, const QByteArray& data) {
    QByteArray chunk(4, '\0');
    qToBigEndian(static_cast<quint32>(data.size()), chunk.data());
    const QByteArray body = QByteArray(type) + data;
    QByteArray crc(4, '\0');
    qToBigEndian(Crc32(body), crc.data());
    return chunk + body + crc;
}

// A PNG file whose header announces a picture of width x height (RGBA) and that holds no picture data: what a
// picture far too large to decode looks like to the reader until it tries.
QByteArray HugePngHeader(quint32 width, quint32 height) {
    QByteArray ihdr(13, '\0');
    qToBigEndian(width, ihdr.data());
    qToBigEndian(height, ihdr.data() + 4);
    ihdr[8] = 8; // bits per channel
    ihdr[9] = 6; // RGBA
    return QByteArray("\x89PNG\r\n\x1a\n", 8) + PngChunk("IHDR", ihdr) + PngChunk("IEND", QByteArray());
}

} // namespace

// Which picture paths a record can keep, and reading picture files of every kind a user may choose.
class tst_PictureFile : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<TempWorkDir> m_dir;

    QString Picture(const QString& name, int width, int height, const char* format = nullptr) {
        const QString path = m_dir->file(name);
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(QColor(40, 90, 160));
        if (!image.save(path, format))
            return QString();
        return path;
    }

private slots:
    void init() { m_dir = std::make_unique<TempWorkDir>(); }
    void cleanup() { m_dir.reset(); }

    void pathRule_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<int>("problem");
        const QString folder = QStringLiteral("/home/clerk/Pictures/");
        QTest::newRow("plain") << folder + "smith.jpg" << int(PicturePathProblem::None);
        QTest::newRow("100 characters") << "/" + QString(95, QLatin1Char('p')) + ".jpg"
                                        << int(PicturePathProblem::None);
        QTest::newRow("101 characters") << "/" + QString(96, QLatin1Char('p')) + ".jpg"
                                        << int(PicturePathProblem::TooLong);
        QTest::newRow("accents the code page has")
            << folder + QStringLiteral("Müller, José €.png") << int(PicturePathProblem::None);
        QTest::newRow("a letter it lacks")
            << folder + QStringLiteral("Łukasz.png") << int(PicturePathProblem::NotStorable);
        QTest::newRow("long and not storable")
            << "/" + QString(120, QChar(0x0141)) << int(PicturePathProblem::NotStorable);
        QTest::newRow("blank at the end") << folder + "smith.jpg " << int(PicturePathProblem::EdgeBlanks);
    }

    void pathRule() {
        QFETCH(QString, path);
        QFETCH(int, problem);
        QCOMPARE(int(CheckPicturePath(path)), problem);
        QCOMPARE(PicturePathRefusalText(path).isEmpty(), problem == int(PicturePathProblem::None));
        QCOMPARE(PicturePathRefusalTitle(path).isEmpty(), problem == int(PicturePathProblem::None));
    }

    void refusalTexts() {
        const QString longPath = "/" + QString(99, QLatin1Char('p')) + ".jpg";
        QCOMPARE(PicturePathRefusalTitle(longPath), QStringLiteral("Picture Not Stored"));
        QCOMPARE(
            PicturePathRefusalText(longPath),
            QStringLiteral("The picture file's folder and name are too long to be kept with this record:\r\n\r\n(") +
                longPath +
                QStringLiteral(")\r\n\r\nA record keeps at most 100 characters; this one has 104.\r\n"
                               "Please move or rename the picture file, then choose it again."));
        const QString foreign = QStringLiteral("/pics/Łódź Łukasz.png");
        QVERIFY(PicturePathRefusalText(foreign).contains(QStringLiteral("These characters cannot be kept: Ł ź\r\n")));
    }

    void reading_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("stored"); // invalid: the file is written by the test itself
        QTest::addColumn<QSize>("natural");
        QTest::addColumn<QSize>("read");
        QTest::newRow("landscape png") << "wide.png" << QSize(600, 400) << QSize(600, 400) << QSize(600, 400);
        QTest::newRow("portrait jpeg") << "tall.jpg" << QSize(300, 600) << QSize(300, 600) << QSize(300, 600);
        QTest::newRow("large jpeg read scaled")
            << "large.jpg" << QSize(4800, 3600) << QSize(4800, 3600) << QSize(PictureReadSide, 1800);
        QTest::newRow("missing") << "gone.png" << QSize() << QSize() << QSize();
        QTest::newRow("empty") << "empty.png" << QSize() << QSize() << QSize();
        QTest::newRow("not a picture") << "notes.jpg" << QSize() << QSize() << QSize();
        QTest::newRow("too large to decode") << "huge.png" << QSize() << QSize() << QSize();
    }

    void reading() {
        QFETCH(QString, name);
        QFETCH(QSize, stored);
        QFETCH(QSize, natural);
        QFETCH(QSize, read);
        QString path = m_dir->file(name);
        if (stored.isValid())
            path = Picture(name, stored.width(), stored.height());
        else if (name == QLatin1String("empty.png"))
            writeFile(path, QByteArray());
        else if (name == QLatin1String("notes.jpg"))
            writeFile(path, "Commendation for bravery, 2019.\r\n");
        else if (name == QLatin1String("huge.png"))
            writeFile(path, HugePngHeader(30000, 30000));
        QVERIFY(!path.isEmpty());

        QElapsedTimer clock;
        clock.start();
        const LoadedPicture picture = LoadPictureFile(path);
        // A generous bound: what matters is that nothing is decoded whole when it is far too large.
        QVERIFY2(clock.elapsed() < 5000, qPrintable(QString::number(clock.elapsed())));
        QCOMPARE(picture.IsNull(), !read.isValid());
        QCOMPARE(picture.NaturalSize, natural);
        QCOMPARE(picture.Image.size(), read.isValid() ? read : QSize(0, 0));
    }

    // A JPEG that ends before its picture does is partial; data after a whole picture (a camera's trailer) is not.
    void partialJpeg() {
        const QByteArray whole = readFile(Picture(QStringLiteral("whole.jpg"), 300, 200));
        for (const QByteArray& data : {whole, whole + "SEFH\xff\xd8", whole.chopped(2), whole.left(whole.size() / 2)}) {
            writeFile(m_dir->file(QStringLiteral("p.jpg")), data);
            QCOMPARE(LoadPictureFile(m_dir->file(QStringLiteral("p.jpg"))).Partial, data.size() < whole.size());
        }
    }

    // A phone's portrait is stored sideways with a note to turn it: it is read, and fitted, upright.
    void sidewaysPhotoIsTurned() {
        const QString path = m_dir->file(QStringLiteral("phone.jpg"));
        QImage image(400, 300, QImage::Format_RGB32);
        image.fill(Qt::darkGreen);
        QImageWriter writer(path, "jpeg");
        writer.setTransformation(QImageIOHandler::TransformationRotate90);
        QVERIFY(writer.write(image));
        const LoadedPicture picture = LoadPictureFile(path);
        QCOMPARE(picture.Image.size(), QSize(300, 400));
        QCOMPARE(picture.NaturalSize, QSize(300, 400));
    }

    // The picture window's frame: a wide picture takes the whole width, others the whole height.
    void fitIntoThePictureWindow_data() {
        QTest::addColumn<QSize>("natural");
        QTest::addColumn<QSize>("fitted");
        QTest::newRow("landscape") << QSize(600, 400) << QSize(8000, 5333);
        QTest::newRow("portrait") << QSize(300, 600) << QSize(3000, 6000);
        QTest::newRow("square") << QSize(2535, 2535) << QSize(6000, 6000);
    }

    void fitIntoThePictureWindow() {
        QFETCH(QSize, natural);
        QFETCH(QSize, fitted);
        QCOMPARE(FitPicture(natural, QSize(8000, 6000)), fitted);
    }
};

QTEST_GUILESS_MAIN(tst_PictureFile)
#include "tst_picturefile.moc"
