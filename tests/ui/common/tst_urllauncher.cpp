#include "FileTestSupport.h"
#include "TempWorkDir.h"

#include "ui/common/UrlLauncher.h"
#include "ui/common/modStandard.h"

#include <QElapsedTimer>
#include <QFile>
#include <QtTest>

// Handing a URL to the desktop's launcher and hearing whether any program took it; the "mailto:" address that
// e-mail hands over.
class tst_UrlLauncher : public QObject {
    Q_OBJECT

private:
    // A launcher that runs script with the URL as $1.
    static UrlLauncher Shell(const QString& script, int waitMs = 2000) {
        return {QStringLiteral("/bin/sh"), {QStringLiteral("-c"), script, QStringLiteral("launcher")}, waitMs};
    }

private slots:
    void launcherOutcome_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<bool>("taken");
        QTest::newRow("a program took it") << "exit 0" << true;
        QTest::newRow("no program for it (xdg-open 3)") << "exit 3" << false;
        QTest::newRow("the program failed (xdg-open 4)") << "exit 4" << false;
        QTest::newRow("the launcher crashed") << "kill -9 $$" << false;
    }

    void launcherOutcome() {
        QFETCH(QString, script);
        QFETCH(bool, taken);
        QCOMPARE(LaunchUrl(QUrl(QStringLiteral("mailto:jdoe@agency.gov")), Shell(script)), taken);
    }

    void noLauncherInstalled() {
        const UrlLauncher missing{QStringLiteral("/nonexistent/xdg-open"), {}, 2000};
        QVERIFY(!LaunchUrl(QUrl(QStringLiteral("mailto:jdoe@agency.gov")), missing));
    }

    void theUrlIsTheLastArgument() {
        TempWorkDir dir;
        const QString out = dir.file(QStringLiteral("url.txt"));
        QVERIFY(LaunchUrl(QUrl(MailtoUrl(QStringLiteral("john smith@x.gov"))),
                          Shell(QStringLiteral("printf %s \"$1\" > '") + out + QLatin1Char('\''))));
        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), QByteArray("mailto:john%20smith@x.gov"));
    }

    // A launcher that runs the mail program in the foreground is still running after the wait: the program was
    // started, and it goes on running.
    void aForegroundProgramIsLeftRunning() {
        TempWorkDir dir;
        const QString marker = dir.file(QStringLiteral("still-running"));
        QElapsedTimer clock;
        clock.start();
        QVERIFY(LaunchUrl(QUrl(QStringLiteral("mailto:jdoe@agency.gov")),
                          Shell(QStringLiteral("sleep 1; touch '") + marker + QLatin1Char('\''), 200)));
        QVERIFY(clock.elapsed() < 1000);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 5000);
    }

    // A file goes to the launcher only when the desktop names a program for its kind.
    void fileNeedsAProgramForItsKind() {
        TempWorkDir dir;
        UrlLauncher launcher = Shell(QStringLiteral("exit 0"));
        launcher.HandlerQuery = dir.file(QStringLiteral("query"));
        for (const char* program : {"viewer.desktop", ""}) {
            writeFile(launcher.HandlerQuery,
                      QByteArray("#!/bin/sh\n[ \"$*\" = 'query default application/pdf' ] && echo ") + program);
            QFile::setPermissions(launcher.HandlerQuery, QFile::ReadOwner | QFile::ExeOwner);
            QCOMPARE(LaunchFile(dir.file(QStringLiteral("List.pdf")), launcher), *program != '\0');
        }
    }

    void mailtoUrl_data() {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("url");
        QTest::newRow("plain") << "jdoe@agency.gov"
                               << "mailto:jdoe@agency.gov";
        QTest::newRow("a blank inside") << "john smith@x.gov"
                                        << "mailto:john%20smith@x.gov";
        QTest::newRow("a query is part of the address") << "a@x.gov?attach=/etc/passwd"
                                                        << "mailto:a@x.gov%3Fattach=/etc/passwd";
        QTest::newRow("a fragment too") << "a#b@x.gov"
                                        << "mailto:a%23b@x.gov";
        QTest::newRow("a percent sign") << "100%@x.gov"
                                        << "mailto:100%25@x.gov";
        QTest::newRow("an accent") << QStringLiteral("josé@x.gov") << "mailto:jos%C3%A9@x.gov";
    }

    void mailtoUrl() {
        QFETCH(QString, address);
        QFETCH(QString, url);
        QCOMPARE(MailtoUrl(address), url);
    }
};

QTEST_GUILESS_MAIN(tst_UrlLauncher)
#include "tst_urllauncher.moc"
