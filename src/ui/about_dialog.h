#pragma once

#include "form_binding.h"

#include <QDialog>

namespace torvane {

class AboutForm;

// The About window on screen: the program's name and version, and the maker's web site
// as a link. It follows the main window into the always-on-top band.
class AboutDialog final : public QDialog {
    Q_OBJECT

public:
    AboutDialog(AboutForm& form, bool onTop, QWidget* parent = nullptr);

private:
    FormBinding m_binding;
};

} // namespace torvane
