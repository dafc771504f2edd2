#include "FileSizeLimit.h"
#include "FileTestSupport.h"
#include "ScriptedDialogs.h"
#include "WindowTestSupport.h"
#include "core/backup/BackupManifest.h"
#include "core/base/AppGlobals.h"
#include "core/base/DataFolder.h"
#include "core/base/FixedRecordFile.h"
#include "core/history/ChangeLog.h"
#include "ui/backup/modBackupRestore.h"
#include "ui/backup/modFolderBrowse.h"
#include "ui/common/QtDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include <csignal>
#include <cstdio>
#include <sys/wait.h>
#include <unistd.h>

namespace {

int g_renamesBeforeKill = 0;

// The rename after g_renamesBeforeKill others never happens: the process is killed first, as a power loss would.
int killingRename(const char* from, const char* to) {
    if (g_renamesBeforeKill-- == 0)
        ::raise(SIGKILL);
    return ::rename(from, to);
}

const QString kCaption = QStringLiteral("Main Window");
const QString kBackupPrompt =
    QStringLiteral("Select a disk/drive/folder to copy (backup)\r\nyour Vardel data files to...");
const QString kRestorePrompt = QStringLiteral("Select the disk/drive/folder that contains your\r\npreviously backed up "
                                              "Vardel data files\r\nthat you wish to restore...");
const QString kBackedUp = QStringLiteral("Your current Vardel data files\r\nhave been successfully backed up!");
const QString kRestored =
    QStringLiteral("Your previously backed up \r\nVardel data files\r\nhas been successfully restored!");
const QString kBackupCancelled = QStringLiteral("The backup process has been cancelled");
const QString kRestoreCancelled = QStringLiteral("The restore process has been cancelled");
const QString kRestoreQuestion =
    QStringLiteral("Note:\r\n\r\nYou are about to replace your current data files\r\nwith previously made backup "
                   "data files.\r\n\r\nOnce completed, this action can not be undone.\r\n\r\nAre you sure you're "
                   "ready to continue?");

using Call = ScriptedDialogs::Call;

// What the owner showed while the files were copied.
struct CaptionStep {
    QString caption;
    bool enabled;
    bool busy;
};

} // namespace

class TestBackupRestore : public QObject {
    Q_OBJECT

    QTemporaryDir* m_root = nullptr;
    QString m_previousFolder;
    QWidget* m_owner = nullptr;
    QList<CaptionStep> m_steps;

    QString program(const QString& name = QString()) const { return m_root->filePath(QStringLiteral("data/") + name); }
    QString backup(const QString& name = QString()) const { return m_root->filePath(QStringLiteral("backup/") + name); }

    static QByteArray content(const QString& name, int size) {
        QByteArray bytes = name.toLatin1() + ':';
        while (bytes.size() < size)
            bytes += static_cast<char>('a' + bytes.size() % 26);
        return bytes;
    }

    void writeProgramFiles(const QString& tag, bool withLog = true) {
        writeFile(program(QStringLiteral("Vardel.Data")), content(tag + QStringLiteral("Data"), 15000));
        writeFile(program(QStringLiteral("User.List")), content(tag + QStringLiteral("List"), 1000));
        if (withLog)
            writeFile(program(QStringLiteral("User.Log")), content(tag + QStringLiteral("Log"), 300));
    }

    static void checkMessage(const Call& call, const QString& text, const QString& title, MsgIcon icon,
                             MsgButtons buttons = MsgButtons::OK, MsgResult defaultButton = MsgResult::OK) {
        QCOMPARE(call.kind, ScriptedDialogs::Kind::Message);
        QCOMPARE(call.text, text);
        QCOMPARE(call.title, title);
        QCOMPARE(call.icon, icon);
        QCOMPARE(call.buttons, buttons);
        QCOMPARE(call.defaultButton, defaultButton);
    }

    static void checkReport(const Call& call, const QString& text) {
        checkMessage(call, text, QStringLiteral("Vardel"), MsgIcon::None);
    }

    // The folder the chooser gives, then the answers to the messages in turn.
    static void script(ScriptedDialogs& scripted, const QString& folder, std::initializer_list<MsgResult> answers) {
        scripted.answerText(folder);
        for (MsgResult answer : answers)
            scripted.answer(answer);
    }

    void backupOrRestore(bool restore) { restore ? void(RestoreDataFiles(m_owner)) : BackupDataFiles(m_owner); }

    static const QString& cancelled(bool restore) { return restore ? kRestoreCancelled : kBackupCancelled; }

    // Files of a folder, hidden ones too, so that a temporary copy left behind shows; the data folder's lock file is
    // always there.
    static QStringList filesIn(const QString& folder) {
        QStringList files = QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
        files.removeAll(DataFolderLockFileName);
        return files;
    }

private slots:
    void initTestCase() { InitProgramValues(); }

    void init() {
        m_root = new QTemporaryDir;
        QVERIFY(QDir(m_root->path()).mkpath(QStringLiteral("data")));
        QVERIFY(QDir(m_root->path()).mkpath(QStringLiteral("backup")));
        m_previousFolder = QDir::currentPath();
        QDir::setCurrent(program());
        m_owner = new QWidget;
        m_owner->setWindowTitle(kCaption);
        m_owner->show();
        m_steps.clear();
        connect(m_owner, &QWidget::windowTitleChanged, this, [this](const QString& caption) {
            m_steps.append({caption, m_owner->isEnabled(), QApplication::overrideCursor() != nullptr});
        });
        DataRestored = false;
    }
    void cleanup() {
        delete m_owner;
        QDir::setCurrent(m_previousFolder);
        delete m_root;
    }

    void cancellingTheChooserShowsNothingElse_data() {
        QTest::addColumn<bool>("restore");
        QTest::newRow("backup") << false;
        QTest::newRow("restore") << true;
    }
    void cancellingTheChooserShowsNothingElse() {
        QFETCH(bool, restore);
        writeProgramFiles(QStringLiteral("now"));
        ScriptedDialogs scripted;
        scripted.answerText(QString());
        backupOrRestore(restore);
        QCOMPARE(scripted.calls().size(), 1);
        QCOMPARE(scripted.last().kind, ScriptedDialogs::Kind::Folder);
        QCOMPARE(scripted.last().title, restore ? kRestorePrompt : kBackupPrompt);
        QVERIFY(m_steps.isEmpty());
    }

    // The chooser opens where the last choice was made.
    void chooserStartsInTheLastFolderUsed() {
        ScriptedDialogs scripted;
        scripted.answerText(backup());
        scripted.answerText(QString());
        BrowseForFolder(m_owner, kBackupPrompt);
        BrowseForFolder(m_owner, kRestorePrompt);
        QCOMPARE(scripted.last().defaultText, backup());
    }

    // In the chooser itself, a typed name of a folder yet to be made is made, owner-only, once the user agrees.
    void chooserMakesATypedNewFolder() {
        const QString wanted = m_root->filePath(QStringLiteral("new"));
        ScriptedDialogs scripted;
        scripted.answer(MsgResult::Yes);
        std::unique_ptr<QTimer> driver(whenModalAppears([&wanted](QWidget* modal) {
            modal->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(wanted);
            QMetaObject::invokeMethod(modal, "accept");
        }));
        QCOMPARE(QtDialogs().BrowseForFolder(nullptr, kBackupPrompt, m_root->path()), wanted);
        QCOMPARE(QFileInfo(wanted).permissions() & 0x77, QFile::Permissions());
    }

    // A message box leaves its title room beside the title bar's icon and buttons, however short its text.
    void messageBoxIsWiderThanItsTitle() {
        const QString title = QStringLiteral("What are you doing?");
        QFont bold;
        bold.setBold(true);
        const int needed = QFontMetrics(bold).horizontalAdvance(title) + 4 * QFontMetrics(bold).height();
        std::unique_ptr<QTimer> closer(whenModalAppears([needed](QWidget* modal) {
            QVERIFY(modal->width() >= needed);
            qobject_cast<QDialog*>(modal)->accept();
        }));
        QtDialogs().MessageBox(m_owner, QStringLiteral("OK"), title, MsgIcon::Critical);
    }

    // The program's own folder, however it is named, and a folder that cannot be reached: the reason, then the
    // cancellation, and nothing copied.
    void aFolderThatCannotBeUsedIsRefused_data() {
        QTest::addColumn<bool>("restore");
        QTest::addColumn<QString>("chosen"); // relative to the test's root folder
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("title");
        QTest::addColumn<MsgIcon>("icon");
        const QString ownTitle = QStringLiteral("What are you doing?");
        const QString ownBackup = QStringLiteral("You can't backup\r\nVardel data\r\nto itself in the same folder!");
        const QString ownRestore = QStringLiteral("You can't restore\r\nVardel data\r\nto itself in the same folder!");
        const MsgIcon critical = MsgIcon::Critical;
        QTest::newRow("backup") << false << "data" << ownBackup << ownTitle << critical;
        QTest::newRow("backup, trailing slash") << false << "data/" << ownBackup << ownTitle << critical;
        QTest::newRow("backup, by a link") << false << "link" << ownBackup << ownTitle << critical;
        QTest::newRow("restore") << true << "data" << ownRestore << ownTitle << critical;
        QTest::newRow("restore, by a link") << true << "link/." << ownRestore << ownTitle << critical;
        const QString access = QStringLiteral("Drive or Folder Access Problem");
        QTest::newRow("backup, unreachable")
            << false << "backup/removed-drive"
            << QStringLiteral("There is some kind of problem trying to\r\naccess the selected backup location\r\nthat "
                              "you specified...")
            << access << MsgIcon::Exclamation;
        QTest::newRow("restore, unreachable")
            << true << "backup/removed-drive"
            << QStringLiteral("There is some kind of problem trying to\r\naccess the backed up data files at\r\nthe "
                              "location that you specified.")
            << access << MsgIcon::Exclamation;
    }
    void aFolderThatCannotBeUsedIsRefused() {
        QFETCH(bool, restore);
        QFETCH(QString, chosen);
        QFETCH(QString, text);
        QFETCH(QString, title);
        QFETCH(MsgIcon, icon);
        QVERIFY(QFile::link(program(), m_root->filePath(QStringLiteral("link"))));
        writeProgramFiles(QStringLiteral("now"));
        ScriptedDialogs scripted;
        script(scripted, m_root->filePath(chosen), {MsgResult::OK, MsgResult::OK});
        backupOrRestore(restore);
        QCOMPARE(scripted.calls().size(), 3);
        checkMessage(scripted.calls().at(1), text, title, icon);
        checkReport(scripted.last(), cancelled(restore));
        QCOMPARE(readFile(program(QStringLiteral("Vardel.Data"))), content(QStringLiteral("nowData"), 15000));
        QVERIFY(m_steps.isEmpty());
        QVERIFY(!DataRestored);
    }

    void backupAsksByWhatTheFolderHolds_data() {
        QTest::addColumn<QStringList>("present"); // files already in the backup folder
        QTest::addColumn<bool>("caution");
        QTest::addColumn<MsgResult>("answer");
        QTest::newRow("empty") << QStringList() << false << MsgResult::OK;
        QTest::newRow("empty, Cancel") << QStringList() << false << MsgResult::Cancel;
        QTest::newRow("hidden file only") << QStringList{QStringLiteral(".directory")} << false << MsgResult::OK;
        QTest::newRow("other files") << QStringList{QStringLiteral("holiday.jpg")} << true << MsgResult::Yes;
        QTest::newRow("other files, No") << QStringList{QStringLiteral("holiday.jpg")} << true << MsgResult::No;
        QTest::newRow("other letter case") << QStringList{QStringLiteral("vardel.data")} << true << MsgResult::Yes;
        QTest::newRow("earlier backup") << QStringList{QStringLiteral("Vardel.Data"), QStringLiteral("notes.txt")}
                                        << false << MsgResult::OK;
    }
    void backupAsksByWhatTheFolderHolds() {
        QFETCH(QStringList, present);
        QFETCH(bool, caution);
        QFETCH(MsgResult, answer);
        for (const QString& name : present)
            writeFile(backup(name), "earlier");
        writeProgramFiles(QStringLiteral("now"));
        ScriptedDialogs scripted;
        script(scripted, backup(), {answer, MsgResult::OK}); // ends with "/": not doubled in the messages
        BackupDataFiles(m_owner);
        QCOMPARE(scripted.calls().size(), 3);
        const QString folder = QLatin1Char('\'') + backup() + QLatin1Char('\'');
        if (caution)
            checkMessage(scripted.calls().at(1),
                         QStringLiteral("The data backup location you selected,\r\n\r\n") + folder +
                             QStringLiteral("\r\n\r\ncontains files not related to Vardel!\r\nAre you sure you wish "
                                            "to continue with this backup?"),
                         QStringLiteral("Caution!"), MsgIcon::Exclamation, MsgButtons::YesNo, MsgResult::No);
        else
            checkMessage(scripted.calls().at(1),
                         QStringLiteral("You have selected\r\n\r\n") + folder +
                             QStringLiteral("\r\n\r\nas your data backup location.\r\nPlease click <OK> to continue."),
                         QStringLiteral("Backup Procedure"), MsgIcon::Information, MsgButtons::OKCancel);
        const bool copied = answer == MsgResult::Yes || answer == MsgResult::OK;
        checkReport(scripted.last(), copied ? kBackedUp : kBackupCancelled);
        for (const QString& name : DataFileList)
            QCOMPARE(readFile(backup(name)) == readFile(program(name)), copied);
    }

    void backupAndRestoreRoundTripByteForByte() {
        writeProgramFiles(QStringLiteral("kept"));
        QMap<QString, QByteArray> kept;
        for (const QString& name : DataFileList)
            kept[name] = readFile(program(name));
        const QString folder = m_root->filePath(QStringLiteral("usb/Vardel backup"));
        QVERIFY(QDir().mkpath(folder));
        // What a backup killed half-way left; the file lists below show it cleared.
        writeFile(folder + QStringLiteral("/.Vardel.Data.k1lled"), "123-45-6789");

        ScriptedDialogs scripted;
        script(scripted, folder, {MsgResult::OK, MsgResult::OK});
        BackupDataFiles(m_owner);
        checkReport(scripted.last(), kBackedUp);
        QCOMPARE(m_steps.size(), 4);
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(m_steps.at(i).caption, QStringLiteral("Copying ") + DataFileList.at(i));
            QVERIFY(!m_steps.at(i).enabled);
            QVERIFY(m_steps.at(i).busy);
        }
        QCOMPARE(m_steps.last().caption, kCaption);
        QVERIFY(m_owner->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(filesIn(folder), (QStringList{QStringLiteral("Backup.Manifest"), QStringLiteral("User.List"),
                                               QStringLiteral("User.Log"), QStringLiteral("Vardel.Data")}));
        for (const QString& name : DataFileList) {
            QCOMPARE(readFile(folder + QLatin1Char('/') + name), kept[name]);
            QCOMPARE(modeOf(folder + QLatin1Char('/') + name), mode_t(0600));
        }
        QVERIFY(!DataRestored);

        // Later work changes every file; the restore brings back the backed-up ones. A restore and a rewrite
        // killed half-way had left their copies.
        writeProgramFiles(QStringLiteral("later"));
        writeFile(program(QStringLiteral(".User.List.k1lled")), "123-45-6789");
        writeFile(program(TempFileName), "123-45-6789");
        scripted.clear();
        m_steps.clear();
        script(scripted, folder, {MsgResult::Yes, MsgResult::OK});
        QVERIFY(RestoreDataFiles(m_owner));
        QCOMPARE(scripted.calls().size(), 3);
        // The question says what will come back before anything is replaced.
        QString question = kRestoreQuestion;
        question.insert(
            question.indexOf(QStringLiteral("Are you sure")),
            QStringLiteral("The backup to be restored:\r\n") +
                ManifestSummary(
                    *VerifyBackupFolder(folder, QStringLiteral("Vardel.Data"), QStringLiteral("User.List")).manifest) +
                QStringLiteral(".\r\n\r\n"));
        QVERIFY(question.contains(QStringLiteral("3 employees and 2 users")));
        checkMessage(scripted.calls().at(1), question, QStringLiteral("Important! Please read carefully..."),
                     MsgIcon::Exclamation, MsgButtons::YesNo, MsgResult::No);
        checkReport(scripted.last(), kRestored);
        QCOMPARE(m_steps.size(), 4);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(m_steps.at(i).caption, QStringLiteral("Restoring ") + DataFileList.at(i));
        QCOMPARE(m_steps.last().caption, kCaption);
        for (const QString& name : DataFileList) {
            QCOMPARE(readFile(program(name)), kept[name]);
            QCOMPARE(modeOf(program(name)), mode_t(0600));
        }
        QCOMPARE(filesIn(program()),
                 (QStringList{QStringLiteral("Backup.Last"), QStringLiteral("Change.Log"), QStringLiteral("User.List"),
                              QStringLiteral("User.Log"), QStringLiteral("Vardel.Data")}));
        // The history tells of both, the restore's line after the backup's.
        const QByteArray history = readFile(program(QStringLiteral("Change.Log")));
        QVERIFY(history.indexOf("\tbackup\t") >= 0 && history.indexOf("\trestore\t") > history.indexOf("\tbackup\t"));
        QVERIFY(DataRestored);
    }

    // The access code's file goes with the data both ways; a backup without one restores all the same and leaves
    // the folder its code.
    void theAccessCodeTravelsWithTheData_data() {
        QTest::addColumn<bool>("withCode");
        QTest::newRow("backup with the code") << true;
        QTest::newRow("backup without it") << false;
    }
    void theAccessCodeTravelsWithTheData() {
        QFETCH(bool, withCode);
        writeProgramFiles(QStringLiteral("kept"));
        if (withCode)
            writeFile(program(QStringLiteral("Access.Code")), "code then");
        ScriptedDialogs scripted;
        script(scripted, backup(), {MsgResult::OK, MsgResult::OK});
        BackupDataFiles(m_owner);
        writeFile(program(QStringLiteral("Access.Code")), "code now");
        script(scripted, backup(), {MsgResult::Yes, MsgResult::OK});
        RestoreDataFiles(m_owner);
        checkReport(scripted.last(), kRestored);
        QCOMPARE(readFile(program(QStringLiteral("Access.Code"))), withCode ? "code then" : "code now");
    }

    // A verified backup knows it holds no log and restores without it; one made before manifests stops at it.
    void aBackupWithoutTheLog_data() {
        QTest::addColumn<bool>("verified");
        QTest::newRow("verified: restored without it") << true;
        QTest::newRow("made before manifests: stops at it") << false;
    }
    void aBackupWithoutTheLog() {
        QFETCH(bool, verified);
        writeProgramFiles(QStringLiteral("first"), false);
        ScriptedDialogs scripted;
        script(scripted, backup(), {MsgResult::OK, MsgResult::OK});
        BackupDataFiles(m_owner);
        checkReport(scripted.last(), kBackedUp);
        QCOMPARE(filesIn(backup()), (QStringList{QStringLiteral("Backup.Manifest"), QStringLiteral("User.List"),
                                                 QStringLiteral("Vardel.Data")}));
        if (!verified)
            QVERIFY(QFile::remove(backup(QStringLiteral("Backup.Manifest"))));

        writeProgramFiles(QStringLiteral("second"));
        scripted.clear();
        script(scripted, backup(), {MsgResult::Yes, MsgResult::Yes, MsgResult::Yes, MsgResult::OK, MsgResult::OK});
        // The caller must rebuild its list although the restore reports its cancellation.
        QVERIFY(RestoreDataFiles(m_owner));
        if (verified) {
            QCOMPARE(scripted.calls().size(), 3);
            checkReport(scripted.last(), kRestored);
        } else {
            QCOMPARE(scripted.calls().size(), 6);
            QCOMPARE(scripted.calls().at(1).title, QStringLiteral("Backup Cannot Be Verified"));
            QCOMPARE(scripted.calls().at(2).title, QStringLiteral("Restore an Unverified Backup?"));
            checkMessage(scripted.calls().at(4),
                         QStringLiteral("There is some kind of problem\r\ntrying to restore User.Log\r\n\r\nmissing"),
                         QStringLiteral("File Restore Error"), MsgIcon::Exclamation);
            checkReport(scripted.last(), kRestoreCancelled);
        }
        // The files before it were restored; the log is the current one.
        QCOMPARE(readFile(program(QStringLiteral("Vardel.Data"))), content(QStringLiteral("firstData"), 15000));
        QCOMPARE(readFile(program(QStringLiteral("User.List"))), content(QStringLiteral("firstList"), 1000));
        QCOMPARE(readFile(program(QStringLiteral("User.Log"))), content(QStringLiteral("secondLog"), 300));
        QCOMPARE(m_steps.last().caption, kCaption);
        QVERIFY(m_owner->isEnabled());
        QCOMPARE(DataRestored, verified);
    }

    // One byte changed in any file of a verified backup: the restore names it and replaces nothing.
    void aDamagedBackupIsNotRestored_data() {
        QTest::addColumn<QString>("file");
        for (const char* file : {"Vardel.Data", "User.List", "User.Log"})
            QTest::newRow(file) << file;
    }
    void aDamagedBackupIsNotRestored() {
        QFETCH(QString, file);
        writeProgramFiles(QStringLiteral("first"));
        ScriptedDialogs scripted;
        script(scripted, backup(), {MsgResult::OK, MsgResult::OK});
        BackupDataFiles(m_owner);
        QByteArray bytes = readFile(backup(file));
        bytes[10] = 'X';
        writeFile(backup(file), bytes);

        writeProgramFiles(QStringLiteral("second"));
        scripted.clear();
        script(scripted, backup(), {MsgResult::OK, MsgResult::OK});
        QVERIFY(!RestoreDataFiles(m_owner));
        QCOMPARE(scripted.calls().size(), 3);
        checkMessage(scripted.calls().at(1),
                     QStringLiteral("The backup in\r\n\r\n'") + backup() +
                         QStringLiteral("'\r\n\r\ndoes not match its manifest:\r\n") + file +
                         QStringLiteral(": its contents differ from the manifest (SHA-256)\r\n\r\nNothing has been "
                                        "replaced."),
                     QStringLiteral("Backup Not Verified"), MsgIcon::Critical);
        checkReport(scripted.last(), kRestoreCancelled);
        QCOMPARE(readFile(program(QStringLiteral("Vardel.Data"))), content(QStringLiteral("secondData"), 15000));
        QCOMPARE(readFile(program(QStringLiteral("User.Log"))), content(QStringLiteral("secondLog"), 300));
        QVERIFY(!DataRestored);
    }

    void restoreNeedsTheDataFileInTheFolder() {
        writeProgramFiles(QStringLiteral("now"));
        writeFile(backup(QStringLiteral("User.List")), "x");
        ScriptedDialogs scripted;
        script(scripted, backup(), {MsgResult::OK, MsgResult::OK});
        QVERIFY(!RestoreDataFiles(m_owner));
        QCOMPARE(scripted.calls().size(), 3);
        checkMessage(
            scripted.calls().at(1),
            QLatin1Char('\'') + backup() +
                QStringLiteral("'\r\n\r\ndoesn't appear to contain previously saved\r\nbackup data file(s) you "
                               "need to restore\r\nyour Vardel data."),
            QStringLiteral("Required file(s) missing"), MsgIcon::Information);
        checkReport(scripted.last(), kRestoreCancelled);
        QCOMPARE(readFile(program(QStringLiteral("User.List"))), content(QStringLiteral("nowList"), 1000));
    }

    void restoreQuestion_data() {
        QTest::addColumn<bool>("currentData");
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<bool>("restored");
        QTest::newRow("No keeps the current files") << true << MsgResult::No << false;
        QTest::newRow("no current data file: not asked") << false << MsgResult::OK << true;
    }
    void restoreQuestion() {
        QFETCH(bool, currentData);
        QFETCH(MsgResult, answer);
        QFETCH(bool, restored);
        // A backup of an earlier version, without a manifest: trusted only when the user says so.
        for (const QString& name : DataFileList)
            writeFile(backup(name), content(QStringLiteral("backup") + name, 5000));
        if (currentData)
            writeProgramFiles(QStringLiteral("now"));
        ScriptedDialogs scripted;
        script(scripted, backup(), {MsgResult::Yes, MsgResult::Yes, answer});
        if (currentData)
            scripted.answer(MsgResult::OK);
        RestoreDataFiles(m_owner);
        QCOMPARE(scripted.calls().size(), currentData ? 5 : 4);
        checkMessage(scripted.calls().at(1),
                     QLatin1Char('\'') + backup() +
                         QStringLiteral("'\r\n\r\nhas no manifest: the backup is incomplete or was made\r\nbefore "
                                        "backups were verified, so it cannot be verified.\r\n\r\nDo you want to "
                                        "restore it anyway?"),
                     QStringLiteral("Backup Cannot Be Verified"), MsgIcon::Exclamation, MsgButtons::YesNo,
                     MsgResult::No);
        // A second, separate yes: the default of each is No.
        checkMessage(scripted.calls().at(2),
                     QStringLiteral("A backup that was cut off would replace your data files\r\nwith only part of "
                                    "them, and nothing here can tell.\r\nThe access code stays as it is.\r\n\r\n"
                                    "Restore from this unverified backup all the same?"),
                     QStringLiteral("Restore an Unverified Backup?"), MsgIcon::Exclamation, MsgButtons::YesNo,
                     MsgResult::No);
        if (currentData)
            checkMessage(scripted.calls().at(3), kRestoreQuestion,
                         QStringLiteral("Important! Please read carefully..."), MsgIcon::Exclamation, MsgButtons::YesNo,
                         MsgResult::No);
        checkReport(scripted.last(), restored ? kRestored : kRestoreCancelled);
        QCOMPARE(readFile(program(QStringLiteral("Vardel.Data"))) == content(QStringLiteral("backupVardel.Data"), 5000),
                 restored);
        QCOMPARE(DataRestored, restored);
    }

    // The history in use is never lost to a restore: a restored one is kept beside as "Change.Log.replaced-...",
    // and the restored history's restore line names it. A backup nothing vouches for never brings back the code.
    void whatARestoreKeeps_data() {
        QTest::addColumn<bool>("verified");
        QTest::addColumn<bool>("backupHasHistory");
        QTest::newRow("verified, with a history") << true << true;
        QTest::newRow("verified, without one: the history goes on") << true << false;
        QTest::newRow("no manifest: history kept, code not restored") << false << true;
    }
    void whatARestoreKeeps() {
        QFETCH(bool, verified);
        QFETCH(bool, backupHasHistory);
        writeProgramFiles(QStringLiteral("first"));
        writeFile(program(QStringLiteral("Access.Code")), "code then");
        if (backupHasHistory)
            QVERIFY(RecordBackupEvent(program(), HistoryEvent::Backup, QStringLiteral("earlier")).isEmpty());
        ScriptedDialogs scripted;
        script(scripted, backup(), {MsgResult::OK, MsgResult::OK});
        BackupDataFiles(m_owner);
        // Without a history before it, the backup holds none.
        QCOMPARE(QFileInfo::exists(backup(QStringLiteral("Change.Log"))), backupHasHistory);
        const QByteArray backedUpHistory =
            backupHasHistory ? readFile(backup(QStringLiteral("Change.Log"))) : QByteArray();
        if (!verified)
            QVERIFY(QFile::remove(backup(QStringLiteral("Backup.Manifest"))));
        writeFile(program(QStringLiteral("Access.Code")), "code now");
        QVERIFY(RecordBackupEvent(program(), HistoryEvent::Backup, QStringLiteral("later")).isEmpty());
        const QByteArray current = readFile(program(QStringLiteral("Change.Log")));

        scripted.clear();
        script(scripted, backup(), {MsgResult::Yes, MsgResult::Yes, MsgResult::Yes, MsgResult::OK});
        QVERIFY(RestoreDataFiles(m_owner));
        checkReport(scripted.last(), kRestored);
        QCOMPARE(readFile(program(QStringLiteral("Access.Code"))), verified ? "code then" : "code now");
        const QStringList replaced =
            QDir(program()).entryList({QStringLiteral("Change.Log.replaced-*")}, QDir::Files | QDir::Hidden);
        const QByteArray history = readFile(program(QStringLiteral("Change.Log")));
        QCOMPARE(CheckChain(history).State, ChainCheck::Intact);
        if (!backupHasHistory) {
            QVERIFY(replaced.isEmpty());
            QVERIFY(history.startsWith(current));
            return;
        }
        QCOMPARE(replaced.size(), 1);
        QVERIFY(QRegularExpression(QStringLiteral("^Change\\.Log\\.replaced-\\d{4}-\\d\\d-\\d\\d-\\d{6}$"))
                    .match(replaced.first())
                    .hasMatch());
        QCOMPARE(readFile(program(replaced.first())), current);
        QCOMPARE(modeOf(program(replaced.first())), mode_t(0600));
        QVERIFY(history.startsWith(backedUpHistory));
        const QList<ChangeEvent> restored = ParseChangeLog(history);
        QCOMPARE(restored.last().Event, HistoryEvent::Restore);
        QCOMPARE(restored.last().OldValue, QStringLiteral("%1: %2 lines, last hash %3")
                                               .arg(replaced.first())
                                               .arg(current.count('\n'))
                                               .arg(QString::fromLatin1(CheckChain(current).LastHash)));
    }

    // A restore killed before each of its renames in turn: every file is the one before or the one restored, and a
    // kept history is the whole history it replaced.
    void aKilledRestoreLeavesOldOrNew() {
        writeProgramFiles(QStringLiteral("first"));
        QVERIFY(RecordBackupEvent(program(), HistoryEvent::Backup, QStringLiteral("earlier")).isEmpty());
        ScriptedDialogs scripted;
        script(scripted, backup(), {MsgResult::OK, MsgResult::OK});
        BackupDataFiles(nullptr);
        writeProgramFiles(QStringLiteral("second"));
        QVERIFY(RecordBackupEvent(program(), HistoryEvent::Backup, QStringLiteral("later")).isEmpty());
        const QStringList names = DataFileList + QStringList{QStringLiteral("Change.Log")};
        QMap<QString, QByteArray> before;
        for (const QString& name : names)
            before[name] = readFile(program(name));
        // The restored history may already carry the restore's own line after the backup's.
        const auto restored = [](const QByteArray& now, const QByteArray& backedUp) {
            return now == backedUp || (now.startsWith(backedUp) && CheckChain(now).State == ChainCheck::Intact);
        };
        bool finished = false;
        int killed = 0;
        for (int renames = 0; !finished && renames < 20; ++renames) {
            for (const QString& name : names)
                writeFile(program(name), before[name]);
            const pid_t child = ::fork();
            if (child == 0) {
                g_renamesBeforeKill = renames;
                FileSystemCalls::SetRename(killingRename);
                script(scripted, backup(), {MsgResult::Yes, MsgResult::OK});
                RestoreDataFiles(nullptr);
                std::fflush(nullptr);
                ::_exit(0);
            }
            int status = 0;
            QCOMPARE(::waitpid(child, &status, 0), child);
            finished = WIFEXITED(status);
            killed += WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL ? 1 : 0;
            for (const QString& name : names) {
                const QByteArray now = readFile(program(name));
                QVERIFY2(now == before[name] || restored(now, readFile(backup(name))),
                         qPrintable(QStringLiteral("%1 after %2 renames").arg(name).arg(renames)));
            }
            for (const QString& kept :
                 QDir(program()).entryList({QStringLiteral("Change.Log.replaced-*")}, QDir::Files)) {
                QCOMPARE(readFile(program(kept)), before[QStringLiteral("Change.Log")]);
                QVERIFY(QFile::remove(program(kept)));
            }
        }
        // Before the kept history, each of the three data files, and the history.
        QVERIFY(finished && killed >= 5);
    }

    void aCopyThatFailsHalfWayLeavesTheTargetWhole_data() {
        QTest::addColumn<bool>("restore");
        QTest::newRow("backup") << false;
        QTest::newRow("restore") << true;
    }
    void aCopyThatFailsHalfWayLeavesTheTargetWhole() {
        QFETCH(bool, restore);
        // The side copied from holds a large data file; the side copied to an earlier, small one.
        const QString from = restore ? backup() : program();
        const QString to = restore ? program() : backup();
        writeFile(from + QStringLiteral("Vardel.Data"), content(QStringLiteral("large"), 400000));
        writeFile(from + QStringLiteral("User.List"), "list");
        writeFile(to + QStringLiteral("Vardel.Data"), content(QStringLiteral("earlier"), 5000));
        ScriptedDialogs scripted;
        // A restore is asked first whether to trust a backup without a manifest, then the restore question.
        if (restore)
            script(scripted, backup(), {MsgResult::Yes, MsgResult::Yes, MsgResult::Yes, MsgResult::OK, MsgResult::OK});
        else
            script(scripted, backup(), {MsgResult::OK, MsgResult::OK, MsgResult::OK});
        {
            FileSizeLimit limit(200000);
            backupOrRestore(restore);
        }
        QCOMPARE(scripted.calls().size(), restore ? 6 : 4);
        checkMessage(scripted.calls().at(restore ? 4 : 2),
                     (restore ? QStringLiteral("There is some kind of problem\r\ntrying to restore Vardel.Data")
                              : QStringLiteral("There is some kind of problem\r\ntrying to copy Vardel.Data")) +
                         QStringLiteral("\r\n\r\nFile too large"),
                     restore ? QStringLiteral("File Restore Error") : QStringLiteral("File Backup Error"),
                     MsgIcon::Exclamation);
        checkReport(scripted.last(), cancelled(restore));
        QCOMPARE(readFile(to + QStringLiteral("Vardel.Data")), content(QStringLiteral("earlier"), 5000));
        // Copying stopped at the failure, and no temporary file was left behind.
        QCOMPARE(filesIn(to), QStringList{QStringLiteral("Vardel.Data")});
        QCOMPARE(m_owner->windowTitle(), kCaption);
        QVERIFY(m_owner->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(!DataRestored);
    }
};

QTEST_MAIN(TestBackupRestore)
#include "tst_backuprestore.moc"
