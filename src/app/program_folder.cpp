#include "program_folder.h"

#include "core/ansi_file.h"

#include <QFileInfo>

namespace torvane {

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

void ProgramFolder::CheckFolder(const QString& name)
{
    if (QFileInfo(path(name)).isDir())
        return;
    const QString title = QStringLiteral("Torvane ") + name.left(1).toUpper() + name.mid(1) +
                          QStringLiteral(" Directory Error");
    m_desktop.messageBox(
        QStringLiteral("The ") + name + QStringLiteral(" directory does not exist.") + CrLf +
            QStringLiteral("To restore the ") + name + QStringLiteral(" directory") + CrLf +
            QStringLiteral("reinstall the program.") + CrLf +
            QStringLiteral("The program will now terminate."),
        title, MessageIcon::Stop, MessageButtons::Ok);
    m_desktop.endProgram();
}

bool ProgramFolder::CheckFile(const QString& description, const QString& folder,
                              const QString& fileName)
{
    if (AnsiFile::exists(path(folder + fileName)))
        return true;
    const QString d = description.toLower();
    m_desktop.messageBox(QStringLiteral("The ") + d + QStringLiteral(" file is either missing or") +
                             CrLf + QStringLiteral("corrupted. Delete the ") + d +
                             QStringLiteral(" file if") + CrLf +
                             QStringLiteral("it exists and restart the program."),
                         QStringLiteral("Torvane ") + description + QStringLiteral(" File Error"),
                         MessageIcon::Exclamation, MessageButtons::Ok);
    return false;
}

void ProgramFolder::OpenWebPage(const QString& page)
{
    if (!m_desktop.openUrl(m_siteRoot + page))
        m_desktop.messageBox(QStringLiteral("Unable to launch Browser."),
                             QStringLiteral("Torvane Error"), MessageIcon::None,
                             MessageButtons::Ok);
}

} // namespace torvane
