#include "store/TextEscape.h"

#include <QTest>

class TestTextEscape : public QObject {
    Q_OBJECT

private slots:
    void controlsShowAsEscapes_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain, quotes and backslash stay") << "O'Neil \"Bud\" \\ é €"
                                                          << "O'Neil \"Bud\" \\ é €";
        QTest::newRow("ESC sequence") << "\x1b[31mred"
                                      << "\\u001b[31mred";
        QTest::newRow("NUL and BEL") << QString::fromLatin1("a\0b\x07", 4) << "a\\u0000b\\u0007";
        QTest::newRow("short forms") << "\b\t\n\f\r"
                                     << "\\b\\t\\n\\f\\r";
        QTest::newRow("DEL") << "\x7f"
                             << "\\u007f";
        QTest::newRow("C1 CSI and the last C1") << QStringLiteral("\u009b\u009f") << "\\u009b\\u009f";
        QTest::newRow("after C1") << QStringLiteral("\u00a0") << QStringLiteral("\u00a0");
    }
    void controlsShowAsEscapes() {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(EscapeControlCharacters(text), shown);
    }
};

QTEST_GUILESS_MAIN(TestTextEscape)
#include "tst_textescape.moc"
