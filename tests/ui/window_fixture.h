#pragma once

// What the window tests share: a program folder as a fresh installation leaves it, and the
// main window opened on it as a start opens it.

#include "app/main_controller.h"
#include "support/test_doubles.h"
#include "ui/main_window.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace torvane::test {

class WindowFixture : public QObject {
protected:
    // A fresh program folder: the shipped configuration, and empty Help and Log folders.
    void makeProgramFolder()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QDir root(m_dir->path());
        for (const char* folder : {"Data", "Help", "Log"})
            root.mkpath(QString::fromLatin1(folder));
        QFile::copy(qEnvironmentVariable("TORVANE_DIST") + QStringLiteral("/Data/Torvane.ini"),
                    root.filePath(QStringLiteral("Data/Torvane.ini")));
        m_desktop = ScriptedDesktop();
    }

    // The controller loaded and its window shown on the screen; false where either failed.
    bool openWindow(const QString& siteRoot, const QString& arguments = QString())
    {
        m_window.reset();
        m_main = std::make_unique<MainController>(m_desktop, m_clock, m_regional, m_dir->path(),
                                                  siteRoot, arguments);
        m_window = std::make_unique<MainWindow>(*m_main);
        if (!runs(m_desktop, [&] { m_main->load(); }))
            return false;
        m_window->show();
        return QTest::qWaitForWindowExposed(m_window.get());
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    Regional m_regional{QLocale(QStringLiteral("en_GB"))};
    ScriptedDesktop m_desktop;
    FixedClock m_clock;
    std::unique_ptr<MainController> m_main;
    std::unique_ptr<MainWindow> m_window;
};

} // namespace torvane::test
