#include "core/record/RecordIdentity.h"

#include "core/base/Trim.h"

#include <bit>

RecordIdentity IdentityOf(const PersonnelRecord& record) {
    // The stamp is compared as stored: a damaged one that reads as NaN still equals itself.
    return {std::bit_cast<quint64>(record.RecordCreated), TrimBlanks(record.FirstName), TrimBlanks(record.MiddleName),
            TrimBlanks(record.LastName), TrimBlanks(record.Suffix)};
}

QString RecordIdentity::ListedName() const {
    return LastName + QStringLiteral(", ") + FirstName;
}
