#include "test_doubles.h"

#include "mainform/defaults.h"
#include "mainform/form_actions.h"

#include <QTest>

#include <csignal>

using namespace Qt::StringLiterals;

namespace torvane::test {

MessageAnswer ScriptedDesktop::messageBox(const QString& text, const QString& title,
                                          MessageIcon icon, MessageButtons buttons)
{
    boxes.append({text, title, icon, buttons});
    if (whileOpen)
        std::exchange(whileOpen, nullptr)();
    if (failAtBox) {
        failAtBox = false;
        throw RuntimeError(5, u"Invalid procedure call"_s);
    }
    if (answerEveryBox)
        return MessageAnswer::Ok;
    if (m_answers.empty()) {
        // Fails the running test instead of waiting for an answer nobody gives.
        const QByteArray what = (u"unexpected message box "_s + title + u": "_s + text).toUtf8();
        QTest::qFail(what.constData(), __FILE__, __LINE__);
        return MessageAnswer::Cancel;
    }
    const MessageAnswer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

void ScriptedDesktop::openUrl(const QString& url, std::function<void()> whenFailed)
{
    openedUrls.append(url);
    if (openUrlFails)
        whenFailed();
    else
        launchFailures.append(std::move(whenFailed));
}

QString ScriptedDesktop::saveFileName(const QString&, const QString& name, const QString&)
{
    offeredNames.append(name);
    return savePaths.isEmpty() ? QString() : savePaths.takeFirst();
}

void ScriptedDesktop::quit()
{
    ended = true;
    throw ProgramEnded{};
}

bool runs(const ScriptedDesktop& desktop, const std::function<void()>& action)
{
    try {
        action();
    } catch (const ProgramEnded&) {
        const QString last = desktop.boxes.isEmpty() ? QString() : desktop.boxes.last().text;
        QTest::qFail(qPrintable(u"the program ended: "_s + last), __FILE__, __LINE__);
        return false;
    }
    return true;
}

void RecordingServices::appendPendingLogText()
{
    appended.append(form ? form->PendingLogText : QString());
}

void RecordingServices::showStatusMessage(const QString& message)
{
    statusMessages.append(message);
}

void RecordingServices::reportFatalError(const QString& title, qint16 step)
{
    fatalTitle = title;
    fatalStep = step;
    m_desktop.endProgram();
}

FileSizeLimit::FileSizeLimit(qint64 bytes)
{
    std::signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &m_before);
    rlimit limit = m_before;
    limit.rlim_cur = static_cast<rlim_t>(bytes);
    setrlimit(RLIMIT_FSIZE, &limit);
}

FileSizeLimit::~FileSizeLimit()
{
    setrlimit(RLIMIT_FSIZE, &m_before);
}

FormFixture::FormFixture(const QString& localeName, TestMode testMode, const QString& configuration)
    : regional(QLocale(localeName))
    , context{form, regional, desktop, services, clock, testMode}
{
    services.form = &form;
    connectComparisonHandlers(context);
    runs(desktop, [&] {
        prepareFreshForm(context, [&] {
            Settings settings;
            QString transcript;
            if (!configuration.isEmpty())
                loadDefaultsFromFile(context, configuration, settings, transcript);
        });
    });
}

TextBox& FormFixture::field(const char* name)
{
    Control* control = form.control(QString::fromLatin1(name));
    if (!control || control->kind() != Control::Kind::TextBox) {
        QTest::qFail(qPrintable(u"the window has no field "_s + QString::fromLatin1(name)),
                     __FILE__, __LINE__);
        return m_noSuchField;
    }
    return static_cast<TextBox&>(*control);
}

void FormFixture::type(std::initializer_list<std::pair<const char*, const char*>> fields)
{
    for (const auto& [name, text] : fields)
        field(name).type(QString::fromUtf8(text));
}

void FormFixture::typeWorkedExample()
{
    type({{"NormalR", "0.15"},    {"CheapR", "0.075"},    {"NormalHr", "10"},
          {"NormalSHr", "6"},     {"CheapHr", "4"},       {"CheapSHr", "4"},
          {"PayPeriod", "4"},     {"VAT", "5"},           {"AnInfT", "0"},
          {"CO2", "0.43"},        {"Item1Watts", "100"},  {"Item1SWatts", "4"},
          {"Item1CWatts", "0"},   {"Item1Life", "10000"}, {"Item1Cost", "25"},
          {"Item2Watts", "60"},   {"Item2SWatts", "3"},   {"Item2CWatts", "0"},
          {"Item2Life", "15000"}, {"Item2Cost", "40"}});
}

} // namespace torvane::test
