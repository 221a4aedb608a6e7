#include "about_dialog.h"

#include "app/torvane_main.h"
#include "core/version.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace torvane {

AboutDialog::AboutDialog(TorvaneMain& main, QWidget* parent)
    : QDialog(parent)
    , m_main(main)
{
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About Torvane"));
    // It follows the main window into the always-on-top band. Set before it is shown:
    // changing the band hides a window, which would end the dialog.
    if (m_main.settings.RunOnTopSetting == 2)
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
    auto* layout = new QVBoxLayout(this);
    auto* name = new QLabel(QStringLiteral("Torvane"));
    name->setObjectName(QStringLiteral("ProgName"));
    QFont large = name->font();
    large.setPointSizeF(large.pointSizeF() * 1.6);
    large.setBold(true);
    name->setFont(large);
    auto* version = new QLabel(QStringLiteral("Version ") + versionText());
    version->setObjectName(QStringLiteral("ProgVersion"));
    auto* site = new QLabel(QStringLiteral("<a href=\"home\">www.marnoft.example</a>"));
    site->setObjectName(QStringLiteral("WebSite"));
    connect(site, &QLabel::linkActivated, this, [this] { m_main.folder.OpenWebPage(QString()); });
    auto* exit = new QPushButton(QStringLiteral("&Exit"));
    exit->setObjectName(QStringLiteral("ExitAbout"));
    exit->setToolTip(QStringLiteral("Close About Screen"));
    connect(exit, &QPushButton::clicked, this, &QDialog::accept);
    for (QWidget* widget : {static_cast<QWidget*>(name), static_cast<QWidget*>(version),
                            static_cast<QWidget*>(site), static_cast<QWidget*>(exit)})
        layout->addWidget(widget, 0, Qt::AlignHCenter);
    // Holds the focus so that no button looks selected.
    auto* park = new QLineEdit(this);
    park->setObjectName(QStringLiteral("Park"));
    park->setFixedSize(0, 0);
    park->setFocus();
}

} // namespace torvane
