// Torvane: the window program.

#include "app/main_controller.h"
#include "app/program_start.h"
#include "core/clock.h"
#include "ui/end_when_idle.h"
#include "ui/logo.h"
#include "ui/main_window.h"
#include "ui/qt_desktop.h"

#include <QApplication>
#include <QDir>

using namespace Qt::StringLiterals;

int main(int argc, char** argv)
{
    using namespace torvane;
    if (asksForTerminalAnswer(argc, argv))
        answerOnTerminal(argc, argv);
    failWritesBeyondSizeLimit();
    QApplication application(argc, argv);
    nameApplication();
    QGuiApplication::setDesktopFileName(u"org.example.marnoft.Torvane"_s);
    const auto runningMark = markRunningCopy();

    const ProgramPlaces places = chooseProgramPlaces(QStringLiteral(TORVANE_SITE_ROOT));
    // The program's paths are relative to its folder.
    QDir::setCurrent(places.folder);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    const Regional regional(QLocale::system());
    SystemClock clock;
    QtDesktop desktop;
    MainController main(desktop, clock, regional, places.folder, places.siteRoot,
                        arguments.join(u' '));
    MainWindow window(main);
    desktop.setParentWindow(&window);
    // The window system is handed the icon once for the main window when its window exists
    // first (at its creation it would be handed it twice), and before any message box.
    window.winId();
    QApplication::setWindowIcon(logoIcon());
    main.load();
    if (quitsWhenIdle())
        new EndWhenIdle(window, [&desktop] { desktop.endProgram(); });
    window.show();
    return QApplication::exec();
}
