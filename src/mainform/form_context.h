#pragma once

#include "core/clock.h"
#include "core/desktop.h"
#include "core/regional.h"
#include "core/runtime_error.h"
#include "core/test_mode.h"
#include "main_form.h"

namespace torvane {

// The main window's procedures that live with the results log and the error report;
// the application implements them, tests record the calls.
class FormServices {
public:
    virtual ~FormServices() = default;
    // Appends PendingLogText to the results log.
    virtual void appendPendingLogText() = 0;
    // Shows a status message in the status line (and in a box in some test modes).
    virtual void showStatusMessage(const QString& message) = 0;
    // Reports a fatal run-time error and ends the program. Never returns.
    [[noreturn]] virtual void reportFatalError(const QString& title, qint16 step) = 0;
};

// What the main window's procedures work on: the form and the services they use.
struct FormContext {
    MainForm& form;
    const Regional& regional;
    Desktop& desktop;
    FormServices& services;
    const Clock& clock;
    TestMode testMode;

    // The number a field's text begins with.
    double num(const TextBox& field) const;
    QString gen(double value) const { return regional.formatGeneral(value); }
    QString fixed(double value, int decimals) const
    {
        return regional.formatFixed(value, decimals);
    }
};

// Runs a procedure that has an error title: a run-time error in it goes to the fatal
// report with that title and the step reached.
template <typename Body> void withErrorTrap(FormContext& context, const char* title, Body&& body)
{
    try {
        body();
    } catch (const RuntimeError&) {
        context.services.reportFatalError(QString::fromLatin1(title), context.form.StepNumber);
    }
}

} // namespace torvane
