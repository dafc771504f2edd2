#include "users/AccessCode.h"

#include "app/AppGlobals.h"

#include <QCryptographicHash>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>
#include <QtEndian>

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
    return !GetSetting(kHashKey).isEmpty() && !GetSetting(kSaltKey).isEmpty();
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
    SaveSetting(kSaltKey, QString::fromLatin1(saltHex));
    SaveSetting(kHashKey, StoredHash(saltHex, code, AccessCodeIterations));
}

bool AccessCodeMatches(const QString& answer) {
    if (!HasAccessCode())
        return false;
    const QByteArray salt = GetSetting(kSaltKey).toLatin1();
    const QString stored = GetSetting(kHashKey);
    const QStringList parts = stored.split(QLatin1Char('$'));
    if (parts.size() == 3 && parts[0] == kScheme) {
        bool ok = false;
        const int iterations = parts[1].toInt(&ok);
        if (!ok || iterations < 1)
            return false;
        return SameBytes(StoredHash(salt, answer, iterations).toLatin1(), stored.toLatin1());
    }
    if (!SameBytes(LegacyHash(salt, answer), stored.toLatin1()))
        return false;
    // The code is right: store it again, now in the stronger form.
    SaveSetting(kHashKey, StoredHash(salt, answer, AccessCodeIterations));
    return true;
}
