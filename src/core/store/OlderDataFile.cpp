#include "core/store/OlderDataFile.h"

#include "core/store/PersonnelStore.h"

#include "core/base/AppGlobals.h"
#include "core/base/DataFolder.h"
#include "core/base/DateRules.h"
#include "core/base/FileError.h"
#include "core/base/FixedRecordFile.h"
#include "core/base/RegularFile.h"
#include "core/base/UniqueFd.h"
#include "core/record/OldPersonnelRecord.h"
#include "core/store/DataFile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

[[noreturn]] void failErrno() {
    throw FileError(qt_error_string(errno));
}

QByteArray nativeName(const QString& name) {
    return QFile::encodeName(name);
}

// A file of the data folder by its path there.
QString at(const QString& name) {
    return DataFolderFile(name);
}

void syncDataFolder() {
    const UniqueFd fd(::open(nativeName(DataFolder()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (!fd)
        failErrno();
    if (FileSystemCalls::Fsync(fd.get()) != 0)
        failErrno();
}

// Reads up to size bytes; fewer only at the end of the file.
qint64 readFully(QFile& file, char* dest, qint64 size) {
    qint64 done = 0;
    while (done < size) {
        const qint64 got = file.read(dest + done, size - done);
        if (got < 0)
            throw FileError(file.errorString());
        if (got == 0)
            break;
        done += got;
    }
    return done;
}

// A file of the data folder, opened as the store opens it (a regular file of this account, never through a link).
std::unique_ptr<QFile> openForReading(const QString& name) {
    QString problem;
    std::unique_ptr<QFile> file = OpenRegularFileForReading(name, &problem, true);
    if (!file)
        throw FileError(problem);
    return file;
}

// A complete, durable copy of source under target (replaced in one rename), made through "TempFile.$$$".
void copyThroughTempFile(const QString& source, const QString& target) {
    const std::unique_ptr<QFile> opened = openForReading(source);
    QFile& in = *opened;
    RemoveFileIfPresent(at(TempFileName));
    QFile out(at(TempFileName));
    if (!out.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        throw FileError(out.errorString());
    try {
        QByteArray block(1 << 16, Qt::Uninitialized);
        for (;;) {
            const qint64 got = readFully(in, block.data(), block.size());
            if (got == 0)
                break;
            if (out.write(block.constData(), got) != got)
                throw FileError(out.errorString());
        }
        if (!out.flush())
            throw FileError(out.errorString());
        out.close();
        ReplaceFileAtomically(at(TempFileName), target);
    } catch (...) {
        out.close();
        QFile::remove(at(TempFileName));
        throw;
    }
}

// Puts the older data under "Vardel.Old" as well, without taking it from under the data file's name: a second
// name for the same file where the file system allows it, else a complete copy.
void keepOlderFile() {
    RemoveFileIfPresent(at(OldFileName()));
    if (::link(nativeName(at(DataFileName)).constData(), nativeName(at(OldFileName())).constData()) == 0) {
        syncDataFolder();
        return;
    }
    copyThroughTempFile(at(DataFileName), at(OldFileName()));
}

namespace O = OldPersonnelLayout;
namespace P = PersonnelLayout;

// A text field holds text: no control byte, except TAB, CR and LF in the notes. A field the older release never
// filled holds nothing but zero bytes, as its fixed-length strings started out.
bool isTextField(const char* field, int width, bool notes = false) {
    if (std::all_of(field, field + width, [](char c) { return c == 0; }))
        return true;
    return std::all_of(field, field + width, [notes](char c) {
        const auto u = static_cast<unsigned char>(c);
        return u >= 0x20 || (notes && (u == '\t' || u == '\r' || u == '\n'));
    });
}

bool isDateField(const char* field) {
    return IsShowableOADate(GetDouble(field));
}

bool isAllZero(const char* record, int size) {
    return std::all_of(record, record + size, [](char c) { return c == 0; });
}

// The older record, field by field (a slot of random bytes or of a present-format file fails within its first
// fields). The sworn code and the two unused numbers may hold anything: the conversion reads only whether the
// code is 2.
bool hasOlderShape(const char* r) {
    const int texts[][2] = {{O::FirstName, O::FirstNameWidth},
                            {O::MiddleName, O::MiddleNameWidth},
                            {O::LastName, O::LastNameWidth},
                            {O::Suffix, O::SuffixWidth},
                            {O::EmergencyName, O::EmergencyNameWidth},
                            {O::EmergencyRelationship, O::EmergencyRelationshipWidth},
                            {O::EmergencyPhone, O::EmergencyPhoneWidth},
                            {O::StreetAddress, O::StreetAddressWidth},
                            {O::CityStateZip, O::CityStateZipWidth},
                            {O::HomePhone, O::HomePhoneWidth},
                            {O::Race, O::RaceWidth},
                            {O::Sex, O::SexWidth},
                            {O::SocialSecurityNumber, O::SocialSecurityNumberWidth},
                            {O::EmployeeNumber, O::EmployeeNumberWidth},
                            {O::JobTitle, O::JobTitleWidth},
                            {O::Unused40, O::Unused40Width},
                            {O::Unused20, O::Unused20Width}};
    for (const auto& [offset, width] : texts)
        if (!isTextField(r + offset, width))
            return false;
    for (const int date : {O::DateOfBirth, O::DateOfEmployment, O::DateOfJobTitle, O::InactivationDate})
        if (!isDateField(r + date))
            return false;
    return isTextField(r + O::Notes, O::NotesWidth, true) && !isAllZero(r, O::RecordSize);
}

// The present record, field by field, as this program writes it. Its DataVersion plays no part: a record of
// this shape converted as an older one would come out as garbage, whatever it is stamped with.
bool hasPresentShape(const char* r) {
    const int texts[][2] = {{P::FirstName, P::FirstNameWidth},
                            {P::MiddleName, P::MiddleNameWidth},
                            {P::LastName, P::LastNameWidth},
                            {P::Suffix, P::SuffixWidth},
                            {P::EmergencyName, P::EmergencyNameWidth},
                            {P::EmergencyRelationship, P::EmergencyRelationshipWidth},
                            {P::EmergencyPhone, P::EmergencyPhoneWidth},
                            {P::StreetAddress, P::StreetAddressWidth},
                            {P::CityStateZip, P::CityStateZipWidth},
                            {P::HomePhone, P::HomePhoneWidth},
                            {P::CellPhone, P::CellPhoneWidth},
                            {P::Race, P::RaceWidth},
                            {P::Sex, P::SexWidth},
                            {P::SocialSecurityNumber, P::SocialSecurityNumberWidth},
                            {P::EmployeeNumber, P::EmployeeNumberWidth},
                            {P::JobTitle, P::JobTitleWidth},
                            {P::Email, P::EmailWidth},
                            {P::PicturePath, P::PicturePathWidth}};
    for (const auto& [offset, width] : texts)
        if (!isTextField(r + offset, width))
            return false;
    for (const int date : {P::RecordCreated, P::LastModified, P::DateOfBirth, P::DateOfEmployment, P::DateOfJobTitle,
                           P::InactivationDate})
        if (!isDateField(r + date))
            return false;
    const qint16 sworn = GetInt16(r + P::Sworn);
    return isTextField(r + P::Notepad, P::NotepadWidth, true) && (sworn == 0 || sworn == -1) &&
           !isAllZero(r, P::RecordSize);
}

// Every slot of the file, a cut-off last one completed from a blank older record, has the older shape.
bool isOlderShapedFile(const QString& name) {
    const std::unique_ptr<QFile> opened = openForReading(name);
    QFile& file = *opened;
    const QByteArray blank = EncodeOldPersonnelRecord(OldPersonnelRecord());
    QByteArray slot;
    for (;;) {
        slot = blank;
        const qint64 got = readFully(file, slot.data(), slot.size());
        if (got == 0)
            return true;
        if (!hasOlderShape(slot.constData()))
            return false;
        if (got < slot.size())
            return true;
    }
}

// Slot 1 of the file as the store reads it: every byte that is there, the rest of a cut-off slot blank. The
// completion below writes this slot back, so nothing that was read may be changed here, not even half a
// DataVersion (a cut slot's DataVersion decides nothing anyway).
QByteArray presentSlot1(const QString& name) {
    const std::unique_ptr<QFile> opened = openForReading(name);
    QFile& file = *opened;
    QByteArray slot = EncodePersonnelRecord(PersonnelRecord());
    readFully(file, slot.data(), slot.size());
    return slot;
}

} // namespace

QString OldFileName() {
    return AppTitle + QStringLiteral(".Old");
}

QString DatFileName() {
    return AppTitle + QStringLiteral(".Dat");
}

DatFileOutcome TakeOverDatFile() {
    // The tests and the rename below must see the folder as no other writer leaves it half-way.
    DataFolderLock lock;
    // A folder's size (40 bytes on tmpfs) must not pass for a file's.
    RequirePlainDataFolderFile(at(DatFileName()));
    RequirePlainDataFolderFile(at(DataFileName));
    const QFileInfo dat(at(DatFileName()));
    if (!dat.exists())
        return DatFileOutcome::None;
    if (dat.size() == 0) {
        RemoveFileIfPresent(at(DatFileName()));
        return DatFileOutcome::None;
    }
    const QFileInfo data(at(DataFileName));
    if (data.exists()) {
        if (data.size() > 0)
            return DatFileOutcome::LeftBeside;
        // An empty data file holds no employees; the older file's take their place.
        RemoveFileIfPresent(at(DataFileName));
    }
    const QByteArray from = nativeName(at(DatFileName()));
    const QByteArray to = nativeName(at(DataFileName));
    // Never over a data file that appeared meanwhile (a second tool at work, say).
    if (::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE) != 0) {
        if (errno != EINVAL && errno != ENOSYS)
            failErrno();
        // The file system cannot refuse to replace; the check above has to do.
        if (::rename(from.constData(), to.constData()) != 0)
            failErrno();
    }
    syncDataFolder();
    return DatFileOutcome::TakenOver;
}

bool IsOlderDataVersion(qint16 dataVersion) {
    return dataVersion < 0 || (dataVersion >= 1 && dataVersion <= 310) || dataVersion > 400;
}

DataFileFormat CheckDataFileFormat() {
    // What is looked at is what is deleted or completed below: no other writer in between.
    DataFolderLock lock;
    RequirePlainDataFolderFile(at(DataFileName));
    const QFileInfo data(at(DataFileName));
    if (!data.exists())
        return DataFileFormat::None;
    if (data.size() == 0) {
        RemoveFileIfPresent(at(DataFileName));
        return DataFileFormat::None;
    }
    // The slot-1 DataVersion settles a whole present-format record. Anything else is converted only when every
    // slot has the older record's shape: a present-format file cut short, or bytes of no format at all, would
    // come out as garbage employees.
    QByteArray slot1 = presentSlot1(at(DataFileName));
    const bool whole = data.size() >= P::RecordSize;
    if (whole && !IsOlderDataVersion(GetInt16(slot1.constData() + P::DataVersion)))
        return DataFileFormat::Present;
    if (isOlderShapedFile(at(DataFileName)))
        return DataFileFormat::Older;
    if (!hasPresentShape(slot1.constData()))
        return DataFileFormat::Unrecognized;
    if (!whole) {
        // A present-format file cut short: its one record is completed, as the store completes a cut-off last
        // slot, so that it counts and nothing is ever appended over it. Only the missing part comes from the
        // blank record; what was there is written back as it was.
        FixedRecordFile file(at(DataFileName), P::RecordSize, EncodePersonnelRecord(PersonnelRecord()));
        file.open();
        file.writeRecord(1, slot1);
        file.sync();
        file.close();
    }
    return DataFileFormat::Present;
}

QString UnrecognizedDataFileTitle() {
    return QStringLiteral("Unknown Data File");
}

QString UnrecognizedDataFileText() {
    const QString crLf = QStringLiteral("\r\n");
    return QLatin1Char('\'') + QFileInfo(at(DataFileName)).absoluteFilePath() + QLatin1Char('\'') + crLf + crLf +
           QStringLiteral("is neither a data file of this version of ") + AppTitle + crLf +
           QStringLiteral("nor one of an older version, so it has not been converted.") + crLf + crLf +
           QStringLiteral("Nothing has been changed. Move the file out of its") + crLf +
           QStringLiteral("folder or put a backup copy in its place, then start ") + AppTitle + crLf +
           QStringLiteral("again.");
}

qint32 ConvertOlderDataFile(double createdAt) {
    // Another program must not write the folder between the copy of the older file and the rename of the new one.
    DataFolderLock lock;
    // The file may have changed since the check, while the question was open.
    if (!isOlderShapedFile(at(DataFileName)))
        throw FileError(UnrecognizedDataFileText());
    keepOlderFile();

    const std::unique_ptr<QFile> opened = openForReading(at(DataFileName));
    QFile& older = *opened;
    const qint32 count = RecordCountForLength(older.size(), OldPersonnelLayout::RecordSize);

    RemoveFileIfPresent(at(TempFileName));
    FixedRecordFile temp(at(TempFileName), PersonnelLayout::RecordSize);
    temp.createExclusive();
    // A cut-off last slot that the count takes in is completed from a blank older record.
    const QByteArray blank = EncodeOldPersonnelRecord(OldPersonnelRecord());
    QByteArray slot(OldPersonnelLayout::RecordSize, Qt::Uninitialized);
    const qint16 version = CurrentDataVersion();
    try {
        for (qint32 n = 1; n <= count; ++n) {
            slot = blank;
            readFully(older, slot.data(), slot.size());
            temp.writeRecord(n, ConvertOldRecord(slot.constData(), createdAt, version));
        }
        temp.sync();
        temp.close();
        ReplaceFileAtomically(at(TempFileName), at(DataFileName));
    } catch (...) {
        // The half-written copy holds the employees' personal data and is of no use.
        temp.close();
        QFile::remove(at(TempFileName));
        throw;
    }
    return count;
}

void SetAsideOlderDataFile() {
    DataFolderLock lock;
    // One rename: the older data is under one of the two names at every instant.
    ReplaceFileAtomically(at(DataFileName), at(OldFileName()));
}

qint64 OlderDataFileLength() {
    return QFileInfo(at(DataFileName)).size();
}

QString OlderSampleFileName(bool asDat) {
    return asDat ? DatFileName() : DataFileName;
}

void WriteNewRecordFile(const QString& target, int recordSize, qint64 count,
                        const std::function<void(qint64 n, QByteArray& slot)>& fill) {
    RemoveFileIfPresent(at(TempFileName));
    FixedRecordFile temp(at(TempFileName), recordSize);
    temp.createExclusive();
    try {
        QByteArray slot(recordSize, Qt::Uninitialized);
        for (qint64 n = 1; n <= count; ++n) {
            fill(n, slot);
            temp.writeRecord(n, slot);
        }
        temp.sync();
        temp.close();
        ReplaceFileAtomically(at(TempFileName), at(target));
    } catch (...) {
        temp.close();
        QFile::remove(at(TempFileName));
        throw;
    }
}
