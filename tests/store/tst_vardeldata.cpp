#include "store/PersonnelRecord.h"

#include "FileTestSupport.h"
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

Run vardelData(const QStringList& args, const QString& envDir = QString()) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    if (envDir.isEmpty())
        env.remove(QStringLiteral("VARDEL_DATA_DIR"));
    else
        env.insert(QStringLiteral("VARDEL_DATA_DIR"), envDir);
    process.setProcessEnvironment(env);
    process.start(QStringLiteral(VARDEL_DATA_TOOL), args);
    Run run;
    if (!process.waitForFinished(60000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

QList<QJsonObject> dumpOf(const QString& dir) {
    QList<QJsonObject> objects;
    const Run run = vardelData({QStringLiteral("--data-dir"), dir, QStringLiteral("dump")});
    if (run.exitCode != 0)
        return objects;
    for (const QByteArray& line : run.out.split('\n'))
        if (!line.isEmpty())
            objects << QJsonDocument::fromJson(line).object();
    return objects;
}

} // namespace

class TestVardelData : public QObject {
    Q_OBJECT

private slots:
    void infoOnAMissingFileCreatesNothing() {
        QTemporaryDir dir;
        const Run run = vardelData({QStringLiteral("info"), QStringLiteral("--data-dir"), dir.path()});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QByteArray("records 0\ncurrent 0\nprevious 0\n"));
        QVERIFY(QDir(dir.path()).isEmpty());

        const QString missing = dir.filePath(QStringLiteral("not-yet"));
        QCOMPARE(vardelData({QStringLiteral("info")}, missing).out, QByteArray("records 0\ncurrent 0\nprevious 0\n"));
        QVERIFY(!QFile::exists(missing));
    }

    void demoIsRepeatableAndCountsMatchTheDump() {
        QTemporaryDir dir;
        const QString first = dir.filePath(QStringLiteral("one"));
        const QString second = dir.filePath(QStringLiteral("two"));
        QCOMPARE(
            vardelData({QStringLiteral("demo"), QStringLiteral("40"), QStringLiteral("--seed"), QStringLiteral("17")},
                       first)
                .exitCode,
            0);
        QCOMPARE(vardelData({QStringLiteral("--data-dir"), second, QStringLiteral("demo"), QStringLiteral("40"),
                             QStringLiteral("--seed"), QStringLiteral("17")})
                     .exitCode,
                 0);
        const QByteArray bytes = readFile(first + QStringLiteral("/Vardel.Data"));
        QCOMPARE(bytes.size(), 40 * 5000);
        QCOMPARE(readFile(second + QStringLiteral("/Vardel.Data")), bytes);
        QCOMPARE(QFile::permissions(first + QStringLiteral("/Vardel.Data")),
                 QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser);

        // Another seed, other employees.
        const QString third = dir.filePath(QStringLiteral("three"));
        vardelData({QStringLiteral("--data-dir"), third, QStringLiteral("demo"), QStringLiteral("40"),
                    QStringLiteral("--seed"), QStringLiteral("18")});
        QVERIFY(readFile(third + QStringLiteral("/Vardel.Data")) != bytes);

        const QList<QJsonObject> dumped = dumpOf(first);
        QCOMPARE(dumped.size(), 40);
        int current = 0;
        QSet<QString> races;
        QSet<QString> sexes;
        QSet<int> sworn;
        int fullNotes = 0;
        for (int i = 0; i < dumped.size(); ++i) {
            const QJsonObject& o = dumped[i];
            QCOMPARE(o.value(QStringLiteral("slot")).toInt(), i + 1);
            current += o.value(QStringLiteral("InactivationDate")).toDouble() == 0;
            races << o.value(QStringLiteral("Race")).toString();
            sexes << o.value(QStringLiteral("Sex")).toString();
            sworn << o.value(QStringLiteral("Sworn")).toInt();
            fullNotes += o.value(QStringLiteral("Notepad")).toString().size() == 4517;
            QCOMPARE(o.value(QStringLiteral("DataVersion")).toInt(), 312);
            QVERIFY(QRegularExpression(QStringLiteral("^[0-9]{3}-[0-9]{2}-[0-9]{4}$"))
                        .match(o.value(QStringLiteral("SocialSecurityNumber")).toString())
                        .hasMatch());
        }
        QCOMPARE(races, (QSet<QString>{"W", "B", "H", "A", "O"}));
        QCOMPARE(sexes, (QSet<QString>{"M", "F"}));
        QCOMPARE(sworn, (QSet<int>{-1, 0}));
        QVERIFY(fullNotes > 0);
        QVERIFY(current > 0 && current < 40);

        const Run info = vardelData({QStringLiteral("info"), QStringLiteral("--data-dir"), first});
        QCOMPARE(info.out,
                 QStringLiteral("records 40\ncurrent %1\nprevious %2\n").arg(current).arg(40 - current).toUtf8());
    }

    void dumpListsEveryFieldInRecordOrder() {
        QTemporaryDir dir;
        PersonnelRecord r;
        r.RecordCreated = 40244.5;
        r.FirstName = QStringLiteral("Łukasz");
        r.LastName = QStringLiteral("Zoë \"Z\"");
        r.Notepad = QStringLiteral("line 1\r\nline 2");
        r.InactivationDate = 41000;
        r.Sworn = -1;
        r.DataVersion = 312;
        QFile file(dir.filePath(QStringLiteral("Vardel.Data")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(EncodePersonnelRecord(r) + EncodePersonnelRecord(PersonnelRecord()));
        file.close();

        const Run run = vardelData({QStringLiteral("dump"), QStringLiteral("--data-dir"), dir.path()});
        QCOMPARE(run.exitCode, 0);
        const QList<QByteArray> lines = run.out.split('\n');
        QCOMPARE(lines.size(), 3);
        const QByteArray expected =
            "{\"slot\":1,\"RecordCreated\":40244.5,\"LastModified\":0,\"FirstName\":\"?ukasz\",\"MiddleName\":\"\",\"L"
            "astName\":\"Zoë "
            "\\\"Z\\\"\",\"Suffix\":\"\",\"EmergencyName\":\"\",\"EmergencyRelationship\":\"\",\"EmergencyP"
            "hone\":\"\",\"StreetAddress\":\"\",\"CityStateZip\":\"\",\"HomePhone\":\"\",\"CellPhone\":\"\",\"Race\":"
            "\"\",\"Sex"
            "\":\"\",\"SocialSecurityNumber\":\"\",\"DateOfBirth\":0,\"DateOfEmployment\":0,\"DateOfJobTitle\":0,\"In"
            "activationDate\":41000,\"EmployeeNumber\":\"\",\"JobTitle\":\"\",\"Notepad\":\"line 1\\r\\nline 2\",\"Swor"
            "n\":-1,\"Email\":\"\",\"PicturePath\":\"\",\"DataVersion\":312}";
        QCOMPARE(lines[0], expected);
        QVERIFY(lines[1].startsWith("{\"slot\":2,\"RecordCreated\":0,"));
        QVERIFY(lines[2].isEmpty());
    }

    void demoWillNotWriteOverRecordsUnlessAsked() {
        QTemporaryDir dir;
        const QStringList demo = {QStringLiteral("--data-dir"), dir.path(),
                                  QStringLiteral("demo"),       QStringLiteral("3"),
                                  QStringLiteral("--seed"),     QStringLiteral("1")};
        QCOMPARE(vardelData(demo).exitCode, 0);
        const QByteArray three = readFile(dir.filePath(QStringLiteral("Vardel.Data")));
        QStringList more = demo;
        more[3] = QStringLiteral("5");
        const Run refused = vardelData(more);
        QVERIFY(refused.exitCode != 0);
        QVERIFY(refused.err.contains("--replace"));
        QCOMPARE(readFile(dir.filePath(QStringLiteral("Vardel.Data"))), three);
        QCOMPARE(vardelData(more << QStringLiteral("--replace")).exitCode, 0);
        QCOMPARE(readFile(dir.filePath(QStringLiteral("Vardel.Data"))).size(), 25000);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("TempFile.$$$"))));
    }

    void badArgumentsShowTheUsage_data() {
        QTest::addColumn<QStringList>("args");
        QTest::newRow("nothing") << QStringList();
        QTest::newRow("unknown") << QStringList{QStringLiteral("bogus")};
        QTest::newRow("dir without value") << QStringList{QStringLiteral("info"), QStringLiteral("--data-dir")};
        QTest::newRow("info extra") << QStringList{QStringLiteral("info"), QStringLiteral("x")};
        QTest::newRow("demo no seed") << QStringList{QStringLiteral("demo"), QStringLiteral("5")};
        QTest::newRow("demo no count") << QStringList{QStringLiteral("demo"), QStringLiteral("--seed"),
                                                      QStringLiteral("5")};
        QTest::newRow("demo bad count") << QStringList{QStringLiteral("demo"), QStringLiteral("five"),
                                                       QStringLiteral("--seed"), QStringLiteral("5")};
        QTest::newRow("demo zero") << QStringList{QStringLiteral("demo"), QStringLiteral("0"), QStringLiteral("--seed"),
                                                  QStringLiteral("5")};
        QTest::newRow("demo bad seed") << QStringList{QStringLiteral("demo"), QStringLiteral("5"),
                                                      QStringLiteral("--seed"), QStringLiteral("x")};
    }
    void badArgumentsShowTheUsage() {
        QFETCH(QStringList, args);
        QTemporaryDir dir;
        const Run run = vardelData(args, dir.path());
        QVERIFY(run.exitCode > 0);
        QVERIFY2(run.err.contains("usage: vardel-data"), run.err.constData());
        QVERIFY(run.out.isEmpty());
        QVERIFY(QDir(dir.path()).isEmpty());
    }

    void fileErrorsGoToStandardError() {
        QTemporaryDir dir;
        // A folder where the data file should be cannot be opened as a file.
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("Vardel.Data")));
        const Run run = vardelData({QStringLiteral("info"), QStringLiteral("--data-dir"), dir.path()});
        QCOMPARE(run.exitCode, 1);
        QVERIFY(run.out.isEmpty());
        QVERIFY2(run.err.startsWith("vardel-data: "), run.err.constData());
    }
};

QTEST_GUILESS_MAIN(TestVardelData)
#include "tst_vardeldata.moc"
