#include "update_window.h"

#include "app/update_form.h"
#include "logo.h"

#include <QCloseEvent>
#include <QGridLayout>

using namespace Qt::StringLiterals;

namespace torvane {

UpdateWindow::UpdateWindow(UpdateForm& form, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , m_form(form)
    , m_binding(form)
{
    setObjectName(u"frmUpdater"_s);
    setWindowTitle(form.Caption);
    setAttribute(Qt::WA_DeleteOnClose);
    auto* grid = new QGridLayout(this);
    grid->addWidget(makeLogo([&form] { form.openMakerHomePage(); }), 0, 0, 3, 1);
    grid->addWidget(m_binding.widget(form.Status), 0, 1, 1, 3);
    grid->addWidget(m_binding.widget(form.Message), 1, 1, 1, 3);
    grid->addWidget(m_binding.widget(form.UVersion), 2, 1, 1, 3);
    int at = 0;
    for (Button* button :
         {&form.Contact, &form.Download, &form.History, &form.KIssues, &form.WebSite, &form.Exit})
        grid->addWidget(m_binding.widget(*button), 3 + at / 3, 1 + at % 3), ++at;
    m_binding.setAccessibleName(form.Status, u"Outcome"_s);
    m_binding.setAccessibleName(form.Message, u"Explanation"_s);
    m_binding.setAccessibleName(form.UVersion, u"Version of this copy"_s);
    QWidget* park = m_binding.widget(form.Park);
    park->setParent(this);
    park->setFixedSize(0, 0);
    park->setFocusPolicy(Qt::ClickFocus);
    m_binding.setAccessibleName(form.Park, u"Torvane Update Check"_s);
    m_binding.setTabOrder();
    connect(&form, &UpdateForm::unloadRequested, this, &QWidget::close);
}

void UpdateWindow::closeEvent(QCloseEvent* event)
{
    if (!m_form.unloaded())
        m_form.Exit.click();
    event->accept();
}

} // namespace torvane
