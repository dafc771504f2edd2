#pragma once

#include <QImage>
#include <QSize>
#include <QString>

// An employee's picture: the record keeps only the path of a picture file, in PicturePath (100 single-byte
// characters, Windows-1252). These are the rules for which paths it can keep and how a picture file is read.

// Why a chosen path cannot be kept in PicturePath. A path cut to 100 characters, or stored with "?" for
// characters the code page lacks, or trimmed of blanks at its ends, would name another file (or none): the
// picture would be reported missing and dropped at the next showing.
enum class PicturePathProblem {
    None,
    TooLong,     // more than 100 characters
    NotStorable, // characters the code page cannot store
    EdgeBlanks,  // blanks at the start or end, which every read of the record trims away
};
PicturePathProblem CheckPicturePath(const QString& path);
// The message that refuses a path (critical icon, OK); both texts empty for a path that can be kept.
QString PicturePathRefusalText(const QString& path);
QString PicturePathRefusalTitle(const QString& path);

// The longest side, in pixels, a picture is read at. Larger pictures are read scaled down to it (a JPEG while it
// is decoded), which is more than the picture window shows and prints at 300 dots per inch.
inline constexpr int PictureReadSide = 2400;

struct LoadedPicture {
    QImage Image;         // null when the file could not be read as a picture
    QSize NaturalSize;    // the picture's own size in pixels, turned upright as its file asks
    bool Partial = false; // only part of the picture could be read: the file ends before the picture does
    bool IsNull() const { return Image.isNull(); }
};

// Whether JPEG data runs whole to its end-of-picture marker, through every scan; what follows the marker (a
// camera's trailer) does not matter.
bool JpegDataIsWhole(const QByteArray& data);
// The question before a picture read only in part is kept (exclamation icon, Yes and No, No the default).
QString PicturePartialText();

// Reads a picture file of any format Qt can read: a missing, empty or damaged file, one that is not a picture,
// and one too large to decode within Qt's memory limit all give a null image; a JPEG cut short is Partial. A photograph
// stored sideways with a note to turn it is turned upright.
LoadedPicture LoadPictureFile(const QString& path, int longestSide = PictureReadSide);

// The picture's natural size in twips on a screen of the given dots per inch: the size the fit rule starts from.
QSize NaturalTwips(const QSize& pixels, int dpi);
