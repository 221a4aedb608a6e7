#include "about_dialog.h"

#include "app/about_form.h"
#include "logo.h"

#include <QLabel>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace torvane {

AboutDialog::AboutDialog(AboutForm& form, bool onTop, QWidget* parent)
    : QDialog(parent)
    , m_binding(form)
{
    setObjectName(u"frmAbout"_s);
    setWindowTitle(u"About Torvane"_s);
    // Set before it is shown: changing the band hides a window, which would end the dialog.
    if (onTop)
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
    auto* layout = new QVBoxLayout(this);
    auto* logo = new QLabel;
    logo->setPixmap(logoPicture(64, devicePixelRatioF()));
    logo->setAccessibleName(u"Torvane logo"_s);
    layout->addWidget(logo, 0, Qt::AlignHCenter);
    QWidget* name = m_binding.widget(form.ProgName);
    QFont large = name->font();
    large.setPointSizeF(large.pointSizeF() * 1.6);
    large.setBold(true);
    name->setFont(large);
    for (Control* control :
         {static_cast<Control*>(&form.ProgName), static_cast<Control*>(&form.ProgVersion),
          static_cast<Control*>(&form.WebSite), static_cast<Control*>(&form.ExitAbout)})
        layout->addWidget(m_binding.widget(*control), 0, Qt::AlignHCenter);
    QWidget* park = m_binding.widget(form.Park);
    park->setParent(this);
    park->setFixedSize(0, 0);
    park->setFocusPolicy(Qt::ClickFocus);
    m_binding.setAccessibleName(form.Park, u"About Torvane"_s);
    park->setFocus();
    connect(&form, &AboutForm::exitRequested, this, &QDialog::accept);
}

} // namespace torvane
