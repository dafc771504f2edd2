#include "FileTestSupport.h"
#include "TempWorkDir.h"
#include "app/OlderDataConversion.h"
#include "backup/BackupCopy.h"
#include "store/DataFile.h"
#include "store/FileError.h"
#include "store/ListScan.h"
#include "store/RegularFile.h"
#include "ui/main/PictureFile.h"
#include "users/UserList.h"

#include <QDir>
#include <QImage>
#include <QTest>

#include <functional>
#include <sys/stat.h>
#include <unistd.h>

// Every file the program opens by a path, with something else in its place. Anything but a regular file is an
// error (at once: a named pipe must not hang the program); the data folder's own files are also refused as links
// or as another account's, and narrowed to 0600 when others could read them.
class TestFileShapes : public QObject {
    Q_OBJECT

    enum Shape { Directory, Pipe, Link, Foreign, Loose };
    struct Role {
        const char* name;
        QString file;
        std::function<void()> use; // throws FileError
        bool dataFolderFile;       // links and other accounts' files refused, loose modes narrowed
        bool opens;                // opens an existing regular file (a loose mode gets narrowed)
    };

    static QList<Role> roles() {
        const QString data = QStringLiteral("Vardel.Data");
        auto copy = [data] {
            const QString error = CopyFileWhole(data, QStringLiteral("backup/") + data);
            if (!error.isEmpty())
                throw FileError(error);
        };
        auto picture = [] {
            if (LoadPictureFile(QStringLiteral("photo.png")).IsNull())
                throw FileError(QStringLiteral("unread"));
        };
        return {
            {"data file", data, [] { OpenDataFile(); CloseDataFile(); }, true, true},
            {"data file counted", data, [data] { CountDataFileReadOnly(data); }, true, true},
            {"data file listed", data, [] { ScanDataFile([](qint32, const char*) {}); }, true, true},
            {"data file's format", data, [] { CheckDataFileFormat(); }, true, true},
            {"older data file", QStringLiteral("Vardel.Dat"), [] { TakeOverDatFile(); }, true, false},
            {"user list", UserListFileName, [] { OpenUserList(); CloseUserList(); }, true, true},
            {"user log", UserLogFileName, [] { WriteUserLogEntry(1); }, true, true},
            {"picture", QStringLiteral("photo.png"), picture, false, false},
            {"backup source", data, copy, false, false},
        };
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
            const QString accepted;
            QTest::addRow("%s: directory", role.name)
                << r << int(Directory)
                << (role.file == QLatin1String("photo.png") ? QStringLiteral("unread")
                                                             : role.file + QStringLiteral(": Is a directory"));
            QTest::addRow("%s: named pipe", role.name)
                << r << int(Pipe)
                << (role.file == QLatin1String("photo.png") ? QStringLiteral("unread")
                                                             : role.file + QStringLiteral(": Not a regular file"));
            QTest::addRow("%s: link", role.name)
                << r << int(Link) << (role.dataFolderFile ? LinkRefusedText(role.file) : accepted);
            QTest::addRow("%s: another user's", role.name)
                << r << int(Foreign) << (role.dataFolderFile ? ForeignFileRefusedText(role.file) : accepted);
            if (role.opens)
                QTest::addRow("%s: readable by others", role.name) << r << int(Loose) << accepted;
        }
    }
    void onlyRegularFilesAreOpened() {
        QFETCH(int, role);
        QFETCH(int, shape);
        QFETCH(QString, expected);
        const Role r = roles().at(role);
        TempWorkDir dir;
        QVERIFY(QDir().mkdir(QStringLiteral("backup")));
        const QByteArray name = QFile::encodeName(r.file);
        // A regular file the role could use: a picture, or one blank 5000-byte slot.
        const QString usable = QStringLiteral("usable");
        if (r.file == QLatin1String("photo.png"))
            QVERIFY(QImage(4, 3, QImage::Format_RGB32).save(usable, "PNG"));
        else
            writeFile(usable, QByteArray(5000, ' '));
        switch (shape) {
        case Directory:
            QVERIFY(QDir().mkdir(r.file));
            break;
        case Pipe:
            QCOMPARE(::mkfifo(name.constData(), 0600), 0);
            break;
        case Link:
            QCOMPARE(::symlink("usable", name.constData()), 0);
            break;
        case Foreign:
            if (::geteuid() != 0)
                QSKIP("needs root to give a file to another user");
            QVERIFY(QFile::rename(usable, r.file));
            QCOMPARE(::chown(name.constData(), 65534, 65534), 0);
            break;
        case Loose:
            QVERIFY(QFile::rename(usable, r.file));
            QCOMPARE(::chmod(name.constData(), 0644), 0);
            break;
        }
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
        // Nothing reached the file a refused link points to (a log line appended through it, say).
        if (shape == Link && r.dataFolderFile)
            QCOMPARE(readFile(usable), QByteArray(5000, ' '));
    }
};

QTEST_GUILESS_MAIN(TestFileShapes)
#include "tst_fileshapes.moc"
