#include "FileTestSupport.h"
#include "TempWorkDir.h"
#include "core/backup/BackupCopy.h"
#include "core/base/FileError.h"
#include "core/base/RegularFile.h"
#include "core/exchange/EmployeeImport.h"
#include "core/record/PictureFile.h"
#include "core/store/DataFile.h"
#include "core/store/ListScan.h"
#include "core/store/OlderDataFile.h"
#include "core/users/UserList.h"

#include <QImage>
#include <cerrno>
#include <functional>
#include <unistd.h>

// Every way the program opens a file by its path, with something else in the file's place: anything but a regular
// file is an error at once (a named pipe must not hang it); the data folder's own files are also refused as links
// or another account's, and narrowed to 0600. A link that leads nowhere or to a device (one that never ends, as
// /dev/zero) is refused as well.
class TestFileShapes : public QObject {
    Q_OBJECT
    enum Shape { Directory, Pipe, Link, Dangling, Device, Foreign, Loose };
    struct Role {
        const char* name;
        QString file;
        std::function<void()> use; // throws FileError
        bool own;                  // a file of the data folder
    };
    static QList<Role> roles() {
        const QString data = QStringLiteral("Vardel.Data"), photo = QStringLiteral("photo.png"),
                      csv = QStringLiteral("import.csv");
        return {{"data file", data, [] { OpenDataFile(); }, true},
                {"data file counted", data, [data] { CountDataFileReadOnly(data); }, true},
                {"data file listed", data, [] { ScanDataFile([](qint32, const char*) {}); }, true},
                {"data file's format", data, [] { CheckDataFileFormat(); }, true},
                {"older data file", QStringLiteral("Vardel.Dat"), [] { TakeOverDatFile(); }, true},
                {"user list", UserListFileName, [] { OpenUserList(); }, true},
                {"user log", UserLogFileName, [] { WriteUserLogEntry(1); }, true},
                {"picture", photo,
                 [photo] {
                     if (LoadPictureFile(photo).IsNull())
                         throw FileError("unread");
                 },
                 false},
                {"backup source", data,
                 [data] {
                     if (const QString error = CopyFileWhole(data, "b/" + data); !error.isEmpty())
                         throw FileError(error);
                 },
                 false},
                {"CSV import", csv, [csv] { ReadImportFile(csv); }, false}};
    }

private slots:
    void initTestCase() { DataFileName = QStringLiteral("Vardel.Data"); }
    void onlyRegularFilesAreOpened_data() {
        QTest::addColumn<int>("role");
        QTest::addColumn<int>("shape");
        QTest::addColumn<QString>("expected"); // the error's text; empty when the file is used
        const QList<Role> all = roles();
        for (int r = 0; r < all.size(); ++r) {
            const Role& role = all.at(r);
            const bool picture = role.file.endsWith(QLatin1String(".png"));
            const auto row = [&](const char* shape, int s, const QString& expected) {
                QTest::addRow("%s: %s", role.name, shape) << r << s << expected;
            };
            row("directory", Directory, picture ? "unread" : role.file + ": Is a directory");
            row("named pipe", Pipe, picture ? "unread" : role.file + ": Not a regular file");
            row("link", Link, role.own ? LinkRefusedText(role.file) : QString());
            const auto throughLink = [&](const QString& reached) {
                return role.own ? LinkRefusedText(role.file) : picture ? QStringLiteral("unread") : reached;
            };
            row("dangling link", Dangling, throughLink(role.file + ": " + qt_error_string(ENOENT)));
            row("link to a device", Device, throughLink(role.file + ": Not a regular file"));
            row("another user's", Foreign, role.own ? ForeignFileRefusedText(role.file) : QString());
            if (role.own && role.file != QLatin1String("Vardel.Dat")) // moved into place, opened later
                row("readable by others", Loose, QString());
        }
    }
    void onlyRegularFilesAreOpened() {
        QFETCH(int, role);
        QFETCH(int, shape);
        QFETCH(QString, expected);
        const Role r = roles().at(role);
        TempWorkDir dir;
        QVERIFY(QDir().mkdir("b"));
        const QByteArray name = QFile::encodeName(r.file);
        // A file the role could use: a picture, or one blank slot.
        if (!r.own && r.file.endsWith(QLatin1String(".png")))
            QVERIFY(QImage(4, 3, QImage::Format_RGB32).save("usable", "PNG"));
        else
            writeFile("usable", QByteArray(5000, ' '));
        if (shape == Foreign && ::geteuid() != 0)
            QSKIP("needs root to give a file to another user");
        if (shape == Directory)
            QVERIFY(QDir().mkdir(r.file));
        else if (shape == Pipe)
            QCOMPARE(::mkfifo(name.constData(), 0600), 0);
        else if (shape == Link)
            QCOMPARE(::symlink("usable", name.constData()), 0);
        else if (shape == Dangling)
            QCOMPARE(::symlink("missing", name.constData()), 0);
        else if (shape == Device)
            QCOMPARE(::symlink("/dev/zero", name.constData()), 0);
        else
            QVERIFY(QFile::rename("usable", r.file));
        if (shape == Foreign)
            QCOMPARE(::chown(name.constData(), 65534, 65534), 0);
        if (shape == Loose)
            QCOMPARE(::chmod(name.constData(), 0644), 0);
        QString outcome;
        try {
            r.use();
        } catch (const FileError& error) {
            outcome = error.text();
        }
        CloseDataFile();
        CloseUserList();
        QCOMPARE(outcome, expected);
        if (shape == Loose)
            QCOMPARE(modeOf(r.file), mode_t(0600));
        if (shape == Link && r.own) // nothing went through the link (a log line, say)
            QCOMPARE(readFile("usable"), QByteArray(5000, ' '));
    }
};

QTEST_GUILESS_MAIN(TestFileShapes)
#include "tst_fileshapes.moc"
