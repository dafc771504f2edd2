#include "core/base/AppGlobals.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kVersion = QStringLiteral(VARDEL_PROJECT_VERSION);
const QString kAppId = QStringLiteral(VARDEL_APP_ID);

struct Run {
    int exitStatus = -1;
    QString out;
    QString err;
};

Run run(const QString& program, const QStringList& arguments, const QProcessEnvironment& env) {
    QProcess process;
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    Run result;
    if (!process.waitForFinished(120000)) {
        result.err = program + QStringLiteral(": ") + process.errorString();
        return result;
    }
    result.exitStatus = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err += QString::fromUtf8(process.readAllStandardError());
    return result;
}

QProcessEnvironment withoutDisplay() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        env.remove(QString::fromLatin1(name));
    return env;
}

QStringList iconSizes() {
    return QStringLiteral(VARDEL_ICON_SIZES).split(QLatin1Char(','));
}

// A tool the checks below need; tools/install-deps.sh installs each of them.
QString tool(const char* name) {
    const QString path = QStandardPaths::findExecutable(QString::fromLatin1(name));
    if (path.isEmpty())
        qWarning("%s is missing: sh tools/install-deps.sh installs it", name);
    return path;
}

// "Key=Value" lines of a desktop entry's main group.
QMap<QString, QString> desktopEntry(const QString& path) {
    QMap<QString, QString> keys;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return keys;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (const QString& line : lines) {
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals > 0)
            keys.insert(line.left(equals), line.mid(equals + 1));
    }
    return keys;
}

} // namespace

// Installs the build into a staging folder, as `make install DESTDIR=...` and the Debian package do with prefix
// /usr, and checks that the files land where desktops, the menu and man look for them.
class TestInstall : public QObject {
    Q_OBJECT

    QTemporaryDir m_stage;
    QString m_root; // the staged /usr

    // The two installed programs, by name; each has its man page.
    static void AddProgramRows(const char* column) {
        QTest::addColumn<QString>(column);
        QTest::newRow("vardel") << "vardel";
        QTest::newRow("vardel-data") << "vardel-data";
    }

    QString staged(const QString& relative) const { return m_root + QLatin1Char('/') + relative; }

    QMap<QString, bool> expectedFiles() const { // relative path -> executable
        QMap<QString, bool> files{
            {QStringLiteral("bin/vardel"), true},
            {QStringLiteral("bin/vardel-data"), true},
            {QStringLiteral("libexec/vardel/vardel-data-print"), true},
            {QStringLiteral("share/applications/vardel.desktop"), false},
            {QStringLiteral("share/metainfo/") + kAppId + QStringLiteral(".metainfo.xml"), false},
            {QStringLiteral("share/icons/hicolor/scalable/apps/vardel.svg"), false},
            {QStringLiteral("share/man/man1/vardel.1.gz"), false},
            {QStringLiteral("share/man/man1/vardel-data.1.gz"), false},
            {QStringLiteral("share/doc/vardel/copyright"), false},
            {QStringLiteral("share/doc/vardel/changelog.gz"), false},
            {QStringLiteral("lib/systemd/user/vardel-backup.service"), false},
            {QStringLiteral("lib/systemd/user/vardel-backup.timer"), false},
        };
        for (const QString& size : iconSizes())
            files.insert(QStringLiteral("share/icons/hicolor/%1x%1/apps/vardel.png").arg(size), false);
        return files;
    }

private slots:
    void initTestCase() {
        QVERIFY(m_stage.isValid());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("DESTDIR"), m_stage.path());
        // The component keeps this staging install out of the manifest that `make uninstall` reads.
        const Run install =
            run(QStringLiteral(VARDEL_CMAKE),
                {QStringLiteral("--install"), QStringLiteral(VARDEL_BUILD_DIR), QStringLiteral("--prefix"),
                 QStringLiteral("/usr"), QStringLiteral("--component"), QStringLiteral("vardel")},
                env);
        QVERIFY2(install.exitStatus == 0, qPrintable(install.out + install.err));
        m_root = m_stage.path() + QStringLiteral("/usr");
    }

    void installedFile_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("executable");
        const QMap<QString, bool> files = expectedFiles();
        for (auto it = files.cbegin(); it != files.cend(); ++it)
            QTest::newRow(qPrintable(it.key())) << it.key() << it.value();
    }
    void installedFile() {
        QFETCH(QString, path);
        QFETCH(bool, executable);
        const QFileInfo info(staged(path));
        QVERIFY2(info.isFile(), qPrintable(info.filePath()));
        QVERIFY(info.size() > 0);
        const QFile::Permissions everyoneReads = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
        QVERIFY((info.permissions() & everyoneReads) == everyoneReads);
        QCOMPARE(info.isExecutable(), executable);
        QVERIFY(!(info.permissions() & (QFile::WriteGroup | QFile::WriteOther)));
    }

    void nothingElseIsInstalled() {
        QStringList found;
        QDirIterator it(m_stage.path(), QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
        while (it.hasNext())
            found << QDir(m_root).relativeFilePath(it.next());
        found.sort();
        QCOMPARE(found, expectedFiles().keys());
    }

    void iconSize_data() {
        QTest::addColumn<int>("size");
        for (const QString& size : iconSizes())
            QTest::newRow(qPrintable(size)) << size.toInt();
    }
    void iconSize() {
        QFETCH(int, size);
        QImageReader reader(staged(QStringLiteral("share/icons/hicolor/%1x%1/apps/vardel.png").arg(size)));
        QCOMPARE(reader.format(), QByteArray("png"));
        QCOMPARE(reader.size(), QSize(size, size));
    }

    void desktopEntryIsValid() {
        const QString validate = tool("desktop-file-validate");
        QVERIFY(!validate.isEmpty());
        const Run check = run(validate, {staged(QStringLiteral("share/applications/vardel.desktop"))},
                              QProcessEnvironment::systemEnvironment());
        QVERIFY2(check.exitStatus == 0 && check.out.isEmpty(), qPrintable(check.out + check.err));
    }

    void desktopEntryKey_data() {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        const auto row = [](const char* name, const QString& key, const QString& value) {
            QTest::newRow(name) << key << value;
        };
        row("Type", "Type", "Application");
        row("Name", "Name", "Vardel");
        row("GenericName", "GenericName", "Personnel Records");
        row("Categories", "Categories", "Office;");
        row("Terminal", "Terminal", "false");
        // The installed program and icon, by the names the menu resolves.
        row("Exec", "Exec", "vardel");
        row("Icon", "Icon", "vardel");
        // Qt names its windows' class after the application, so the desktop ties them to this entry.
        row("StartupWMClass", "StartupWMClass", AppTitle);
    }
    void desktopEntryKey() {
        QFETCH(QString, key);
        QFETCH(QString, value);
        QCOMPARE(desktopEntry(staged(QStringLiteral("share/applications/vardel.desktop"))).value(key), value);
        if (key == QLatin1String("Exec"))
            QVERIFY(QFileInfo(staged(QStringLiteral("bin/") + value)).isExecutable());
    }

    void metainfoIsValid() {
        const QString appstreamcli = tool("appstreamcli");
        QVERIFY(!appstreamcli.isEmpty());
        const QString path = staged(QStringLiteral("share/metainfo/") + kAppId + QStringLiteral(".metainfo.xml"));
        const Run check = run(appstreamcli, {QStringLiteral("validate"), QStringLiteral("--no-net"), path},
                              QProcessEnvironment::systemEnvironment());
        QVERIFY2(check.exitStatus == 0, qPrintable(check.out + check.err));

        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString xml = QString::fromUtf8(file.readAll());
        QVERIFY(xml.contains(QStringLiteral("<id>") + kAppId + QStringLiteral("</id>")));
        QVERIFY(xml.contains(QLatin1String("<launchable type=\"desktop-id\">vardel.desktop</launchable>")));
        QVERIFY(xml.contains(QStringLiteral("<release version=\"") + kVersion + QLatin1Char('"')));
    }

    void manPage_data() { AddProgramRows("page"); }
    void manPage() {
        QFETCH(QString, page);
        const QString man = tool("man");
        QVERIFY(!man.isEmpty());
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
        env.insert(QStringLiteral("MANWIDTH"), QStringLiteral("80"));
        env.insert(QStringLiteral("MANROFFSEQ"), QString());

        // man finds the page in the staged tree's manual folder, by its name and section.
        const Run where = run(man,
                              {QStringLiteral("-M"), staged(QStringLiteral("share/man")), QStringLiteral("-w"),
                               QStringLiteral("1"), page},
                              env);
        const QString file = staged(QStringLiteral("share/man/man1/%1.1.gz").arg(page));
        QCOMPARE(where.out.trimmed(), file);

        // Formatting gives no warnings (lintian runs the same check).
        const Run warnings = run(man,
                                 {QStringLiteral("--warnings"), QStringLiteral("-E"), QStringLiteral("UTF-8"),
                                  QStringLiteral("-l"), QStringLiteral("-Tutf8"), QStringLiteral("-Z"), file},
                                 env);
        QCOMPARE(warnings.exitStatus, 0);
        QCOMPARE(warnings.err, QString());

        const Run text = run(man, {QStringLiteral("-P"), QStringLiteral("cat"), QStringLiteral("-l"), file}, env);
        QCOMPARE(text.exitStatus, 0);
        const QString plain = QString(text.out).remove(QRegularExpression(QStringLiteral(".\b")));
        for (const QString& section : {QStringLiteral("NAME"), QStringLiteral("SYNOPSIS"), QStringLiteral("OPTIONS"),
                                       QStringLiteral("FILES"), QStringLiteral("EXIT STATUS")})
            QVERIFY2(plain.contains(QLatin1Char('\n') + section + QLatin1Char('\n')), qPrintable(section));
        for (const QString& line : plain.split(QLatin1Char('\n')))
            QVERIFY2(line.size() <= 80, qPrintable(line));
        QVERIFY(plain.simplified().contains(page + QStringLiteral(" - ")));
        QVERIFY(plain.simplified().contains(QStringLiteral("Vardel ") + kVersion));
    }

    void vardelManPageTellsHowToResetTheAccessCode() {
        const Run text = run(tool("man"),
                             {QStringLiteral("-P"), QStringLiteral("cat"), QStringLiteral("-l"),
                              staged(QStringLiteral("share/man/man1/vardel.1.gz"))},
                             QProcessEnvironment::systemEnvironment());
        const QString plain = QString(text.out).remove(QRegularExpression(QStringLiteral(".\b"))).simplified();
        QVERIFY(plain.contains(QLatin1String("~/.config/Vardel/Vardel.conf")));
        QVERIFY(plain.contains(QLatin1String("data folder, delete the file Access.Code")));
    }

    void installedProgram_data() { AddProgramRows("program"); }
    void installedProgram() {
        QFETCH(QString, program);
        const Run version =
            run(staged(QStringLiteral("bin/") + program), {QStringLiteral("--version")}, withoutDisplay());
        QCOMPARE(version.exitStatus, 0);
        QCOMPARE(version.out, program + QLatin1Char(' ') + kVersion + QLatin1Char('\n'));
    }

    // The daily backup's service names the vardel-data that the install put in place, whatever the prefix, and
    // systemd accepts the unit and the timer as installed.
    void backupServiceNamesTheInstalledTool() {
        QFile unit(staged(QStringLiteral("lib/systemd/user/vardel-backup.service")));
        QVERIFY(unit.open(QIODevice::ReadOnly));
        QVERIFY(unit.readAll().contains("\nExecStart=/usr/bin/vardel-data backup\n"));
        const QString analyze = QStandardPaths::findExecutable(QStringLiteral("systemd-analyze"));
        if (analyze.isEmpty())
            QSKIP("no systemd-analyze here");
        // systemd looks at the program the service names: this install's prefix is a real folder.
        QTemporaryDir prefix;
        QVERIFY(prefix.isValid());
        const Run install =
            run(QStringLiteral(VARDEL_CMAKE),
                {QStringLiteral("--install"), QStringLiteral(VARDEL_BUILD_DIR), QStringLiteral("--prefix"),
                 prefix.path(), QStringLiteral("--component"), QStringLiteral("vardel")},
                QProcessEnvironment::systemEnvironment());
        QVERIFY2(install.exitStatus == 0, qPrintable(install.out + install.err));
        const QString units = prefix.filePath(QStringLiteral("lib/systemd/user/"));
        const Run verify =
            run(analyze,
                {QStringLiteral("verify"), QStringLiteral("--man=no"), units + QStringLiteral("vardel-backup.service"),
                 units + QStringLiteral("vardel-backup.timer")},
                QProcessEnvironment::systemEnvironment());
        QVERIFY2(verify.exitStatus == 0, qPrintable(verify.out + verify.err));
    }

    // The installed vardel-data finds the program it hands printing to, wherever the prefix is.
    void installedVardelDataPrints() {
        QTemporaryDir work;
        QVERIFY(work.isValid());
        const QString tool = staged(QStringLiteral("bin/vardel-data"));
        const QStringList dir{QStringLiteral("--data-dir"), work.path()};
        const Run demo = run(tool,
                             dir + QStringList{QStringLiteral("demo"), QStringLiteral("3"), QStringLiteral("--seed"),
                                               QStringLiteral("1")},
                             withoutDisplay());
        QCOMPARE(demo.exitStatus, 0);
        const QString pdf = work.filePath(QStringLiteral("list.pdf"));
        const Run print =
            run(tool, dir + QStringList{QStringLiteral("print"), QStringLiteral("list"), QStringLiteral("--out"), pdf},
                withoutDisplay());
        QVERIFY2(print.exitStatus == 0, qPrintable(print.err));
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.read(5), QByteArray("%PDF-"));
    }
};

QTEST_GUILESS_MAIN(TestInstall)
#include "tst_install.moc"
