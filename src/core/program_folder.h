#pragma once

#include "desktop.h"

#include <QString>

namespace torvane {

// The appliance catalogue, under the program folder.
inline const QString CatalogueFile = QStringLiteral("Data/Appliances.csv");

// The maker's web-site root: the built-in one, or the http or https address given at run
// time (a local mirror, tests), ending in one "/". A given text that is no such address is
// ignored, and complaint says so.
QString chooseSiteRoot(const QString& builtIn, const QString& given, QString& complaint);

// The program folder. An installed copy, which finds the installed template folder,
// keeps its folder in the user's own: the first start makes it, whole, from the
// template; later starts leave it as the user keeps it. Any other copy works in the
// current folder. complaint says why the user's folder could not be made.
QString chooseProgramFolder(const QString& installedTemplate, const QString& userFolder,
                            const QString& current, QString& complaint);

// The program's own folders ("Data", "Log", "Help") under its folder, the checks that
// they and their files exist, and the launcher for the maker's web pages.
class ProgramFolder {
public:
    ProgramFolder(QString root, Desktop& desktop, QString siteRoot);
    virtual ~ProgramFolder() = default;

    const QString& root() const { return m_root; }
    // The maker's web-site root, ending in "/".
    const QString& siteRoot() const { return m_siteRoot; }
    // A path below the program folder, written with "/" or "\" ("Log\Torvane.log").
    QString path(const QString& relative) const;

    // Returns only when the folder ("data", "log", "help") exists; otherwise tells the
    // user and ends the program.
    void checkFolder(const QString& name);
    // True when the file exists; otherwise tells the user how to repair it.
    bool checkFile(const QString& description, const QString& folder, const QString& fileName);
    // Replaces a file of the program's with one that holds the text (AnsiFile::replace);
    // false when it could not be written.
    virtual bool replaceFile(const QString& relative, const QString& text);
    // Opens a page of the maker's web site (the home page for an empty path).
    void openWebPage(const QString& page);
    // Opens an address in the user's browser; tells the user, at once or when the
    // browser's launcher fails, when that could not be done.
    void openInBrowser(const QString& url);
    // The site's address as a person reads it: the home page without the scheme.
    QString siteAddress() const;

private:
    QString m_root;
    Desktop& m_desktop;
    QString m_siteRoot;
};

} // namespace torvane
