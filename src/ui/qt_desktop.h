#pragma once

#include "core/desktop.h"
#include "core/program_launcher.h"

class QWidget;

namespace torvane {

// The desktop as the toolkit provides it: modal message boxes over the main window, the
// user's browser and viewers, and the immediate end of the process.
class QtDesktop final : public Desktop {
public:
    void setParentWindow(QWidget* parent) { m_parent = parent; }

    MessageAnswer messageBox(const QString& text, const QString& title, MessageIcon icon,
                             MessageButtons buttons) override;
    void openUrl(const QString& url, std::function<void()> whenFailed) override;
    QString saveFileName(const QString& title, const QString& name, const QString& filter) override;

protected:
    void quit() override;

private:
    QWidget* dialogParent() const;

    QWidget* m_parent = nullptr;
    QString m_saveFolder; // where the user last saved, for the next save
    ProgramLauncher m_launcher;
};

} // namespace torvane
