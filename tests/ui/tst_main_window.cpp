// The real main window, offscreen, in a temporary program folder: typing, clicking and
// what lands in the results log. A modal dialog nobody expected fails the test.

#include "app/torvane_main.h"
#include "core/ansi_file.h"
#include "support/test_doubles.h"
#include "ui/about_dialog.h"
#include "ui/main_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

using namespace torvane;
using namespace torvane::test;

class TestMainWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void workedExampleIsCalculatedAndSaved();
    void dataErrorIsShown();
    void missingConfigurationEndsTheProgram();
    void aboutWindow();
    void bindingFollowsTheModel();

private:
    void type(const char* field, const QString& text);
    void click(const char* button);
    QString logText() const;

    std::unique_ptr<QTemporaryDir> m_dir;
    Regional m_regional{QLocale(u"en_GB"_s)};
    ScriptedDesktop m_desktop;
    FixedClock m_clock;
    std::unique_ptr<TorvaneMain> m_main;
    std::unique_ptr<MainWindow> m_window;
    QTimer m_watchdog;
    QStringList m_unexpectedDialogs;
    QString m_expectedDialog;
};

void TestMainWindow::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QDir root(m_dir->path());
    for (const char* folder : {"Data", "Help", "Log"})
        root.mkpath(QString::fromLatin1(folder));
    QFile::copy(qEnvironmentVariable("TORVANE_DIST") + u"/Data/Torvane.ini"_s,
                root.filePath(u"Data/Torvane.ini"_s));
    m_desktop = ScriptedDesktop();
    m_main = std::make_unique<TorvaneMain>(m_desktop, m_clock, m_regional, m_dir->path(),
                                           u"https://example.org/"_s, QString());
    m_window = std::make_unique<MainWindow>(*m_main);
    // Closes any modal dialog but the one a test waits for, and remembers it.
    m_unexpectedDialogs.clear();
    m_expectedDialog.clear();
    connect(&m_watchdog, &QTimer::timeout, this, [this] {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal->objectName() != m_expectedDialog) {
            m_unexpectedDialogs.append(modal->objectName() + QLatin1Char(' ') +
                                       modal->windowTitle());
            modal->close();
        }
    });
    m_watchdog.start(50);
}

void TestMainWindow::cleanup()
{
    m_watchdog.stop();
    m_watchdog.disconnect();
    QVERIFY2(m_unexpectedDialogs.isEmpty(),
             qPrintable(m_unexpectedDialogs.join(QLatin1Char('\n'))));
    m_window.reset();
    m_main.reset();
    m_dir.reset();
}

void TestMainWindow::type(const char* field, const QString& text)
{
    auto* edit = m_window->findChild<QLineEdit*>(QString::fromLatin1(field));
    QVERIFY2(edit, field);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

void TestMainWindow::click(const char* button)
{
    auto* push = m_window->findChild<QPushButton*>(QString::fromLatin1(button));
    QVERIFY2(push, button);
    QTest::mouseClick(push, Qt::LeftButton);
}

QString TestMainWindow::logText() const
{
    QFile file(m_dir->filePath(u"Log/Torvane.log"_s));
    return file.open(QIODevice::ReadOnly) ? AnsiFile::decode(file.readAll()) : QString();
}

void TestMainWindow::workedExampleIsCalculatedAndSaved()
{
    m_main->Load();
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    const std::pair<const char*, const char*> example[] = {
        {"NormalHr", "10"},   {"NormalSHr", "6"},     {"CheapHr", "4"},       {"CheapSHr", "4"},
        {"NormalR", "0.15"},  {"CheapR", "0.075"},    {"VAT", "5"},           {"CO2", "0.43"},
        {"PayPeriod", "4"},   {"AnInfT", "0"},        {"Item1Watts", "100"},  {"Item1SWatts", "4"},
        {"Item1CWatts", "0"}, {"Item1Life", "10000"}, {"Item1Cost", "25"},    {"Item2Watts", "60"},
        {"Item2SWatts", "3"}, {"Item2CWatts", "0"},   {"Item2Life", "15000"}, {"Item2Cost", "40"}};
    for (const auto& [field, text] : example)
        type(field, QString::fromLatin1(text));
    // The tariff was typed by the user: it counts as changed.
    QVERIFY(m_window->findChild<QPushButton*>(u"Save_Defaults"_s)->isEnabled());
    click("Calc");
    QCOMPARE(m_window->findChild<QLineEdit*>(u"Item1Day"_s)->text(), u"£0.24541"_s);
    QCOMPARE(m_window->findChild<QLineEdit*>(u"NormalR"_s)->text(), u"£0.150000"_s);
    QVERIFY(m_window->findChild<QLineEdit*>(u"NormalHr"_s)->hasFocus());
    auto* save = m_window->findChild<QPushButton*>(u"Save"_s);
    QVERIFY(save->isEnabled());
    click("Save");
    QVERIFY(!save->isEnabled());

    QFile record(qEnvironmentVariable("TORVANE_FIXTURES") + u"/worked_example.record"_s);
    QVERIFY(record.open(QIODevice::ReadOnly));
    QVERIFY(logText().endsWith(u"04/12/2026 20:31:07\r\n"_s + QString::fromUtf8(record.readAll()) +
                               u"\r\n"_s));
    // The status line is untouched by a calculation that went through.
    QCOMPARE(m_window->findChild<QLabel*>(u"Status"_s)->text(), QString());
}

void TestMainWindow::dataErrorIsShown()
{
    m_main->Load();
    m_window->show();
    type("NormalR", u"5"_s);
    type("NormalHr", u"8"_s);
    type("Item1Watts", u"60"_s);
    m_desktop.expectBox(MessageAnswer::Ok);
    click("Calc");
    QCOMPARE(m_desktop.boxes.size(), 1);
    QCOMPARE(m_desktop.boxes[0].title, u"Torvane Data Error"_s);
    QCOMPARE(m_desktop.boxes[0].text, u"Normal Rate must be between 0.01 and 0.99\n"_s);
    QVERIFY(!logText().contains(u"VAT "_s));
}

void TestMainWindow::missingConfigurationEndsTheProgram()
{
    QFile::remove(m_dir->filePath(u"Data/Torvane.ini"_s));
    m_desktop.expectBox(MessageAnswer::Ok);
    QVERIFY_THROWS_EXCEPTION(ProgramEnded, m_main->Load());
    QCOMPARE(m_desktop.boxes[0].text,
             u"The configuration file is missing or corrupted.\r\nReinstall the "
             "program to restore the file.\r\nThe program will now terminate."_s);
}

void TestMainWindow::aboutWindow()
{
    m_main->Load();
    m_window->show();
    m_window->findChild<QCheckBox*>(u"OnTop"_s)->click();
    // Going on top shows the window again.
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_main->form.Save.setEnabled(true);
    m_expectedDialog = u"frmAbout"_s;
    QString version;
    bool onTop = false;
    QTimer::singleShot(100, this, [&] {
        auto* about = qobject_cast<AboutDialog*>(QApplication::activeModalWidget());
        if (!about)
            return;
        version = about->findChild<QLabel*>(u"ProgVersion"_s)->text();
        onTop = about->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        QTest::mouseClick(about->findChild<QPushButton*>(u"ExitAbout"_s), Qt::LeftButton);
    });
    click("About");
    QCOMPARE(version, u"Version 6.4"_s);
    // Back from the About window: the main window is active again, which ends saving.
    QVERIFY(!m_window->findChild<QPushButton*>(u"Save"_s)->isEnabled());
    QCOMPARE(m_main->settings.RunOnTopSetting, qint16(2));
    QVERIFY(onTop);
    QVERIFY(m_window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

void TestMainWindow::bindingFollowsTheModel()
{
    m_main->Load();
    m_window->show();
    // Every control has its widget, named after it, with its caption and tooltip.
    for (const Control* control : m_main->form.controls()) {
        auto* widget = m_window->findChild<QWidget*>(control->name());
        QVERIFY2(widget, qPrintable(control->name()));
        QCOMPARE(widget->toolTip(), control->toolTip());
        QCOMPARE(widget->isEnabled(), control->enabled());
    }
    QCOMPARE(m_window->findChild<QPushButton*>(u"OutputType"_s)->text(), u"K&WHr"_s);
    click("OutputType");
    QCOMPARE(m_window->findChild<QLabel*>(u"ItemDayL"_s)->text(), u" KWHr / Day"_s);
    m_window->findChild<QCheckBox*>(u"Units1"_s)->click();
    QCOMPARE(m_window->findChild<QLabel*>(u"CO2L"_s)->text(), u"lb/KWHr"_s);
    click("Keep"); // disabled: nothing happens
    QVERIFY(!m_main->form.TariffKept);
    // Tab order runs hours, tariff, items, then the buttons.
    const auto nextStop = [this](const char* name) {
        QWidget* next =
            m_window->findChild<QWidget*>(QString::fromLatin1(name))->nextInFocusChain();
        while (!(next->focusPolicy() & Qt::TabFocus))
            next = next->nextInFocusChain();
        return next->objectName();
    };
    QCOMPARE(nextStop("CheapSHr"), u"Notes"_s);
    QCOMPARE(nextStop("Notes"), u"NormalR"_s);
    QCOMPARE(nextStop("AnInfT"), u"Units1"_s);
    QCOMPARE(nextStop("Item2Cost"), u"Item2No"_s);
    QCOMPARE(nextStop("Item2No"), u"Calc"_s);
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
