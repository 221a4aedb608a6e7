#pragma once

#include <QString>
#include <QStringList>

#include <cstdlib>
#include <functional>

namespace torvane {

enum class MessageIcon { None, Stop, Exclamation, Question, Information };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Cancel, Yes, No };

// Everything that leaves the program's own logic for the desktop: message boxes, the
// browser or a file viewer, and the end of the program. The product implements it with
// the toolkit; tests answer it from a script and record what was asked.
class Desktop {
public:
    virtual ~Desktop() = default;

    // Shows a modal message box; the text's lines are joined with CR LF (check
    // messages with LF alone) and the answer is the button the user pressed.
    virtual MessageAnswer messageBox(const QString& text, const QString& title, MessageIcon icon,
                                     MessageButtons buttons) = 0;

    // Opens a web address or a local file in the user's browser or viewer, without
    // waiting for it. whenFailed runs at once when nothing could be started, or later,
    // from the event loop, when the launcher ends in failure; never once the desktop is
    // gone, so it may use the desktop but should keep nothing else that may go first.
    virtual void openUrl(const QString& url, std::function<void()> whenFailed) = 0;

    // Asks where to save a file, offering the name given in the user's usual folder; the
    // chosen path, or empty when the user cancels.
    virtual QString saveFileName(const QString& title, const QString& name,
                                 const QString& filter) = 0;

    // Ends the program at once: no close handlers, no prompts. Never returns.
    [[noreturn]] void endProgram()
    {
        quit();
        std::abort();
    }

protected:
    // Ends the process, or in tests throws; never returns normally.
    virtual void quit() = 0;
};

} // namespace torvane
