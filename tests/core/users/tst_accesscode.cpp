#include "core/base/AppGlobals.h"
#include "core/base/DataFolder.h"
#include "core/base/FileError.h"
#include "core/users/AccessCode.h"

#include "FileTestSupport.h"
#include "TempWorkDir.h"

#include <QCryptographicHash>
#include <QFile>
#include <QSettings>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

namespace {

// The file the program's settings live in.
QString SettingsFilePath() {
    return QSettings(QSettings::NativeFormat, QSettings::UserScope, AppTitle, AppTitle).fileName();
}

// The stored form of earlier versions: SHA-256 iterated 20,000 times over salt and code, in hex.
QString LegacyStoredHash(const QByteArray& salt, const QString& code) {
    QByteArray digest = salt + code.toUtf8();
    for (int i = 0; i < 20000; ++i)
        digest = QCryptographicHash::hash(salt + digest, QCryptographicHash::Sha256);
    return QString::fromLatin1(digest.toHex());
}

// A line of the folder's access code file, after "key=".
QString StoredLine(const QString& key) {
    for (const QByteArray& line : readFile(AccessCodeFileName).split('\n'))
        if (line.startsWith(key.toLatin1() + '='))
            return QString::fromLatin1(line.mid(key.size() + 1));
    return QString();
}

} // namespace

class tst_AccessCode : public QObject {
    Q_OBJECT

    std::unique_ptr<TempWorkDir> m_dir;

private slots:
    void init() {
        m_dir = std::make_unique<TempWorkDir>();
        RemoveSetting(QStringLiteral("AccessCodeHash"));
        RemoveSetting(QStringLiteral("AccessCodeSalt"));
    }
    void cleanup() { m_dir.reset(); }

    void noCodeMatchesNothing() {
        QVERIFY(!HasAccessCode());
        QVERIFY(!AccessCodeMatches(QString()));
        QVERIFY(!AccessCodeMatches(QStringLiteral("1234")));
    }

    void storedCodeMatchesExactly() {
        SetAccessCode(QStringLiteral("73915824"));
        QVERIFY(HasAccessCode());
        QVERIFY(AccessCodeMatches(QStringLiteral("73915824")));
        QVERIFY(!AccessCodeMatches(QStringLiteral("7391582")));
        QVERIFY(!AccessCodeMatches(QStringLiteral("739158240")));
        QVERIFY(!AccessCodeMatches(QStringLiteral(" 73915824")));
        QVERIFY(!AccessCodeMatches(QStringLiteral("73915825")));
        QVERIFY(!AccessCodeMatches(QString()));
    }

    // The code is the folder's, in an owner-only file that a copy of the folder takes along; a folder without it
    // has none (the reset), and a damaged file is no reset.
    void theCodeGoesWithTheFolder() {
        SetAccessCode(QStringLiteral("73915824"));
        const QByteArray stored = readFile(AccessCodeFileName);
        QVERIFY(stored.contains("AccessCodeHash=") && !stored.contains("73915824"));
        QCOMPARE(modeOf(AccessCodeFileName), mode_t(0600));
        TempWorkDir copy;
        QVERIFY(!HasAccessCode());
        writeFile(AccessCodeFileName, stored);
        QVERIFY(AccessCodeMatches(QStringLiteral("73915824")));
        writeFile(AccessCodeFileName, "damaged");
        QVERIFY(HasAccessCode());
        QVERIFY(!AccessCodeMatches(QStringLiteral("73915824")));
    }

    // A code an earlier version kept in the account's settings moves into the first folder that looks for it.
    void aCodeInTheSettingsIsTakenOver() {
        const QByteArray salt = "00112233445566778899aabbccddeeff";
        const QString hash =
            QStringLiteral("pbkdf2-sha256$1000$") + QString::fromLatin1(Pbkdf2HmacSha256("246810", salt, 1000).toHex());
        SaveSetting(QStringLiteral("AccessCodeSalt"), QString::fromLatin1(salt));
        SaveSetting(QStringLiteral("AccessCodeHash"), hash);
        QVERIFY(AccessCodeMatches(QStringLiteral("246810")));
        QCOMPARE(StoredLine(QStringLiteral("AccessCodeHash")), hash);
        QVERIFY(!readFile(SettingsFilePath()).contains("AccessCode"));
        TempWorkDir other;
        QVERIFY(!HasAccessCode());
    }

    void newCodeReplacesOld() {
        SetAccessCode(QStringLiteral("1111"));
        const QString firstHash = StoredLine(QStringLiteral("AccessCodeHash"));
        SetAccessCode(QStringLiteral("2222"));
        QVERIFY(!AccessCodeMatches(QStringLiteral("1111")));
        QVERIFY(AccessCodeMatches(QStringLiteral("2222")));
        // A fresh salt each time: the same code does not give the same stored value twice.
        SetAccessCode(QStringLiteral("1111"));
        QVERIFY(StoredLine(QStringLiteral("AccessCodeHash")) != firstHash);
        QVERIFY(AccessCodeMatches(QStringLiteral("1111")));
    }

    void acceptableCodes_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("acceptable");
        QTest::newRow("six digits") << "000000" << true;
        QTest::newRow("five digits") << "12345" << false;
        QTest::newRow("four digits") << "1234" << false;
        QTest::newRow("long") << "12345678901234567890" << true;
        QTest::newRow("three digits") << "123" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("letter") << "12a456" << false;
        QTest::newRow("blank") << "123 456" << false;
        QTest::newRow("leading blank") << " 123456" << false;
        QTest::newRow("sign") << "-123456" << false;
        QTest::newRow("other script digits") << "\u0661\u0662\u0663\u0664\u0665\u0666" << false;
        QTest::newRow("prompt default") << "<Enter Access Code Here>" << false;
    }
    void acceptableCodes() {
        QFETCH(QString, code);
        QFETCH(bool, acceptable);
        QCOMPARE(IsAcceptableAccessCode(code), acceptable);
    }

    // Published test vectors of PBKDF2-HMAC-SHA256 (RFC 7914, section 11), and one long key that needs two blocks.
    void pbkdf2KnownAnswers_data() {
        QTest::addColumn<QByteArray>("password");
        QTest::addColumn<QByteArray>("salt");
        QTest::addColumn<int>("iterations");
        QTest::addColumn<QByteArray>("key");
        QTest::newRow("one iteration, 64 bytes")
            << QByteArray("passwd") << QByteArray("salt") << 1
            << QByteArray("55ac046e56e3089fec1691c22544b605f94185216dde0465e68b9d57c20dacbc49ca9cccf179b645991664b39"
                          "d77ef317c71b845b1e30bd509112041d3a19783");
        QTest::newRow("80000 iterations, 64 bytes")
            << QByteArray("Password") << QByteArray("NaCl") << 80000
            << QByteArray("4ddcd8f60b98be21830cee5ef22701f9641a4418d04c0414aeff08876b34ab56a1d425a1225833549adb841b5"
                          "1c9b3176a272bdebba1d078478f62b397f33c8d");
        QTest::newRow("digits, 32 bytes")
            << QByteArray("123456") << QByteArray("00112233") << 1000
            << QByteArray("823b3bfa58464a42102022b450e6c0feeef181beb0d28a4854e99e3251c6b117");
    }
    void pbkdf2KnownAnswers() {
        QFETCH(QByteArray, password);
        QFETCH(QByteArray, salt);
        QFETCH(int, iterations);
        QFETCH(QByteArray, key);
        QCOMPARE(Pbkdf2HmacSha256(password, salt, iterations, static_cast<int>(key.size() / 2)).toHex(), key);
    }

    void storedHashNamesItsSchemeAndCount() {
        SetAccessCode(QStringLiteral("739158"));
        const QStringList parts = StoredLine(QStringLiteral("AccessCodeHash")).split(QLatin1Char('$'));
        QCOMPARE(parts.size(), 3);
        QCOMPARE(parts[0], QStringLiteral("pbkdf2-sha256"));
        QCOMPARE(parts[1].toInt(), AccessCodeIterations);
        const QByteArray salt = StoredLine(QStringLiteral("AccessCodeSalt")).toLatin1();
        QCOMPARE(parts[2].toLatin1(), Pbkdf2HmacSha256("739158", salt, AccessCodeIterations).toHex());
    }

    // A short code stored by an earlier version keeps working until it is changed, and is stored again in the
    // stronger form by the first right answer.
    void earlierStoredCodeStillMatches() {
        const QByteArray salt = "0123456789abcdef0123456789abcdef";
        SaveSetting(QStringLiteral("AccessCodeSalt"), QString::fromLatin1(salt));
        SaveSetting(QStringLiteral("AccessCodeHash"), LegacyStoredHash(salt, QStringLiteral("1234")));
        QVERIFY(!AccessCodeMatches(QStringLiteral("1235")));
        QVERIFY(!StoredLine(QStringLiteral("AccessCodeHash")).startsWith(QStringLiteral("pbkdf2")));
        QVERIFY(AccessCodeMatches(QStringLiteral("1234")));
        QVERIFY(StoredLine(QStringLiteral("AccessCodeHash")).startsWith(QStringLiteral("pbkdf2-sha256$")));
        QVERIFY(AccessCodeMatches(QStringLiteral("1234")));
        QVERIFY(!AccessCodeMatches(QStringLiteral("1235")));
    }

    void damagedStoredHashMatchesNothing_data() {
        QTest::addColumn<QString>("stored");
        QTest::newRow("no count") << "pbkdf2-sha256$$abcd";
        QTest::newRow("zero count") << "pbkdf2-sha256$0$abcd";
        QTest::newRow("negative count") << "pbkdf2-sha256$-5$abcd";
        QTest::newRow("other scheme") << "scrypt$1$abcd";
    }
    void damagedStoredHashMatchesNothing() {
        QFETCH(QString, stored);
        SaveSetting(QStringLiteral("AccessCodeSalt"), QStringLiteral("00"));
        SaveSetting(QStringLiteral("AccessCodeHash"), stored);
        QVERIFY(!AccessCodeMatches(QStringLiteral("123456")));
        QVERIFY(!AccessCodeMatches(QString()));
    }

    // The hash and salt of the code are enough for an offline search: nobody but the owner may read them.
    void settingsFileIsOwnerOnly() {
        SetAccessCode(QStringLiteral("739158"));
        QCOMPARE(modeOf(SettingsFilePath()), mode_t(0600));
        // Settings saved again (a rename of a new file) keep the mode.
        SetAgencyName(QStringLiteral("Springfield Police Department"));
        QCOMPARE(modeOf(SettingsFilePath()), mode_t(0600));
    }

    void makeFilePrivate() {
        TempWorkDir dir;
        const QString fresh = dir.file(QStringLiteral("conf/Vardel/Vardel.conf"));
        MakeFilePrivate(fresh);
        QCOMPARE(modeOf(fresh), mode_t(0600));
        QCOMPARE(modeOf(dir.file(QStringLiteral("conf/Vardel"))), mode_t(0700));
        QCOMPARE(readFile(fresh), QByteArray());

        // A file written before the rule is narrowed and keeps its content; its folder is not Vardel's to change.
        const QString old = dir.file(QStringLiteral("old.conf"));
        writeFile(old, "[Defaults]\nFadeStatus=1\n");
        ::chmod(QFile::encodeName(old).constData(), 0644);
        ::chmod(QFile::encodeName(dir.path()).constData(), 0755);
        MakeFilePrivate(old);
        QCOMPARE(modeOf(old), mode_t(0600));
        QCOMPARE(readFile(old), QByteArray("[Defaults]\nFadeStatus=1\n"));
        QCOMPARE(modeOf(dir.path()), mode_t(0755));

        // A link in the file's place is not followed.
        const QString target = dir.file(QStringLiteral("elsewhere"));
        writeFile(target, "x");
        ::chmod(QFile::encodeName(target).constData(), 0644);
        const QString link = dir.file(QStringLiteral("link.conf"));
        QVERIFY(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()) == 0);
        QVERIFY_THROWS_EXCEPTION(FileError, MakeFilePrivate(link));
        QCOMPARE(modeOf(target), mode_t(0644));
    }

    void agencyName() {
        SetAgencyName(QStringLiteral("Springfield Police Department"));
        QCOMPARE(AgencyName(), QStringLiteral("Springfield Police Department"));
        SetAgencyName(QString());
        QCOMPARE(AgencyName(), QString());
    }
};

QTEST_GUILESS_MAIN(tst_AccessCode)
#include "tst_accesscode.moc"
