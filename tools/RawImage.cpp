// Build step: the pictures of the title window as raw pixels, which the program shows without decoding or
// drawing them: the width and height as two 32-bit numbers, then the rows of 32-bit pixels, all in the byte
// order of the machine that builds.
// usage: vardel-raw-image PICTURE OUTPUT      the picture in QImage::Format_RGB32
//        vardel-raw-image --emblem OUTPUT     the emblem at its 96-dpi size, in Format_ARGB32_Premultiplied

#include "ui/app/TitleArtwork.h"

#include <QFile>
#include <QImage>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: vardel-raw-image PICTURE|--emblem OUTPUT\n", stderr);
        return 2;
    }
    const QImage image = std::strcmp(argv[1], "--emblem") == 0
                             ? PaintShieldEmblem(ShieldEmblemBuildSize, 1)
                             : QImage(QFile::decodeName(argv[1])).convertToFormat(QImage::Format_RGB32);
    if (image.isNull()) {
        std::fprintf(stderr, "vardel-raw-image: cannot read %s\n", argv[1]);
        return 1;
    }
    QFile out(QFile::decodeName(argv[2]));
    const quint32 size[2] = {static_cast<quint32>(image.width()), static_cast<quint32>(image.height())};
    bool written = out.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                   out.write(reinterpret_cast<const char*>(size), sizeof size) == sizeof size;
    for (int y = 0; written && y < image.height(); ++y)
        written =
            out.write(reinterpret_cast<const char*>(image.constScanLine(y)), image.width() * 4) == image.width() * 4;
    if (!written || !out.flush()) {
        std::fprintf(stderr, "vardel-raw-image: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
