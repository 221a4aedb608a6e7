#include "form.h"

namespace torvane {

Control* Form::control(QStringView name) const
{
    for (Control* control : m_controls) {
        if (control->name() == name)
            return control;
    }
    return nullptr;
}

void Form::setObserver(FormObserver* observer)
{
    m_observer = observer;
    for (Control* control : m_controls)
        control->setObserver(observer);
}

void Form::requestFocus(const Control& control)
{
    if (m_observer)
        m_observer->focusRequested(control);
    else
        m_focus = &control;
}

void Form::addControls(std::initializer_list<Control*> controls)
{
    m_controls.insert(m_controls.end(), controls);
}

} // namespace torvane
