#include "core/users/AccessCode.h"

#include "core/base/AppGlobals.h"
#include "core/base/DataFolder.h"
#include "core/base/FileError.h"
#include "core/base/FixedRecordFile.h"
#include "core/base/UniqueFd.h"

#include <QCryptographicHash>
#include <QFile>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>
#include <QtEndian>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kHashKey = QStringLiteral("AccessCodeHash");
const QString kSaltKey = QStringLiteral("AccessCodeSalt");
// The stored hash reads "pbkdf2-sha256$<iterations>$<hex>". A bare hex value is the earlier form.
const QString kScheme = QStringLiteral("pbkdf2-sha256");

// The earlier form: SHA-256 iterated 20,000 times. Only read, to let a stored code keep working.
QByteArray LegacyHash(const QByteArray& salt, const QString& code) {
    QByteArray digest = salt + code.toUtf8();
    for (int i = 0; i < 20000; ++i)
        digest = QCryptographicHash::hash(salt + digest, QCryptographicHash::Sha256);
    return digest.toHex();
}

QString StoredHash(const QByteArray& salt, const QString& code, int iterations) {
    return kScheme + QLatin1Char('$') + QString::number(iterations) + QLatin1Char('$') +
           QString::fromLatin1(Pbkdf2HmacSha256(code.toUtf8(), salt, iterations).toHex());
}

struct StoredCode {
    bool present = false; // the file exists
    QByteArray salt;
    QString hash;
};

[[noreturn]] void failOn(const QString& name, int error) {
    throw FileError(name + QStringLiteral(": ") + qt_error_string(error));
}

// The file is replaced whole through "TempFile.$$$" under the folder's write lock, owner-only from its creation.
void writeStoredCode(const QByteArray& salt, const QString& hash) {
    const QByteArray text =
        kSaltKey.toLatin1() + '=' + salt + '\n' + kHashKey.toLatin1() + '=' + hash.toLatin1() + '\n';
    const DataFolderLock lock;
    const QString tempPath = DataFolderFile(TempFileName);
    RemoveFileIfPresent(tempPath);
    const QByteArray temp = QFile::encodeName(tempPath);
    UniqueFd fd(::open(temp.constData(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!fd)
        failOn(TempFileName, errno);
    const ssize_t put = ::write(fd.get(), text.constData(), static_cast<size_t>(text.size()));
    const int error = put < 0 ? errno : ENOSPC;
    // Closed before the rename, and checked: a file whose close reports a lost write must not replace the stored
    // code.
    if (::close(fd.release()) != 0 || put != text.size()) {
        ::unlink(temp.constData());
        failOn(AccessCodeFileName, error);
    }
    try {
        ReplaceFileAtomically(tempPath, DataFolderFile(AccessCodeFileName));
    } catch (...) {
        ::unlink(temp.constData());
        throw;
    }
}

StoredCode readFileCode() {
    StoredCode code;
    const UniqueFd fd(::open(QFile::encodeName(DataFolderFile(AccessCodeFileName)).constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (!fd) {
        if (errno == ENOENT)
            return code;
        failOn(AccessCodeFileName, errno);
    }
    code.present = true;
    QByteArray text(4096, Qt::Uninitialized);
    const ssize_t got = ::read(fd.get(), text.data(), static_cast<size_t>(text.size()));
    if (got < 0)
        failOn(AccessCodeFileName, errno);
    text.truncate(got);
    for (const QByteArray& line : text.split('\n')) {
        const qsizetype equals = line.indexOf('=');
        const QString key = QString::fromLatin1(line.left(equals));
        if (key == kSaltKey)
            code.salt = line.mid(equals + 1).trimmed();
        else if (key == kHashKey)
            code.hash = QString::fromLatin1(line.mid(equals + 1).trimmed());
    }
    return code;
}

// The folder's code; one still in the settings of this account moves into the folder on the first look.
StoredCode storedCode() {
    StoredCode code = readFileCode();
    if (code.present)
        return code;
    const QString salt = GetSetting(kSaltKey);
    const QString hash = GetSetting(kHashKey);
    if (salt.isEmpty() || hash.isEmpty())
        return code;
    writeStoredCode(salt.toLatin1(), hash);
    RemoveSetting(kSaltKey);
    RemoveSetting(kHashKey);
    return {true, salt.toLatin1(), hash};
}

// Compares without stopping at the first difference.
bool SameBytes(const QByteArray& a, const QByteArray& b) {
    if (a.size() != b.size())
        return false;
    unsigned char diff = 0;
    for (qsizetype i = 0; i < a.size(); ++i)
        diff |= static_cast<unsigned char>(a[i] ^ b[i]);
    return diff == 0;
}

} // namespace

QByteArray Pbkdf2HmacSha256(const QByteArray& password, const QByteArray& salt, int iterations, int length) {
    QMessageAuthenticationCode mac(QCryptographicHash::Sha256, password);
    QByteArray key;
    for (quint32 block = 1; key.size() < length; ++block) {
        QByteArray index(4, Qt::Uninitialized);
        qToBigEndian(block, index.data());
        mac.reset();
        mac.addData(salt);
        mac.addData(index);
        QByteArray u = mac.result();
        QByteArray t = u;
        for (int i = 1; i < iterations; ++i) {
            mac.reset();
            mac.addData(u);
            u = mac.result();
            for (qsizetype k = 0; k < t.size(); ++k)
                t[k] = static_cast<char>(t[k] ^ u[k]);
        }
        key += t;
    }
    return key.left(length);
}

bool HasAccessCode() {
    return storedCode().present;
}

bool IsAcceptableAccessCode(const QString& code) {
    if (code.size() < MinimumAccessCodeDigits)
        return false;
    for (QChar c : code)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

void SetAccessCode(const QString& code) {
    QByteArray salt(16, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(salt.data()), salt.size() / 4);
    const QByteArray saltHex = salt.toHex();
    writeStoredCode(saltHex, StoredHash(saltHex, code, AccessCodeIterations));
}

bool AccessCodeMatches(const QString& answer) {
    const StoredCode code = storedCode();
    if (!code.present || code.salt.isEmpty() || code.hash.isEmpty())
        return false;
    const QStringList parts = code.hash.split(QLatin1Char('$'));
    if (parts.size() == 3 && parts[0] == kScheme) {
        bool ok = false;
        const int iterations = parts[1].toInt(&ok);
        if (!ok || iterations < 1)
            return false;
        return SameBytes(StoredHash(code.salt, answer, iterations).toLatin1(), code.hash.toLatin1());
    }
    if (!SameBytes(LegacyHash(code.salt, answer), code.hash.toLatin1()))
        return false;
    // The code is right: store it again, now in the stronger form.
    writeStoredCode(code.salt, StoredHash(code.salt, answer, AccessCodeIterations));
    return true;
}
