#pragma once

#include "core/base/TextEscape.h"

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>

// One JSON value in compact form, formatted as QJsonDocument does. Texts are escaped by the one escaping rule of
// every output of vardel-data, which also escapes the DEL and C1 controls that QJsonDocument passes raw.
inline QByteArray JsonText(const QJsonValue& value) {
    if (value.isString()) {
        QString text = value.toString();
        text.replace(QLatin1Char('\\'), QLatin1String("\\\\")).replace(QLatin1Char('"'), QLatin1String("\\\""));
        return '"' + EscapeControlCharacters(text).toUtf8() + '"';
    }
    const QByteArray array = QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

// Appends a member to a JSON object line that starts with "{". Members are added by hand so that they keep the
// order of the record's fields.
inline void AddMember(QByteArray& line, const char* name, const QJsonValue& value) {
    line += line.size() > 1 ? ",\"" : "\"";
    line += name;
    line += "\":";
    line += JsonText(value);
}
