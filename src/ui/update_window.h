#pragma once

#include "form_binding.h"

#include <QWidget>

namespace torvane {

class UpdateForm;

// The update window on screen, frmUpdater: the outcome lines, the page buttons and the
// maker's logo, bound to the model. It goes when the model unloads.
class UpdateWindow final : public QWidget {
    Q_OBJECT

public:
    explicit UpdateWindow(UpdateForm& form, QWidget* parent = nullptr);

protected:
    // Closing the window is the Exit button.
    void closeEvent(QCloseEvent* event) override;

private:
    UpdateForm& m_form;
    FormBinding m_binding;
};

} // namespace torvane
