#pragma once

#include <QList>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>

#include <algorithm>

// A PDF read back with pdftotext -bbox (poppler-utils): its pages and every word with its place.

// One word as pdftotext places it, in points from the page's top-left corner; pages count from 1.
struct PdfWord {
    int page;
    double xMin;
    double yMin;
    QString text;
};

struct PdfText {
    int pages = 0;
    QList<PdfWord> words;

    // The first word (or the occurrence-th) of that text on that page; null when there is none.
    const PdfWord* find(int page, const QString& text, int occurrence = 1) const {
        for (const PdfWord& w : words)
            if (w.page == page && w.text == text && --occurrence == 0)
                return &w;
        return nullptr;
    }

    // The words of a page line by line from the top, each line from the left, joined by single blanks; words
    // whose tops lie within 3 points share a line. Rules (words of underscores alone) are left out.
    QString pageText(int page) const {
        static const QRegularExpression rule(QStringLiteral("^_+$"));
        QList<PdfWord> onPage;
        for (const PdfWord& w : words)
            if (w.page == page && !rule.match(w.text).hasMatch())
                onPage << w;
        std::stable_sort(onPage.begin(), onPage.end(),
                         [](const PdfWord& a, const PdfWord& b) { return a.yMin < b.yMin; });
        QStringList texts;
        for (qsizetype start = 0; start < onPage.size();) {
            qsizetype end = start + 1;
            while (end < onPage.size() && onPage.at(end).yMin - onPage.at(start).yMin < 3)
                ++end;
            std::stable_sort(onPage.begin() + start, onPage.begin() + end,
                             [](const PdfWord& a, const PdfWord& b) { return a.xMin < b.xMin; });
            for (qsizetype i = start; i < end; ++i)
                texts << onPage.at(i).text;
            start = end;
        }
        return texts.join(QLatin1Char(' '));
    }
};

// Empty (no pages) when pdftotext cannot read the file.
inline PdfText ReadPdfText(const QString& pdf) {
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), pdf, QStringLiteral("-")});
    if (!process.waitForFinished(30000) || process.exitCode() != 0)
        return {};
    const QString html = QString::fromUtf8(process.readAllStandardOutput());
    PdfText result;
    static const QRegularExpression tag(
        QStringLiteral("<page |<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>([^<]*)</word>"));
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(0).startsWith(QStringLiteral("<page"))) {
            ++result.pages;
            continue;
        }
        QString text = m.captured(3);
        text.replace(QStringLiteral("&amp;"), QStringLiteral("&"))
            .replace(QStringLiteral("&lt;"), QStringLiteral("<"))
            .replace(QStringLiteral("&gt;"), QStringLiteral(">"))
            .replace(QStringLiteral("&quot;"), QStringLiteral("\""))
            .replace(QStringLiteral("&apos;"), QStringLiteral("'"));
        result.words.append({result.pages, m.captured(1).toDouble(), m.captured(2).toDouble(), text});
    }
    return result;
}
