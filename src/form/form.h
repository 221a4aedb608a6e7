#pragma once

#include "control.h"

#include <initializer_list>
#include <vector>

namespace torvane {

// What a view hears from a window's model: every property change of a control, and
// the model's one-off requests to move the input focus.
class FormObserver : public ControlObserver {
public:
    virtual void focusRequested(const Control& control) = 0;
};

// A window as the program defines it, without a toolkit: its controls, each named, and
// its requests for the input focus. A view binds to it by the controls' names.
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

    // "Give the input focus to ...": a request the view carries out once; where the focus
    // goes afterwards (a click, Tab) is the view's affair.
    void requestFocus(const Control& control);
    const Control* lastFocusRequest() const { return m_focusRequest; }

protected:
    void addControls(std::initializer_list<Control*> controls);

private:
    std::vector<Control*> m_controls;
    const Control* m_focusRequest = nullptr;
    FormObserver* m_observer = nullptr;
};

} // namespace torvane
