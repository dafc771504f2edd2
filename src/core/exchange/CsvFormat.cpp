#include "core/exchange/CsvFormat.h"

QByteArray CsvRecord(const QStringList& fields) {
    QByteArray line;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            line += ',';
        QByteArray field = fields[i].toUtf8();
        if (field.contains(',') || field.contains('"') || field.contains('\n') || field.contains('\r') ||
            field.startsWith(' ') || field.endsWith(' ')) {
            field.replace("\"", "\"\"");
            field = '"' + field + '"';
        }
        line += field;
    }
    return line + "\r\n";
}

CsvParse ParseCsv(const QByteArray& input) {
    CsvParse parse;
    QByteArray text = input.startsWith(Utf8ByteOrderMark) ? input.mid(Utf8ByteOrderMark.size()) : input;
    QStringList record;
    QByteArray field;
    bool quoted = false;    // inside a quoted field
    bool wasQuoted = false; // the field began with a quote
    bool anyInRecord = false;
    int line = 1;
    auto endField = [&] {
        record << QString::fromUtf8(field);
        field.clear();
        wasQuoted = false;
        anyInRecord = true;
    };
    auto endRecord = [&] {
        endField();
        // A blank line is no record.
        if (!(record.size() == 1 && record.first().isEmpty()))
            parse.records << record;
        record.clear();
        anyInRecord = false;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c == '"') {
                if (i + 1 < text.size() && text[i + 1] == '"') {
                    field += '"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else if (c == '\r') {
                field += '\n';
                if (i + 1 < text.size() && text[i + 1] == '\n')
                    ++i;
                ++line;
            } else {
                if (c == '\n')
                    ++line;
                field += c;
            }
            continue;
        }
        if (c == '"' && field.isEmpty() && !wasQuoted) {
            quoted = wasQuoted = true;
        } else if (c == ',') {
            endField();
        } else if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            endRecord();
            ++line;
        } else {
            field += c;
        }
    }
    if (quoted) {
        parse.error = QStringLiteral("a quoted field is not closed (line %1)").arg(line);
        parse.records.clear();
        return parse;
    }
    if (anyInRecord || !field.isEmpty())
        endRecord();
    return parse;
}

namespace {

// Whether text, past any apostrophes at its start, begins with a character that starts a formula.
bool LooksLikeFormula(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && text[i] == QLatin1Char('\''))
        ++i;
    return i < text.size() && QStringView(u"=+-@\t\r").contains(text[i]);
}

} // namespace

QString GuardedCell(const QString& text) {
    return LooksLikeFormula(text) ? QLatin1Char('\'') + text : text;
}

QString UnguardedCell(const QString& text) {
    return text.startsWith(QLatin1Char('\'')) && LooksLikeFormula(text) ? text.mid(1) : text;
}
