#include "DataCommands.h"

#include "core/base/AppGlobals.h"
#include "core/base/DateRules.h"
#include "core/record/RecordFields.h"

#include <QDate>
#include <QDateTime>

#include <algorithm>
#include <array>
#include <random>

namespace {

// mt19937 is defined bit for bit by the standard, unlike the distributions, so every draw goes through it
// directly and a seed gives the same file everywhere.
class Draw {
public:
    explicit Draw(quint32 seed) : m_gen(seed) {}
    // 0 .. n-1
    int below(int n) { return static_cast<int>(m_gen() % static_cast<quint32>(n)); }
    int between(int low, int high) { return low + below(high - low + 1); }
    bool chance(int percent) { return below(100) < percent; }
    template <typename T, std::size_t N> const T& pick(const std::array<T, N>& items) {
        return items[below(static_cast<int>(N))];
    }

private:
    std::mt19937 m_gen;
};

using Names = std::array<const char*, 24>;

// The first five lead the list so that even a short sample shows letters outside plain ASCII, all of them within
// the file's code page, as the program's entry fields would take them.
const Names kFirstNames = {"José",  "Zoë",     "Ngozi",  "Siobhán", "Søren",    "James",  "Maria",  "Robert",
                           "Linda", "Michael", "Keisha", "DeShawn", "Jennifer", "Carlos", "Mei",    "Raúl",
                           "Renée", "William", "Priya",  "Hiroshi", "Patricia", "Tyrone", "Ingrid", "Christopher"};
const Names kLastNames = {
    "Smith",      "Johnson",      "García",  "Williams",  "O'Brien",    "Nguyen",
    "Kowalski",   "Okafor",       "Müller",  "Rodríguez", "Washington", "Kim",
    "Patel",      "Chen",         "Jackson", "Thompson",  "Hernández",  "Lee",
    "Fitzgerald", "Van der Berg", "Brown",   "Martínez",  "Walker",     "Featherstonehaugh-Cholmondeley"};
const std::array<const char*, 6> kSuffixes = {"Jr", "Sr", "II", "III", "IV", "Jr."};
const std::array<const char*, 8> kRelations = {"Spouse",  "Mother",  "Father",   "Sister",
                                               "Brother", "Partner", "Daughter", "Friend"};
const std::array<const char*, 12> kSwornTitles = {"Patrol Officer",
                                                  "Senior Patrol Officer",
                                                  "Corporal",
                                                  "Sergeant",
                                                  "Lieutenant",
                                                  "Captain",
                                                  "Detective",
                                                  "K-9 Officer",
                                                  "School Resource Officer",
                                                  "Deputy Chief",
                                                  "Chief of Police",
                                                  "Traffic Officer"};
const std::array<const char*, 10> kCivilianTitles = {"Dispatcher",
                                                     "Records Clerk",
                                                     "Evidence Technician",
                                                     "Crime Analyst",
                                                     "Administrative Assistant",
                                                     "Victim Advocate",
                                                     "Community Service Officer",
                                                     "Animal Control Officer",
                                                     "IT Specialist",
                                                     "Fleet Mechanic"};
const std::array<const char*, 12> kStreets = {"Elm Street",
                                              "Oak Avenue",
                                              "Maple Drive",
                                              "N. Main St.",
                                              "Lincoln Blvd.",
                                              "Cedar Lane",
                                              "Washington Ave., Apt 4B",
                                              "Pine Court",
                                              "Lakeview Road",
                                              "S. 3rd Street",
                                              "Willow Way",
                                              "Old Mill Road, Unit 12"};
const std::array<const char*, 10> kCities = {
    "Springfield, IL 62704", "Columbus, OH 43215", "Austin, TX 78701", "Raleigh, NC 27601", "Boise, ID 83702",
    "Tacoma, WA 98402",      "Albany, NY 12207",   "Mobile, AL 36602", "Duluth, MN 55802",  "Santa Fe, NM 87501"};
const std::array<const char*, 10> kEvents = {
    "Completed field training program.",        "Commendation for community service.",
    "Assigned to night shift, District 2.",     "Completed crisis intervention course.",
    "Annual evaluation: exceeds expectations.", "Transferred to Investigations Division.",
    "Firearms qualification passed.",           "Letter of appreciation from a resident.",
    "Completed supervisor training.",           "Returned from military leave."};

const QString kRaces = QStringLiteral("WBHAO");

QString Digits(Draw& draw, int count) {
    QString text;
    for (int i = 0; i < count; ++i)
        text += QLatin1Char(static_cast<char>('0' + draw.below(10)));
    return text;
}

QString Phone(Draw& draw) {
    return QStringLiteral("(%1) 555-01%2").arg(draw.between(201, 989)).arg(Digits(draw, 2));
}

// The address part of an e-mail: letters without accents.
QString Plain(const QString& name) {
    QString out;
    for (QChar c : name.normalized(QString::NormalizationForm_D)) {
        if (c == QChar(0x141) || c == QChar(0x142))
            out += QLatin1Char('l');
        else if (c.isLetter() && c.unicode() < 128)
            out += c.toLower();
    }
    return out;
}

double DateIn(Draw& draw, const QDate& from, const QDate& to) {
    return ToOADate(from.addDays(draw.below(static_cast<int>(from.daysTo(to)) + 1)));
}

QString Notepad(Draw& draw, int kind, double employed, double until) {
    if (kind == 0)
        return QString();
    const QDate start = OADateToDate(employed);
    const QDate end = until > 0 ? OADateToDate(until) : QDate(2025, 12, 31);
    const int wanted = kind == 1 ? draw.between(1, 6) : 130;
    QList<double> dates;
    for (int i = 0; i < wanted; ++i)
        dates << DateIn(draw, start, std::max(start, end));
    // A service history reads oldest first.
    std::sort(dates.begin(), dates.end());
    QStringList lines;
    for (double date : dates)
        lines << FormatMMDDYYYY(date) + QStringLiteral(" - ") + QString::fromUtf8(draw.pick(kEvents));
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace

struct DemoRecords::State {
    explicit State(quint32 seed) : draw(seed) {}
    Draw draw;
    int index = 0;
};

DemoRecords::DemoRecords(quint32 seed) : m_state(new State(seed)) {}

DemoRecords::~DemoRecords() {
    delete m_state;
}

PersonnelRecord DemoRecords::next() {
    Draw& draw = m_state->draw;
    const int i = m_state->index++;
    const QDate today(2025, 12, 31);
    PersonnelRecord r;
    r.RecordCreated = DateIn(draw, QDate(2008, 1, 1), QDate(2025, 6, 30)) + draw.below(86400) / 86400.0;
    // A change comes after the record's making and never after the day the sample is set in.
    const QDate created = OADateToDate(r.RecordCreated);
    const int changedWithin = static_cast<int>(std::min<qint64>(900, created.daysTo(today)));
    r.LastModified =
        draw.chance(60) ? ToOADate(created.addDays(draw.between(1, changedWithin))) + draw.below(86400) / 86400.0 : 0;

    r.FirstName = QString::fromUtf8(i < 5 ? kFirstNames[i] : draw.pick(kFirstNames));
    r.MiddleName = draw.chance(70) ? QString::fromUtf8(draw.pick(kFirstNames)) : QString();
    r.LastName = QString::fromUtf8(draw.pick(kLastNames));
    r.Suffix = draw.chance(10) ? QString::fromUtf8(draw.pick(kSuffixes)) : QString();

    r.EmergencyName = QString::fromUtf8(draw.pick(kFirstNames)) + QLatin1Char(' ') + r.LastName;
    r.EmergencyRelationship = QString::fromUtf8(draw.pick(kRelations));
    r.EmergencyPhone = Phone(draw);
    r.StreetAddress =
        QString::number(draw.between(1, 9899)) + QLatin1Char(' ') + QString::fromUtf8(draw.pick(kStreets));
    r.CityStateZip = QString::fromUtf8(draw.pick(kCities));
    r.HomePhone = draw.chance(80) ? Phone(draw) : QString();
    r.CellPhone = draw.chance(85) ? Phone(draw) : QString();

    // The first ten cover every race code and both sexes.
    r.Race = kRaces.at(i < 10 ? i % 5 : draw.below(5));
    r.Sex = (i < 10 ? i % 2 == 0 : draw.chance(65)) ? QStringLiteral("M") : QStringLiteral("F");
    r.SocialSecurityNumber =
        QStringLiteral("%1-%2-%3").arg(draw.between(100, 665)).arg(draw.between(10, 99)).arg(draw.between(1000, 9999));

    const QDate born = OADateToDate(DateIn(draw, QDate(1945, 1, 1), QDate(2003, 12, 31)));
    r.DateOfBirth = ToOADate(born);
    const QDate hiredFrom = std::max(born.addYears(18), QDate(1968, 1, 1));
    const QDate hiredTo = std::min(born.addYears(50), today);
    r.DateOfEmployment = DateIn(draw, hiredFrom, std::max(hiredFrom, hiredTo));
    const QDate hired = OADateToDate(r.DateOfEmployment);
    // About a quarter have left.
    if (i % 4 == 1 || draw.chance(10))
        r.InactivationDate = DateIn(draw, std::min(hired.addDays(30), today), today);
    const QDate lastDay = r.InactivationDate > 0 ? OADateToDate(r.InactivationDate) : today;
    r.DateOfJobTitle = draw.chance(75) ? DateIn(draw, hired, std::max(hired, lastDay)) : 0;

    r.Sworn = (i < 10 ? i % 3 != 2 : draw.chance(70)) ? -1 : 0;
    r.EmployeeNumber = QStringLiteral("PD-") + Digits(draw, 5);
    r.JobTitle = QString::fromUtf8(r.Sworn ? draw.pick(kSwornTitles) : draw.pick(kCivilianTitles));

    // Empty, a few lines, or full to the last character.
    const int notepadKind = i % 5 == 0 ? 0 : (i % 7 == 3 ? 2 : 1);
    r.Notepad = Notepad(draw, notepadKind, r.DateOfEmployment, r.InactivationDate).left(Field(FieldId::Notepad).Width);

    r.Email = (Plain(r.FirstName).left(1) + Plain(r.LastName)).left(11) + QStringLiteral("@vardelpd.gov");
    r.PicturePath = QString();
    r.DataVersion = CurrentDataVersion();
    return r;
}

QList<PersonnelRecord> MakeDemoRecords(int count, quint32 seed) {
    DemoRecords demo(seed);
    QList<PersonnelRecord> records;
    records.reserve(count);
    for (int i = 0; i < count; ++i)
        records.append(demo.next());
    return records;
}
