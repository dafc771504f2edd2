#pragma once

#include <QString>
#include <QStringList>

// Program-wide values prepared at start-up and read across the system.

// The program's own title; every file name, caption and settings key built from it uses it.
inline const QString AppTitle = QStringLiteral("Vardel");

// The file description of the program's version information (two blanks after the first word).
inline const QString AppFileDescription = QStringLiteral("Personnel  Management Software");
inline const QString AppLegalNotice = QStringLiteral(" 2026 The Vardel developers");

extern QStringList DataFileList;

// "Vardel.Data": the data file's name in its folder.
inline QString DataFileBaseName() {
    return AppTitle + QStringLiteral(".Data");
}

// Entry n (1 to 4) names access level n; entry 0 is empty.
extern QStringList AccessLevelNames;

// Name of access level 1..4, or an empty text for anything else.
QString AccessLevelName(int level);

// -1 when window fading is on (16-bit flag).
extern qint16 FadeOn;

// Menu index of the help topic to open with.
extern qint16 HelpTopicIndex;

// Builds AccessLevelNames and DataFileList.
void InitProgramValues();

// Version of this build and the texts made from it.
int VersionMajor();
int VersionMinor();
int VersionRevision();
// "Version w3.12.1": major and minor as "##", revision as "###".
QString VersionLine();
// The major version's digits followed by the minor version's: 3.12 gives 312.
qint16 CurrentDataVersion();
// Visual Basic style "#" number format: no leading zeros, and 0 gives an empty text.
QString FormatHashes(long long value);

// Per-user settings, section "Defaults" under the application title. Values are text.
QString GetSetting(const QString& key, const QString& defaultValue = QString());
void SaveSetting(const QString& key, const QString& value);
void RemoveSetting(const QString& key);

// The agency named in the main window's caption; empty until an administrator sets it.
QString AgencyName();
void SetAgencyName(const QString& name);
// The main window's caption: the application title and the agency's name, or "Personnel Records" before one is
// set. The list printout carries it in its page headings.
QString MainWindowCaption();
