#include "ui/app/SingleInstance.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

SingleInstance::SingleInstance(const QString& lockPath) : m_path(lockPath), m_lock(lockPath) {
    // The lock's age says nothing about its holder: a copy left running for days must keep its lock. Only a
    // dead holder makes a lock stale.
    m_lock.setStaleLockTime(0);
}

bool SingleInstance::tryAcquire() {
    if (m_lock.isLocked())
        return true;
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    return m_lock.tryLock(0);
}

QString SingleInstance::DefaultLockPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::homePath();
    return QDir(folder).filePath(QStringLiteral("vardel.lock"));
}
