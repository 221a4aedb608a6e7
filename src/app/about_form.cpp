#include "about_form.h"

#include "core/version.h"

using namespace Qt::StringLiterals;

namespace torvane {

AboutForm::AboutForm(ProgramFolder& folder, QObject* parent)
    : QObject(parent)
    , ProgName(u"ProgName"_s, u"Torvane"_s)
    , ProgVersion(u"ProgVersion"_s, u"Version "_s + versionText())
    , WebSite(u"WebSite"_s, folder.siteAddress())
    , ExitAbout(u"ExitAbout"_s, u"&Exit"_s, u"Close About Screen"_s)
    , Park(u"Park"_s, QString())
{
    addControls({&ProgName, &ProgVersion, &WebSite, &ExitAbout, &Park});
    WebSite.onClick = [&folder] {
        folder.openWebPage(QString());
    };
    ExitAbout.onClick = [this] {
        Q_EMIT exitRequested();
    };
}

} // namespace torvane
