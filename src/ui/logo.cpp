#include "logo.h"

using namespace Qt::StringLiterals;

namespace torvane {

QPushButton* makeLogo(const std::function<void()>& open)
{
    auto* logo = new QPushButton(u"Marnoft"_s);
    logo->setObjectName(u"Logo"_s);
    logo->setFlat(true);
    logo->setToolTip(u"Visit the Marnoft web site"_s);
    logo->setAccessibleName(u"Visit the Marnoft web site"_s);
    logo->setFocusPolicy(Qt::NoFocus);
    QObject::connect(logo, &QPushButton::clicked, logo, open);
    return logo;
}

} // namespace torvane
