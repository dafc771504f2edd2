#include "FileTestSupport.h"
#include "ScriptedDialogs.h"
#include "StartWindowSupport.h"
#include "TempWorkDir.h"
#include "ui/common/FadeEngine.h"
#include "core/convert/OlderDataConversion.h"
#include "ui/app/OlderDataFile.h"
#include "ui/app/frmTitlePage.h"
#include "ui/controls/ZelButton.h"
#include "core/store/DataFile.h"
#include "core/record/OldPersonnelRecord.h"

#include <QPointer>
#include <QTest>

namespace {

QByteArray olderFile(int records) {
    QByteArray bytes;
    for (int n = 1; n <= records; ++n) {
        OldPersonnelRecord r;
        r.FirstName = QStringLiteral("First%1").arg(n);
        r.LastName = QStringLiteral("Last%1").arg(n);
        r.SwornCode = 2;
        bytes += EncodeOldPersonnelRecord(r);
    }
    return bytes;
}

const QString kQuestion =
    QStringList{
        "You have an older version data file",
        "that needs to be converted to a format",
        "that this version of Vardel can read.",
        "",
        "Would you like to convert",
        "your older data file now?",
        "",
        "If you click 'Yes', a copy of your",
        "older data file will be kept as 'Vardel.Old'",
        "just in case you want to re-install your older",
        "previous version of Vardel at some later time.",
        "",
        "If you click 'No', your older version data file",
        "will be re-named to 'Vardel.Old' and you",
        "will start fresh with an empty data file.",
        "",
        "If you answer 'Cancel', this program will terminate",
        "to give you some time to decide what you want to do",
        "with the existing data file.",
    }
        .join(QStringLiteral("\r\n"));

} // namespace

class TestOlderDataFile : public QObject {
    Q_OBJECT

    TitlePageCounts m_title;

private slots:
    void initTestCase() { InitProgramValues(); }
    void init() {
        ResetStartSettings();
        SaveSetting(QStringLiteral("NewUser"), QStringLiteral("NoShow"));
        m_title = TitlePageCounts();
    }
    void cleanup() { CloseStartWindows(); }

    void presentFormatGoesStraightOn() {
        TempWorkDir dir;
        ScriptedDialogs scripted;
        PersonnelRecord r;
        r.DataVersion = 312;
        writeFile(DataFileName, EncodePersonnelRecord(r));
        QPointer<frmTitlePage> page(m_title.open());
        page->cmdContinue_Click();
        QCOMPARE(scripted.calls().size(), 0);
        QCOMPARE(m_title.handOvers, 1);
        QCOMPARE(readFile(DataFileName), EncodePersonnelRecord(r));
    }

    // An older file left unread beside a data file with records is told about once, and the start goes on.
    void datFileBesideRecordsIsToldOnce() {
        TempWorkDir dir;
        ScriptedDialogs scripted;
        writeFile(DataFileName, EncodePersonnelRecord(PersonnelRecord()));
        writeFile(DatFileName(), olderFile(3));
        scripted.answer(MsgResult::OK);
        m_title.open()->cmdContinue_Click();
        m_title.open()->cmdContinue_Click();
        QCOMPARE(scripted.calls().size(), 1);
        QVERIFY(scripted.last().text.contains(QStringLiteral("beside 'Vardel.Data', which already holds employees.")));
    }

    void answers_data() {
        QTest::addColumn<MsgResult>("answer");
        QTest::addColumn<qint64>("dataLength"); // -1: no data file
        QTest::addColumn<bool>("oldKept");
        QTest::addColumn<QString>("report");
        const QString renamed = QStringLiteral("Your older data file\r\nhas been renamed to\r\nVardel.Old");
        QTest::newRow("Yes converts") << MsgResult::Yes << qint64(15000) << true
                                      << QStringLiteral("Your data file has been\r\nsuccessfully converted!\r\n\r\n") +
                                             renamed;
        QTest::newRow("No starts afresh") << MsgResult::No << qint64(-1) << true << renamed;
        QTest::newRow("Cancel stops") << MsgResult::Cancel << qint64(6000) << false << QString();
    }
    void answers() {
        QFETCH(MsgResult, answer);
        QFETCH(qint64, dataLength);
        QFETCH(bool, oldKept);
        QFETCH(QString, report);
        TempWorkDir dir;
        ScriptedDialogs scripted;
        const QByteArray older = olderFile(3);
        writeFile(DataFileName, older);
        QPointer<frmTitlePage> page(m_title.open());
        scripted.answer(answer);
        bool enabledAtReport = false;
        if (!report.isEmpty())
            scripted.answerWith([&] { enabledAtReport = page->isEnabled() && !QApplication::overrideCursor(); },
                                MsgResult::OK);
        page->cmdContinue_Click();

        QCOMPARE(scripted.calls().size(), report.isEmpty() ? 1 : 2);
        const ScriptedDialogs::Call& question = scripted.calls().first();
        QCOMPARE(question.text, kQuestion);
        QCOMPARE(question.title, QStringLiteral("Update existing data file?"));
        QCOMPARE(question.icon, MsgIcon::Question);
        QCOMPARE(question.buttons, MsgButtons::YesNoCancel);
        QCOMPARE(question.defaultButton, MsgResult::Cancel);
        if (!report.isEmpty()) {
            QCOMPARE(scripted.last().text, report);
            QCOMPARE(scripted.last().title, QStringLiteral("Finished Updating!"));
            QCOMPARE(scripted.last().icon, MsgIcon::Information);
            QCOMPARE(scripted.last().buttons, MsgButtons::OK);
            QVERIFY(enabledAtReport);
        }

        QCOMPARE(QFileInfo(DataFileName).exists() ? QFileInfo(DataFileName).size() : qint64(-1), dataLength);
        QCOMPARE(QFile::exists(OldFileName()), oldKept);
        if (oldKept)
            QCOMPARE(readFile(OldFileName()), older);
        else
            QCOMPARE(readFile(DataFileName), older);
        QCOMPARE(m_title.handOvers, answer == MsgResult::Cancel ? 0 : 1);
        QCOMPARE(m_title.ends, answer == MsgResult::Cancel ? 1 : 0);
        RunDeferredDeletes();
        QVERIFY(page.isNull());
    }

    void aFileOfNeitherFormatIsToldAndStops() {
        TempWorkDir dir;
        ScriptedDialogs scripted;
        const QByteArray garbage(6000, '\x01');
        writeFile(DataFileName, garbage);
        QPointer<frmTitlePage> page(m_title.open());
        scripted.answer(MsgResult::OK);
        page->cmdContinue_Click();
        QCOMPARE(scripted.calls().size(), 1);
        QCOMPARE(scripted.last().title, QStringLiteral("Unknown Data File"));
        QCOMPARE(scripted.last().icon, MsgIcon::Critical);
        QCOMPARE(m_title.ends, 1);
        QCOMPARE(m_title.handOvers, 0);
        QCOMPARE(readFile(DataFileName), garbage);
    }

    void cancelWithFadingEndsThroughTheClosingFade() {
        TempWorkDir dir;
        ScriptedDialogs scripted;
        SetFadeSupport(FadeSupport::Always);
        SaveSetting(QStringLiteral("FadeStatus"), QStringLiteral("1"));
        const QByteArray older = olderFile(2);
        writeFile(DataFileName, older);
        QPointer<frmTitlePage> page(m_title.open());
        page->fadeEngine->WaitForFade();
        scripted.answer(MsgResult::Cancel);
        page->cmdContinue_Click();
        QCOMPARE(page->cmdContinue->Tag, page->windowTitle());
        QTRY_COMPARE(m_title.ends, 1);
        QCOMPARE(m_title.handOvers, 0);
        QCOMPARE(scripted.calls().size(), 1);
        QCOMPARE(readFile(DataFileName), older);
        QVERIFY(!QFile::exists(OldFileName()));
    }
};

QTEST_MAIN(TestOlderDataFile)
#include "tst_olderdatafile.moc"
