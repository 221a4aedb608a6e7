#pragma once

#include <QString>

namespace torvane {

// The operating system's version as the update check sends it: platform, major and minor
// version joined by "." (2 and the version of Windows; 3 and the kernel's version on the
// other systems).
QString osVersion();

// The update check's request: the document's address under the site root (ending in "/"),
// the program's name, version and system in the query, with "&amp" before the second and
// third keys, as the maker's site reads them.
QString requestUrl(const QString& siteRoot, const QString& versionHigh, const QString& versionLow,
                   const QString& osVersion);

// The ten values of the maker's update-check document, each "Error" while its tag is
// missing, and how many are missing.
struct UpdateDocument {
    QString ContactUrl, ProgramName, Version1, Version2, DownloadUrl;
    QString HistoryUrl, KnownIssuesUrl, HomePageUrl, UpdateMessage, UninstallFirst;
    qint16 ErrorCount = 10;
};

// Takes the document apart by plain text search: each value is what stands between the
// first opening and the first closing tag; a closing tag before its opening tag counts
// as missing.
UpdateDocument parseUpdateDocument(QStringView pageXml);

// How the version the document offers stands to the running one.
enum class OfferedVersion { Same, Newer, Unrecognised };

// Compares "Version1.Version2" of the document with the running "VersionHigh.VersionLow",
// each read as the number its text begins with, with a full stop whatever the language:
// "6.4" and "0.0" read as 6.4, so "6.10" is below "6.4". Anything lower is unrecognised.
OfferedVersion offeredVersion(const QString& version1, const QString& version2,
                              const QString& versionHigh, const QString& versionLow);

// The "Web Page Data" entry of the updater log.
QString documentEntry(const UpdateDocument& document);

// Why a page path from the document may not be opened: it would leave the maker's site
// (another scheme, host or port, user information, a backslash or a control character),
// whether it is put after the root or resolved against it. Empty when it stays.
QString pageRefusal(const QString& siteRoot, const QString& path);

} // namespace torvane
