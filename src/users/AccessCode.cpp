#include "users/AccessCode.h"

#include "app/AppGlobals.h"

#include <QCryptographicHash>
#include <QRandomGenerator>

namespace {

const QString kHashKey = QStringLiteral("AccessCodeHash");
const QString kSaltKey = QStringLiteral("AccessCodeSalt");
const QString kAgencyKey = QStringLiteral("AgencyName");

// The codes are short digit strings, so stretching makes each guess against a copied settings file cost
// something; the count stays low enough that the admin prompt answers at once.
constexpr int kRounds = 20000;

QByteArray HashCode(const QByteArray& salt, const QString& code) {
    QByteArray digest = salt + code.toUtf8();
    for (int i = 0; i < kRounds; ++i)
        digest = QCryptographicHash::hash(salt + digest, QCryptographicHash::Sha256);
    return digest.toHex();
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

bool HasAccessCode() {
    return !GetSetting(kHashKey).isEmpty() && !GetSetting(kSaltKey).isEmpty();
}

bool IsAcceptableAccessCode(const QString& code) {
    if (code.size() < 4)
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
    SaveSetting(kHashKey, QString::fromLatin1(HashCode(saltHex, code)));
}

bool AccessCodeMatches(const QString& answer) {
    if (!HasAccessCode())
        return false;
    const QByteArray salt = GetSetting(kSaltKey).toLatin1();
    const QByteArray stored = GetSetting(kHashKey).toLatin1();
    return SameBytes(HashCode(salt, answer), stored);
}

QString AgencyName() {
    return GetSetting(kAgencyKey);
}

void SetAgencyName(const QString& name) {
    SaveSetting(kAgencyKey, name);
}

QString MainWindowCaption() {
    const QString agency = AgencyName().trimmed();
    if (agency.isEmpty())
        return AppTitle + QStringLiteral(" - Personnel Records");
    return AppTitle + QStringLiteral(" - ") + agency;
}
