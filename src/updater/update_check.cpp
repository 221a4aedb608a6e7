#include "update_check.h"

#include "core/ansi_file.h"
#include "core/numbers.h"

#include <QDir>
#include <QOperatingSystemVersion>
#include <QSysInfo>
#include <QUrl>
#include <QVersionNumber>

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

// The tags in the order the document is searched, and the value each fills.
constexpr struct {
    const char* tag;
    QString UpdateDocument::*field;
} Tags[] = {
    {"Contact", &UpdateDocument::ContactUrl},     {"Name", &UpdateDocument::ProgramName},
    {"Version1", &UpdateDocument::Version1},      {"Version2", &UpdateDocument::Version2},
    {"Download", &UpdateDocument::DownloadUrl},   {"History", &UpdateDocument::HistoryUrl},
    {"KIssues", &UpdateDocument::KnownIssuesUrl}, {"Index", &UpdateDocument::HomePageUrl},
    {"Message", &UpdateDocument::UpdateMessage},  {"Uninstall", &UpdateDocument::UninstallFirst},
};

// The folder a page's address names as a server would take it: escaped dots and slashes
// (escaped again and again, too) count as what they stand for, and "." and ".." are
// resolved.
QString resolvedPath(const QUrl& page)
{
    QString path = page.path(QUrl::FullyDecoded);
    for (int round = 0; round < 8 && path.contains(u'%'); ++round) {
        const QString decoded = QUrl::fromPercentEncoding(path.toUtf8());
        if (decoded == path)
            break;
        path = decoded;
    }
    return QDir::cleanPath(path);
}

// Whether the page stays in the root's folder of the site.
bool underRootPath(const QUrl& root, const QUrl& page)
{
    QString folder = QDir::cleanPath(root.path(QUrl::FullyDecoded));
    if (!folder.endsWith(u'/'))
        folder += u'/';
    const QString path = resolvedPath(page);
    if (path == u".." || path.startsWith(u"../") || path.startsWith(u"/../"))
        return false;
    return folder == u"/"_s || path.startsWith(folder) || path + u'/' == folder;
}

} // namespace

QString osVersion()
{
    if (QOperatingSystemVersion::currentType() == QOperatingSystemVersion::Windows) {
        const QOperatingSystemVersion windows = QOperatingSystemVersion::current();
        return u"2.%1.%2"_s.arg(windows.majorVersion()).arg(windows.minorVersion());
    }
    const QVersionNumber kernel = QVersionNumber::fromString(QSysInfo::kernelVersion());
    return u"3.%1.%2"_s.arg(kernel.majorVersion()).arg(kernel.minorVersion());
}

QString requestUrl(const QString& siteRoot, const QString& versionHigh, const QString& versionLow,
                   const QString& osVersion)
{
    return siteRoot + u"software/misc/updatecheck.xml?PName=Torvane&ampPVer="_s + versionHigh +
           u'.' + versionLow + u"&ampOSVer="_s + osVersion;
}

UpdateDocument parseUpdateDocument(QStringView pageXml)
{
    UpdateDocument document;
    for (const auto& [tag, field] : Tags) {
        const QString opening = u'<' + QLatin1String(tag) + u'>';
        const QString closing = u"</"_s + QLatin1String(tag) + u'>';
        const qsizetype start = pageXml.indexOf(opening);
        const qsizetype end = pageXml.indexOf(closing);
        if (start < 0 || end < start + opening.size()) {
            document.*field = u"Error"_s;
            continue;
        }
        document.*field =
            pageXml.sliced(start + opening.size(), end - start - opening.size()).toString();
        --document.ErrorCount;
    }
    return document;
}

OfferedVersion offeredVersion(const QString& version1, const QString& version2,
                              const QString& versionHigh, const QString& versionLow)
{
    static const Regional machine{QLocale::c()};
    const double latest = LeadingValue(QString(version1 + u'.' + version2), machine);
    const double current = LeadingValue(QString(versionHigh + u'.' + versionLow), machine);
    if (latest == current)
        return OfferedVersion::Same;
    return latest > current ? OfferedVersion::Newer : OfferedVersion::Unrecognised;
}

QString documentEntry(const UpdateDocument& d)
{
    return u"Web Page Data"_s + CrLf + u"-------------"_s + CrLf + u"Program Name :  "_s +
           d.ProgramName + CrLf + u"Major Version:  "_s + d.Version1 + CrLf +
           u"Minor Version:  "_s + d.Version2 + CrLf + u"Contact url  :  "_s + d.ContactUrl + CrLf +
           u"Download url :  "_s + d.DownloadUrl + CrLf + u"Known Issues :  "_s + d.KnownIssuesUrl +
           CrLf + u"History      :  "_s + d.HistoryUrl + CrLf + u"Home Page    :  "_s +
           d.HomePageUrl + CrLf + u"Message      :  "_s + d.UpdateMessage + CrLf +
           u"Uninstall    :  "_s + d.UninstallFirst + CrLf + u"Error Count  :  "_s +
           QString::number(d.ErrorCount) + CrLf + CrLf + CrLf;
}

QString pageRefusal(const QString& siteRoot, const QString& path)
{
    // Escaped characters count as what they stand for, however many times escaped: a server
    // may decode "%5C" into a backslash that it takes for a slash.
    QString decoded = path;
    for (QString previous; decoded != previous;) {
        previous = decoded;
        for (const QChar c : decoded) {
            const QChar::Category kind = c.category();
            if (kind == QChar::Other_Control || kind == QChar::Other_Format ||
                kind == QChar::Separator_Line || kind == QChar::Separator_Paragraph)
                return u"Page path refused (a control character): "_s + path;
            if (c == u'\\' || c == u'@')
                return u"Page path refused (\""_s + c + u"\" could lead off the site): "_s + path;
        }
        decoded = QUrl::fromPercentEncoding(decoded.toUtf8());
    }
    // The button opens the root followed by the path; read as an address of its own, the
    // path must stay on the site too.
    const QUrl root(siteRoot);
    for (const QUrl& page : {QUrl(siteRoot + path), root.resolved(QUrl(path))}) {
        if (!page.isValid() || page.scheme() != root.scheme() || page.host() != root.host() ||
            page.port() != root.port() || !page.userInfo().isEmpty())
            return u"Page path refused (it leaves the site): "_s + path;
        if (!underRootPath(root, page))
            return u"Page path refused (it leaves the site's folder): "_s + path;
    }
    return QString();
}

} // namespace torvane
