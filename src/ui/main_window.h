#pragma once

#include "calc/main_form.h"

#include <QHash>
#include <QWidget>

class QGridLayout;
class QLabel;
class QTimer;

namespace torvane {

class TorvaneMain;

// The main window on screen: a widget for every control of the model, named after it,
// mirroring it and forwarding the user's edits and clicks. It holds no logic.
class MainWindow final : public QWidget, private ControlObserver {
    Q_OBJECT

public:
    explicit MainWindow(TorvaneMain& main, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Moves the keyboard focus where the model put it.
    void followFocus();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void controlChanged(const Control& control) override;
    QWidget* widgetFor(Control& control);
    QWidget* area(FormArea area, QGridLayout*& grid);
    void placeOnTop(bool onTop);
    void buildLayout();

    TorvaneMain& m_main;
    QHash<const Control*, QWidget*> m_widgets;
    QTimer* m_statusTimer;
    bool m_shown = false;
};

} // namespace torvane
