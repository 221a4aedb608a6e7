#pragma once

#include "control.h"

#include <initializer_list>
#include <memory>
#include <vector>

namespace torvane {

// What a view hears from a window's model: every property change of a control, and
// the model's one-off requests to move the input focus.
class FormObserver : public ControlObserver {
public:
    virtual void focusRequested(const Control& control) = 0;
};

// A window as the program defines it, without a toolkit: its controls, each named, and
// where the input focus is. A view binds to it by the controls' names.
class Form {
public:
    Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    virtual ~Form() = default;

    // Every control, in tab order, for views and for look-up by name.
    const std::vector<Control*>& controls() const { return m_controls; }
    Control* control(QStringView name) const;

    void setObserver(FormObserver* observer);

    // "Give the input focus to ...": a request that a view carries out once and reports
    // like any other move of the focus; without a view the focus goes there at once.
    void requestFocus(const Control& control);
    // The view reports where the focus went (a click, Tab, an accessibility tool, a
    // request): the control, or nullptr once it is on none of them.
    void focusMoved(const Control* control) { m_focus = control; }
    const Control* focus() const { return m_focus; }

    // Expires with the form: a view that may outlive its form (a window that goes after
    // the model it showed) asks it before it touches the form.
    std::weak_ptr<const Form*> lifetime() const { return m_lifetime; }

protected:
    void addControls(std::initializer_list<Control*> controls);

private:
    std::vector<Control*> m_controls;
    const Control* m_focus = nullptr;
    FormObserver* m_observer = nullptr;
    std::shared_ptr<const Form*> m_lifetime = std::make_shared<const Form*>(this);
};

} // namespace torvane
