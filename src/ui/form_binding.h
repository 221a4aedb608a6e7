#pragma once

#include "form/form.h"

#include <QHash>
#include <QObject>

#include <vector>

class QWidget;

namespace torvane {

// Binds a window's model to Qt widgets: each control gets a widget named after it that
// mirrors its properties, and what the user does reaches the model. Every change of a
// field's text that the program did not make (typing, pasting, undo, an input method, an
// accessibility tool) reaches the model once, as the user's change; a focus request from
// the model moves the focus once, and every move of the focus is reported back.
class FormBinding final : public QObject, private FormObserver {
    Q_OBJECT

public:
    explicit FormBinding(Form& form, QObject* parent = nullptr);
    ~FormBinding() override;

    // The control's widget, made on first use: a line edit (a FittedLineEdit, which a view
    // may size to its texts), label, push button or check box, named after the control.
    // Output fields are read-only.
    QWidget* widget(Control& control);

    // The name a screen reader gives the control: what a sighted user reads beside it.
    // With a label, its caption (without the access-key "&") stands between the two
    // texts, and the name follows the caption as it changes.
    void setAccessibleName(Control& control, const QString& name);
    void setAccessibleName(Control& control, const QString& before, const Control& label,
                           const QString& after = QString());

    // Tab order as the model lists its controls, over those that take the focus by Tab.
    void setTabOrder();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A new widget for each kind of control, wired so that what the user does reaches it.
    QWidget* makeTextField(TextBox& box);
    QWidget* makeLabel(Label& label);
    QWidget* makeButton(Button& button);
    QWidget* makeCheckBox(CheckBox& check);
    void controlChanged(const Control& control) override;
    void focusRequested(const Control& control) override;
    void rename(const Control& label);

    struct LabelledName {
        Control* control;
        QString before;
        const Control* label;
        QString after;
    };

    Form& m_form;
    std::weak_ptr<const Form*> m_formAlive;
    QHash<const Control*, QWidget*> m_widgets;
    QHash<const QWidget*, const Control*> m_controls;
    std::vector<LabelledName> m_names;
};

} // namespace torvane
