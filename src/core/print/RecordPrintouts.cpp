#include "core/base/AppGlobals.h"
#include "core/print/PrintHelpers.h"
#include "core/print/Printouts.h"
#include "core/base/DateRules.h"

namespace {

// 0 is the empty date: it shows as nothing rather than as 30 December 1899.
QString DateText(double value) {
    return value == 0 ? QString() : FormatMMDDYYYY(value);
}

QString LongDateText(double value) {
    return value == 0 ? QString() : FormatMMMMDYYYY(value);
}

// A field as the file stores it: blank-padded to its width, cut at it.
QString Stored(const QString& value, int width) {
    return value.leftJustified(width, QLatin1Char(' '), true);
}

void PrintEndingAt(PrinterDevice& printer, double right, const QString& caption) {
    printer.setCurrentX(right - printer.textWidth(caption));
    printer.printInline(caption);
}

} // namespace

QString RecordFieldCaption(int index) {
    static const QStringList captions{QString(),
                                      QStringLiteral("First Name"),
                                      QStringLiteral("Middle Name"),
                                      QStringLiteral("Last Name"),
                                      QStringLiteral("Suffix"),
                                      QStringLiteral("Race"),
                                      QStringLiteral("Sex"),
                                      QStringLiteral("Date of Birth"),
                                      QStringLiteral("Social Security #"),
                                      QStringLiteral("Name"),
                                      QStringLiteral("Relationship"),
                                      QStringLiteral("Contact Number"),
                                      QStringLiteral("Street Address"),
                                      QStringLiteral("City/State/Zip"),
                                      QStringLiteral("Home Phone"),
                                      QStringLiteral("Cell Phone"),
                                      QStringLiteral("Email"),
                                      QStringLiteral("Employee #"),
                                      QStringLiteral("Job Title"),
                                      QStringLiteral("Date of Employment"),
                                      QStringLiteral("Date of Job Title"),
                                      QStringLiteral("Inactivation Date"),
                                      QStringLiteral("Notepad")};
    return captions.value(index);
}

QStringList RecordFormTexts(const PersonnelRecord& r) {
    const bool previous = r.InactivationDate != 0;
    return {QString(),
            r.FirstName.trimmed(),
            r.MiddleName.trimmed(),
            r.LastName.trimmed(),
            r.Suffix.trimmed(),
            r.Race.trimmed(),
            r.Sex.trimmed(),
            DateText(r.DateOfBirth),
            r.SocialSecurityNumber.trimmed(),
            r.EmergencyName.trimmed(),
            r.EmergencyRelationship.trimmed(),
            r.EmergencyPhone.trimmed(),
            r.StreetAddress.trimmed(),
            r.CityStateZip.trimmed(),
            r.HomePhone.trimmed(),
            r.CellPhone.trimmed(),
            r.Email.trimmed(),
            r.EmployeeNumber.trimmed(),
            r.JobTitle.trimmed(),
            DateText(r.DateOfEmployment),
            r.DateOfJobTitle > 0 ? DateText(r.DateOfJobTitle) : QString(),
            previous ? DateText(r.InactivationDate) : QString(),
            r.Notepad.trimmed()};
}

void PrintInformationReport(PrinterDevice& printer, PrintOwner* owner, const PersonnelRecord& record,
                            bool printComments, double printedAt) {
    constexpr double captionEnd = 3.0;
    constexpr double left = 1.0;
    const QStringList field = RecordFormTexts(record);

    printer.setFontName(QStringLiteral("Arial"));
    printer.setFontSize(10);
    printer.setFontBold(false);
    printer.setFontItalic(false);
    printer.setFontUnderline(false);

    printer.setCurrentX(left);
    printer.setCurrentY(1.0);
    printer.print(AppTitle + QStringLiteral(" information report, "));
    printer.setCurrentX(left);
    printer.print(FormatGeneralDate(printedAt));
    printer.endLine();
    printer.endLine();

    for (int i = 1; i <= 20; ++i) {
        if (i == 9) {
            printer.endLine();
            PrintEndingAt(printer, captionEnd, QStringLiteral("In case of emergency, contact--"));
            printer.endLine();
        }
        if (i == 12 || i == 19)
            printer.endLine();
        if (!field.at(i).isEmpty()) {
            PrintEndingAt(printer, captionEnd, RecordFieldCaption(i));
            printer.print(QStringLiteral(":  ") + field.at(i));
        }
    }

    printer.endLine();
    PrintEndingAt(printer, captionEnd, QStringLiteral("Sworn Status"));
    printer.print(QStringLiteral(": ") +
                  (record.Sworn == -1 ? QStringLiteral("Sworn Employee") : QStringLiteral("Non-sworn Employee")));

    printer.endLine();
    PrintEndingAt(printer, captionEnd, QStringLiteral("Employment Status"));
    if (record.InactivationDate == 0)
        printer.print(QStringLiteral(":  ") + QStringLiteral("Current Employee"));
    else
        printer.print(QStringLiteral(":  ") + QStringLiteral("Previous Employee") + QStringLiteral(", ") +
                      QStringLiteral("Inactivation Date: ") + field.at(21));

    if (!printComments) {
        printer.endDoc();
        return;
    }
    const QString& notepad = field.at(22);
    printer.endLine();
    printer.setCurrentX(left);
    printer.printInline(QStringLiteral("Notepad comments: "));
    if (notepad.size() > 49) {
        printer.endLine();
        PrintWrappedText(printer, owner, notepad, QString(), false, false, false, false, false, left, 7.5);
        return;
    }
    // A short note may still hold a line break; its later lines keep the report's left edge.
    const QStringList lines = notepad.split(QStringLiteral("\r\n"));
    printer.print(lines.first());
    for (qsizetype i = 1; i < lines.size(); ++i) {
        printer.setCurrentX(left);
        printer.print(lines.at(i));
    }
    printer.endDoc();
}

void PrintUpdateForm(PrinterDevice& printer, const PersonnelRecord& r, double printedAt) {
    namespace L = PersonnelLayout;
    constexpr int column = 10;
    constexpr int emergencyColumn = 42;
    const QString rule(79, QLatin1Char('_'));

    printer.setFontName(QStringLiteral("Arial"));
    printer.setFontSize(10);
    printer.setFontBold(true);
    printer.setFontItalic(false);
    printer.setFontUnderline(false);
    printer.setFontStrikethru(false);
    SetPageOrigin(printer, 0, 0);
    printer.setCurrentX(1.0);
    printer.setCurrentY(0.5);

    const auto line = [&](const QString& text) {
        printer.tab(column);
        printer.print(text);
    };
    const auto blank = [&](int count = 1) {
        for (int i = 0; i < count; ++i)
            printer.endLine();
    };

    line(FromOADate(printedAt).toString(QStringLiteral("yyyy")) +
         QStringLiteral(" Annual Employee Information Update"));
    line(rule);
    blank();
    line(QStringLiteral("*  Verify and update the below information"));
    line(QStringLiteral("*  Fill in the blanks as appropriate"));
    line(QStringLiteral("*  Forward this form as directed"));
    line(rule);
    blank();
    line(Stored(r.FirstName, L::FirstNameWidth));
    line(Stored(r.MiddleName, L::MiddleNameWidth));
    line(Stored(r.LastName, L::LastNameWidth));
    line(Stored(r.Suffix, L::SuffixWidth));
    blank();
    line(Stored(r.StreetAddress, L::StreetAddressWidth));
    line(Stored(r.CityStateZip, L::CityStateZipWidth));
    blank();
    line(QStringLiteral("Home Phone: ") + Stored(r.HomePhone, L::HomePhoneWidth));
    line(QStringLiteral("Cell Phone: ") + Stored(r.CellPhone, L::CellPhoneWidth));
    blank();
    line(QStringLiteral("Email: ") + Stored(r.Email, L::EmailWidth));
    blank();
    line(Stored(r.Race, L::RaceWidth));
    line(Stored(r.Sex, L::SexWidth));
    line(Stored(r.SocialSecurityNumber, L::SocialSecurityNumberWidth));
    line(QStringLiteral("Date of Birth: ") + LongDateText(r.DateOfBirth));
    line(QStringLiteral("Date of Employment: ") + LongDateText(r.DateOfEmployment));
    line(QStringLiteral("Employee #: ") + Stored(r.EmployeeNumber, L::EmployeeNumberWidth));
    line(QStringLiteral("Job Title: ") + Stored(r.JobTitle, L::JobTitleWidth));
    blank();
    line(QStringLiteral("Driver 's License State_________ Number_________________________ Exp._____________"));
    blank();
    printer.tab(column);
    printer.printInline(QStringLiteral("In case of emergency, contact "));
    printer.tab(emergencyColumn);
    printer.print(r.EmergencyName.trimmed() + QStringLiteral(" at ") + r.EmergencyPhone.trimmed());
    printer.tab(emergencyColumn);
    printer.print(QLatin1Char('(') + r.EmergencyRelationship.trimmed() + QLatin1Char(')'));
    blank();
    line(QStringLiteral("Language(s) spoken_____________________________________________________________"));
    blank();
    line(QStringLiteral("Blood Type_____________"));
    blank();
    line(QStringLiteral("Any other information you wish to include in your personnel record"));
    line(QStringLiteral("(such as educational attainments, training received, medical conditions"));
    line(QStringLiteral(" or other special circumstances, etc.)"));
    blank(10);
    line(QStringLiteral("Signature__________________________________________________ Date_______________"));
    printer.endDoc();
}
