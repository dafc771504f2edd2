#include "app/AppGlobals.h"
#include "users/AccessCode.h"

#include <QFile>
#include <QSettings>
#include <QtTest>

namespace {

// The file the program's settings live in.
QByteArray SettingsFileBytes() {
    const QString path = QSettings(QSettings::NativeFormat, QSettings::UserScope, AppTitle, AppTitle).fileName();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

} // namespace

class tst_AccessCode : public QObject {
    Q_OBJECT

private slots:
    void init() {
        SaveSetting(QStringLiteral("AccessCodeHash"), QString());
        SaveSetting(QStringLiteral("AccessCodeSalt"), QString());
    }

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

    void digitsNeverReachTheSettingsFile() {
        SetAccessCode(QStringLiteral("73915824"));
        const QByteArray settings = SettingsFileBytes();
        QVERIFY(settings.contains("AccessCodeHash"));
        QVERIFY(!settings.contains("73915824"));
    }

    void newCodeReplacesOld() {
        SetAccessCode(QStringLiteral("1111"));
        const QString firstHash = GetSetting(QStringLiteral("AccessCodeHash"));
        SetAccessCode(QStringLiteral("2222"));
        QVERIFY(!AccessCodeMatches(QStringLiteral("1111")));
        QVERIFY(AccessCodeMatches(QStringLiteral("2222")));
        // A fresh salt each time: the same code does not give the same stored value twice.
        SetAccessCode(QStringLiteral("1111"));
        QVERIFY(GetSetting(QStringLiteral("AccessCodeHash")) != firstHash);
        QVERIFY(AccessCodeMatches(QStringLiteral("1111")));
    }

    void acceptableCodes_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("acceptable");
        QTest::newRow("four digits") << "0000" << true;
        QTest::newRow("long") << "12345678901234567890" << true;
        QTest::newRow("three digits") << "123" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("letter") << "12a4" << false;
        QTest::newRow("blank") << "12 34" << false;
        QTest::newRow("leading blank") << " 1234" << false;
        QTest::newRow("sign") << "-1234" << false;
        QTest::newRow("other script digits") << "\u0661\u0662\u0663\u0664" << false;
        QTest::newRow("prompt default") << "<Enter Access Code Here>" << false;
    }
    void acceptableCodes() {
        QFETCH(QString, code);
        QFETCH(bool, acceptable);
        QCOMPARE(IsAcceptableAccessCode(code), acceptable);
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
