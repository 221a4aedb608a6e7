#pragma once

#include "mainform/form_context.h"

#include <QList>
#include <QString>

#include <deque>
#include <functional>

#include <sys/resource.h>

namespace torvane::test {

// Thrown where the product would end the process; no trap of the program catches it.
struct ProgramEnded {};

// Answers message boxes from a script and records everything asked of the desktop. A box
// that the script did not expect fails the running test, so none can hang.
class ScriptedDesktop final : public Desktop {
public:
    struct Box {
        QString text;
        QString title;
        MessageIcon icon;
        MessageButtons buttons;
    };

    void expectBox(MessageAnswer answer) { m_answers.push_back(answer); }
    // Answers OK to any number of boxes, for runs that expect refusals among many.
    bool answerEveryBox = false;
    // Raises a run-time error where a box would appear, to fail the procedure showing it.
    bool failAtBox = false;
    // Runs while a box is open, as what happens before the user answers.
    std::function<void()> whileOpen;

    MessageAnswer messageBox(const QString& text, const QString& title, MessageIcon icon,
                             MessageButtons buttons) override;
    // Records the address; calls whenFailed at once when openUrlFails, else keeps it in
    // launchFailures, for a test to call as a launcher failing later would.
    void openUrl(const QString& url, std::function<void()> whenFailed) override;
    // Answers with the next of savePaths (empty: cancelled) and records the name offered.
    QString saveFileName(const QString& title, const QString& name, const QString& filter) override;
    void quit() override;

    QList<Box> boxes;
    QStringList openedUrls;
    QStringList savePaths;
    QStringList offeredNames;
    bool openUrlFails = false;
    QList<std::function<void()>> launchFailures;
    bool ended = false;

private:
    std::deque<MessageAnswer> m_answers;
};

// Runs what may end the program. An end fails the running test (with the last box shown)
// rather than the whole test program; returns whether the program went on.
bool runs(const ScriptedDesktop& desktop, const std::function<void()>& action);

// Records the calls the comparison makes to the log and the error report.
class RecordingServices final : public FormServices {
public:
    explicit RecordingServices(ScriptedDesktop& desktop)
        : m_desktop(desktop)
    {}
    void appendPendingLogText() override;
    void showStatusMessage(const QString& message) override;
    [[noreturn]] void reportFatalError(const QString& title, qint16 step) override;

    // PendingLogText at each append.
    QStringList appended;
    QStringList statusMessages;
    QString fatalTitle;
    qint16 fatalStep = 0;
    const MainForm* form = nullptr;

private:
    ScriptedDesktop& m_desktop;
};

class FixedClock final : public Clock {
public:
    QDateTime now() const override { return time; }
    QDateTime time{QDate(2026, 12, 4), QTime(20, 31, 7)};
};

// While it lives, no file of this process grows past the given size, as on a full disk:
// a write beyond it fails instead of raising SIGXFSZ.
class FileSizeLimit {
public:
    explicit FileSizeLimit(qint64 bytes);
    ~FileSizeLimit();

private:
    rlimit m_before{};
};

// A freshly loaded main window under a pinned locale, with its doubles.
class FormFixture {
public:
    // Loaded with the settings of a configuration file, when given.
    explicit FormFixture(const QString& localeName = QStringLiteral("en_GB"),
                         TestMode testMode = TestMode(), const QString& configuration = QString());

    // Types the worked example (lamp against LED) into the window.
    void typeWorkedExample();
    // Types texts into the named fields, as the user would.
    void type(std::initializer_list<std::pair<const char*, const char*>> fields);
    // A press or a click as the user makes it; the end of the program fails the test.
    bool click(Button& button)
    {
        return runs(desktop, [&] { button.click(); });
    }
    bool click(CheckBox& box)
    {
        return runs(desktop, [&] { box.userClick(); });
    }
    bool calculate() { return click(form.Calc); }

    // The text box of that name; a name the window lacks fails the test.
    TextBox& field(const char* name);

    MainForm form;
    Regional regional;
    ScriptedDesktop desktop;
    RecordingServices services{desktop};
    FixedClock clock;
    FormContext context;

private:
    TextBox m_noSuchField{QString(), QString()};
};

} // namespace torvane::test
