#include "main_window.h"

#include "app/torvane_main.h"
#include "ui/about_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

QColor toQColor(Colour colour, const QPalette& palette, QPalette::ColorRole themeRole)
{
    switch (colour.role) {
    case Colour::Role::Rgb:
        return QColor(colour.red, colour.green, colour.blue);
    case Colour::Role::ButtonFace:
        return palette.color(QPalette::Button);
    case Colour::Role::WindowBackground:
        return palette.color(QPalette::Base);
    case Colour::Role::WindowText:
        return palette.color(QPalette::Text);
    }
    return palette.color(themeRole);
}

QLabel* fixedLabel(const char* text)
{
    return new QLabel(QString::fromUtf8(text));
}

} // namespace

MainWindow::MainWindow(TorvaneMain& main, QWidget* parent)
    : QWidget(parent)
    , m_main(main)
    , m_statusTimer(new QTimer(this))
{
    setObjectName(u"TorvaneMain"_s);
    m_statusTimer->setSingleShot(true);
    m_statusTimer->setInterval(2000);
    connect(m_statusTimer, &QTimer::timeout, this, [this] { m_main.Timer1Tick(); });
    m_main.timer1Started = [this] {
        m_statusTimer->start();
    };
    m_main.placeOnTop = [this](bool onTop) {
        placeOnTop(onTop);
    };
    m_main.showAbout = [this] {
        AboutDialog about(m_main, this);
        about.exec();
        m_main.Activate();
    };
    buildLayout();
    for (Control* control : m_main.form.controls())
        control->setObserver(this);
}

MainWindow::~MainWindow()
{
    for (Control* control : m_main.form.controls())
        control->setObserver(nullptr);
    m_main.timer1Started = nullptr;
    m_main.placeOnTop = nullptr;
    m_main.showAbout = nullptr;
}

QWidget* MainWindow::widgetFor(Control& control)
{
    QWidget* widget = nullptr;
    switch (control.kind()) {
    case Control::Kind::TextBox: {
        auto& box = static_cast<TextBox&>(control);
        auto* edit = new QLineEdit;
        edit->setReadOnly(box.isOutput());
        if (box.isOutput())
            edit->setFocusPolicy(Qt::ClickFocus);
        if (box.maxLength() > 0)
            edit->setMaxLength(box.maxLength());
        edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(u"£0000.00000"_s));
        connect(edit, &QLineEdit::textEdited, this, [this, &box](const QString& text) {
            box.type(text);
            followFocus();
        });
        widget = edit;
        break;
    }
    case Control::Kind::Label:
        widget = new QLabel;
        break;
    case Control::Kind::Button: {
        auto& button = static_cast<Button&>(control);
        auto* push = new QPushButton;
        connect(push, &QPushButton::clicked, this, [this, &button] {
            button.click();
            followFocus();
        });
        widget = push;
        break;
    }
    case Control::Kind::CheckBox: {
        auto& check = static_cast<CheckBox&>(control);
        auto* box = new QCheckBox;
        connect(box, &QCheckBox::clicked, this, [this, &check] {
            check.userClick();
            controlChanged(check); // the model decides the state shown
            followFocus();
        });
        widget = box;
        break;
    }
    }
    widget->setObjectName(control.name());
    widget->setAutoFillBackground(control.kind() != Control::Kind::Label);
    m_widgets.insert(&control, widget);
    controlChanged(control);
    return widget;
}

void MainWindow::controlChanged(const Control& control)
{
    QWidget* widget = m_widgets.value(&control);
    if (!widget)
        return;
    widget->setToolTip(control.toolTip());
    widget->setEnabled(control.enabled());
    QPalette palette = widget->palette();
    const QPalette defaults = QWidget::palette();
    switch (control.kind()) {
    case Control::Kind::TextBox: {
        auto* edit = static_cast<QLineEdit*>(widget);
        if (edit->text() != control.text())
            edit->setText(control.text());
        palette.setColor(QPalette::Base, toQColor(control.backColour(), defaults, QPalette::Base));
        palette.setColor(QPalette::Text, toQColor(control.foreColour(), defaults, QPalette::Text));
        break;
    }
    case Control::Kind::Label:
        static_cast<QLabel*>(widget)->setText(control.text());
        break;
    case Control::Kind::Button:
        static_cast<QPushButton*>(widget)->setText(control.text());
        palette.setColor(QPalette::Button,
                         toQColor(control.backColour(), defaults, QPalette::Button));
        break;
    case Control::Kind::CheckBox: {
        auto* box = static_cast<QCheckBox*>(widget);
        const int value = static_cast<const CheckBox&>(control).value();
        box->setTristate(value == 2);
        box->setCheckState(value == 1   ? Qt::Checked
                           : value == 2 ? Qt::PartiallyChecked
                                        : Qt::Unchecked);
        break;
    }
    }
    widget->setPalette(palette);
}

void MainWindow::followFocus()
{
    if (const Control* focus = m_main.form.focus()) {
        if (QWidget* widget = m_widgets.value(focus); widget && !widget->hasFocus())
            widget->setFocus(Qt::OtherFocusReason);
    }
}

void MainWindow::showEvent(QShowEvent* event)
{
    // The window becomes the program's active one when first shown (and when the About
    // window closes); switching to other programs and back is no activation of its own.
    if (!event->spontaneous() && !m_shown) {
        m_shown = true;
        m_main.Activate();
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
    MainForm& f = m_main.form;
    setWindowTitle(f.Caption);
    auto* outer = new QVBoxLayout(this);
    auto* heading = new QLabel(u"Electricity Cost Calculator"_s);
    QFont large = heading->font();
    large.setPointSizeF(large.pointSizeF() * 1.4);
    large.setBold(true);
    heading->setFont(large);
    auto* logo = new QPushButton(u"Marnoft"_s);
    logo->setObjectName(u"Logo"_s);
    logo->setFlat(true);
    logo->setToolTip(u"Visit the Marnoft web site"_s);
    logo->setFocusPolicy(Qt::NoFocus);
    connect(logo, &QPushButton::clicked, this, [this] { m_main.LogoClick(); });
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
    g->addWidget(widgetFor(f.NormalHr), 2, 1);
    g->addWidget(fixedLabel("hrs"), 2, 2);
    g->addWidget(widgetFor(f.NormalSHr), 2, 3);
    g->addWidget(fixedLabel("hrs"), 2, 4);
    g->addWidget(fixedLabel("Cheap Rate:"), 3, 0);
    g->addWidget(widgetFor(f.CheapHr), 3, 1);
    g->addWidget(fixedLabel("hrs"), 3, 2);
    g->addWidget(widgetFor(f.CheapSHr), 3, 3);
    g->addWidget(fixedLabel("hrs"), 3, 4);
    g->addWidget(fixedLabel("Notes"), 4, 0);
    g->addWidget(widgetFor(f.Notes), 4, 1, 1, 4);
    g->setRowStretch(5, 1);
    upper->addWidget(hours, 1);

    QWidget* tariff = area(FormArea::ElectricityData, g);
    int row = 1;
    const auto dataRow = [&](QWidget* label, Control& field, QWidget* unit) {
        g->addWidget(label, row, 0);
        g->addWidget(widgetFor(field), row, 1);
        g->addWidget(unit, row, 2);
        ++row;
    };
    dataRow(fixedLabel("Normal Rate:"), f.NormalR, fixedLabel("/KWHr"));
    dataRow(fixedLabel("Cheap Rate:"), f.CheapR, fixedLabel("/KWHr"));
    dataRow(widgetFor(f.VATH), f.VAT, fixedLabel("%"));
    dataRow(fixedLabel("CO2:"), f.CO2, widgetFor(f.CO2L));
    dataRow(fixedLabel("Payback Period:"), f.PayPeriod, fixedLabel("Yrs"));
    dataRow(fixedLabel("Inflation:"), f.AnInfT, fixedLabel("%/Year"));
    row = 1;
    for (auto [text, box] : {std::pair{"Units:", &f.Units1},
                             {"On Top:", &f.OnTop},
                             {"Auto Save:", &f.AutoSave},
                             {"Auto Check:", &f.UpEnable1},
                             {"Months:", &f.MonthlyT}}) {
        g->addWidget(fixedLabel(text), row, 3, Qt::AlignRight);
        g->addWidget(widgetFor(*box), row++, 4);
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
            g->addWidget(widgetFor(*field), r, c);
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
    outer->addWidget(items);

    QWidget* results = area(FormArea::Results, g);
    g->addWidget(fixedLabel("Total Hours On:"), 0, 0);
    g->addWidget(widgetFor(f.HoursUsed), 0, 1);
    g->addWidget(fixedLabel("Total Hours Standby:"), 0, 2);
    g->addWidget(widgetFor(f.HoursSUsed), 0, 3);
    g->addWidget(widgetFor(f.ItemDayL), 1, 1);
    g->addWidget(widgetFor(f.ItemQtrL), 1, 2);
    g->addWidget(widgetFor(f.ItemPeriodL), 1, 3);
    g->addWidget(widgetFor(f.ItemCO2L), 1, 4);
    g->addWidget(fixedLabel(" % On Standby"), 1, 5);
    const auto resultRow = [&](int r, const char* name, std::initializer_list<Control*> fields) {
        g->addWidget(fixedLabel(name), r, 0);
        int c = 1;
        for (Control* field : fields)
            g->addWidget(widgetFor(*field), r, c++);
    };
    resultRow(2, "Item 1:", {&f.Item1Day, &f.Item1Qtr, &f.Item1Period, &f.Item1CO2, &f.Item1SB});
    resultRow(3, "Item 2:", {&f.Item2Day, &f.Item2Qtr, &f.Item2Period, &f.Item2CO2, &f.Item2SB});
    resultRow(4, "Saving:", {&f.DaySave, &f.QtrSave, &f.PeriodSave, &f.CO2Save});
    outer->addWidget(results);

    auto* buttons = new QGridLayout;
    int at = 0;
    for (Button* button :
         {&f.Calc, &f.Keep, &f.Save, &f.Clear, &f.OutputType, &f.Save_Defaults, &f.Reset_Defaults,
          &f.ViewL, &f.Archive, &f.Update, &f.Help1, &f.About, &f.Exit}) {
        buttons->addWidget(widgetFor(*button), at / 7, at % 7);
        ++at;
    }
    outer->addLayout(buttons);
    outer->addWidget(widgetFor(f.Status));

    // Tab order: hours, tariff, items, then the buttons, as the fields were added.
    QWidget* previous = nullptr;
    for (Control* control : f.controls()) {
        QWidget* widget = m_widgets.value(control);
        if (!widget || widget->focusPolicy() != Qt::StrongFocus)
            continue;
        if (previous)
            setTabOrder(previous, widget);
        previous = widget;
    }
}

} // namespace torvane
