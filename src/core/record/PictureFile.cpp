#include "core/record/PictureFile.h"

#include "core/base/Cp1252.h"
#include "core/record/PersonnelRecord.h"
#include "core/base/RegularFile.h"
#include "core/base/Trim.h"

#include <QFile>
#include <QImageReader>
#include <QStringList>

#include <algorithm>

PicturePathProblem CheckPicturePath(const QString& path) {
    if (!IsCp1252Text(path))
        return PicturePathProblem::NotStorable;
    if (path.size() > PersonnelLayout::PicturePathWidth)
        return PicturePathProblem::TooLong;
    if (TrimBlanks(path) != path)
        return PicturePathProblem::EdgeBlanks;
    return PicturePathProblem::None;
}

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

// The characters of text the code page lacks, each once, in their order.
QString UnstorableCharacters(const QString& text) {
    QStringList found;
    for (char32_t cp : text.toUcs4()) {
        const QString one = QString::fromUcs4(&cp, 1);
        if (!IsCp1252Char(cp) && !found.contains(one))
            found << one;
    }
    return found.join(QLatin1Char(' '));
}

} // namespace

QString PicturePathRefusalText(const QString& path) {
    const QString shown =
        kLineBreak + kLineBreak + QLatin1Char('(') + path + QLatin1Char(')') + kLineBreak + kLineBreak;
    const QString again = QStringLiteral("Please move or rename the picture file, then choose it again.");
    switch (CheckPicturePath(path)) {
    case PicturePathProblem::None:
        break;
    case PicturePathProblem::TooLong:
        return QStringLiteral("The picture file's folder and name are too long to be kept with this record:") + shown +
               QStringLiteral("A record keeps at most %1 characters; this one has %2.")
                   .arg(PersonnelLayout::PicturePathWidth)
                   .arg(path.size()) +
               kLineBreak + again;
    case PicturePathProblem::NotStorable:
        return QStringLiteral("The picture file's folder or name holds characters that cannot be kept with this "
                              "record:") +
               shown + QStringLiteral("These characters cannot be kept: ") + UnstorableCharacters(path) + kLineBreak +
               again;
    case PicturePathProblem::EdgeBlanks:
        return QStringLiteral("The picture file's name begins or ends with a blank, which cannot be kept with this "
                              "record:") +
               shown + again;
    }
    return QString();
}

QString PicturePathRefusalTitle(const QString& path) {
    return CheckPicturePath(path) == PicturePathProblem::None ? QString() : QStringLiteral("Picture Not Stored");
}

QString PicturePartialText() {
    return QStringLiteral("This picture could be read only in part: the file is damaged or incomplete,\r\n"
                          "and the rest of the picture would show grey.\r\n\r\nDo you want to use it anyway?");
}

bool JpegDataIsWhole(const QByteArray& data) {
    const auto* d = reinterpret_cast<const unsigned char*>(data.constData());
    const qsizetype n = data.size();
    if (n < 4 || d[0] != 0xFF || d[1] != 0xD8)
        return false;
    qsizetype i = 2;
    while (i + 1 < n) {
        if (d[i] != 0xFF)
            return false;
        const unsigned char marker = d[i + 1];
        i += 2;
        if (marker == 0xFF) { // fill byte before a marker
            --i;
            continue;
        }
        if (marker == 0xD9)
            return true;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7))
            continue;
        if (i + 2 > n)
            return false;
        const qsizetype length = (qsizetype(d[i]) << 8) | d[i + 1];
        if (length < 2 || i + length > n)
            return false;
        i += length;
        if (marker == 0xDA) {
            // The coded picture runs to the next marker; a 0xFF in it is followed by 0 or a restart number.
            while (i + 1 < n && !(d[i] == 0xFF && d[i + 1] != 0 && (d[i + 1] < 0xD0 || d[i + 1] > 0xD7)))
                ++i;
        }
    }
    return false;
}

LoadedPicture LoadPictureFile(const QString& path, int longestSide) {
    LoadedPicture loaded;
    if (path.isEmpty())
        return loaded;
    // The path is a record's: a named pipe or a folder there must neither hang the list nor be read.
    const std::unique_ptr<QFile> file = OpenRegularFileForReading(path);
    if (!file)
        return loaded;
    QImageReader reader(file.get());
    reader.setAutoTransform(true);
    // The header alone tells the size, so that a huge picture is never decoded whole when it need not be.
    const QSize stored = reader.size();
    const bool turned = reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
    if (stored.isValid() && std::max(stored.width(), stored.height()) > longestSide)
        reader.setScaledSize(stored.scaled(longestSide, longestSide, Qt::KeepAspectRatio));
    const QByteArray format = reader.format();
    QImage image = reader.read();
    if (image.isNull() || image.width() <= 0 || image.height() <= 0)
        return loaded;
    if (stored.isValid())
        loaded.NaturalSize = turned ? stored.transposed() : stored;
    else
        loaded.NaturalSize = image.size();
    if (std::max(image.width(), image.height()) > longestSide)
        image = image.scaled(longestSide, longestSide, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    loaded.Image = std::move(image);
    // A JPEG cut short (an interrupted copy) still decodes, grey below the cut, and says so only on the console.
    if (format == "jpeg") {
        QFile file(path);
        loaded.Partial = !file.open(QIODevice::ReadOnly) || !JpegDataIsWhole(file.readAll());
    }
    return loaded;
}

QSize NaturalTwips(const QSize& pixels, int dpi) {
    const qint64 d = std::max(1, dpi);
    return QSize(static_cast<int>(pixels.width() * qint64(1440) / d),
                 static_cast<int>(pixels.height() * qint64(1440) / d));
}
