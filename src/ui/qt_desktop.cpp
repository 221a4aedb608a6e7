#include "qt_desktop.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QStandardPaths>
#include <QUrl>

#include <cstdio>
#include <cstdlib>

using namespace Qt::StringLiterals;

namespace torvane {

QWidget* QtDesktop::dialogParent() const
{
    // Over the window the user is working in (the chart window), not always the main one.
    QWidget* active = QApplication::activeWindow();
    return active ? active : m_parent;
}

MessageAnswer QtDesktop::messageBox(const QString& text, const QString& title, MessageIcon icon,
                                    MessageButtons buttons)
{
    QMessageBox box(dialogParent());
    box.setWindowTitle(title);
    // The program writes CR LF between lines; the box wants LF.
    QString shown = text;
    shown.replace(u"\r\n"_s, u"\n"_s);
    box.setText(shown);
    // In the order of the enumerations.
    constexpr QMessageBox::Icon icons[] = {QMessageBox::NoIcon, QMessageBox::Critical,
                                           QMessageBox::Warning, QMessageBox::Question,
                                           QMessageBox::Information};
    constexpr QMessageBox::StandardButtons buttonSets[] = {
        QMessageBox::Ok, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Yes | QMessageBox::No,
        QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel};
    box.setIcon(icons[static_cast<int>(icon)]);
    box.setStandardButtons(buttonSets[static_cast<int>(buttons)]);
    switch (box.exec()) {
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    default:
        return MessageAnswer::Ok;
    }
}

void QtDesktop::openUrl(const QString& url, std::function<void()> whenFailed)
{
    // The toolkit starts the desktop's launcher and counts that as success, though the
    // browser may then fail; so the launcher is started here and watched to its end. It
    // gets the address encoded, as the toolkit would hand it.
    const QString launcher = QStandardPaths::findExecutable(u"xdg-open"_s);
    const bool started =
        launcher.isEmpty()
            ? QDesktopServices::openUrl(QUrl(url))
            : m_launcher.start(launcher, {QString::fromLatin1(QUrl(url).toEncoded())}, whenFailed);
    if (!started)
        whenFailed();
}

QString QtDesktop::saveFileName(const QString& title, const QString& name, const QString& filter)
{
    if (m_saveFolder.isEmpty())
        m_saveFolder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString path = QFileDialog::getSaveFileName(dialogParent(), title,
                                                      QDir(m_saveFolder).filePath(name), filter);
    if (!path.isEmpty())
        m_saveFolder = QFileInfo(path).absolutePath();
    return path;
}

void QtDesktop::quit()
{
    // At once: no window closes, no handler runs. Every file is already closed.
    std::fflush(nullptr);
    std::_Exit(0);
}

} // namespace torvane
