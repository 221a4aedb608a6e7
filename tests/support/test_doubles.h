#pragma once

#include "calc/form_context.h"

#include <QList>
#include <QString>

#include <deque>

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

    MessageAnswer messageBox(const QString& text, const QString& title, MessageIcon icon,
                             MessageButtons buttons) override;
    bool openUrl(const QString& url) override;
    bool startProgram(const QString& program, const QStringList& arguments) override;
    void quit() override;

    QList<Box> boxes;
    QStringList openedUrls;
    bool openUrlResult = true;
    bool ended = false;

private:
    std::deque<MessageAnswer> m_answers;
};

// Records the calls the comparison makes to the log and the error report.
class RecordingServices final : public FormServices {
public:
    explicit RecordingServices(ScriptedDesktop& desktop)
        : m_desktop(desktop)
    {}
    void AppendPendingLogText() override;
    void ShowStatusMessage(const QString& message) override;
    [[noreturn]] void ReportFatalError(const QString& title, qint16 step) override;

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

// A freshly loaded main window under a pinned locale, with its doubles.
class FormFixture {
public:
    explicit FormFixture(const QString& localeName = QStringLiteral("en_GB"), qint16 testMode = 0);

    // Types the worked example (lamp against LED) into the window.
    void typeWorkedExample();
    // Types texts into the named fields, as the user would.
    void type(std::initializer_list<std::pair<const char*, const char*>> fields);
    void calculate() { form.Calc.click(); }

    TextBox& field(const char* name);

    MainForm form;
    Regional regional;
    ScriptedDesktop desktop;
    RecordingServices services{desktop};
    FixedClock clock;
    FormContext context;
};

} // namespace torvane::test
