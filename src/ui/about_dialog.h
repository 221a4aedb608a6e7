#pragma once

#include <QDialog>

namespace torvane {

class TorvaneMain;

// The About window: the program's name and version, and the maker's web site as a link.
class AboutDialog final : public QDialog {
    Q_OBJECT

public:
    AboutDialog(TorvaneMain& main, QWidget* parent = nullptr);

private:
    TorvaneMain& m_main;
};

} // namespace torvane
