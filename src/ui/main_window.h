#pragma once

#include "form_binding.h"
#include "mainform/main_form.h"

#include <QWidget>

class QGridLayout;
class QLayout;
class QScrollArea;

namespace torvane {

class MainController;

// The main window on screen: the model's controls laid out in their four coloured areas,
// bound to it, scrolled where the screen is smaller than they are. It holds no logic of its
// own.
class MainWindow final : public QWidget {
    Q_OBJECT

public:
    explicit MainWindow(MainController& main, QWidget* parent = nullptr);
    void setVisible(bool visible) override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QWidget* area(FormArea area, QGridLayout*& grid);
    void placeOnTop(bool onTop);
    void showAbout();
    void showChart();
    void makeScrolled();
    void buildLayout();
    // The window's parts, top to bottom; each area's grid is filled from a table of its
    // captions and controls.
    QLayout* titleBar();
    QWidget* hoursArea();
    QWidget* electricityDataArea();
    QWidget* comparisonArea();
    QWidget* resultsArea();
    QLayout* buttonGrid();
    // Each input field at least as wide as the widest text its check accepts, each result
    // field as wide as what it shows.
    void fitFields();
    // The size the window opens at: no larger than the room on its screen.
    QSize firstSize() const;
    void nameControls();

    MainController& m_main;
    FormBinding m_binding;
    bool m_shown = false;
    QWidget* m_chart = nullptr;
    QScrollArea* m_scroll = nullptr;
    QWidget* m_content = nullptr;
};

} // namespace torvane
