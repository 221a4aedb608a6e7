// The real main window, offscreen, in a temporary program folder, driven with real mouse
// and keyboard events and through the accessibility interfaces that screen readers use.
// A modal dialog nobody expected fails the test.

#include "app/main_controller.h"
#include "core/ansi_file.h"
#include "mainform/defaults.h"
#include "support/fixture_table.h"
#include "support/http_server.h"
#include "support/test_doubles.h"
#include "ui/about_dialog.h"
#include "window_fixture.h"

#include <QAccessible>
#include <QAccessibleEditableTextInterface>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QXmlStreamReader>

using namespace Qt::StringLiterals;

using namespace torvane;
using namespace torvane::test;

namespace {

const std::pair<const char*, const char*> WorkedExample[] = {
    {"NormalHr", "10"},   {"NormalSHr", "6"},     {"CheapHr", "4"},       {"CheapSHr", "4"},
    {"NormalR", "0.15"},  {"CheapR", "0.075"},    {"VAT", "5"},           {"CO2", "0.43"},
    {"PayPeriod", "4"},   {"AnInfT", "0"},        {"Item1Watts", "100"},  {"Item1SWatts", "4"},
    {"Item1CWatts", "0"}, {"Item1Life", "10000"}, {"Item1Cost", "25"},    {"Item2Watts", "60"},
    {"Item2SWatts", "3"}, {"Item2CWatts", "0"},   {"Item2Life", "15000"}, {"Item2Cost", "40"}};

QByteArray bytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

// Deletes the file as it is written: the file is missing right after.
class VanishingFolder final : public ProgramFolder {
public:
    using ProgramFolder::ProgramFolder;
    bool replaceFile(const QString& relative, const QString&) override
    {
        return QFile::remove(path(relative));
    }
};

} // namespace

class TestMainWindow : public WindowFixture {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void workedExampleIsCalculatedAndSaved();
    void typingLandsInTheClickedField_data();
    void typingLandsInTheClickedField();
    void textFromAccessibilityToolsIsCalculated();
    void everyControlIsNamed();
    void bindingFollowsTheModel();
    void coloursInEveryState_data();
    void coloursInEveryState();
    void aboutWindow();
    void chartWindow();
    void pickFromTheCatalogue();
    void measureFromReadings();
    void measureCancelled();
    void defaults_data();
    void defaults();
    void archive_data();
    void archive();
    void updateWindow();

private:
    // A fresh start of the program in the same folder.
    void start(const QString& arguments = QString());
    // Puts a fault under a file of a program folder ("Data", "Log"); false where this user
    // may not mount the small file system that some faults need.
    bool breakFolder(const QString& fault, const QString& folder, const QString& file);
    QLineEdit* edit(const char* name) const;
    // Clicks into the field, selects what it holds and types over it.
    void type(const char* field, const QString& text);
    void click(const char* button);
    // Runs what ends the program, on the model: the end would unwind past the toolkit's
    // event delivery, which leaks. True when the program went on.
    static bool goesOn(const std::function<void()>& action);
    QStringList fieldTexts() const;

    QStringList m_mounts;
    QString m_siteRoot = QStringLiteral("https://example.org/");
    QTimer m_watchdog;
    QStringList m_unexpectedDialogs;
    QString m_expectedDialog;
};

void TestMainWindow::init()
{
    makeProgramFolder();
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
    start();
}

void TestMainWindow::start(const QString& arguments)
{
    QVERIFY(openWindow(m_siteRoot, arguments));
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TestMainWindow::cleanup()
{
    m_watchdog.stop();
    m_watchdog.disconnect();
    QVERIFY2(m_unexpectedDialogs.isEmpty(),
             qPrintable(m_unexpectedDialogs.join(QLatin1Char('\n'))));
    m_window.reset();
    m_main.reset();
    for (const QString& mount : std::exchange(m_mounts, {}))
        QProcess::execute(u"umount"_s, {u"-l"_s, mount});
    m_dir.reset();
    m_regional = Regional(QLocale(u"en_GB"_s));
    m_siteRoot = u"https://example.org/"_s;
}

QLineEdit* TestMainWindow::edit(const char* name) const
{
    auto* found = m_window->findChild<QLineEdit*>(QString::fromLatin1(name));
    if (!found)
        QTest::qFail(name, __FILE__, __LINE__);
    return found;
}

void TestMainWindow::type(const char* field, const QString& text)
{
    QLineEdit* target = edit(field);
    QVERIFY(target);
    // Keys and focus moves reach the active window only.
    m_window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QTest::mouseClick(target, Qt::LeftButton);
    QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Delete);
    QTest::keyClicks(QApplication::focusWidget(), text);
}

bool TestMainWindow::goesOn(const std::function<void()>& action)
{
    try {
        action();
    } catch (const ProgramEnded&) {
        return false;
    }
    return true;
}

void TestMainWindow::click(const char* button)
{
    auto* push = m_window->findChild<QPushButton*>(QString::fromLatin1(button));
    QVERIFY2(push, button);
    QVERIFY(runs(m_desktop, [&] { QTest::mouseClick(push, Qt::LeftButton); }));
}

QStringList TestMainWindow::fieldTexts() const
{
    QStringList texts;
    for (const Control* control : m_main->form().controls()) {
        if (control->kind() == Control::Kind::TextBox)
            texts.append(edit(qPrintable(control->name()))->text());
    }
    return texts;
}

void TestMainWindow::workedExampleIsCalculatedAndSaved()
{
    for (const auto& [field, text] : WorkedExample)
        type(field, QString::fromLatin1(text));
    // The tariff was typed by the user: it counts as changed.
    QVERIFY(m_window->findChild<QPushButton*>(u"Save_Defaults"_s)->isEnabled());
    // Enter in a field presses Calculate.
    QVERIFY(runs(m_desktop, [&] { QTest::keyClick(edit("Item2Cost"), Qt::Key_Return); }));
    QCOMPARE(edit("Item1Day")->text(), u"£0.24541"_s);
    QCOMPARE(edit("NormalR")->text(), u"£0.150000"_s);
    QVERIFY(edit("NormalHr")->hasFocus());
    auto* save = m_window->findChild<QPushButton*>(u"Save"_s);
    QVERIFY(save->isEnabled());
    click("Save");
    QVERIFY(!save->isEnabled());

    QFile record(qEnvironmentVariable("TORVANE_FIXTURES") + u"/worked_example.record"_s);
    QVERIFY(record.open(QIODevice::ReadOnly));
    QVERIFY(AnsiFile::decode(bytes(m_dir->filePath(u"Log/Torvane.log"_s)))
                .endsWith(u"04/12/2026 20:31:07\r\n"_s + QString::fromUtf8(record.readAll()) +
                          u"\r\n"_s));
    QCOMPARE(m_window->findChild<QLabel*>(u"Status"_s)->text(), QString());
    // On a button Enter presses that button, not Calculate; keypad Enter works as Enter.
    type("Item2Cost", u"41"_s);
    auto* output = m_window->findChild<QPushButton*>(u"OutputType"_s);
    output->setFocus();
    QTest::keyClick(output, Qt::Key_Return);
    QCOMPARE(output->text(), u"C&ost"_s);
    QVERIFY(!save->isEnabled());
    edit("Item2Cost")->setFocus();
    QTest::keyClick(edit("Item2Cost"), Qt::Key_Enter, Qt::KeypadModifier);
    QVERIFY(save->isEnabled());
}

void TestMainWindow::typingLandsInTheClickedField_data()
{
    addTableRows(u"typing_runs.tsv"_s);
}

void TestMainWindow::typingLandsInTheClickedField()
{
    QFETCH(QStringList, row); // buttons, refused
    const QStringList buttons = row[0].split(u' ', Qt::SkipEmptyParts);
    for (const auto& [field, text] : WorkedExample)
        type(field, QString::fromLatin1(text));
    if (row[1] == u"yes") {
        type("NormalR", u"5"_s);
        m_desktop.expectBox(MessageAnswer::Ok);
    }
    for (const QString& button : buttons)
        click(qPrintable(button));
    // Fields of every area, the tariff among them unless it is kept.
    QStringList targets = {u"Item1Watts"_s, u"NormalHr"_s, u"Item2Cost"_s, u"Notes"_s,
                           u"CheapSHr"_s};
    if (!buttons.contains(u"Keep"_s))
        targets.append(u"VAT"_s);
    for (const QString& target : targets) {
        QStringList expected = fieldTexts();
        type(qPrintable(target), u"250"_s);
        qsizetype index = 0;
        for (const Control* control : m_main->form().controls()) {
            if (control->kind() != Control::Kind::TextBox)
                continue;
            if (control->name() == target)
                expected[index] = u"250"_s;
            ++index;
        }
        QCOMPARE(fieldTexts(), expected);
        QCOMPARE(static_cast<const TextBox*>(m_main->form().control(target))->text(), u"250"_s);
        QCOMPARE(QApplication::focusWidget(), edit(qPrintable(target)));
        QCOMPARE(m_main->form().focus(), m_main->form().control(target));
    }
    if (!buttons.contains(u"Keep"_s))
        return;
    // A kept tariff field looks disabled, as the theme draws one, and a click on it leaves
    // what is typed next nowhere.
    QLineEdit* vat = edit("VAT");
    const QPalette theme = QApplication::palette(vat);
    for (const QPalette::ColorRole role : {QPalette::Base, QPalette::Text})
        QCOMPARE(vat->palette().color(QPalette::Disabled, role),
                 theme.color(QPalette::Disabled, role));
    QVERIFY(vat->palette().color(QPalette::Disabled, QPalette::Base) !=
                vat->palette().color(QPalette::Active, QPalette::Base) ||
            vat->palette().color(QPalette::Disabled, QPalette::Text) !=
                vat->palette().color(QPalette::Active, QPalette::Text));
    const QStringList before = fieldTexts();
    QTest::mouseClick(vat, Qt::LeftButton);
    QWidget* focused = QApplication::focusWidget();
    QTest::keyClicks(focused ? focused : m_window.get(), u"7"_s);
    QCOMPARE(fieldTexts(), before);
}

void TestMainWindow::textFromAccessibilityToolsIsCalculated()
{
    // A speech tool sets the text, as AT-SPI's setTextContents does, in two ways.
    const auto accessible = [this](const char* name) {
        return QAccessible::queryAccessibleInterface(edit(name));
    };
    accessible("NormalHr")->setText(QAccessible::Value, u"10"_s);
    QAccessibleEditableTextInterface* watts = accessible("Item1Watts")->editableTextInterface();
    QVERIFY(watts);
    watts->insertText(0, u"100"_s);
    QCOMPARE(m_main->form().NormalHr.text(), u"10"_s);
    QCOMPARE(m_main->form().Item1Watts.text(), u"100"_s);
    click("Calc");
    QVERIFY(m_desktop.boxes.isEmpty());
    QCOMPARE(edit("Item1Day")->text(), u"£0.28982"_s);
    // A check box ticked through its toggle action is a click.
    QAccessible::queryAccessibleInterface(m_window->findChild<QCheckBox*>(u"MonthlyT"_s))
        ->actionInterface()
        ->doAction(QAccessibleActionInterface::toggleAction());
    QCOMPARE(m_main->form().MonthlyT.value(), 1);
    QCOMPARE(m_main->form().ItemQtrL.text(), u" Cost / Mth"_s);
}

void TestMainWindow::everyControlIsNamed()
{
    // Every field, check box and button a screen reader meets has a name; the labels it
    // comes from are followed as they change.
    QStringList unnamed;
    int named = 0;
    std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* node) {
        const QAccessible::Role role = node->role();
        if (role == QAccessible::EditableText || role == QAccessible::CheckBox ||
            role == QAccessible::Button) {
            if (node->text(QAccessible::Name).trimmed().isEmpty())
                unnamed.append(node->object()->objectName());
            else
                ++named;
        }
        for (int i = 0; i < node->childCount(); ++i)
            walk(node->child(i));
    };
    walk(QAccessible::queryAccessibleInterface(m_window.get()));
    QVERIFY2(unnamed.isEmpty(), qPrintable(unnamed.join(u", "_s)));
    QCOMPARE(named, 63);

    const auto name = [this](const char* control) {
        return QAccessible::queryAccessibleInterface(
                   m_window->findChild<QWidget*>(QString::fromLatin1(control)))
            ->text(QAccessible::Name);
    };
    QCOMPARE(name("NormalHr"), u"Normal rate, hours on"_s);
    QCOMPARE(name("Item1Watts"), u"Item 1 on power, watts"_s);
    QCOMPARE(name("VAT"), u"VAT, percent"_s);
    QCOMPARE(name("Calc"), u"Calculate"_s);
    QCOMPARE(name("Measure2"), u"Fill item 2 from measured power readings"_s);
    QCOMPARE(name("Item2Qtr"), u"Item 2 Cost / Qtr"_s);
    click("OutputType");
    QCOMPARE(name("Item2Qtr"), u"Item 2 KWHr /  Qtr"_s);
    // Descriptions stay the tooltips.
    QCOMPARE(
        QAccessible::queryAccessibleInterface(edit("NormalHr"))->text(QAccessible::Description),
        u"Normal rate hours on per day (min 0, max 24)"_s);
}

void TestMainWindow::bindingFollowsTheModel()
{
    // Every control has its widget, named after it, with its caption and tooltip.
    for (const Control* control : m_main->form().controls()) {
        auto* widget = m_window->findChild<QWidget*>(control->name());
        QVERIFY2(widget, qPrintable(control->name()));
        QCOMPARE(widget->toolTip(), control->toolTip());
        QCOMPARE(widget->isEnabled(), control->enabled());
    }
    QCOMPARE(m_window->findChild<QPushButton*>(u"OutputType"_s)->text(), u"K&WHr"_s);
    click("OutputType");
    QCOMPARE(m_window->findChild<QLabel*>(u"ItemDayL"_s)->text(), u" KWHr / Day"_s);
    QTest::mouseClick(m_window->findChild<QCheckBox*>(u"Units1"_s), Qt::LeftButton);
    QCOMPARE(m_window->findChild<QLabel*>(u"CO2L"_s)->text(), u"lb/KWHr"_s);
    click("Keep"); // disabled: nothing happens
    QVERIFY(!m_main->form().TariffKept);
    // The model knows where the focus is: a request that the view cannot carry out (a
    // disabled button) leaves it where it was, one it can moves it.
    MainForm& form = m_main->form();
    type("Item1Watts", u"1"_s);
    form.requestFocus(form.Keep);
    QCOMPARE(form.focus(), &form.Item1Watts);
    form.requestFocus(form.CheapHr);
    QCOMPARE(form.focus(), &form.CheapHr);
    QCOMPARE(QApplication::focusWidget(), edit("CheapHr"));
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
    QCOMPARE(nextStop("Item2No"), u"Pick2"_s);
    QCOMPARE(nextStop("Pick2"), u"Measure2"_s);
    QCOMPARE(nextStop("Measure2"), u"Calc"_s);
    // Typing stops at 75 characters as the user sees them: an emoji that an input method
    // commits, or a letter with its accent, is one. A paste keeps what fits, where it goes;
    // what the program writes is shown whole.
    type("Notes", QString(73, u'a'));
    for (const QString& text : {u"\U0001F4A1"_s, u"e"_s, u"\u0301"_s, u"b"_s}) {
        QInputMethodEvent commit;
        commit.setCommitString(text);
        QApplication::sendEvent(edit("Notes"), &commit);
    }
    QTest::keyClicks(edit("Notes"), u"c"_s);
    QCOMPARE(m_main->form().Notes.text(), QString(73, u'a') + u"\U0001F4A1e\u0301"_s);
    QCOMPARE(edit("Notes")->text(), m_main->form().Notes.text());
    type("Notes", QString(70, u'a'));
    edit("Notes")->setCursorPosition(1);
    edit("Notes")->insert(u"12345678"_s);
    QCOMPARE(m_main->form().Notes.text(), u"a12345"_s + QString(69, u'a'));
    QCOMPARE(edit("Notes")->cursorPosition(), 6);
    // What fits is cut on whole characters: before an emoji, or in place of a family of
    // three, whatever the text after it.
    edit("Notes")->setText(QString(73, u'a') + u"\U0001F600"_s);
    edit("Notes")->setCursorPosition(73);
    edit("Notes")->insert(u"\U0001F601\U0001F601\U0001F601"_s);
    QCOMPARE(m_main->form().Notes.text(), QString(73, u'a') + u"\U0001F601\U0001F600"_s);
    const QString family = u"\U0001F468\u200D\U0001F469\u200D\U0001F467"_s;
    edit("Notes")->setText(QString(71, u'a') + family + u"abc"_s);
    edit("Notes")->setSelection(71, static_cast<int>(family.size()));
    edit("Notes")->insert(u"12345"_s);
    QCOMPARE(m_main->form().Notes.text(), QString(71, u'a') + u"1abc"_s);
    m_main->form().Notes.setText(QString(80, u'x'));
    QCOMPARE(edit("Notes")->text(), QString(80, u'x'));
    QCOMPARE(m_main->form().Notes.text(), QString(80, u'x'));
}

void TestMainWindow::coloursInEveryState_data()
{
    // After the worked example is calculated and item 1's tariff kept: a control's colour,
    // an RGB value or "theme" (the theme's colour of an active window), in an active and an
    // inactive window; disabled, a control looks as the theme draws a disabled one.
    QTest::addColumn<QString>("control");
    QTest::addColumn<int>("role");
    QTest::addColumn<QString>("colour");
    const auto row = [](const char* control, const char* part, QPalette::ColorRole role,
                        const char* colour) {
        QTest::addRow("%s %s", control, part)
            << QString::fromLatin1(control) << int(role) << QString::fromLatin1(colour);
    };
    row("NormalHr", "back", QPalette::Base, "#c0ffc0"); // kept
    row("NormalHr", "fore", QPalette::Text, "theme");
    row("Item1Watts", "back", QPalette::Base, "theme");
    row("Item1Watts", "fore", QPalette::Text, "theme");
    row("Notes", "back", QPalette::Base, "theme");
    row("Keep", "face", QPalette::Button, "#c0ffc0");
    row("Calc", "face", QPalette::Button, "theme");
    row("Reset_Defaults", "face", QPalette::Button, "theme"); // disabled
    row("Save_Defaults", "face", QPalette::Button, "theme");  // disabled
}

void TestMainWindow::coloursInEveryState()
{
    QFETCH(QString, control);
    QFETCH(int, role);
    QFETCH(QString, colour);
    for (const auto& [field, text] : WorkedExample)
        type(field, QString::fromLatin1(text));
    click("Calc");
    click("Keep");
    QVERIFY(m_main->form().TariffKept);
    auto* widget = m_window->findChild<QWidget*>(control);
    QVERIFY(widget);
    const auto colourRole = static_cast<QPalette::ColorRole>(role);
    const QColor wanted = colour == u"theme"
                              ? QApplication::palette(widget).color(QPalette::Active, colourRole)
                              : QColor(colour);
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
        QCOMPARE(widget->palette().color(group, colourRole).name(), wanted.name());
    QCOMPARE(widget->palette().color(QPalette::Disabled, colourRole).name(),
             QApplication::palette(widget).color(QPalette::Disabled, colourRole).name());
}

void TestMainWindow::aboutWindow()
{
    QTest::mouseClick(m_window->findChild<QCheckBox*>(u"OnTop"_s), Qt::LeftButton);
    // Going on top shows the window again.
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_main->form().Save.setEnabled(true);
    m_expectedDialog = u"frmAbout"_s;
    QString version;
    QString site;
    bool onTop = false;
    QTimer::singleShot(100, this, [&] {
        auto* about = qobject_cast<AboutDialog*>(QApplication::activeModalWidget());
        if (!about)
            return;
        version = about->findChild<QLabel*>(u"ProgVersion"_s)->text();
        auto* link = about->findChild<QLabel*>(u"WebSite"_s);
        site = link->text();
        Q_EMIT link->linkActivated(u"#"_s);
        onTop = about->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        QTest::mouseClick(about->findChild<QPushButton*>(u"ExitAbout"_s), Qt::LeftButton);
    });
    click("About");
    QCOMPARE(version, u"Version 6.4"_s);
    // The address shown is the one the link opens.
    QCOMPARE(site, u"<a href=\"#\">example.org</a>"_s);
    QCOMPARE(m_desktop.openedUrls, QStringList{u"https://example.org/"_s});
    // Back from the About window: the main window is active again, which ends saving.
    QVERIFY(!m_window->findChild<QPushButton*>(u"Save"_s)->isEnabled());
    QCOMPARE(m_main->settings().RunOnTopSetting, qint16(2));
    QVERIFY(onTop);
    QVERIFY(m_window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
}

void TestMainWindow::chartWindow()
{
    auto* button = m_window->findChild<QPushButton*>(u"Chart"_s);
    QVERIFY(!button->isEnabled());
    for (const auto& [field, text] : WorkedExample)
        type(field, QString::fromLatin1(text));
    type("Notes", u"Hall & \"stair\" <lamps>"_s);
    click("Calc");
    QVERIFY(button->isEnabled());
    click("Chart");
    auto* chart = m_window->findChild<QWidget*>(u"frmChart"_s);
    QVERIFY(QTest::qWaitForWindowExposed(chart));
    const auto label = [&](const char* name) {
        return chart->findChild<QLabel*>(QString::fromLatin1(name));
    };
    const auto press = [&](const char* name) {
        auto* push = chart->findChild<QPushButton*>(QString::fromLatin1(name));
        QVERIFY(runs(m_desktop, [&] { QTest::mouseClick(push, Qt::LeftButton); }));
    };
    QCOMPARE(label("Sentence")->text(), u"Item 2 pays for itself after 7 months (July 2027)"_s);
    const auto drawn = [&] {
        return chart->findChild<QWidget*>(u"Chart"_s)->accessibleDescription();
    };
    QCOMPARE(drawn(), u"Item 2 pays for itself after 7 months (July 2027). Cost so far after 48 "
                      "months: Item 1 £358.30, Item 2 £251.08."_s);
    // Item 1's units: a step up of £25 at the start, after two years and in the last month.
    const std::vector<QPointF>& line = m_main->chart().line(1);
    QCOMPARE(line.size(), std::size_t{52});
    QCOMPARE(line[1], QPointF(0, 25));
    QCOMPARE(line[26].x(), 24.0);
    QCOMPARE(qRound((line[26].y() - line[25].y()) * 100), 2500);
    press("ShowUnits");
    QVERIFY(!chart->findChild<QPushButton*>(u"ShowUnits"_s)->isEnabled());
    QCOMPARE(drawn(), u"Item 2 pays for itself after 7 months (July 2027). Electricity used so far "
                      "after 48 months: Item 1 2102.40 kWh, Item 2 1270.20 kWh."_s);
    press("ShowCO2");
    QVERIFY(drawn().endsWith(u"Item 1 904.03 Kg, Item 2 546.19 Kg."_s));

    // The exports, and one to a folder that is not there.
    const QString files = m_dir->filePath(u"chart"_s);
    m_desktop.savePaths = {files + u".png"_s, files + u".svg"_s, files + u".csv"_s,
                           m_dir->filePath(u"none/chart.csv"_s)};
    for (const char* name : {"ExportPNG", "ExportSVG", "ExportCSV"})
        press(name);
    QCOMPARE(QImage(files + u".png"_s).size(), QSize(1920, 1200));
    QVERIFY(QSvgRenderer(files + u".svg"_s).isValid());
    // The notes' markup characters are the title's text, not the document's.
    QXmlStreamReader svg(bytes(files + u".svg"_s));
    while (svg.readNextStartElement() && svg.name() != u"title"_s) {
    }
    QCOMPARE(svg.readElementText(), u"Hall & \"stair\" <lamps>"_s);
    const QList<QByteArray> rows = bytes(files + u".csv"_s).split('\n');
    QCOMPARE(rows.size(), 50); // the header, 48 months and the end of the last line
    QCOMPARE(rows[0],
             "\"Month: Hall & \"\"stair\"\" <lamps>\",Up to,Item 1 cost (£),Item 2 cost (£),"
             "Item 1 kWh,Item 2 kWh,Item 1 CO2 (Kg),Item 2 CO2 (Kg)\r");
    QCOMPARE(rows[48], "48,2030-12-04,358.30,251.08,2102.40,1270.20,904.03,546.19\r");
    m_desktop.expectBox(MessageAnswer::Ok);
    press("ExportCSV");
    QCOMPARE(m_desktop.boxes.last().text.section(u'\n', 0, 0),
             u"The chart cannot be saved as "_s + m_dir->filePath(u"none/chart.csv"_s) + u'.');
    QCOMPARE(m_desktop.offeredNames.last(), u"Torvane cost chart.csv"_s);

    press("Close");
    QVERIFY(!chart->isVisible());
    // It follows the next calculation, and comes back with it.
    type("Item2Cost", u"400"_s);
    click("Calc");
    click("Chart");
    QVERIFY(QTest::qWaitForWindowExposed(chart));
    QCOMPARE(label("Sentence")->text(), u"Item 2 does not pay for itself within 4.0 years"_s);
    click("Clear");
    QVERIFY(!button->isEnabled());
    QCOMPARE(label("Sentence")->text(), u"There is no calculation of both items to show."_s);
}

void TestMainWindow::pickFromTheCatalogue()
{
    // A catalogue of the user's with one damaged line: told by its number, the rest offered.
    QVERIFY(AnsiFile::create(m_dir->filePath(u"Data/Appliances.csv"_s),
                             u"Category,Appliance,OnWatts,StandbyWatts,ContinuousWatts,"
                             "LifeHours,Price,HoursPerDay,Source\r\n"
                             "Lighting,Lamp,60,,,1000,1.5,5,mine\r\n"
                             "Lighting,Broken,sixty,,,,,,mine\r\n"_s));
    m_expectedDialog = u"frmAppliances"_s;
    int offered = -1;
    const auto pick = [&](const char* button) {
        m_desktop.expectBox(MessageAnswer::Ok);
        QTimer::singleShot(100, this, [&] {
            QWidget* dialog = QApplication::activeModalWidget();
            if (!dialog)
                return;
            offered = dialog->findChild<QListWidget*>(u"appliances"_s)->count();
            auto* search = dialog->findChild<QLineEdit*>(u"searchAppliances"_s);
            QTest::keyClicks(search, u"lamp"_s);
            QTest::keyClick(search, Qt::Key_Down);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        });
        click(button);
    };
    // Item 1 is the lamp in use: its price and life, typed before, go.
    type("Item1Life", u"2000"_s);
    type("Item1Cost", u"3"_s);
    pick("Pick1");
    pick("Pick2");
    QCOMPARE(m_desktop.boxes.size(), 2);
    QCOMPARE(m_desktop.boxes[0].text,
             u"Torvane could not read all of the appliance catalogue Data/Appliances.csv:\r\n"
             "Line 3: the on power \"sixty\" is not a number"_s);
    QCOMPARE(offered, 1);
    // As if typed: the five fields, and the hours while they were empty.
    QStringList texts;
    for (const char* name : {"Item1Watts", "Item1Life", "Item1Cost", "Item2Watts", "Item2SWatts",
                             "Item2CWatts", "Item2Life", "Item2Cost", "NormalHr", "NormalSHr"})
        texts << edit(name)->text();
    QCOMPARE(texts, (QStringList{u"60"_s, QString(), QString(), u"60"_s, QString(), QString(),
                                 u"1000"_s, u"1.5"_s, u"5"_s, QString()}));
    for (auto [field, text] :
         {std::pair{"NormalR", "0.15"}, {"VAT", "0"}, {"AnInfT", "0"}, {"PayPeriod", "4"}})
        type(field, QString::fromLatin1(text));
    click("Calc");
    // 0.3 kWh a day at £0.15 over 4 years, and 8 lamps of 1000 hours for 7300 hours, against
    // the same lamp already in use.
    QCOMPARE(edit("Item2Period")->text(), u"£77.70"_s);
    QCOMPARE(edit("Item1Period")->text(), u"£65.70"_s);
    // The exports name what was picked, until the user's own power makes it another.
    QCOMPARE(m_main->chart().title(), u"Item 1: Lamp \u2014 Item 2: Lamp"_s);
    QVERIFY(m_main->chart().csvText().startsWith(
        u"Month,Up to,Item 1 cost (£): Lamp,Item 2 cost (£): Lamp,Item 1 kWh: Lamp,"_s));
    type("Item1Watts", u"40"_s);
    click("Calc");
    QCOMPARE(m_main->chart().title(), u"Item 2: Lamp"_s);
}

void TestMainWindow::measureFromReadings()
{
    // A day of half-hourly readings: standby through the night, 100 W from 06:00 to 08:00.
    QString log = u"timestamp,power\n"_s;
    const QDateTime midnight(QDate(2026, 1, 12), QTime(0, 0));
    for (int half = 0; half <= 48; ++half)
        log += midnight.addSecs(half * 1800).toString(Qt::ISODate) +
               (half >= 12 && half < 16 ? u",100\n"_s : u",1.0\n"_s);
    const QString path = m_dir->filePath(u"plug.csv"_s);
    QVERIFY(AnsiFile::create(path, log));
    m_expectedDialog = u"frmMeasure"_s;
    click("Measure1");
    QTRY_VERIFY(QApplication::activeModalWidget());
    QWidget* window = QApplication::activeModalWidget();
    QCOMPARE(window->windowTitle(), u"Torvane Measured Use"_s);
    const auto field = [window](const char* name) {
        return window->findChild<QLineEdit*>(QString::fromLatin1(name));
    };
    const auto button = [window](const char* name) {
        return window->findChild<QPushButton*>(QString::fromLatin1(name));
    };
    QCOMPARE(field("measuredFile")->toolTip(), u"File of measured power readings"_s);
    QCOMPARE(field("measuredCheap")->toolTip(), u"Cheap rate hours, as HH:MM-HH:MM"_s);
    QVERIFY(!button("measuredUse")->isEnabled());
    QStringList unnamed;
    for (QWidget* control : window->findChildren<QWidget*>()) {
        if (control->focusPolicy() != Qt::NoFocus && control->accessibleName().isEmpty())
            unnamed << control->objectName();
    }
    QCOMPARE(unnamed, QStringList());
    // The day by hour is drawn only once there is a day to draw.
    auto* picture = window->findChild<QWidget*>(u"measuredPicture"_s);
    QVERIFY(!picture->isVisible());
    QTest::keyClicks(field("measuredFile"), path);
    QTest::keyClicks(field("measuredCheap"), u"00:00-06:00"_s);
    QTest::mouseClick(button("measuredRead"), Qt::LeftButton);
    QTRY_VERIFY(button("measuredUse")->isEnabled());
    QVERIFY(picture->isVisible());
    // What a screen reader tells of it.
    QAccessibleInterface* described = QAccessible::queryAccessibleInterface(picture);
    QCOMPARE(described->role(), QAccessible::Graphic);
    QCOMPARE(described->text(QAccessible::Name), u"Use by hour of the day"_s);
    QCOMPARE(described->text(QAccessible::Description),
             u"How each hour of the day splits into off, standby and on, over 1.00 days of known "
             "time. Off below 0.5 W; Standby 0.5 W to 10.0 W; On from 10.0 W. Mostly on: "
             "06:00-08:00. Mostly on standby: 08:00-06:00. Cheap rate: 00:00-06:00."_s);
    // The legend, with the powers each colour stands for, is not cut.
    QCOMPARE_GE(picture->minimumSizeHint().width(),
                picture->fontMetrics().horizontalAdvance(
                    u"Off below 0.5 WStandby 0.5 W to 10.0 WOn from 10.0 WCheap rate"_s));
    // A file that cannot be read takes the picture away; the same file again brings it back.
    QTest::keyClick(field("measuredFile"), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field("measuredFile"), m_dir->filePath(u"none.csv"_s));
    QTest::mouseClick(button("measuredRead"), Qt::LeftButton);
    QTRY_VERIFY(!button("measuredUse")->isEnabled() && button("measuredRead")->isEnabled());
    QVERIFY(!picture->isVisible());
    QTest::keyClick(field("measuredFile"), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(field("measuredFile"), path);
    QTest::mouseClick(button("measuredRead"), Qt::LeftButton);
    QTRY_VERIFY(button("measuredUse")->isEnabled());
    QVERIFY(picture->isVisible());
    QVERIFY(window->findChild<QPlainTextEdit*>(u"measuredFound"_s)
                ->toPlainText()
                .endsWith(u"Hours a day on: 2.0 at the normal rate, 0.0 at the cheap rate\n"
                          "Hours a day on standby: 16.0 at the normal rate, 6.0 at the cheap "
                          "rate\nOn power: 100.0 W\nStandby power: 1.0 W"_s));
    QVERIFY(runs(m_desktop, [&] { QTest::mouseClick(button("measuredUse"), Qt::LeftButton); }));
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QStringList texts;
    for (const char* name : {"NormalHr", "CheapHr", "NormalSHr", "CheapSHr", "Item1Watts",
                             "Item1SWatts", "Item2Watts"})
        texts << edit(name)->text();
    QCOMPARE(texts, (QStringList{u"2.0"_s, u"0.0"_s, u"16.0"_s, u"6.0"_s, u"100.0"_s, u"1.0"_s,
                                 QString()}));
    QCOMPARE(m_window->findChild<QPushButton*>(u"Measure2"_s)->toolTip(),
             u"Fill item 2 from measured power readings"_s);
}

void TestMainWindow::measureCancelled()
{
    // Long enough that the reading is still under way when Cancel is pressed.
    QByteArray log = "time,power\n";
    for (qint64 second = 1768176000; second < 1768176000 + 2'000'000; ++second)
        log += QByteArray::number(second) + ",1.0\n";
    QFile file(m_dir->filePath(u"long.csv"_s));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(log) == log.size());
    file.close();
    m_expectedDialog = u"frmMeasure"_s;
    click("Measure2");
    QTRY_VERIFY(QApplication::activeModalWidget());
    QWidget* window = QApplication::activeModalWidget();
    const auto button = [window](const char* name) {
        return window->findChild<QPushButton*>(QString::fromLatin1(name));
    };
    QTest::keyClicks(window->findChild<QLineEdit*>(u"measuredFile"_s), file.fileName());
    QTest::mouseClick(button("measuredRead"), Qt::LeftButton);
    QVERIFY(!button("measuredRead")->isEnabled());
    QTest::mouseClick(button("measuredCancel"), Qt::LeftButton);
    QTRY_VERIFY(button("measuredRead")->isEnabled());
    QCOMPARE(window->findChild<QPlainTextEdit*>(u"measuredFound"_s)->toPlainText(),
             u"Reading cancelled."_s);
    QVERIFY(!button("measuredUse")->isEnabled());
    QVERIFY(!window->findChild<QWidget*>(u"measuredPicture"_s)->isVisible());
    // Closing while a reading runs stops it and leaves the item as it was.
    QTest::mouseClick(button("measuredRead"), Qt::LeftButton);
    window->close();
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QCOMPARE(edit("Item2Watts")->text(), QString());
}

bool TestMainWindow::breakFolder(const QString& fault, const QString& folder, const QString& file)
{
    const QString path = m_dir->filePath(folder);
    if (fault == u"read-only file")
        return QFile::setPermissions(file, QFileDevice::ReadOwner);
    if (fault == u"damaged file")
        return AnsiFile::create(file, u"[Run]\r\n"_s);
    if (fault == u"vanished folder")
        return QDir(path).removeRecursively();
    if (fault == u"vanished file")
        return QFile::remove(file);
    if (fault == u"archive folder")
        return QDir(path).mkdir(u"Torvane_261204_1.log"_s);
    if (fault != u"full disk" && fault != u"read-only folder" && fault != u"room for one file")
        return true;
    // A file system of its own, holding the file, then filled up or made read-only.
    const QByteArray content = bytes(file);
    if (QProcess::execute(u"mount"_s,
                          {u"-t"_s, u"tmpfs"_s, u"-o"_s, u"size=64k"_s, u"tmpfs"_s, path}) != 0)
        return false;
    m_mounts.append(path);
    if (!AnsiFile::create(file, AnsiFile::decode(content)))
        return false;
    if (fault == u"read-only folder")
        return QProcess::execute(u"mount"_s, {u"-o"_s, u"remount,ro"_s, path}) == 0;
    QFile filler(m_dir->filePath(folder + u"/filler"_s));
    filler.open(QIODevice::WriteOnly);
    while (filler.write(QByteArray(4096, 'x')) == 4096 && filler.flush()) {
    }
    filler.close();
    // Room for one small file.
    return fault == u"full disk" ||
           QFile::resize(filler.fileName(), QFileInfo(filler).size() - 4096);
}

void TestMainWindow::defaults_data()
{
    addTableRows(u"defaults_runs.tsv"_s);
}

void TestMainWindow::defaults()
{
    QFETCH(QStringList, row);
    enum { Locale, Arguments, Pressed, Typed, Fault, Title, Text, File, Fields, Status };
    for (QString& field : row)
        field = unescaped(field);
    m_regional = Regional(QLocale(row[Locale]));
    start(row[Arguments]);
    for (const QString& entry : row[Typed].split(u';')) {
        const QString name = entry.section(u'=', 0, 0);
        if (entry.contains(u'='))
            type(qPrintable(name), entry.section(u'=', 1));
        else
            QTest::mouseClick(m_window->findChild<QCheckBox*>(name), Qt::LeftButton);
    }
    // A result, not saved yet: a reset empties it and forgets it.
    m_main->form().Item1Day.setText(u"£1.00"_s);
    m_main->form().RecordText = u"record"_s;
    m_main->form().Save.setEnabled(true);
    const QString ini = m_dir->filePath(u"Data/Torvane.ini"_s);
    if (!breakFolder(row[Fault], u"Data"_s, ini))
        QSKIP("This user may not mount a small file system.");
    const QByteArray before = bytes(ini);
    if (!row[Title].isEmpty())
        m_desktop.expectBox(MessageAnswer::Ok);
    const bool vanishes = row[Fault] == u"vanishes when written";
    VanishingFolder vanishing(m_dir->path(), m_desktop, QString());
    bool ran = true;
    if (row[Fields] != u"ended")
        click(qPrintable(row[Pressed]));
    else if (vanishes)
        ran = goesOn([&] {
            FormContext context{m_main->form(), m_regional, m_desktop, *m_main, m_clock, {}};
            saveDefaults(context, vanishing);
        });
    else
        ran = goesOn([&] { static_cast<Button*>(m_main->form().control(row[Pressed]))->click(); });
    const ScriptedDesktop::Box shown = m_desktop.boxes.value(m_desktop.boxes.size() - 1);
    QCOMPARE(shown.title, row[Title]);
    QCOMPARE(shown.text, row[Text]);
    QCOMPARE(shown.icon, row[Title].isEmpty() ? MessageIcon::None
                         : row[Text].endsWith(u"terminate."_s, Qt::CaseInsensitive)
                             ? MessageIcon::Stop
                             : MessageIcon::Exclamation);
    QCOMPARE(bytes(ini), row[File] == u"unchanged" ? before : AnsiFile::encode(row[File]));
    QCOMPARE(ran, row[Fields] != u"ended");
    if (!ran)
        return;
    const auto fields = [this] {
        return QStringList{edit("CheapR")->text(),    edit("NormalR")->text(),
                           edit("VAT")->text(),       edit("AnInfT")->text(),
                           edit("PayPeriod")->text(), m_main->form().CO2L.text()}
            .join(u'|');
    };
    QCOMPARE(fields(), row[Fields]);
    QCOMPARE(m_window->findChild<QLabel*>(u"Status"_s)->text(), row[Status]);
    const bool reset = row[Pressed] == u"Reset_Defaults";
    QCOMPARE(QList<bool>({edit("Item1Day")->text().isEmpty(), m_main->form().RecordText.isEmpty(),
                          !m_main->form().Save.enabled()}),
             QList<bool>(3, reset));
    // Saved or restored, the data counts as unchanged; a failed save leaves it changed.
    QCOMPARE(m_window->findChild<QPushButton*>(u"Save_Defaults"_s)->isEnabled(),
             !row[Title].isEmpty());
    QVERIFY(edit("NormalHr")->hasFocus());
    if (row[Title].isEmpty()) {
        start(); // the next start shows the same
        QCOMPARE(fields(), row[Fields]);
    }
}

void TestMainWindow::archive_data()
{
    addTableRows(u"archive_runs.tsv"_s);
}

void TestMainWindow::archive()
{
    QFETCH(QStringList, row);
    enum { Fault, Log, Presses, Answers, LastBox, Status, Archives, After };
    const QString path = m_dir->filePath(u"Log/Torvane.log"_s);
    const QString archive = m_dir->filePath(u"Log/Torvane_261204_%1.log"_s);
    // A result that starts past the first piece the scan reads.
    const QByteArray content = unescapedBytes(row[Log]).replace("{PAD}", QByteArray(65533, 'x'));
    const QStringList answers = row[Answers].split(u' ');
    for (const QString& answer : answers) // named as the answers are listed
        m_desktop.expectBox(static_cast<MessageAnswer>(
            QStringList{u"Ok"_s, u"Cancel"_s, u"Yes"_s, u"No"_s}.indexOf(answer)));
    QList<QByteArray> copies; // the log at each press
    bool ran = true;
    for (int press = 0; press < row[Presses].toInt(); ++press) {
        // Every byte decodes to a character that encodes to it again.
        QVERIFY(press == 0
                    ? AnsiFile::create(path, AnsiFile::decode(content))
                    : AnsiFile::append(path, AnsiFile::decode(content)) == AnsiFile::Append::Done);
        copies.append(bytes(path));
        if (press == 0 && !breakFolder(row[Fault], u"Log"_s, path))
            QSKIP("This user may not mount a small file system.");
        m_main->showStatusMessage(u"earlier"_s); // the press empties it
        if (row[Fault] == u"grows while asked")
            m_desktop.whileOpen = [&] {
                AnsiFile::append(path, u"  Normal\r\n"_s);
                copies.last() += "  Normal\r\n";
            };
        if (row[After] == u"ended")
            ran = goesOn([&] { m_main->form().Archive.click(); });
        else
            click("Archive");
    }
    QCOMPARE(m_desktop.boxes.size(), answers.size());
    for (const ScriptedDesktop::Box& box : std::as_const(m_desktop.boxes)) {
        const bool question = box.title == u"Archive Torvane Results Log File";
        const bool sure = box.title == u"Torvane Create New Log File";
        QCOMPARE(box.buttons, question ? MessageButtons::YesNoCancel
                              : sure   ? MessageButtons::YesNo
                                       : MessageButtons::Ok);
        QCOMPARE(box.icon, sure                               ? MessageIcon::None
                           : box.title.contains(u"Directory") ? MessageIcon::Stop
                                                              : MessageIcon::Exclamation);
    }
    QCOMPARE(m_desktop.boxes.last().text, unescaped(row[LastBox]));
    QCOMPARE(m_window->findChild<QLabel*>(u"Status"_s)->text(), row[Status]);
    QCOMPARE(m_main->statusMessageShown(), !row[Status].isEmpty());
    const int archives = row[Archives].toInt();
    for (int sequence = 1; sequence <= archives; ++sequence)
        QCOMPARE(bytes(archive.arg(sequence)), copies[sequence - 1]);
    QVERIFY(!AnsiFile::exists(archive.arg(archives + 1)));
    QCOMPARE(ran, row[After] != u"ended");
    if (ran && row[Fault] != u"vanished file")
        QCOMPARE(bytes(path), row[After] == u"same" ? copies.last() : unescapedBytes(row[After]));
}

void TestMainWindow::updateWindow()
{
    HttpServer server;
    server.answers["/software/misc/updatecheck.xml"] = HttpServer::ok(
        "<Contact>c.htm</Contact><Name>Torvane</Name><Version1>6.5</Version1><Version2>0."
        "0</Version2><Download>d.htm</Download><History>h.htm</History><KIssues>k.htm</"
        "KIssues><Index>i.htm</Index><Message>m</Message><Uninstall>No</Uninstall>");
    m_siteRoot = server.root();
    start();
    auto* update = m_window->findChild<QPushButton*>(u"Update"_s);
    const auto updater = [this] {
        return m_window->findChild<QWidget*>(u"frmUpdater"_s);
    };
    click("Update");
    QVERIFY(updater() && updater()->isVisible());
    QVERIFY(!update->isEnabled());
    QTRY_COMPARE(updater()->findChild<QLineEdit*>(u"Status"_s)->text(),
                 u"Version 6.5 of Torvane is available "_s);
    QTest::mouseClick(updater()->findChild<QPushButton*>(u"Download"_s), Qt::LeftButton);
    QCOMPARE(m_desktop.openedUrls.last(), server.root() + u"d.htm"_s);
    QVERIFY(updater()->findChild<QWidget*>(u"Park"_s)->hasFocus());
    QTest::mouseClick(updater()->findChild<QPushButton*>(u"Exit"_s), Qt::LeftButton);
    QTRY_VERIFY(!updater());
    QVERIFY(update->isEnabled());
    // Closed as the window manager closes it, it is gone just the same.
    click("Update");
    updater()->close();
    QTRY_VERIFY(!updater());
    QVERIFY(update->isEnabled());

    // The check at start-up stays hidden until it finds the newer version.
    const QString ini = m_dir->filePath(u"Data/Torvane.ini"_s);
    AnsiFile::create(ini, AnsiFile::decode(bytes(ini)).replace(u"UpEnable=1"_s, u"UpEnable=2"_s));
    start();
    QVERIFY(updater() && !updater()->isVisible());
    QTRY_VERIFY(updater() && updater()->isVisible());
}

QTEST_MAIN(TestMainWindow)
#include "tst_main_window.moc"
