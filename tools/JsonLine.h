#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonValue>

// One JSON value in compact form, escaped and formatted as QJsonDocument does.
inline QByteArray JsonText(const QJsonValue& value) {
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
