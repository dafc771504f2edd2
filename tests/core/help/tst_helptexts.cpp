#include "core/help/HelpTexts.h"

#include <QRegularExpression>
#include <QTest>

class TestHelpTexts : public QObject {
    Q_OBJECT

private slots:
    void topicTextUsesCrLf_data();
    void topicTextUsesCrLf();
    void otherNumbersHaveNoText();
    void topicNamesItsSubjects_data();
    void topicNamesItsSubjects();
    void topicsMatchTheProgram_data();
    void topicsMatchTheProgram();
};

void TestHelpTexts::topicTextUsesCrLf_data() {
    QTest::addColumn<int>("number");
    for (int number : {1000, 1500, 2000, 3000, 4000})
        QTest::addRow("%d", number) << number;
}

void TestHelpTexts::topicTextUsesCrLf() {
    QFETCH(int, number);
    const QString text = HelpTopicText(number);
    QVERIFY(text.size() > 200);
    QVERIFY(text.contains(QStringLiteral("\r\n")));
    // No line may end in a lone LF or CR.
    QVERIFY(!text.contains(QRegularExpression(QStringLiteral("[^\\r]\\n|^\\n"))));
    QVERIFY(!text.contains(QRegularExpression(QStringLiteral("\\r(?!\\n)"))));
    // Asking twice gives the same text (the resources are registered only once).
    QCOMPARE(HelpTopicText(number), text);
}

void TestHelpTexts::otherNumbersHaveNoText() {
    for (int number : {0, -1000, 999, 1001, 2500, 5000, 7777})
        QVERIFY(HelpTopicText(number).isEmpty());
}

void TestHelpTexts::topicNamesItsSubjects_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<QStringList>("phrases");
    QTest::newRow("overview") << 1000
                              << QStringList{QStringLiteral("'Employee List'"),
                                             QStringLiteral("'List Display Options'"), QStringLiteral("sworn"),
                                             QStringLiteral("Help button (or F1)")};
    QTest::newRow("admin") << 1500
                           << QStringList{QStringLiteral("'Admin Window'"),       QStringLiteral("'Access Code'"),
                                          QStringLiteral("'User Log'"),           QStringLiteral("Read Only"),
                                          QStringLiteral("Read/Edit/Add/Delete"), QStringLiteral("password")};
    QTest::newRow("list") << 2000 << QStringList{QStringLiteral("'Notepad'"), QStringLiteral("disciplinary")};
    QTest::newRow("options") << 3000 << QStringList{QStringLiteral("race"), QStringLiteral("age group")};
    QTest::newRow("notes") << 4000
                           << QStringList{QStringLiteral("first name, last name, race, sex, date of birth and date "
                                                         "of employment"),
                                          QStringLiteral("mm/dd/yyyy"),
                                          QStringLiteral("slashes or hyphens"),
                                          QStringLiteral("123-45-6789"),
                                          QStringLiteral("'M'"),
                                          QStringLiteral("'F'"),
                                          QStringLiteral("'W'"),
                                          QStringLiteral("'B'"),
                                          QStringLiteral("'H' - Hispanic"),
                                          QStringLiteral("'A' - Asiatic"),
                                          QStringLiteral("'O' - Other")};
}

void TestHelpTexts::topicNamesItsSubjects() {
    QFETCH(int, number);
    QFETCH(QStringList, phrases);
    const QString text = HelpTopicText(number);
    for (const QString& phrase : phrases)
        QVERIFY2(text.contains(phrase), qPrintable(phrase));
}

void TestHelpTexts::topicsMatchTheProgram_data() {
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("wrong");
    QTest::addColumn<QString>("right");
    // No window has an information button; help is the Help button and F1.
    QTest::newRow("help button") << 1000 << "Information button"
                                 << "press the Help button (or F1) in the Admin Window or on the main screen";
    // The data lives in the data folder, not beside the program.
    QTest::newRow("data folder") << 4000 << "program's folder" << QStringLiteral("data folder");
    // Dates are read month first whatever the computer's settings.
    QTest::newRow("date order") << 4000 << "in your computer's date format"
                                << QStringLiteral("whatever the date format of your computer");
    QTest::newRow("first access code") << 1500 << "the first window you see"
                                       << QStringLiteral("asks the administrator to choose the code");
}

void TestHelpTexts::topicsMatchTheProgram() {
    QFETCH(int, number);
    QFETCH(QString, wrong);
    QFETCH(QString, right);
    const QString text = HelpTopicText(number);
    QVERIFY2(!text.contains(wrong), qPrintable(wrong));
    QVERIFY2(text.contains(right), qPrintable(right));
}

QTEST_GUILESS_MAIN(TestHelpTexts)
#include "tst_helptexts.moc"
