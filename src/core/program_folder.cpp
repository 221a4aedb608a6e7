#include "program_folder.h"

#include "core/ansi_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace torvane {

QString chooseSiteRoot(const QString& builtIn, const QString& given, QString& complaint)
{
    if (given.isEmpty())
        return builtIn;
    const QUrl url(given, QUrl::StrictMode);
    if (!url.isValid() || (url.scheme() != u"http" && url.scheme() != u"https") ||
        url.host().isEmpty() || !url.userInfo().isEmpty() || url.hasQuery() || url.hasFragment()) {
        complaint = u"TORVANE_SITE_ROOT is not an http or https address; it is ignored: "_s + given;
        return builtIn;
    }
    QString root = given;
    while (root.endsWith(u'/'))
        root.chop(1);
    return root + u'/';
}

namespace {

bool copyFolder(const QString& from, const QString& to)
{
    if (!QDir().mkpath(to))
        return false;
    const QDir source(from);
    for (const QFileInfo& entry :
         source.entryInfoList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden)) {
        const QString target = QDir(to).filePath(entry.fileName());
        if (entry.isDir()
                ? !copyFolder(entry.filePath(), target)
                : !QFile::copy(entry.filePath(), target) ||
                      !QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner |
                                                         QFile::ReadGroup | QFile::ReadOther))
            return false;
    }
    return true;
}

} // namespace

QString chooseProgramFolder(const QString& installedTemplate, const QString& userFolder,
                            const QString& current, QString& complaint)
{
    if (!QFileInfo(installedTemplate).isDir())
        return current;
    if (QFileInfo::exists(userFolder)) {
        // The appliance catalogue came with a later version: a folder made by an earlier
        // one gets it, into its own Data folder; nothing the user has is touched.
        const QString catalogue = u'/' + CatalogueFile;
        if (QFileInfo(userFolder + u"/Data"_s).isDir() &&
            !QFileInfo::exists(userFolder + catalogue))
            QFile::copy(installedTemplate + catalogue, userFolder + catalogue);
        return userFolder;
    }
    // Made beside its place and moved there once complete, so that a start that fails
    // half-way leaves no folder with files missing.
    QDir().mkpath(QFileInfo(userFolder).path());
    QTemporaryDir made(userFolder + u".new-XXXXXX"_s);
    if (made.isValid() && copyFolder(installedTemplate, made.path()) &&
        QDir().rename(made.path(), userFolder))
        made.setAutoRemove(false);
    else if (!QFileInfo::exists(userFolder)) // another start may have made it meanwhile
        complaint =
            u"the program folder %1 could not be made from %2"_s.arg(userFolder, installedTemplate);
    return userFolder;
}

ProgramFolder::ProgramFolder(QString root, Desktop& desktop, QString siteRoot)
    : m_root(std::move(root))
    , m_desktop(desktop)
    , m_siteRoot(std::move(siteRoot))
{}

QString ProgramFolder::path(const QString& relative) const
{
    QString inside = relative;
    inside.replace(QLatin1Char('\\'), QLatin1Char('/'));
    // The folders are spelt with a capital initial on every system.
    if (!inside.isEmpty())
        inside[0] = inside[0].toUpper();
    return m_root + QLatin1Char('/') + inside;
}

void ProgramFolder::checkFolder(const QString& name)
{
    if (QFileInfo(path(name)).isDir())
        return;
    const QString title =
        u"Torvane "_s + name.left(1).toUpper() + name.mid(1) + u" Directory Error"_s;
    m_desktop.messageBox(u"The "_s + name + u" directory does not exist."_s + CrLf +
                             u"To restore the "_s + name + u" directory"_s + CrLf +
                             u"reinstall the program."_s + CrLf +
                             u"The program will now terminate."_s,
                         title, MessageIcon::Stop, MessageButtons::Ok);
    m_desktop.endProgram();
}

bool ProgramFolder::checkFile(const QString& description, const QString& folder,
                              const QString& fileName)
{
    if (AnsiFile::exists(path(folder + fileName)))
        return true;
    const QString d = description.toLower();
    m_desktop.messageBox(u"The "_s + d + u" file is either missing or"_s + CrLf +
                             u"corrupted. Delete the "_s + d + u" file if"_s + CrLf +
                             u"it exists and restart the program."_s,
                         u"Torvane "_s + description + u" File Error"_s, MessageIcon::Exclamation,
                         MessageButtons::Ok);
    return false;
}

bool ProgramFolder::replaceFile(const QString& relative, const QString& text)
{
    return AnsiFile::replace(path(relative), text);
}

void ProgramFolder::openWebPage(const QString& page)
{
    openInBrowser(m_siteRoot + page);
}

void ProgramFolder::openInBrowser(const QString& url)
{
    // The failure may come after this folder is gone; the desktop is still there.
    m_desktop.openUrl(url, [&desktop = m_desktop] {
        desktop.messageBox(u"Unable to launch Browser."_s, u"Torvane Error"_s, MessageIcon::None,
                           MessageButtons::Ok);
    });
}

QString ProgramFolder::siteAddress() const
{
    const QUrl root(m_siteRoot);
    QString address = root.host();
    if (root.port() != -1)
        address += QLatin1Char(':') + QString::number(root.port());
    QString path = root.path();
    if (path.endsWith(QLatin1Char('/')))
        path.chop(1);
    return address + path;
}

} // namespace torvane
