#include "appliance_dialog.h"
#include "fitting.h"
#include "named_widgets.h"

#include "catalogue/catalogue_messages.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

// The heading names the item the choice goes into.
QLabel* itemHeading(int item)
{
    const QString itemName = u"Item %1"_s.arg(item);
    return named(
        new QLabel(u"%1: pick an appliance, or work out its on power from the energy label"_s.arg(
            itemName)),
        u"heading"_s, itemName);
}

} // namespace

ApplianceDialog::ApplianceDialog(std::vector<Appliance> appliances, int item,
                                 const Regional& regional, QWidget* parent)
    : QDialog(parent)
    , m_appliances(std::move(appliances))
    , m_regional(regional)
{
    setObjectName(u"frmAppliances"_s);
    setWindowTitle(QString::fromLatin1(messages::CatalogueTitle));
    setModal(true);
    QLabel* heading = itemHeading(item);
    m_search = named(new QLineEdit, u"searchAppliances"_s, u"Search appliances"_s);
    m_search->setPlaceholderText(u"Search appliances"_s);
    m_search->installEventFilter(this);
    makeList();
    m_source = named(new QLabel, u"applianceSource"_s, u"Source of the figures"_s);
    m_source->setWordWrap(true);
    QLayout* ownership = makeOwnership(item);
    QGroupBox* label = makeEnergyLabel();
    QLayout* buttons = makeButtons();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(m_search);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_source);
    layout->addLayout(ownership);
    layout->addWidget(label);
    layout->addLayout(buttons);

    connectControls();
    filter();
    checkLabel();
    m_search->setFocus();
    // The dozen lines where the screen has room for them; after that the list gives up
    // lines to a longer source or to entries that wrap, down to a third of them.
    const QSize first = sizeHint().boundedTo(roomOnScreen(*this));
    m_list->setMinimumHeight(m_list->minimumHeight() / 3);
    resize(first);
}

void ApplianceDialog::makeList()
{
    m_list = named(new QListWidget, u"appliances"_s, u"Appliances"_s);
    const auto figure = [this](double value) {
        return m_regional.formatGeneral(value);
    };
    // One row an appliance, in the catalogue's order.
    for (const Appliance& a : m_appliances) {
        new QListWidgetItem(
            u"%1 (%2): %3 W on, %4 W standby, %5 W continuous, life %6 hours, price %7, "
            "%8 hours a day"_s.arg(a.name, a.category, figure(a.watts), figure(a.standbyWatts),
                                   figure(a.continuousWatts), figure(a.lifeHours),
                                   m_regional.formatCurrency(a.price, 2), figure(a.hoursDay)),
            m_list);
    }
    // Wide enough for a whole entry, as far as the screen allows; an entry wider than that
    // wraps onto more lines rather than being cut off. About a dozen lines shown.
    const int widest = m_list->sizeHintForColumn(0) + 2 * m_list->frameWidth() +
                       m_list->verticalScrollBar()->sizeHint().width();
    m_list->setMinimumWidth(std::min(widest, roomOnScreen(*this).width() * 9 / 10));
    m_list->setMinimumHeight(m_list->sizeHintForRow(0) * 12);
    m_list->setWordWrap(true);
    m_list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_list->setResizeMode(QListView::Adjust);
}

QLayout* ApplianceDialog::makeOwnership(int item)
{
    m_owned = named(new QCheckBox(u"&I already have this appliance"_s), u"applianceOwned"_s,
                    u"I already have this appliance"_s);
    m_owned->setChecked(defaultOwnership(item) == Ownership::Owned);
    // A screen reader reads the label's own text.
    auto* why = new QLabel(u"An appliance you already have costs nothing to buy again until "
                           "it wears out: its price and life are left empty."_s);
    why->setObjectName(u"ownedExplained"_s);
    why->setWordWrap(true);
    auto* layout = new QVBoxLayout;
    layout->addWidget(m_owned);
    layout->addWidget(why);
    return layout;
}

Ownership ApplianceDialog::ownership() const
{
    return m_owned->isChecked() ? Ownership::Owned : Ownership::ToBuy;
}

QGroupBox* ApplianceDialog::makeEnergyLabel()
{
    auto* label = named(new QGroupBox(u"Energy label"_s), u"energyLabel"_s, u"Energy label"_s);
    m_energy = named(new QLineEdit, u"labelEnergy"_s, u"kWh per year"_s);
    m_hours = named(new QLineEdit, u"labelHours"_s, u"Hours a day"_s);
    m_allDay = named(new QCheckBox(u"Runs &all day"_s), u"labelAllDay"_s, u"Runs all day"_s);
    m_labelProblem = named(new QLabel, u"labelProblem"_s, u"Energy label problem"_s);
    m_labelProblem->setWordWrap(true);
    auto* form = new QFormLayout(label);
    form->addRow(u"&kWh per year:"_s, m_energy);
    form->addRow(u"&Hours a day:"_s, m_hours);
    form->addRow(QString(), m_allDay);
    form->addRow(m_labelProblem);
    return label;
}

QLayout* ApplianceDialog::makeButtons()
{
    m_useAppliance = namedButton(u"&Use appliance"_s, u"useAppliance"_s, u"Use appliance"_s);
    m_useLabel = namedButton(u"Use &label"_s, u"useLabel"_s, u"Use label"_s);
    auto* cancel = namedButton(u"Cancel"_s, u"cancel"_s, u"Cancel"_s);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton* b : {m_useAppliance, m_useLabel, cancel})
        buttons->addWidget(b);
    return buttons;
}

void ApplianceDialog::connectControls()
{
    connect(m_search, &QLineEdit::textChanged, this, &ApplianceDialog::filter);
    connect(m_search, &QLineEdit::returnPressed, this, &ApplianceDialog::useAppliance);
    connect(m_list, &QListWidget::currentRowChanged, this, &ApplianceDialog::showSelected);
    connect(m_list, &QListWidget::itemActivated, this, &ApplianceDialog::useAppliance);
    connect(m_energy, &QLineEdit::textChanged, this, &ApplianceDialog::checkLabel);
    connect(m_hours, &QLineEdit::textChanged, this, &ApplianceDialog::checkLabel);
    connect(m_energy, &QLineEdit::returnPressed, this, &ApplianceDialog::useLabel);
    connect(m_hours, &QLineEdit::returnPressed, this, &ApplianceDialog::useLabel);
    connect(m_allDay, &QCheckBox::toggled, this, [this](bool allDay) {
        if (allDay)
            m_hours->setText(m_regional.formatGeneral(24));
        m_hours->setEnabled(!allDay);
    });
    connect(m_useAppliance, &QPushButton::clicked, this, &ApplianceDialog::useAppliance);
    connect(m_useLabel, &QPushButton::clicked, this, &ApplianceDialog::useLabel);
}

bool ApplianceDialog::eventFilter(QObject* watched, QEvent* event)
{
    // Down from the search moves on to the list, as in a browser's address bar.
    if (watched == m_search && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Down) {
        m_list->setFocus();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

const Appliance& ApplianceDialog::appliance(const QListWidgetItem* item) const
{
    return m_appliances[static_cast<std::size_t>(m_list->row(item))];
}

void ApplianceDialog::filter()
{
    QListWidgetItem* first = nullptr;
    for (int row = 0; row < m_list->count(); ++row) {
        QListWidgetItem* item = m_list->item(row);
        item->setHidden(
            !matchesSearch(m_appliances[static_cast<std::size_t>(row)], m_search->text()));
        if (!first && !item->isHidden())
            first = item;
    }
    // Enter picks at once what the search narrowed down to.
    if (!m_list->currentItem() || m_list->currentItem()->isHidden())
        m_list->setCurrentItem(first);
    showSelected();
}

void ApplianceDialog::showSelected()
{
    const QListWidgetItem* item = m_list->currentItem();
    const bool shown = item && !item->isHidden();
    m_useAppliance->setEnabled(shown);
    m_source->setText(shown ? u"Figures: "_s + appliance(item).source : QString());
}

void ApplianceDialog::checkLabel()
{
    const LabelPower label = readLabel(m_regional, m_energy->text(), m_hours->text());
    m_useLabel->setEnabled(label.problem.isEmpty());
    // Nothing to complain of before the user starts on the label.
    const bool started = !m_energy->text().isEmpty() || !m_hours->text().isEmpty();
    m_labelProblem->setText(started ? label.problem : QString());
}

void ApplianceDialog::useAppliance()
{
    if (!m_useAppliance->isEnabled())
        return;
    m_choice = appliance(m_list->currentItem());
    accept();
}

void ApplianceDialog::useLabel()
{
    const LabelPower label = readLabel(m_regional, m_energy->text(), m_hours->text());
    if (!label.problem.isEmpty())
        return;
    m_choice = label;
    accept();
}

} // namespace torvane
