#pragma once

#include <QLockFile>
#include <QString>

// One running copy of the program per user: a lock file in the user's runtime folder, held while the program
// runs. The file names the holder's process; a lock left behind by a copy that crashed (its process is gone)
// is taken over, while the lock of a copy that is still running is never taken, however old it is.
class SingleInstance {
public:
    explicit SingleInstance(const QString& lockPath = DefaultLockPath());

    // True when this process now holds the lock (or already did).
    bool tryAcquire();
    bool isHeld() const { return m_lock.isLocked(); }
    void release() { m_lock.unlock(); }

    QString lockPath() const { return m_path; }

    // "vardel.lock" in the user's runtime folder, or in the home folder where the platform has none.
    static QString DefaultLockPath();

private:
    QString m_path;
    QLockFile m_lock;
};
