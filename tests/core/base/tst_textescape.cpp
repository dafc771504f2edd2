#include "core/base/TextEscape.h"

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
        QTest::newRow("NUL, BEL, short forms")
            << QString::fromLatin1("\0\x07\b\t\n\f\r", 7) << "\\u0000\\u0007\\b\\t\\n\\f\\r";
        QTest::newRow("DEL, C1 to its end, then text")
            << QStringLiteral("\u007f\u009b\u009f\u00a0") << QStringLiteral("\\u007f\\u009b\\u009f\u00a0");
    }
    void controlsShowAsEscapes() {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(EscapeControlCharacters(text), shown);
    }
};

QTEST_GUILESS_MAIN(TestTextEscape)
#include "tst_textescape.moc"
