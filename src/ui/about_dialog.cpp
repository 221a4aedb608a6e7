#include "about_dialog.h"

#include "app/torvane_main.h"
#include "core/version.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace torvane {

AboutDialog::AboutDialog(TorvaneMain& main, QWidget* parent)
    : QDialog(parent)
    , m_main(main)
{
    setObjectName(u"frmAbout"_s);
    setWindowTitle(u"About Torvane"_s);
    // It follows the main window into the always-on-top band. Set before it is shown:
    // changing the band hides a window, which would end the dialog.
    if (m_main.settings.RunOnTopSetting == 2)
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
    auto* layout = new QVBoxLayout(this);
    auto* name = new QLabel(u"Torvane"_s);
    name->setObjectName(u"ProgName"_s);
    QFont large = name->font();
    large.setPointSizeF(large.pointSizeF() * 1.6);
    large.setBold(true);
    name->setFont(large);
    auto* version = new QLabel(u"Version "_s + versionText());
    version->setObjectName(u"ProgVersion"_s);
    auto* site = new QLabel(u"<a href=\"home\">www.marnoft.example</a>"_s);
    site->setObjectName(u"WebSite"_s);
    connect(site, &QLabel::linkActivated, this, [this] { m_main.folder.OpenWebPage(QString()); });
    auto* exit = new QPushButton(u"&Exit"_s);
    exit->setObjectName(u"ExitAbout"_s);
    exit->setToolTip(u"Close About Screen"_s);
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);
    for (QWidget* widget : {static_cast<QWidget*>(name), static_cast<QWidget*>(version),
                            static_cast<QWidget*>(site), static_cast<QWidget*>(exit)})
        layout->addWidget(widget, 0, Qt::AlignHCenter);
    // Holds the focus so that no button looks selected.
    auto* park = new QLineEdit(this);
    park->setObjectName(u"Park"_s);
    park->setFixedSize(0, 0);
    park->setFocus();
}

} // namespace torvane
