#include "core/base/Cp1252.h"

#include <QTest>

class TestCp1252 : public QObject {
    Q_OBJECT

private slots:
    void everyByteSurvivesARoundTrip() {
        QByteArray all(256, '\0');
        for (int b = 0; b < 256; ++b)
            all[b] = static_cast<char>(b);
        const QString text = DecodeCp1252(all);
        QCOMPARE(EncodeCp1252(text), all);
        QVERIFY(IsCp1252Text(text));
        QCOMPARE(CleanCp1252Text(text), text);
    }

    void undefinedBytesKeepTheirValue_data() {
        QTest::addColumn<int>("byte");
        for (int b : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
            QTest::newRow(qPrintable(QString::number(b, 16))) << b;
    }
    void undefinedBytesKeepTheirValue() {
        QFETCH(int, byte);
        const QString decoded = DecodeCp1252(QByteArray(1, static_cast<char>(byte)));
        QCOMPARE(decoded, QString(QChar(byte)));
        QCOMPARE(EncodeCp1252(decoded), QByteArray(1, static_cast<char>(byte)));
    }

    void encoding_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ascii") << QStringLiteral("Ann Lee") << QByteArray("Ann Lee");
        QTest::newRow("latin-1 letter") << QStringLiteral("Zoë") << QByteArray("Zo\xEB");
        QTest::newRow("euro") << QStringLiteral("€5")
                              << QByteArray("\x80"
                                            "5");
        QTest::newRow("curly quotes") << QStringLiteral("“a”")
                                      << QByteArray("\x93"
                                                    "a\x94");
        QTest::newRow("outside the code page") << QStringLiteral("Łukasz") << QByteArray("?ukasz");
        // U+0080 is not one of the five undefined bytes: byte 0x80 is the euro sign.
        QTest::newRow("C1 control 80") << QString(QChar(0x80)) << QByteArray("?");
        QTest::newRow("astral") << QStringLiteral("a😀b") << QByteArray("a?b");
    }
    void encoding() {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QCOMPARE(EncodeCp1252(text), bytes);
    }

    void storable_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("storable");
        QTest::newRow("empty") << QString() << true;
        QTest::newRow("ascii with line break") << QStringLiteral("Line one\r\nLine two") << true;
        QTest::newRow("accents of the code page") << QStringLiteral("José Müller-Åström") << true;
        QTest::newRow("typographic") << QStringLiteral("“Sgt.” – O’Neil… €") << true;
        QTest::newRow("undefined byte") << QString(QChar(0x8D)) << true;
        QTest::newRow("stroke letter") << QStringLiteral("Łukasz") << false;
        QTest::newRow("double acute") << QStringLiteral("Erdő") << false;
        QTest::newRow("cyrillic") << QStringLiteral("Иван") << false;
        QTest::newRow("emoji") << QStringLiteral("😀") << false;
        QTest::newRow("lone surrogate") << QString(QChar(0xD800)) << false;
        QTest::newRow("paragraph separator") << QString(QChar(0x2029)) << false;
    }
    void storable() {
        QFETCH(QString, text);
        QFETCH(bool, storable);
        QCOMPARE(IsCp1252Text(text), storable);
        // What the check passes is exactly what the file keeps.
        if (storable)
            QCOMPARE(DecodeCp1252(EncodeCp1252(text)), text);
    }

    void cleaning_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("clean");
        QTest::newRow("storable unchanged") << QStringLiteral("Zoë “Z” O’Neil") << QStringLiteral("Zoë “Z” O’Neil");
        QTest::newRow("stroke L") << QStringLiteral("Łukasz Wałęsa") << QStringLiteral("Lukasz Walesa");
        QTest::newRow("double acute") << QStringLiteral("Erdős") << QStringLiteral("Erdos");
        QTest::newRow("caron kept where stored")
            << QStringLiteral("Šťastný") << QStringLiteral("Šťastný").replace(QStringLiteral("ť"), QStringLiteral("t"));
        QTest::newRow("decomposed accent joined") << QStringLiteral("Jose\u0301") << QStringLiteral("José");
        QTest::newRow("ligature") << QStringLiteral("\uFB01le") << QStringLiteral("file");
        QTest::newRow("full-width") << QStringLiteral("\uFF21\uFF22") << QStringLiteral("AB");
        QTest::newRow("minus and hyphens") << QStringLiteral("\u2212 1\u20112") << QStringLiteral("- 1-2");
        QTest::newRow("cyrillic") << QStringLiteral("Иван") << QStringLiteral("????");
        QTest::newRow("emoji is one mark") << QStringLiteral("a😀b") << QStringLiteral("a?b");
        QTest::newRow("line separator") << QStringLiteral("a\u2028b") << QStringLiteral("a\r\nb");
    }
    void cleaning() {
        QFETCH(QString, text);
        QFETCH(QString, clean);
        const QString result = CleanCp1252Text(text);
        QCOMPARE(result, clean);
        QVERIFY(IsCp1252Text(result));
    }
};

QTEST_GUILESS_MAIN(TestCp1252)
#include "tst_cp1252.moc"
