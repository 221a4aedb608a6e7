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
    Regional m_regional{QLocale(QStringLiteral("en_GB"))};
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
    QFile::copy(qEnvironmentVariable("TORVANE_DIST") + QStringLiteral("/Data/Torvane.ini"),
                root.filePath(QStringLiteral("Data/Torvane.ini")));
    m_desktop = ScriptedDesktop();
    m_main = std::make_unique<TorvaneMain>(m_desktop, m_clock, m_regional, m_dir->path(),
                                           QStringLiteral("https://example.org/"), QString());
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
    QFile file(m_dir->filePath(QStringLiteral("Log/Torvane.log")));
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
    QVERIFY(m_window->findChild<QPushButton*>(QStringLiteral("Save_Defaults"))->isEnabled());
    click("Calc");
    QCOMPARE(m_window->findChild<QLineEdit*>(QStringLiteral("Item1Day"))->text(),
             QStringLiteral("£0.24541"));
    QCOMPARE(m_window->findChild<QLineEdit*>(QStringLiteral("NormalR"))->text(),
             QStringLiteral("£0.150000"));
    QVERIFY(m_window->findChild<QLineEdit*>(QStringLiteral("NormalHr"))->hasFocus());
    auto* save = m_window->findChild<QPushButton*>(QStringLiteral("Save"));
    QVERIFY(save->isEnabled());
    click("Save");
    QVERIFY(!save->isEnabled());

    QFile record(qEnvironmentVariable("TORVANE_FIXTURES") +
                 QStringLiteral("/worked_example.record"));
    QVERIFY(record.open(QIODevice::ReadOnly));
    QVERIFY(logText().endsWith(QStringLiteral("04/12/2026 20:31:07\r\n") +
                               QString::fromUtf8(record.readAll()) + QStringLiteral("\r\n")));
    // The status line is untouched by a calculation that went through.
    QCOMPARE(m_window->findChild<QLabel*>(QStringLiteral("Status"))->text(), QString());
}

void TestMainWindow::dataErrorIsShown()
{
    m_main->Load();
    m_window->show();
    type("NormalR", QStringLiteral("5"));
    type("NormalHr", QStringLiteral("8"));
    type("Item1Watts", QStringLiteral("60"));
    m_desktop.expectBox(MessageAnswer::Ok);
    click("Calc");
    QCOMPARE(m_desktop.boxes.size(), 1);
    QCOMPARE(m_desktop.boxes[0].title, QStringLiteral("Torvane Data Error"));
    QCOMPARE(m_desktop.boxes[0].text,
             QStringLiteral("Normal Rate must be between 0.01 and 0.99\n"));
    QVERIFY(!logText().contains(QStringLiteral("VAT ")));
}

void TestMainWindow::missingConfigurationEndsTheProgram()
{
    QFile::remove(m_dir->filePath(QStringLiteral("Data/Torvane.ini")));
    m_desktop.expectBox(MessageAnswer::Ok);
    QVERIFY_THROWS_EXCEPTION(ProgramEnded, m_main->Load());
    QCOMPARE(m_desktop.boxes[0].text,
             QStringLiteral("The configuration file is missing or corrupted.\r\nReinstall the "
                            "program to restore the file.\r\nThe program will now terminate."));
}

void TestMainWindow::aboutWindow()
{
    m_main->Load();
    m_window->show();
    m_window->findChild<QCheckBox*>(QStringLiteral("OnTop"))->click();
    // Going on top shows the window again.
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_main->form.Save.setEnabled(true);
    m_expectedDialog = QStringLiteral("frmAbout");
    QString version;
    bool onTop = false;
    QTimer::singleShot(100, this, [&] {
        auto* about = qobject_cast<AboutDialog*>(QApplication::activeModalWidget());
        if (!about)
            return;
        version = about->findChild<QLabel*>(QStringLiteral("ProgVersion"))->text();
        onTop = about->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        QTest::mouseClick(about->findChild<QPushButton*>(QStringLiteral("ExitAbout")),
                          Qt::LeftButton);
    });
    click("About");
    QCOMPARE(version, QStringLiteral("Version 6.4"));
    // Back from the About window: the main window is active again, which ends saving.
    QVERIFY(!m_window->findChild<QPushButton*>(QStringLiteral("Save"))->isEnabled());
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
    QCOMPARE(m_window->findChild<QPushButton*>(QStringLiteral("OutputType"))->text(),
             QStringLiteral("K&WHr"));
    click("OutputType");
    QCOMPARE(m_window->findChild<QLabel*>(QStringLiteral("ItemDayL"))->text(),
             QStringLiteral(" KWHr / Day"));
    m_window->findChild<QCheckBox*>(QStringLiteral("Units1"))->click();
    QCOMPARE(m_window->findChild<QLabel*>(QStringLiteral("CO2L"))->text(),
             QStringLiteral("lb/KWHr"));
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
    QCOMPARE(nextStop("CheapSHr"), QStringLiteral("Notes"));
    QCOMPARE(nextStop("Notes"), QStringLiteral("NormalR"));
    QCOMPARE(nextStop("AnInfT"), QStringLiteral("Units1"));
    QCOMPARE(nextStop("Item2Cost"), QStringLiteral("Item2No"));
    QCOMPARE(nextStop("Item2No"), QStringLiteral("Calc"));
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
