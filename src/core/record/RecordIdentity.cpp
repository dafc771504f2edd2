#include "core/record/RecordIdentity.h"

#include "core/base/Trim.h"

#include <bit>

RecordIdentity IdentityOf(const PersonnelRecord& record) {
    // The stamp is compared as stored: a damaged one that reads as NaN still equals itself.
    return {std::bit_cast<quint64>(record.RecordCreated), TrimBlanks(record.FirstName), TrimBlanks(record.MiddleName),
            TrimBlanks(record.LastName), TrimBlanks(record.Suffix)};
}

namespace {

QString lastCommaFirst(const QString& last, const QString& first) {
    return last + QStringLiteral(", ") + first;
}

} // namespace

QString RecordIdentity::ListedName() const {
    // The parts were trimmed when the identity was taken.
    return lastCommaFirst(LastName, FirstName);
}

QString ListedName(const PersonnelRecord& record) {
    return lastCommaFirst(TrimBlanks(record.LastName), TrimBlanks(record.FirstName));
}

QString MaskSocialSecurityNumber(const QString& number) {
    const QString trimmed = TrimBlanks(number);
    return trimmed.isEmpty() ? QString() : QStringLiteral("***-**-") + trimmed.right(4);
}
