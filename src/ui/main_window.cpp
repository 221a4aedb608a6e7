#include "main_window.h"

#include "app/about_form.h"
#include "app/main_controller.h"
#include "mainform/field_extremes.h"
#include "ui/about_dialog.h"
#include "ui/appliance_dialog.h"
#include "ui/chart_window.h"
#include "ui/fitting.h"
#include "ui/logo.h"
#include "ui/measure_window.h"
#include "ui/update_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QVBoxLayout>

#include <algorithm>
#include <cstddef>
#include <initializer_list>

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

QLabel* fixedLabel(const char* text)
{
    return new QLabel(QString::fromUtf8(text));
}

// A cell of an area's grid: a fixed caption, a control of the model, or left empty (Blank).
// A caption may stand against one side of its cell; a control may span more columns.
struct Cell {
    Cell(std::nullptr_t) {}
    Cell(const char* text, Qt::Alignment side = {})
        : caption(text)
        , alignment(side)
    {}
    Cell(Control* field, int columns = 1)
        : control(field)
        , columnSpan(columns)
    {}

    const char* caption = nullptr;
    Control* control = nullptr;
    Qt::Alignment alignment;
    int columnSpan = 1;
};
constexpr std::nullptr_t Blank = nullptr;

// Fills the grid row by row from (firstRow, firstColumn), a row's cells in adjacent columns
// and in the order given.
void placeRows(FormBinding& binding, QGridLayout* grid, int firstRow, int firstColumn,
               std::initializer_list<std::initializer_list<Cell>> rows)
{
    int row = firstRow;
    for (const std::initializer_list<Cell>& cells : rows) {
        int column = firstColumn;
        for (const Cell& cell : cells) {
            if (cell.caption || cell.control) {
                QWidget* widget =
                    cell.control ? binding.widget(*cell.control) : fixedLabel(cell.caption);
                grid->addWidget(widget, row, column, 1, cell.columnSpan, cell.alignment);
            }
            ++column;
        }
        ++row;
    }
}

} // namespace

MainWindow::MainWindow(MainController& main, QWidget* parent)
    : QWidget(parent)
    , m_main(main)
    , m_binding(main.form())
{
    setObjectName(u"TorvaneMain"_s);
    connect(&m_main, &MainController::placeOnTopRequested, this, &MainWindow::placeOnTop);
    connect(&m_main, &MainController::aboutRequested, this, &MainWindow::showAbout);
    connect(&m_main, &MainController::chartRequested, this, &MainWindow::showChart);
    connect(&m_main, &MainController::pickRequested, this,
            [this](int item, const std::vector<Appliance>& appliances) {
                ApplianceDialog dialog(appliances, item, m_main.regional(), this);
                if (dialog.exec() == QDialog::Accepted && dialog.choice())
                    m_main.fillItem(item, *dialog.choice(), dialog.ownership());
            });
    connect(&m_main, &MainController::measureRequested, this, [this](int item) {
        auto* window = new MeasureWindow(m_main.context(), item, this);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->open();
    });
    connect(&m_main, &MainController::updateWindowOpened, this,
            [this](UpdateForm& form, bool shown) {
                auto* window = new UpdateWindow(form, this);
                connect(&form, &UpdateForm::showRequested, window, &QWidget::show);
                if (shown)
                    window->show();
            });
    buildLayout();
    fitFields();
    nameControls();
}

void MainWindow::setVisible(bool visible)
{
    // Sized before it is first shown, so that its content is laid out once, at that size.
    if (visible && !m_shown)
        resize(firstSize());
    QWidget::setVisible(visible);
}

void MainWindow::showEvent(QShowEvent* event)
{
    // The window becomes the program's active one when first shown (and when the About
    // window closes); switching to other programs and back is no activation of its own.
    if (!event->spontaneous() && !m_shown) {
        m_shown = true;
        m_main.activate();
    }
    QWidget::showEvent(event);
}

void MainWindow::keyPressEvent(QKeyEvent* event)
{
    // Enter in a field presses Calculate, as a dialog's default button would, and on a
    // button presses that button. Both pass the key on unused, outside a dialog.
    const bool enter = (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
                       (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    QWidget* focused = focusWidget();
    if (auto* button = qobject_cast<QPushButton*>(focused); enter && button) {
        button->click();
        return;
    }
    if (auto* field = qobject_cast<QLineEdit*>(focused); enter && field && !field->isReadOnly()) {
        static_cast<QPushButton*>(m_binding.widget(m_main.form().Calc))->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void MainWindow::placeOnTop(bool onTop)
{
    if (testAttribute(Qt::WA_WState_Created) &&
        windowFlags().testFlag(Qt::WindowStaysOnTopHint) == onTop)
        return;
    // Changing the flag hides the window; show it again where it was, without activating.
    const bool visible = isVisible();
    const QPoint at = pos();
    setAttribute(Qt::WA_ShowWithoutActivating, true);
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (visible) {
        move(at);
        show();
    }
    setAttribute(Qt::WA_ShowWithoutActivating, false);
}

void MainWindow::showAbout()
{
    AboutForm form(m_main.folder());
    AboutDialog about(form, m_main.settings().RunOnTopSetting == 2, this);
    about.exec();
    m_main.activate();
}

void MainWindow::showChart()
{
    // One chart window, made when first asked for; asking again brings it forward.
    if (!m_chart)
        m_chart = new ChartWindow(m_main.chart(), this);
    m_chart->show();
    m_chart->raise();
    m_chart->activateWindow();
}

QWidget* MainWindow::area(FormArea which, QGridLayout*& grid)
{
    auto* frame = new QWidget;
    frame->setAutoFillBackground(true);
    QPalette palette = frame->palette();
    const Colour colour = areaColour(which);
    const QColor background(colour.red, colour.green, colour.blue);
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, Qt::black);
    frame->setPalette(palette);
    // The title above the grid, and what room the area gets beyond its rows below them,
    // so that both stay where they are however large the window is made.
    auto* column = new QVBoxLayout(frame);
    const QString heading = areaHeading(which);
    if (!heading.isEmpty()) {
        // Set apart by a deep shade of the area's colour, in the captions' face and size:
        // every other face, weight or size is glyphs drawn afresh, and those cost the start
        // more than the rest of the window's own work.
        auto* title = new QLabel(heading);
        QPalette shaded = palette;
        shaded.setColor(QPalette::WindowText, QColor::fromHsv(background.hsvHue(), 255, 96));
        title->setPalette(shaded);
        column->addWidget(title);
    }
    grid = new QGridLayout;
    column->addLayout(grid);
    column->addStretch();
    return frame;
}

void MainWindow::makeScrolled()
{
    // The content scrolls where the screen is smaller than it, rather than squeezing it.
    m_content = new QWidget;
    m_scroll = new QScrollArea;
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setFocusPolicy(Qt::NoFocus);
    m_scroll->setWidgetResizable(true);
    m_scroll->setWidget(m_content);
    // The window paints its own background under the content, as it did before the
    // content scrolled: a start ends at the window's first paint.
    m_scroll->viewport()->setAutoFillBackground(false);
    m_content->setAutoFillBackground(false);
    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(QMargins());
    window->addWidget(m_scroll);
    // Whatever takes the focus (a click, Tab, the program, an accessibility tool) is
    // scrolled into sight, the whole of it.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (!now || !m_content->isAncestorOf(now))
            return;
        const QRect area(now->mapTo(m_content, QPoint()), now->size());
        m_scroll->ensureVisible(area.center().x(), area.center().y(), area.width() / 2 + 1,
                                area.height() / 2 + 1);
    });
}

void MainWindow::buildLayout()
{
    setWindowTitle(m_main.form().Caption);
    makeScrolled();
    auto* outer = new QVBoxLayout(m_content);
    outer->addLayout(titleBar());
    // Hours and the electricity data side by side.
    auto* upper = new QHBoxLayout;
    upper->addWidget(hoursArea(), 1);
    upper->addWidget(electricityDataArea(), 1);
    outer->addLayout(upper);
    outer->addWidget(comparisonArea());
    outer->addWidget(resultsArea());
    outer->addLayout(buttonGrid());
    outer->addWidget(m_binding.widget(m_main.form().Status));
    // Room beyond what the content needs goes below it: nothing moves as the window grows.
    outer->addStretch(1);

    // Tab order: hours, tariff, items, then the buttons, as the model lists them.
    m_binding.setTabOrder();
}

QLayout* MainWindow::titleBar()
{
    auto* heading = new QLabel(u"Electricity Cost Calculator"_s);
    // The window's one larger line, in its own face: not bold, a second face to load.
    QFont large = heading->font();
    large.setPointSizeF(large.pointSizeF() * 1.4);
    heading->setFont(large);
    QPushButton* logo = makeLogo([this] { m_main.openMakerHomePage(); });
    auto* top = new QHBoxLayout;
    top->addWidget(heading);
    top->addStretch();
    top->addWidget(logo);
    return top;
}

QWidget* MainWindow::hoursArea()
{
    MainForm& f = m_main.form();
    QGridLayout* grid = nullptr;
    QWidget* frame = area(FormArea::Hours, grid);
    placeRows(m_binding, grid, 0, 0,
              {{Blank, " Hours On", Blank, " Hours Standby"},
               {"Normal Rate:", &f.NormalHr, "hrs", &f.NormalSHr, "hrs"},
               {"Cheap Rate:", &f.CheapHr, "hrs", &f.CheapSHr, "hrs"},
               {"Notes", Cell(&f.Notes, 4)}});
    return frame;
}

QWidget* MainWindow::electricityDataArea()
{
    MainForm& f = m_main.form();
    QGridLayout* grid = nullptr;
    QWidget* frame = area(FormArea::ElectricityData, grid);
    // The tariff's figures with their units, then the switches beside them.
    placeRows(m_binding, grid, 0, 0,
              {{"Normal Rate:", &f.NormalR, "/KWHr"},
               {"Cheap Rate:", &f.CheapR, "/KWHr"},
               {&f.VATH, &f.VAT, "%"},
               {"CO2:", &f.CO2, &f.CO2L},
               {"Payback Period:", &f.PayPeriod, "Yrs"},
               {"Inflation:", &f.AnInfT, "%/Year"}});
    placeRows(m_binding, grid, 0, 3,
              {{Cell("Units:", Qt::AlignRight), &f.Units1},
               {Cell("On Top:", Qt::AlignRight), &f.OnTop},
               {Cell("Auto Save:", Qt::AlignRight), &f.AutoSave},
               {Cell("Auto Check:", Qt::AlignRight), &f.UpEnable1},
               {Cell("Months:", Qt::AlignRight), &f.MonthlyT}});
    return frame;
}

QWidget* MainWindow::comparisonArea()
{
    MainForm& f = m_main.form();
    QGridLayout* grid = nullptr;
    QWidget* frame = area(FormArea::Comparison, grid);
    placeRows(m_binding, grid, 0, 0,
              {{Blank, " On Power", Blank, " Standby Power", Blank, " Cont Power", Blank, "Life",
                Blank, "Cost", Blank, "No"},
               {"Item 1:", &f.Item1Watts, "W", &f.Item1SWatts, "W", &f.Item1CWatts, "W",
                &f.Item1Life, "hrs", &f.Item1Cost, Blank, &f.Item1No},
               {"Item 2:", &f.Item2Watts, "W", &f.Item2SWatts, "W", &f.Item2CWatts, "W",
                &f.Item2Life, "hrs", &f.Item2Cost, Blank, &f.Item2No}});
    // The Pick and Measure buttons at the ends of the item rows.
    placeRows(m_binding, grid, 1, 12, {{&f.Pick1, &f.Measure1}, {&f.Pick2, &f.Measure2}});
    return frame;
}

QWidget* MainWindow::resultsArea()
{
    MainForm& f = m_main.form();
    QGridLayout* grid = nullptr;
    QWidget* frame = area(FormArea::Results, grid);
    placeRows(m_binding, grid, 0, 0,
              {{"Total Hours On:", &f.HoursUsed, "Total Hours Standby:", &f.HoursSUsed},
               {Blank, &f.ItemDayL, &f.ItemQtrL, &f.ItemPeriodL, &f.ItemCO2L, " % On Standby"},
               {"Item 1:", &f.Item1Day, &f.Item1Qtr, &f.Item1Period, &f.Item1CO2, &f.Item1SB},
               {"Item 2:", &f.Item2Day, &f.Item2Qtr, &f.Item2Period, &f.Item2CO2, &f.Item2SB},
               {"Saving:", &f.DaySave, &f.QtrSave, &f.PeriodSave, &f.CO2Save}});
    return frame;
}

QLayout* MainWindow::buttonGrid()
{
    MainForm& f = m_main.form();
    auto* buttons = new QGridLayout;
    int at = 0;
    for (Button* button :
         {&f.Calc, &f.Keep, &f.Save, &f.Clear, &f.OutputType, &f.Chart, &f.Save_Defaults,
          &f.Reset_Defaults, &f.ViewL, &f.Archive, &f.Update, &f.Help1, &f.About, &f.Exit}) {
        buttons->addWidget(m_binding.widget(*button), at / 7, at % 7);
        ++at;
    }
    return buttons;
}

void MainWindow::fitFields()
{
    MainForm& f = m_main.form();
    for (const FieldExtremes& field : fieldExtremes(f, m_main.regional())) {
        auto* edit = static_cast<FittedLineEdit*>(m_binding.widget(*field.field));
        edit->fitWidth(widthToShow(*edit, field.texts));
    }
    // A result field widens to show whatever the calculation writes into it.
    for (Control* control : f.controls()) {
        if (control->kind() != Control::Kind::TextBox ||
            !static_cast<TextBox*>(control)->isOutput())
            continue;
        auto* edit = static_cast<QLineEdit*>(m_binding.widget(*control));
        const int least = edit->minimumSizeHint().width();
        connect(edit, &QLineEdit::textChanged, edit, [edit, least](const QString& text) {
            edit->setMinimumWidth(std::max(least, widthToShow(*edit, {text})));
        });
    }
}

QSize MainWindow::firstSize() const
{
    // All of the content where the screen has room for it. Else as much as fits: the
    // content gives up its spare width first and scrolls up and down with its scroll bar
    // beside it; only what is wider than the screen at its least scrolls across as well.
    const QSize room = roomOnScreen(*this);
    const QSize wanted = m_content->sizeHint();
    const int across =
        wanted.height() > room.height() ? m_scroll->verticalScrollBar()->sizeHint().width() : 0;
    const bool wide = m_content->minimumSizeHint().width() + across > room.width();
    const int below = wide ? m_scroll->horizontalScrollBar()->sizeHint().height() : 0;
    return QSize(std::min(wanted.width() + across, room.width()),
                 std::min(wanted.height() + below, room.height()));
}

void MainWindow::nameControls()
{
    // What a screen reader announces: the labels a sighted user reads beside each field,
    // the column captions followed as they change; the tooltips stay the descriptions.
    MainForm& f = m_main.form();
    const auto name = [this](Control& control, const char* text) {
        m_binding.setAccessibleName(control, QString::fromUtf8(text));
    };
    name(f.NormalHr, "Normal rate, hours on");
    name(f.NormalSHr, "Normal rate, hours on standby");
    name(f.CheapHr, "Cheap rate, hours on");
    name(f.CheapSHr, "Cheap rate, hours on standby");
    name(f.Notes, "Notes");
    name(f.NormalR, "Normal rate, price per KWHr");
    name(f.CheapR, "Cheap rate, price per KWHr");
    m_binding.setAccessibleName(f.VAT, QString(), f.VATH, u", percent"_s);
    m_binding.setAccessibleName(f.CO2, u"CO2 conversion rate, "_s, f.CO2L);
    name(f.PayPeriod, "Payback period, years");
    name(f.AnInfT, "Inflation, percent a year");
    name(f.Units1, "Units: CO2 in pounds");
    name(f.OnTop, "On top");
    name(f.AutoSave, "Auto save");
    name(f.UpEnable1, "Auto check for a new version");
    name(f.MonthlyT, "Months");
    // A result is named by its row and by its column's caption, as the caption changes.
    const auto results = [&](const QString& head, std::initializer_list<Control*> fields) {
        const Control* captions[] = {&f.ItemDayL, &f.ItemQtrL, &f.ItemPeriodL, &f.ItemCO2L};
        const Control* const* caption = captions;
        for (Control* field : fields)
            m_binding.setAccessibleName(*field, head, **caption++);
    };
    for (int item = 1; item <= 2; ++item) {
        const auto field = [&](const char* suffix) -> Control& {
            return *f.control(QString(u"Item%1"_s.arg(item) + QLatin1String(suffix)));
        };
        const QString head = u"Item %1 "_s.arg(item);
        for (auto [suffix, text] : {std::pair{"Watts", "on power, watts"},
                                    {"SWatts", "standby power, watts"},
                                    {"CWatts", "continuous power, watts"},
                                    {"Life", "life, hours"},
                                    {"Cost", "cost"},
                                    {"No", "number needed"}})
            m_binding.setAccessibleName(field(suffix), head + QString::fromUtf8(text));
        results(head, {&field("Day"), &field("Qtr"), &field("Period"), &field("CO2")});
        m_binding.setAccessibleName(field("SB"), head + u"% on standby"_s);
    }
    results(u"Saving "_s, {&f.DaySave, &f.QtrSave, &f.PeriodSave, &f.CO2Save});
    name(f.Pick1, "Pick item 1 from the appliance catalogue or its energy label");
    name(f.Pick2, "Pick item 2 from the appliance catalogue or its energy label");
    name(f.Measure1, "Fill item 1 from measured power readings");
    name(f.Measure2, "Fill item 2 from measured power readings");
    name(f.HoursUsed, "Total hours on");
    name(f.HoursSUsed, "Total hours standby");
}

} // namespace torvane
