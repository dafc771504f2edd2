#include "core/record/PersonnelRecord.h"

#include <QTest>
#include <QtEndian>

#include <functional>

namespace {

using Setter = std::function<void(PersonnelRecord&, const QString&)>;

#define TEXT_FIELD(name, offset, width)                                                                                \
    QTest::newRow(#name) << offset << width << Setter([](PersonnelRecord& r, const QString& v) { r.name = v; })

QByteArray bytesAt(const QByteArray& image, int offset, int count) {
    return image.mid(offset, count);
}

QByteArray littleEndian(double value) {
    QByteArray bytes(8, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

PersonnelRecord fullRecord() {
    PersonnelRecord r;
    r.RecordCreated = 40244.5869097222;
    r.LastModified = 40300.25;
    r.FirstName = QStringLiteral("Siobhán");
    r.MiddleName = QStringLiteral("Zoë");
    r.LastName = QStringLiteral("Müller-García");
    r.Suffix = QStringLiteral("III");
    r.EmergencyName = QStringLiteral("Renée O'Brien");
    r.EmergencyRelationship = QStringLiteral("Sister");
    r.EmergencyPhone = QStringLiteral("(555) 555-0123");
    r.StreetAddress = QStringLiteral("1234 Elm Street, Apt 4B");
    r.CityStateZip = QStringLiteral("Springfield, IL 62704");
    r.HomePhone = QStringLiteral("(555) 555-0199");
    r.CellPhone = QStringLiteral("(555) 555-0142");
    r.Race = QStringLiteral("H");
    r.Sex = QStringLiteral("F");
    r.SocialSecurityNumber = QStringLiteral("123-45-6789");
    r.DateOfBirth = 26000;
    r.DateOfEmployment = 36000;
    r.DateOfJobTitle = 39000;
    r.InactivationDate = 41000;
    r.EmployeeNumber = QStringLiteral("PD-00042");
    r.JobTitle = QStringLiteral("Sergeant");
    r.Notepad = QStringLiteral("01/02/2003 - Hired.\r\n04/05/2006 - Promoted to Sergeant, « très bien ».");
    r.Sworn = -1;
    r.Email = QStringLiteral("smuller@example.gov");
    r.PicturePath = QStringLiteral("/home/clerk/Pictures/müller.jpg");
    r.DataVersion = 312;
    return r;
}

} // namespace

class TestPersonnelRecord : public QObject {
    Q_OBJECT

private slots:
    void textFieldsSitAtTheirOffsetsPaddedAndCut_data() {
        QTest::addColumn<int>("offset");
        QTest::addColumn<int>("width");
        QTest::addColumn<Setter>("set");
        TEXT_FIELD(FirstName, 16, 15);
        TEXT_FIELD(MiddleName, 31, 15);
        TEXT_FIELD(LastName, 46, 20);
        TEXT_FIELD(Suffix, 66, 3);
        TEXT_FIELD(EmergencyName, 69, 25);
        TEXT_FIELD(EmergencyRelationship, 94, 15);
        TEXT_FIELD(EmergencyPhone, 109, 20);
        TEXT_FIELD(StreetAddress, 129, 50);
        TEXT_FIELD(CityStateZip, 179, 50);
        TEXT_FIELD(HomePhone, 229, 20);
        TEXT_FIELD(CellPhone, 249, 20);
        TEXT_FIELD(Race, 269, 1);
        TEXT_FIELD(Sex, 270, 1);
        TEXT_FIELD(SocialSecurityNumber, 271, 11);
        TEXT_FIELD(EmployeeNumber, 314, 15);
        TEXT_FIELD(JobTitle, 329, 25);
        TEXT_FIELD(Notepad, 354, 4517);
        TEXT_FIELD(Email, 4873, 25);
        TEXT_FIELD(PicturePath, 4898, 100);
    }
    void textFieldsSitAtTheirOffsetsPaddedAndCut() {
        QFETCH(int, offset);
        QFETCH(int, width);
        QFETCH(Setter, set);

        // A short value: the value, then blanks to the width; the bytes either side belong to other fields.
        PersonnelRecord shortValue;
        set(shortValue, QStringLiteral("Q"));
        const QByteArray image = EncodePersonnelRecord(shortValue);
        QCOMPARE(image.size(), 5000);
        QCOMPARE(bytesAt(image, offset, width), QByteArray("Q") + QByteArray(width - 1, ' '));
        QCOMPARE(DecodePersonnelRecord(image.constData()), shortValue);

        // A value longer than the field is cut at the width and does not spill into the next field.
        QString longText;
        for (int i = 0; i < width + 7; ++i)
            longText += QChar(u'A' + i % 26);
        PersonnelRecord longValue;
        set(longValue, longText);
        const QByteArray cut = EncodePersonnelRecord(longValue);
        QCOMPARE(bytesAt(cut, offset, width), longText.left(width).toLatin1());
        QCOMPARE(cut.left(offset), image.left(offset));
        QCOMPARE(cut.mid(offset + width), image.mid(offset + width));
        PersonnelRecord expected;
        set(expected, longText.left(width));
        QCOMPARE(DecodePersonnelRecord(cut.constData()), expected);
    }

    void numbersAreLittleEndianAtTheirOffsets() {
        const PersonnelRecord r = fullRecord();
        const QByteArray image = EncodePersonnelRecord(r);
        QCOMPARE(image.size(), 5000);
        QCOMPARE(bytesAt(image, 0, 8), littleEndian(r.RecordCreated));
        QCOMPARE(bytesAt(image, 8, 8), littleEndian(r.LastModified));
        QCOMPARE(bytesAt(image, 282, 8), littleEndian(r.DateOfBirth));
        QCOMPARE(bytesAt(image, 290, 8), littleEndian(r.DateOfEmployment));
        QCOMPARE(bytesAt(image, 298, 8), littleEndian(r.DateOfJobTitle));
        QCOMPARE(bytesAt(image, 306, 8), littleEndian(r.InactivationDate));
        QCOMPARE(bytesAt(image, 4871, 2), QByteArray("\xFF\xFF", 2));
        QCOMPARE(bytesAt(image, 4998, 2), QByteArray("\x38\x01", 2)); // 312
        QCOMPARE(DecodeInactivationDate(image.constData()), 41000.0);

        PersonnelRecord nonSworn = r;
        nonSworn.Sworn = 0;
        nonSworn.DataVersion = 35;
        const QByteArray other = EncodePersonnelRecord(nonSworn);
        QCOMPARE(bytesAt(other, 4871, 2), QByteArray("\0\0", 2));
        QCOMPARE(bytesAt(other, 4998, 2), QByteArray("\x23\0", 2));
    }

    void blankRecordEncodesAsBlanksAndZeros() {
        const QByteArray image = EncodePersonnelRecord(PersonnelRecord());
        QCOMPARE(bytesAt(image, 0, 16), QByteArray(16, '\0'));
        QCOMPARE(bytesAt(image, 16, 266), QByteArray(266, ' '));
        QCOMPARE(bytesAt(image, 282, 32), QByteArray(32, '\0'));
        QCOMPARE(DecodePersonnelRecord(image.constData()), PersonnelRecord());
    }

    void fullRecordRoundTrips() {
        const PersonnelRecord r = fullRecord();
        QCOMPARE(DecodePersonnelRecord(EncodePersonnelRecord(r).constData()), r);
    }

    void textIsSingleByteWindows1252() {
        PersonnelRecord r;
        r.FirstName = QStringLiteral("Zoë");
        r.LastName = QStringLiteral("Łukasz €");
        const QByteArray image = EncodePersonnelRecord(r);
        QCOMPARE(bytesAt(image, 16, 4), QByteArray("Zo\xEB ", 4));
        // Ł is not in the code page and becomes "?"; the euro sign is byte 0x80.
        QCOMPARE(bytesAt(image, 46, 9), QByteArray("?ukasz \x80 ", 9));
        const PersonnelRecord back = DecodePersonnelRecord(image.constData());
        QCOMPARE(back.FirstName, QStringLiteral("Zoë"));
        QCOMPARE(back.LastName, QStringLiteral("?ukasz €"));
    }

    void readingTrimsBlanksOnBothSides() {
        QByteArray image = EncodePersonnelRecord(PersonnelRecord());
        image.replace(16, 15, "   Ann Marie   ");
        QCOMPARE(DecodePersonnelRecord(image.constData()).FirstName, QStringLiteral("Ann Marie"));
    }

    void removalMarker_data() {
        QTest::addColumn<QString>("firstName");
        QTest::addColumn<bool>("killed");
        QTest::newRow("marker") << QStringLiteral("$Killed$") << true;
        QTest::newRow("with blanks") << QStringLiteral("  $Killed$ ") << true;
        QTest::newRow("longer") << QStringLiteral("$Killed$x") << false;
        QTest::newRow("other case") << QStringLiteral("$killed$") << false;
        QTest::newRow("name") << QStringLiteral("Killed") << false;
    }
    void removalMarker() {
        QFETCH(QString, firstName);
        QFETCH(bool, killed);
        PersonnelRecord r;
        r.FirstName = firstName;
        QCOMPARE(IsKilled(r), killed);
        // Stored and read back, the verdict is the same.
        QCOMPARE(IsKilled(DecodePersonnelRecord(EncodePersonnelRecord(r).constData())), killed);
    }

    void markerIsStoredAsEightCharactersAndSevenBlanks() {
        PersonnelRecord r;
        r.FirstName = KilledMarker;
        QCOMPARE(bytesAt(EncodePersonnelRecord(r), 16, 15), QByteArray("$Killed$       "));
    }
};

QTEST_GUILESS_MAIN(TestPersonnelRecord)
#include "tst_personnelrecord.moc"
