#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTest>

#include <sys/stat.h>

// Whole-file reads and writes and file facts for the file-format tests.

// The file's bytes; "<missing>" when it cannot be opened, so that a missing file never compares equal to an
// empty one.
inline QByteArray readFile(const QString& name) {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline void writeFile(const QString& name, const QByteArray& bytes) {
    QFile file(name);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(file.write(bytes), bytes.size());
}

// Permission bits, 0 when the file is missing.
inline mode_t modeOf(const QString& name) {
    struct stat st {};
    if (::stat(QFile::encodeName(name).constData(), &st) != 0)
        return 0;
    return st.st_mode & 0777;
}

// Tells a replaced file from one rewritten in place.
inline ino_t inodeOf(const QString& name) {
    struct stat st {};
    ::stat(QFile::encodeName(name).constData(), &st);
    return st.st_ino;
}
