// The windows on the smallest screens they are made for, run once on a 1366x768 screen at
// 100% and once on a 1920x1080 screen at 200% (QT_SCALE_FACTOR=2): each window opens within
// the screen, scrolls rather than squeezes, every field shows its widest text whole, and
// the areas keep their places as the window grows.

#include "ui/appliance_dialog.h"
#include "window_fixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace Qt::StringLiterals;
using namespace torvane;
using namespace torvane::test;

namespace {

// How far the cursor moves from the start of the field's text to its end, as the field
// shows them: the width of the text, less what scrolled out of sight at the start.
int shownWidth(QLineEdit& field)
{
    const auto cursorAt = [&](qsizetype position) {
        field.setCursorPosition(static_cast<int>(position));
        field.grab(); // a paint scrolls the text to the cursor
        return field.inputMethodQuery(Qt::ImCursorRectangle).toRect().left();
    };
    return cursorAt(field.text().size()) - cursorAt(0);
}

// Whether the field shows its text whole: as far from start to end as in a field that
// has all the room it wants.
bool showsWhole(QLineEdit& field)
{
    QLineEdit roomy(field.text());
    roomy.setFont(field.font());
    roomy.resize(20 * field.width(), field.height());
    return shownWidth(field) == shownWidth(roomy);
}

QSize room()
{
    return QGuiApplication::primaryScreen()->availableGeometry().size();
}

bool scaled()
{
    return QGuiApplication::primaryScreen()->devicePixelRatio() > 1;
}

} // namespace

class TestWindowFit : public WindowFixture {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void windowOpensWithinTheScreen();
    void fieldsShowTheirWidestText_data();
    void fieldsShowTheirWidestText();
    void resultsShowWhole();
    void areasKeepTheirPlaces();
    void headingsStandOutAndReadWell();
    void cornersShowTheArea();
    void focusScrollsIntoSight();
    void pickListShowsWholeEntries();

private:
    QLineEdit* edit(const QString& name) const { return m_window->findChild<QLineEdit*>(name); }
    // The window at its least: its content as narrow and short as it goes, scrolled.
    void shrink();
};

void TestWindowFit::init()
{
    makeProgramFolder();
    QVERIFY(openWindow(u"https://example.org/"_s));
}

void TestWindowFit::cleanup()
{
    m_window.reset();
    m_main.reset();
    m_dir.reset();
}

void TestWindowFit::shrink()
{
    m_window->resize(m_window->minimumSize());
    QTest::qWait(0);
    auto* scroll = m_window->findChild<QScrollArea*>();
    QVERIFY(scroll->horizontalScrollBar()->isVisible() && scroll->verticalScrollBar()->isVisible());
}

void TestWindowFit::windowOpensWithinTheScreen()
{
    const QSize size = m_window->frameGeometry().size();
    QVERIFY2(size.width() <= room().width() && size.height() <= room().height(),
             qPrintable(u"%1x%2"_s.arg(size.width()).arg(size.height())));
    // At 100% the whole window shows; at 200% it scrolls up and down, but fits across.
    auto* scroll = m_window->findChild<QScrollArea*>();
    QCOMPARE(scroll->verticalScrollBar()->isVisible(), scaled());
    QVERIFY(!scroll->horizontalScrollBar()->isVisible());
}

void TestWindowFit::fieldsShowTheirWidestText_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    const std::pair<const char*, const char*> widest[] = {
        {"NormalHr", "24.0"},     {"NormalSHr", "23.9"},
        {"CheapHr", "8.0"},       {"CheapSHr", "8.0"},
        {"NormalR", "£0.990000"}, {"CheapR", "£0.990000"},
        {"VAT", "50.0"},          {"CO2", "2.00"},
        {"PayPeriod", "10.0"},    {"AnInfT", "-30.0"},
        {"AnInfT", "199.0"},      {"Item%1Watts", "7000.0"},
        {"Item%1SWatts", "99.0"}, {"Item%1CWatts", "99.0"},
        {"Item%1Life", "50000"},  {"Item%1Cost", "£5000.00"},
        {"Item%1No", "176"}};
    for (const auto& [field, text] : widest) {
        const QString name = QString::fromLatin1(field);
        const QStringList names =
            name.contains(u"%1"_s) ? QStringList{name.arg(1), name.arg(2)} : QStringList{name};
        for (const QString& each : names)
            QTest::addRow("%s %s", qPrintable(each), text) << each << QString::fromUtf8(text);
    }
}

void TestWindowFit::fieldsShowTheirWidestText()
{
    QFETCH(QString, field);
    QFETCH(QString, text);
    shrink();
    QLineEdit* shown = edit(field);
    shown->setText(text);
    QVERIFY2(showsWhole(*shown), qPrintable(u"%1 px wide"_s.arg(shown->width())));
    // Its column may give it more; alone, at the least the window ever gives it.
    shown->resize(shown->minimumWidth(), shown->height());
    QVERIFY2(showsWhole(*shown), qPrintable(u"%1 px wide"_s.arg(shown->width())));
}

void TestWindowFit::resultsShowWhole()
{
    // The inputs that give the widest results the checks let through.
    const std::pair<const char*, const char*> inputs[] = {
        {"NormalR", "0.99"},   {"CheapR", "0.99"},    {"NormalHr", "16"},
        {"CheapHr", "8"},      {"PayPeriod", "10"},   {"VAT", "50"},
        {"AnInfT", "199"},     {"CO2", "2"},          {"Item1Watts", "7000"},
        {"Item1SWatts", "99"}, {"Item1CWatts", "99"}, {"Item1Life", "500"},
        {"Item1Cost", "5000"}, {"Item2Watts", "0.1"}, {"Item2Life", "50000"},
        {"Item2Cost", "0.1"}};
    for (const auto& [field, text] : inputs)
        edit(QString::fromLatin1(field))->setText(QString::fromLatin1(text));
    QVERIFY(runs(m_desktop, [&] { m_main->form().Calc.click(); }));
    QCOMPARE(edit(u"Item1Period"_s)->text(), u"£7,924,983,474.73"_s);
    QCOMPARE(edit(u"Item1CO2"_s)->text(), u"1243744.8"_s);
    shrink();
    for (const char* mode : {"cost", "KWHr"}) {
        for (QLineEdit* field : m_window->findChildren<QLineEdit*>()) {
            if (field->isReadOnly())
                QVERIFY2(showsWhole(*field), qPrintable(field->objectName() + u' ' + field->text() +
                                                        u' ' + QLatin1String(mode)));
        }
        m_main->form().OutputType.click();
    }
}

void TestWindowFit::areasKeepTheirPlaces()
{
    // Each area's title and first field: how far across their area, how far down the
    // window, and how high.
    const auto places = [&] {
        QList<QRect> at;
        const auto place = [&](const QWidget* widget) {
            at.append(QRect(widget->x(), widget->mapTo(m_window.get(), QPoint()).y(), 0,
                            widget->height()));
        };
        for (const char* title : {"Hours Used Daily", "Electricity Data", "Comparison"}) {
            for (QLabel* label : m_window->findChildren<QLabel*>()) {
                if (label->text() == QLatin1String(title))
                    place(label);
            }
        }
        for (const char* field : {"NormalHr", "NormalR", "Item1Watts", "HoursUsed"})
            place(edit(QString::fromLatin1(field)));
        return at;
    };
    const QList<QRect> before = places();
    QCOMPARE(before.size(), 7);
    m_window->resize(m_window->size() + QSize(400, 300));
    QTest::qWait(0);
    QCOMPARE(places(), before);
}

void TestWindowFit::headingsStandOutAndReadWell()
{
    // Each area's heading is set apart from the black captions by its colour, which keeps
    // at least the 4.5:1 contrast that normal text needs against the area's background.
    const auto luminance = [](const QColor& colour) {
        const auto linear = [](double c) {
            return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
               0.0722 * linear(colour.blueF());
    };
    int headings = 0;
    for (QLabel* label : m_window->findChildren<QLabel*>()) {
        if (!QStringList{u"Hours Used Daily"_s, u"Electricity Data"_s, u"Comparison"_s}.contains(
                label->text()))
            continue;
        ++headings;
        const QColor text = label->palette().color(QPalette::WindowText);
        const QColor area = label->parentWidget()->palette().color(QPalette::Window);
        QVERIFY2(text != QColor(Qt::black), qPrintable(label->text()));
        const double lighter = std::max(luminance(text), luminance(area));
        const double darker = std::min(luminance(text), luminance(area));
        QVERIFY2((lighter + 0.05) / (darker + 0.05) >= 4.5, qPrintable(label->text()));
    }
    QCOMPARE(headings, 3);
}

void TestWindowFit::cornersShowTheArea()
{
    // Outside its rounded frame a field or button shows the area it sits on, not a square
    // of its own face.
    for (const char* name : {"NormalHr", "NormalR", "Item1Watts", "Pick1", "Item1Day"}) {
        auto* control = m_window->findChild<QWidget*>(QString::fromLatin1(name));
        const QImage area = control->parentWidget()->grab().toImage();
        const auto colourAt = [&](QPoint point) {
            return area.pixelColor(point * area.devicePixelRatio()).name();
        };
        const QString corner = colourAt(control->pos());
        const QString beside = colourAt(control->pos() - QPoint(1, 0));
        QVERIFY2(corner == beside,
                 qPrintable(u"%1: %2 beside %3"_s.arg(QLatin1String(name), corner, beside)));
    }
}

void TestWindowFit::focusScrollsIntoSight()
{
    m_window->resize(room() / 2);
    QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    QTest::qWait(0);
    auto* viewport = m_window->findChild<QScrollArea*>()->viewport();
    for (Control* control : {&m_main->form().Item2Cost, &m_main->form().NormalHr}) {
        m_main->form().requestFocus(*control);
        QLineEdit* field = edit(control->name());
        QVERIFY(field->hasFocus());
        QVERIFY(viewport->rect().contains(QRect(field->mapTo(viewport, QPoint()), field->size())));
    }
}

void TestWindowFit::pickListShowsWholeEntries()
{
    ApplianceDialog dialog({{u"Cold appliances"_s, u"American-style fridge-freezer (EU class F)"_s,
                             40, 0, 0, 50000, 1200, 24, u"EU label"_s},
                            {u"Lighting"_s, u"LED bulb"_s, 8.5, 0, 0, 15000, 4, 3, u"packs"_s}},
                           1, m_regional, m_window.get());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(dialog.width() <= room().width() && dialog.height() <= room().height());
    auto* list = dialog.findChild<QListWidget*>(u"appliances"_s);
    QCOMPARE(list->horizontalScrollBar()->maximum(), 0);
    // Every entry whole in its rectangle; the long one on two lines where the screen is
    // too narrow for it on one.
    const int line = list->fontMetrics().lineSpacing();
    for (int row = 0; row < list->count(); ++row) {
        const QRect rect = list->visualItemRect(list->item(row));
        const QRect text =
            list->fontMetrics().boundingRect(QRect(0, 0, rect.width(), 10 * rect.height()),
                                             Qt::TextWordWrap, list->item(row)->text());
        QVERIFY(rect.right() < list->viewport()->width());
        QVERIFY2(text.height() <= rect.height(), qPrintable(list->item(row)->text()));
        QCOMPARE(rect.height() >= 2 * line, row == 0 && scaled());
    }
}

QTEST_MAIN(TestWindowFit)
#include "tst_window_fit.moc"
