// Torvane: the entry procedure.

#include "app/torvane_main.h"
#include "core/clock.h"
#include "ui/main_window.h"
#include "ui/qt_desktop.h"

#include <QApplication>
#include <QDir>
#include <QLockFile>

#include <cstdio>

using namespace Qt::StringLiterals;

int main(int argc, char** argv)
{
    QApplication application(argc, argv);
    using namespace torvane;

    // Marks the running copy; a second copy runs all the same, without the mark.
    QLockFile running(QDir::temp().filePath(u"Torvane.lock"_s));
    running.tryLock(0);

    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    const Regional regional(QLocale::system());
    SystemClock clock;
    QtDesktop desktop;
    QString complaint;
    const QString siteRoot = chooseSiteRoot(QStringLiteral(TORVANE_SITE_ROOT),
                                            qEnvironmentVariable("TORVANE_SITE_ROOT"), complaint);
    if (!complaint.isEmpty())
        std::fprintf(stderr, "torvane: %s\n", qPrintable(complaint));
    TorvaneMain main(desktop, clock, regional, QDir::currentPath(), siteRoot,
                     arguments.join(QLatin1Char(' ')));
    MainWindow window(main);
    desktop.setParentWindow(&window);
    main.Load();
    window.show();
    return QApplication::exec();
}
