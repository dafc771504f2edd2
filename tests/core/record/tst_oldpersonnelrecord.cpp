#include "core/record/OldPersonnelRecord.h"

#include <QTest>

#include <functional>

namespace {

using OldSetter = std::function<void(OldPersonnelRecord&, const QString&)>;
using NewGetter = std::function<QString(const PersonnelRecord&)>;

#define CARRIED(name, width)                                                                                           \
    QTest::newRow(#name) << width << OldSetter([](OldPersonnelRecord& r, const QString& v) { r.name = v; })            \
                         << NewGetter([](const PersonnelRecord& r) { return r.name; })

constexpr double kCreated = 46000.625;

PersonnelRecord convert(const OldPersonnelRecord& old, qint16 version = 312) {
    const QByteArray image = ConvertOldRecord(EncodeOldPersonnelRecord(old).constData(), kCreated, version);
    return DecodePersonnelRecord(image.constData());
}

QString letters(int count) {
    QString text;
    for (int i = 0; i < count; ++i)
        text += QChar(u'a' + i % 26);
    return text;
}

} // namespace

class TestOldPersonnelRecord : public QObject {
    Q_OBJECT

private slots:
    void olderLayoutIs2000Bytes() {
        OldPersonnelRecord r;
        r.FirstName = QStringLiteral("Ann");
        r.SwornCode = 2;
        r.UnusedNumber = 0x0102;
        r.UnusedByte = 7;
        const QByteArray image = EncodeOldPersonnelRecord(r);
        QCOMPARE(image.size(), 2000);
        QCOMPARE(image.left(15), QByteArray("Ann            "));
        QCOMPARE(image.at(323), '\x02');
        QCOMPARE(image.mid(1997, 3), QByteArray("\x02\x01\x07", 3));
        QCOMPARE(DecodeOldPersonnelRecord(image.constData()).UnusedNumber, qint16(0x0102));
    }

    void everyTextFieldIsCarriedWhole_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<OldSetter>("set");
        QTest::addColumn<NewGetter>("get");
        CARRIED(FirstName, 15);
        CARRIED(MiddleName, 15);
        CARRIED(LastName, 20);
        CARRIED(Suffix, 3);
        CARRIED(EmergencyName, 25);
        CARRIED(EmergencyRelationship, 15);
        CARRIED(EmergencyPhone, 20);
        CARRIED(StreetAddress, 50);
        CARRIED(CityStateZip, 50);
        CARRIED(HomePhone, 20);
        CARRIED(Race, 1);
        CARRIED(Sex, 1);
        CARRIED(SocialSecurityNumber, 11);
        CARRIED(JobTitle, 25);
        QTest::newRow("Notes into Notepad")
            << 1613 << OldSetter([](OldPersonnelRecord& r, const QString& v) { r.Notes = v; })
            << NewGetter([](const PersonnelRecord& r) { return r.Notepad; });
    }
    void everyTextFieldIsCarriedWhole() {
        QFETCH(int, width);
        QFETCH(OldSetter, set);
        QFETCH(NewGetter, get);
        // Full width, with a letter outside plain ASCII, and a short value.
        const QString full = QStringLiteral("é") + letters(width - 1);
        OldPersonnelRecord old;
        set(old, full.left(width));
        QCOMPARE(get(convert(old)), full.left(width));
        OldPersonnelRecord shortOld;
        set(shortOld, QStringLiteral("Z"));
        QCOMPARE(get(convert(shortOld)), QStringLiteral("Z"));
    }

    void datesAreCarried() {
        OldPersonnelRecord old;
        old.DateOfBirth = 25000.0;
        old.DateOfEmployment = 36000.5;
        old.DateOfJobTitle = 0;
        old.InactivationDate = 41000.0;
        const PersonnelRecord r = convert(old);
        QCOMPARE(r.DateOfBirth, 25000.0);
        QCOMPARE(r.DateOfEmployment, 36000.5);
        QCOMPARE(r.DateOfJobTitle, 0.0);
        QCOMPARE(r.InactivationDate, 41000.0);
    }

    void swornCode_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("sworn");
        QTest::newRow("2 is sworn") << 2 << -1;
        QTest::newRow("1 is non-sworn") << 1 << 0;
        QTest::newRow("0") << 0 << 0;
        QTest::newRow("3") << 3 << 0;
        QTest::newRow("255") << 255 << 0;
    }
    void swornCode() {
        QFETCH(int, code);
        QFETCH(int, sworn);
        OldPersonnelRecord old;
        old.SwornCode = static_cast<quint8>(code);
        QCOMPARE(convert(old).Sworn, qint16(sworn));
    }

    void employeeNumberKeepsItsFirst15Characters_data() {
        QTest::addColumn<QString>("older");
        QTest::addColumn<QString>("present");
        QTest::newRow("20") << QStringLiteral("PD-12345-NORTH-00017") << QStringLiteral("PD-12345-NORTH-");
        QTest::newRow("16") << QStringLiteral("ABCDEFGHIJKLMNOP") << QStringLiteral("ABCDEFGHIJKLMNO");
        QTest::newRow("15") << QStringLiteral("ABCDEFGHIJKLMNO") << QStringLiteral("ABCDEFGHIJKLMNO");
        QTest::newRow("short") << QStringLiteral("PD-7") << QStringLiteral("PD-7");
        QTest::newRow("blank") << QString() << QString();
    }
    void employeeNumberKeepsItsFirst15Characters() {
        QFETCH(QString, older);
        QFETCH(QString, present);
        OldPersonnelRecord old;
        old.EmployeeNumber = older;
        QCOMPARE(convert(old).EmployeeNumber, present);
    }

    void newFieldsAndDroppedOnes() {
        OldPersonnelRecord old;
        old.FirstName = QStringLiteral("Ann");
        old.Unused40 = QStringLiteral("Badge 1001");
        old.Unused20 = QStringLiteral("Locker 1");
        old.UnusedNumber = 77;
        old.UnusedByte = 9;
        old.Notes = letters(1613);
        const QByteArray image = ConvertOldRecord(EncodeOldPersonnelRecord(old).constData(), kCreated, 312);
        QCOMPARE(image.size(), 5000);
        const PersonnelRecord r = DecodePersonnelRecord(image.constData());
        QCOMPARE(r.RecordCreated, kCreated);
        QCOMPARE(r.LastModified, 0.0);
        QCOMPARE(r.DataVersion, qint16(312));
        // The new text fields are blank bytes, the notepad is blank-padded after the older notes.
        QCOMPARE(image.mid(PersonnelLayout::CellPhone, 20), QByteArray(20, ' '));
        QCOMPARE(image.mid(PersonnelLayout::Email, 25), QByteArray(25, ' '));
        QCOMPARE(image.mid(PersonnelLayout::PicturePath, 100), QByteArray(100, ' '));
        QCOMPARE(image.mid(PersonnelLayout::Notepad, 1613), letters(1613).toLatin1());
        QCOMPARE(image.mid(PersonnelLayout::Notepad + 1613, 4517 - 1613), QByteArray(4517 - 1613, ' '));
        // Nothing of the dropped fields turns up anywhere.
        QVERIFY(!image.contains("Badge"));
        QVERIFY(!image.contains("Locker"));
        QCOMPARE(convert(old, 35).DataVersion, qint16(35));
    }

    void bytesGoOverUnchanged() {
        // Bytes the code page leaves undefined, and blanks before a name, reach the present file as they were.
        QByteArray older = EncodeOldPersonnelRecord(OldPersonnelRecord());
        older.replace(0, 15, QByteArray("\x81\x8D\x8F\x90\x9D  Ann     ", 15));
        const QByteArray image = ConvertOldRecord(older.constData(), kCreated, 312);
        QCOMPARE(image.mid(PersonnelLayout::FirstName, 15), older.left(15));
    }
};

QTEST_GUILESS_MAIN(TestOldPersonnelRecord)
#include "tst_oldpersonnelrecord.moc"
