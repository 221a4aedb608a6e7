#pragma once

#include "core/program_folder.h"
#include "form/form.h"

#include <QObject>

namespace torvane {

// The About window's model: the program's name and version, and the maker's web address
// as a link to the home page.
class AboutForm final : public QObject, public Form {
    Q_OBJECT

public:
    explicit AboutForm(ProgramFolder& folder, QObject* parent = nullptr);

    Label ProgName, ProgVersion, WebSite;
    Button ExitAbout;
    TextBox Park; // holds the focus, so that no button looks selected

Q_SIGNALS:
    void exitRequested();
};

} // namespace torvane
