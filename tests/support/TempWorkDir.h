#pragma once

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

// A fresh, empty working folder for one test; the data files' bare names resolve in it.
class TempWorkDir {
public:
    TempWorkDir() : m_previous(QDir::currentPath()) {
        QVERIFY2(m_dir.isValid(), "cannot create a temporary folder");
        QDir::setCurrent(m_dir.path());
    }
    ~TempWorkDir() { QDir::setCurrent(m_previous); }

    QString path() const { return m_dir.path(); }
    QString file(const QString& name) const { return m_dir.filePath(name); }

private:
    QString m_previous;
    QTemporaryDir m_dir;
};
