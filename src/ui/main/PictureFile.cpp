#include "ui/main/PictureFile.h"

#include "store/Cp1252.h"
#include "store/PersonnelRecord.h"
#include "store/RegularFile.h"
#include "store/Trim.h"

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
    return loaded;
}

QSize NaturalTwips(const QSize& pixels, int dpi) {
    const qint64 d = std::max(1, dpi);
    return QSize(static_cast<int>(pixels.width() * qint64(1440) / d),
                 static_cast<int>(pixels.height() * qint64(1440) / d));
}
