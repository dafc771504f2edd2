#include "core/list/ListOptions.h"

#include "core/base/DateRules.h"

namespace {

QString Pick(const QStringList& captions, int index) {
    return index >= 1 && index <= captions.size() ? captions.at(index - 1) : QString();
}

} // namespace

QString TypeListCaption(int index) {
    static const QStringList captions = {
        QStringLiteral("Alphabetical Listing,  with"), QStringLiteral("Seniority (by Date of Employment)"),
        QStringLiteral("Seniority (by Age)"), QStringLiteral("Birthday List (by Month/Day)")};
    return Pick(captions, index);
}

QString EmpSwornCaption(int index) {
    static const QStringList captions = {QStringLiteral("Sworn and non-sworn"), QStringLiteral("Sworn only"),
                                         QStringLiteral("Non-sworn only")};
    return Pick(captions, index);
}

QString RaceCaption(int index) {
    static const QStringList captions = {QStringLiteral("All"),     QStringLiteral("White"),
                                         QStringLiteral("Black"),   QStringLiteral("Hispanic"),
                                         QStringLiteral("Asiatic"), QStringLiteral("Other")};
    return Pick(captions, index);
}

QString SexCaption(int index) {
    static const QStringList captions = {QStringLiteral("All"), QStringLiteral("Male"), QStringLiteral("Female")};
    return Pick(captions, index);
}

QString RaceCode(int index) {
    return index >= 2 && index <= 6 ? QString(QStringLiteral("WBHAO").at(index - 2)) : QString();
}

QString SexCode(int index) {
    return index >= 2 && index <= 3 ? QString(QStringLiteral("MF").at(index - 2)) : QString();
}

QString LookForCaption(int index) {
    static const QStringList captions = {QStringLiteral("Month Emp."), QStringLiteral("Year Emp."),
                                         QStringLiteral("Age Group"), QStringLiteral("Look for other text...")};
    return Pick(captions, index);
}

QStringList ListWithEntries() {
    return {QStringLiteral("Job Title"),     QStringLiteral("SS#"),           QStringLiteral("Race/Sex"),
            QStringLiteral("Date of Birth"), QStringLiteral("Address"),       QStringLiteral("Home Phone"),
            QStringLiteral("Cell Phone"),    QStringLiteral("Email Address"), QStringLiteral("Date of Employment"),
            QStringLiteral("Employee#")};
}

QStringList MonthEntries() {
    QStringList entries{QString()};
    for (int month = 1; month <= 12; ++month)
        entries << MonthName(month).left(3);
    return entries;
}

QStringList YearEntries(int currentYear) {
    QStringList entries{QString()};
    for (int year = currentYear - 59; year <= currentYear + 1; ++year)
        entries << QString::number(year);
    return entries;
}

QStringList AgeGroupEntries() {
    QStringList entries{QString()};
    for (int decade = 10; decade <= 80; decade += 10)
        entries << QString::number(decade) + QStringLiteral("'s");
    return entries;
}

void ApplyListTypeRule(ListOptions& options) {
    if (options.TypeList == AlphabeticalListing)
        return;
    options.EmpStatus = 1;
    options.Race = 1;
    options.Sex = 1;
}

StatusButtons RefreshStatusButtons(qint32 currentCount, qint32 previousCount, bool alphabetical, int selected) {
    StatusButtons b;
    b.CurrentEnabled = currentCount > 0;
    b.PreviousEnabled = alphabetical && previousCount > 0;
    b.CurrentCaption = QStringLiteral("Current (") + QString::number(currentCount) + QLatin1Char(')');
    b.PreviousCaption = QStringLiteral("Previous (") + QString::number(previousCount) + QLatin1Char(')');
    b.Selected = selected;
    if (b.PreviousEnabled && !b.CurrentEnabled)
        b.Selected = 2;
    else if (b.CurrentEnabled && !b.PreviousEnabled)
        b.Selected = 1;
    return b;
}

QString ListHeading(const ListOptions& o) {
    QString heading = o.EmpStatus == 1 ? QStringLiteral("Current ") : QStringLiteral("Previous ");
    if (o.EmpSworn == 2)
        heading += QStringLiteral("Sworn ");
    else if (o.EmpSworn == 3)
        heading += QStringLiteral("Non-Sworn ");
    // One blank before "Employees", as in "Current Sworn Employees".
    heading = TrimBlanks(heading) + QStringLiteral(" Employees");
    if (o.Race != 1)
        heading += QStringLiteral(" - Race: ") + RaceCaption(o.Race);
    if (o.Sex != 1)
        heading += QStringLiteral(" - Sex: ") + SexCaption(o.Sex);
    if (o.TypeList != AlphabeticalListing) {
        heading += QStringLiteral(" - ") + TypeListCaption(o.TypeList);
        return heading;
    }
    const QString looks[] = {o.Month, o.Year, o.AgeGroup};
    for (int i = 0; i < 3; ++i)
        if (!looks[i].isEmpty())
            heading += QStringLiteral(" - ") + LookForCaption(i + 1) + QStringLiteral(": ") + looks[i];
    const QString other = TrimBlanks(o.OtherText);
    if (!other.isEmpty())
        heading += QStringLiteral(" - '") + other + QLatin1Char('\'');
    return heading;
}
