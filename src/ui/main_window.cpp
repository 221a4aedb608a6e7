#include "main_window.h"

#include "app/about_form.h"
#include "app/main_controller.h"
#include "ui/about_dialog.h"
#include "ui/appliance_dialog.h"
#include "ui/chart_window.h"
#include "ui/logo.h"
#include "ui/update_window.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

QLabel* fixedLabel(const char* text)
{
    return new QLabel(QString::fromUtf8(text));
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
                    m_main.fillItem(item, *dialog.choice());
            });
    connect(&m_main, &MainController::updateWindowOpened, this,
            [this](UpdateForm& form, bool shown) {
                auto* window = new UpdateWindow(form, this);
                connect(&form, &UpdateForm::showRequested, window, &QWidget::show);
                if (shown)
                    window->show();
            });
    buildLayout();
    nameControls();
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
    palette.setColor(QPalette::Window, QColor(colour.red, colour.green, colour.blue));
    palette.setColor(QPalette::WindowText, Qt::black);
    frame->setPalette(palette);
    grid = new QGridLayout(frame);
    const QString heading = areaHeading(which);
    if (!heading.isEmpty()) {
        auto* title = new QLabel(heading);
        QFont bold = title->font();
        bold.setBold(true);
        title->setFont(bold);
        grid->addWidget(title, 0, 0, 1, -1);
    }
    return frame;
}

void MainWindow::buildLayout()
{
    MainForm& f = m_main.form();
    setWindowTitle(f.Caption);
    auto* outer = new QVBoxLayout(this);
    auto* heading = new QLabel(u"Electricity Cost Calculator"_s);
    QFont large = heading->font();
    large.setPointSizeF(large.pointSizeF() * 1.4);
    large.setBold(true);
    heading->setFont(large);
    QPushButton* logo = makeLogo([this] { m_main.openMakerHomePage(); });
    auto* top = new QHBoxLayout;
    top->addWidget(heading);
    top->addStretch();
    top->addWidget(logo);
    outer->addLayout(top);

    // Hours and the electricity data side by side.
    QGridLayout* g = nullptr;
    auto* upper = new QHBoxLayout;
    QWidget* hours = area(FormArea::Hours, g);
    g->addWidget(fixedLabel(" Hours On"), 1, 1);
    g->addWidget(fixedLabel(" Hours Standby"), 1, 3);
    g->addWidget(fixedLabel("Normal Rate:"), 2, 0);
    g->addWidget(m_binding.widget(f.NormalHr), 2, 1);
    g->addWidget(fixedLabel("hrs"), 2, 2);
    g->addWidget(m_binding.widget(f.NormalSHr), 2, 3);
    g->addWidget(fixedLabel("hrs"), 2, 4);
    g->addWidget(fixedLabel("Cheap Rate:"), 3, 0);
    g->addWidget(m_binding.widget(f.CheapHr), 3, 1);
    g->addWidget(fixedLabel("hrs"), 3, 2);
    g->addWidget(m_binding.widget(f.CheapSHr), 3, 3);
    g->addWidget(fixedLabel("hrs"), 3, 4);
    g->addWidget(fixedLabel("Notes"), 4, 0);
    g->addWidget(m_binding.widget(f.Notes), 4, 1, 1, 4);
    g->setRowStretch(5, 1);
    upper->addWidget(hours, 1);

    QWidget* tariff = area(FormArea::ElectricityData, g);
    int row = 1;
    const auto dataRow = [&](QWidget* label, Control& field, QWidget* unit) {
        g->addWidget(label, row, 0);
        g->addWidget(m_binding.widget(field), row, 1);
        g->addWidget(unit, row, 2);
        ++row;
    };
    dataRow(fixedLabel("Normal Rate:"), f.NormalR, fixedLabel("/KWHr"));
    dataRow(fixedLabel("Cheap Rate:"), f.CheapR, fixedLabel("/KWHr"));
    dataRow(m_binding.widget(f.VATH), f.VAT, fixedLabel("%"));
    dataRow(fixedLabel("CO2:"), f.CO2, m_binding.widget(f.CO2L));
    dataRow(fixedLabel("Payback Period:"), f.PayPeriod, fixedLabel("Yrs"));
    dataRow(fixedLabel("Inflation:"), f.AnInfT, fixedLabel("%/Year"));
    row = 1;
    for (auto [text, box] : {std::pair{"Units:", &f.Units1},
                             {"On Top:", &f.OnTop},
                             {"Auto Save:", &f.AutoSave},
                             {"Auto Check:", &f.UpEnable1},
                             {"Months:", &f.MonthlyT}}) {
        g->addWidget(fixedLabel(text), row, 3, Qt::AlignRight);
        g->addWidget(m_binding.widget(*box), row++, 4);
    }
    upper->addWidget(tariff, 1);
    outer->addLayout(upper);

    QWidget* items = area(FormArea::Comparison, g);
    const char* columns[] = {" On Power", " Standby Power", " Cont Power", "Life", "Cost", "No"};
    for (int c = 0; c < 6; ++c)
        g->addWidget(fixedLabel(columns[c]), 1, 1 + 2 * c);
    const auto itemRow = [&](int r, const char* name, std::initializer_list<Control*> fields) {
        g->addWidget(fixedLabel(name), r, 0);
        int c = 1;
        for (Control* field : fields) {
            g->addWidget(m_binding.widget(*field), r, c);
            if (c <= 7)
                g->addWidget(fixedLabel(c == 7 ? "hrs" : "W"), r, c + 1);
            c += 2;
        }
    };
    itemRow(
        2, "Item 1:",
        {&f.Item1Watts, &f.Item1SWatts, &f.Item1CWatts, &f.Item1Life, &f.Item1Cost, &f.Item1No});
    itemRow(
        3, "Item 2:",
        {&f.Item2Watts, &f.Item2SWatts, &f.Item2CWatts, &f.Item2Life, &f.Item2Cost, &f.Item2No});
    g->addWidget(m_binding.widget(f.Pick1), 2, 12);
    g->addWidget(m_binding.widget(f.Pick2), 3, 12);
    outer->addWidget(items);

    QWidget* results = area(FormArea::Results, g);
    g->addWidget(fixedLabel("Total Hours On:"), 0, 0);
    g->addWidget(m_binding.widget(f.HoursUsed), 0, 1);
    g->addWidget(fixedLabel("Total Hours Standby:"), 0, 2);
    g->addWidget(m_binding.widget(f.HoursSUsed), 0, 3);
    g->addWidget(m_binding.widget(f.ItemDayL), 1, 1);
    g->addWidget(m_binding.widget(f.ItemQtrL), 1, 2);
    g->addWidget(m_binding.widget(f.ItemPeriodL), 1, 3);
    g->addWidget(m_binding.widget(f.ItemCO2L), 1, 4);
    g->addWidget(fixedLabel(" % On Standby"), 1, 5);
    const auto resultRow = [&](int r, const char* name, std::initializer_list<Control*> fields) {
        g->addWidget(fixedLabel(name), r, 0);
        int c = 1;
        for (Control* field : fields)
            g->addWidget(m_binding.widget(*field), r, c++);
    };
    resultRow(2, "Item 1:", {&f.Item1Day, &f.Item1Qtr, &f.Item1Period, &f.Item1CO2, &f.Item1SB});
    resultRow(3, "Item 2:", {&f.Item2Day, &f.Item2Qtr, &f.Item2Period, &f.Item2CO2, &f.Item2SB});
    resultRow(4, "Saving:", {&f.DaySave, &f.QtrSave, &f.PeriodSave, &f.CO2Save});
    outer->addWidget(results);

    auto* buttons = new QGridLayout;
    int at = 0;
    for (Button* button :
         {&f.Calc, &f.Keep, &f.Save, &f.Clear, &f.OutputType, &f.Chart, &f.Save_Defaults,
          &f.Reset_Defaults, &f.ViewL, &f.Archive, &f.Update, &f.Help1, &f.About, &f.Exit}) {
        buttons->addWidget(m_binding.widget(*button), at / 7, at % 7);
        ++at;
    }
    outer->addLayout(buttons);
    outer->addWidget(m_binding.widget(f.Status));

    // Tab order: hours, tariff, items, then the buttons, as the model lists them.
    m_binding.setTabOrder();
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
    name(f.HoursUsed, "Total hours on");
    name(f.HoursSUsed, "Total hours standby");
}

} // namespace torvane
