#include "core/button/ButtonLayout.h"

#include <QFontMetrics>

QString CaptionLines(const QString& caption) {
    QString lines = caption;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return lines;
}

QChar AccessKey(const QString& caption) {
    if (caption.size() <= 1 || caption.endsWith(QLatin1Char('&')))
        return {};
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption.at(i) != QLatin1Char('&'))
            continue;
        if (caption.at(i + 1) == QLatin1Char('&')) {
            ++i;
            continue;
        }
        return caption.at(i + 1).toLower();
    }
    return {};
}

ButtonGeometry LayOutButton(const QSize& size, int buttonType, const QFont& font, const QString& caption,
                            const QSize& picture, int picturePosition) {
    const int w = size.width();
    const int h = size.height();
    ButtonGeometry g;
    switch (buttonType) {
    case 3:
        g.focusRect = QRect(QPoint(4, 4), QPoint(w - 5, h - 5));
        break;
    case 11:
        g.focusRect = QRect(QPoint(3, 3), QPoint(w - 4, h - 4));
        break;
    case 14:
        g.focusRect = QRect(QPoint(5, 5), QPoint(w - 6, h - 6)).translated(1, 1);
        break;
    default:
        g.focusRect = QRect(QPoint(4, 4), QPoint(w - 5, h - 5));
        break;
    }

    // Edges of the caption area as left, top, right, bottom, the right and bottom ones exclusive.
    int left = 4, top = 4, right = w - 4, bottom = h - 4;
    const int pw = picture.width();
    const int ph = picture.height();
    const bool hasPicture = !picture.isEmpty();
    if (hasPicture) {
        switch (picturePosition) {
        case PictureLeft:
            left += pw + 4;
            g.pictureRect = QRect(4, (h - ph) / 2, pw, ph);
            break;
        case PictureRight:
            right -= pw + 4;
            g.pictureRect = QRect(w - 4 - pw, (h - ph) / 2, pw, ph);
            break;
        case PictureAbove:
            top += ph + 4;
            g.pictureRect = QRect((w - pw) / 2, 4, pw, ph);
            break;
        case PictureBelow:
            bottom -= ph + 4;
            g.pictureRect = QRect((w - pw) / 2, h - 4 - ph, pw, ph);
            break;
        default:
            top = 1;
            g.pictureRect = QRect((w - pw) / 2, (h - ph) / 2, pw, ph);
            break;
        }
    }

    const QString text = CaptionLines(caption);
    const int areaWidth = std::max(0, right - left);
    const QSize measured = text.isEmpty() ? QSize(0, 0)
                                          : QFontMetrics(font)
                                                .boundingRect(QRect(0, 0, areaWidth, 0x7FFF),
                                                              Qt::TextWordWrap | Qt::TextShowMnemonic, text)
                                                .size();
    const int x = left + (areaWidth - measured.width()) / 2;
    const int y = top + (bottom - top - measured.height()) / 2;
    g.captionRect = QRect(QPoint(x, y), measured);
    g.shadowRect = g.captionRect.translated(1, 1);
    g.textRect = QRect(left - 2, y, areaWidth + 4, measured.height());
    return g;
}

QRegion ButtonRegion(const QSize& size, int buttonType) {
    const int w = size.width();
    const int h = size.height();
    QRegion region(0, 0, w, h);
    if (w <= 0 || h <= 0)
        return region;
    auto cut = [&region](int x, int y, int cw, int ch) { region -= QRegion(x, y, cw, ch); };
    if (buttonType == 3) {
        for (const int y : {0, h - 1}) {
            cut(0, y, 2, 1);
            cut(w - 2, y, 2, 1);
        }
        for (const int y : {1, h - 2}) {
            cut(0, y, 1, 1);
            cut(w - 1, y, 1, 1);
        }
    } else if (buttonType == 14) {
        cut(0, 0, 1, 1);
        cut(w - 1, 0, 1, 1);
        cut(0, h - 1, 1, 1);
        cut(w - 1, h - 1, 1, 1);
    }
    return region;
}
