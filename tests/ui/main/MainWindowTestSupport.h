#pragma once

#include "store/DataFile.h"
#include "store/DateRules.h"
#include "store/PersonnelRecord.h"

#include "FileTestSupport.h"
#include "WindowTestSupport.h"

#include "help/frmManual.h"

#include <QLabel>

// Shared set-up for the main window tests: employees in the data file and the help window that some paths open.

inline double Day(int y, int m, int d) {
    return ToOADate(QDate(y, m, d));
}

inline PersonnelRecord Employee(const QString& first, const QString& last, const QString& race = QStringLiteral("W"),
                                const QString& sex = QStringLiteral("M"), double left = 0) {
    PersonnelRecord r;
    r.RecordCreated = Day(2010, 3, 7) + 0.5;
    r.FirstName = first;
    r.LastName = last;
    r.Race = race;
    r.Sex = sex;
    r.Sworn = -1;
    r.DateOfBirth = Day(1980, 3, 7);
    r.DateOfEmployment = Day(1999, 7, 1);
    r.InactivationDate = left;
    r.JobTitle = QStringLiteral("Sergeant");
    r.DataVersion = 312;
    return r;
}

// Writes the records as the whole data file, slot 1 first.
inline void WriteEmployees(const QList<PersonnelRecord>& records) {
    QByteArray bytes;
    for (const PersonnelRecord& r : records)
        bytes += EncodePersonnelRecord(r);
    writeFile(DataFileName, bytes);
}

inline PersonnelRecord ReadEmployee(qint32 slot) {
    OpenDataFile();
    ReadSlot(slot);
    CloseDataFile();
    return CurrentRecord;
}

// Closes the help window as soon as it is shown modally and notes the topic it opened with. The returned timer
// belongs to the caller.
inline QTimer* CloseHelpWhenShown(QString* topic) {
    return whenModalAppears([topic](QWidget* modal) {
        if (auto* help = qobject_cast<frmManual*>(modal)) {
            help->Form_Activate();
            *topic = help->labelHelpTopic->text();
        }
        modal->close();
    });
}
