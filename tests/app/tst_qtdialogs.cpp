#include "ScriptedDialogs.h"
#include "WindowTestSupport.h"

#include "app/QtDialogs.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

// The Qt dialogs themselves, driven while they are open.
class tst_QtDialogs : public QObject {
    Q_OBJECT

private slots:
    // A short text must not leave the title bar too narrow for the title beside its icon and buttons.
    void boxIsWiderThanItsTitle_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("input");
        QTest::newRow("backup refusal") << QStringLiteral("What are you doing?") << false;
        QTest::newRow("conversion report") << QStringLiteral("Finished Updating!") << false;
        QTest::newRow("long title") << QStringLiteral("Confirm Employee's Sworn Status Change") << false;
        QTest::newRow("input box") << QStringLiteral("Choose an Access Code") << true;
    }
    void boxIsWiderThanItsTitle() {
        QFETCH(QString, title);
        QFETCH(bool, input);
        int width = 0;
        int needed = 0;
        std::unique_ptr<QTimer> closer(whenModalAppears([&](QWidget* modal) {
            QFont bold = modal->font();
            bold.setBold(true);
            const QFontMetrics metrics(bold);
            needed = metrics.horizontalAdvance(title) + 4 * metrics.height();
            width = modal->width();
            qobject_cast<QDialog*>(modal)->accept();
        }));
        QtDialogs qt;
        if (input)
            qt.InputBox(nullptr, QStringLiteral("Code:"), title, QString());
        else
            qt.MessageBox(nullptr, QStringLiteral("OK"), title, MsgIcon::Information, MsgButtons::OK, MsgResult::OK);
        QVERIFY2(width >= needed, qPrintable(QStringLiteral("%1 < %2").arg(width).arg(needed)));
    }

    // A folder name typed in the chooser that does not exist yet is made, owner-only, once the user agrees.
    void chooserMakesATypedNewFolder_data() {
        QTest::addColumn<MsgResult>("answer");
        QTest::newRow("make it") << MsgResult::Yes;
        QTest::newRow("do not") << MsgResult::No;
    }
    void chooserMakesATypedNewFolder() {
        QFETCH(MsgResult, answer);
        QTemporaryDir root;
        const QString wanted = root.filePath(QStringLiteral("Backups 2026"));
        ScriptedDialogs scripted;
        scripted.answer(answer);
        std::unique_ptr<QTimer> driver(whenModalAppears([&](QWidget* modal) {
            auto* chooser = qobject_cast<QFileDialog*>(modal);
            QVERIFY(chooser);
            chooser->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(wanted);
            QMetaObject::invokeMethod(chooser, "accept", Qt::DirectConnection);
            // A refused folder leaves the chooser open.
            if (chooser->isVisible())
                chooser->reject();
        }));
        QtDialogs qt;
        const QString chosen = qt.BrowseForFolder(nullptr, QStringLiteral("Backup to..."), root.path());
        QCOMPARE(scripted.calls().size(), 1);
        QCOMPARE(scripted.last().title, QStringLiteral("Create Folder?"));
        QCOMPARE(scripted.last().text, QStringLiteral("The folder\r\n\r\n'") + wanted +
                                           QStringLiteral("'\r\n\r\ndoes not exist. Would you like to create it?"));
        const bool made = answer == MsgResult::Yes;
        QCOMPARE(chosen, made ? wanted : QString());
        QCOMPARE(QFileInfo(wanted).isDir(), made);
        if (made)
            QCOMPARE(QFile::permissions(wanted) & (QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                                   QFile::ReadOther | QFile::WriteOther | QFile::ExeOther),
                     QFile::Permissions());
    }
};

QTEST_MAIN(tst_QtDialogs)
#include "tst_qtdialogs.moc"
