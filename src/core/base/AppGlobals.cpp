#include "core/base/AppGlobals.h"

#include "core/base/DataFolder.h"
#include "core/base/FileError.h"

#include <QSettings>

QStringList DataFileList;
QStringList AccessLevelNames;
qint16 FadeOn = 0;
qint16 HelpTopicIndex = 0;

QString AccessLevelName(int level) {
    if (level < 1 || level >= AccessLevelNames.size())
        return QString();
    return AccessLevelNames.at(level);
}

void InitProgramValues() {
    AccessLevelNames = {QString(), QStringLiteral("Read Only"), QStringLiteral("Read/Edit"),
                        QStringLiteral("Read/Edit/Add"), QStringLiteral("Read/Edit/Add/Delete")};
    DataFileList = {DataFileBaseName(), QStringLiteral("User.List"), QStringLiteral("User.Log")};
}

int VersionMajor() {
    return VARDEL_VERSION_MAJOR;
}
int VersionMinor() {
    return VARDEL_VERSION_MINOR;
}
int VersionRevision() {
    return VARDEL_VERSION_PATCH;
}

QString FormatHashes(long long value) {
    return value == 0 ? QString() : QString::number(value);
}

QString VersionLine() {
    return QStringLiteral("Version w") + FormatHashes(VersionMajor()) + QLatin1Char('.') +
           FormatHashes(VersionMinor()) + QLatin1Char('.') + FormatHashes(VersionRevision());
}

qint16 CurrentDataVersion() {
    return static_cast<qint16>((QString::number(VersionMajor()) + QString::number(VersionMinor())).toInt());
}

static QSettings& settings() {
    static QSettings s(QSettings::NativeFormat, QSettings::UserScope, AppTitle, AppTitle);
    // The settings hold the access code's hash: owner-only before anything is written, so that the file never
    // exists readable by others. A file that cannot be made private is left to QSettings, which reports nothing.
    static const bool madePrivate = [] {
        try {
            MakeFilePrivate(s.fileName());
            return true;
        } catch (const FileError&) {
            return false;
        }
    }();
    Q_UNUSED(madePrivate);
    return s;
}

QString GetSetting(const QString& key, const QString& defaultValue) {
    settings().sync();
    return settings().value(QStringLiteral("Defaults/") + key, defaultValue).toString();
}

void SaveSetting(const QString& key, const QString& value) {
    settings().setValue(QStringLiteral("Defaults/") + key, value);
    settings().sync();
}

void RemoveSetting(const QString& key) {
    settings().remove(QStringLiteral("Defaults/") + key);
    settings().sync();
}

QString AgencyName() {
    return GetSetting(QStringLiteral("AgencyName"));
}

void SetAgencyName(const QString& name) {
    SaveSetting(QStringLiteral("AgencyName"), name);
}

QString MainWindowCaption() {
    const QString agency = AgencyName().trimmed();
    if (agency.isEmpty())
        return AppTitle + QStringLiteral(" - Personnel Records");
    return AppTitle + QStringLiteral(" - ") + agency;
}
