#pragma once

#include "catalogue/appliance_catalogue.h"
#include "mainform/appliance_fill.h"

#include <QDialog>

#include <optional>
#include <variant>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLayout;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace torvane {

// Picks what goes into one item: an appliance of the catalogue, found by typing words of
// its name or category, or the on power worked out from an energy label. It leaves the
// window's fields alone; the caller fills the item with the choice.
class ApplianceDialog final : public QDialog {
    Q_OBJECT

public:
    using Choice = std::variant<Appliance, LabelPower>;

    ApplianceDialog(std::vector<Appliance> appliances, int item, const Regional& regional,
                    QWidget* parent = nullptr);

    // Set once the user chose; empty when the dialog was cancelled.
    const std::optional<Choice>& choice() const { return m_choice; }
    // Whether the appliance chosen is one the household has or one it would buy.
    Ownership ownership() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The dialog's parts, made by the constructor.
    void makeList();
    QLayout* makeOwnership(int item);
    QGroupBox* makeEnergyLabel();
    QLayout* makeButtons();
    void connectControls();
    const Appliance& appliance(const QListWidgetItem* item) const;
    void filter();
    void showSelected();
    void checkLabel();
    void useAppliance();
    void useLabel();

    std::vector<Appliance> m_appliances;
    const Regional& m_regional;
    std::optional<Choice> m_choice;
    QLineEdit* m_search;
    QListWidget* m_list;
    QLabel* m_source;
    QCheckBox* m_owned;
    QLineEdit* m_energy;
    QLineEdit* m_hours;
    QCheckBox* m_allDay;
    QLabel* m_labelProblem;
    QPushButton* m_useAppliance;
    QPushButton* m_useLabel;
};

} // namespace torvane
