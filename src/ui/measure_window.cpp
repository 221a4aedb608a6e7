#include "measure_window.h"
#include "hour_picture.h"
#include "named_widgets.h"

#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace torvane {
namespace {

QLineEdit* field(const QString& objectName, const QString& name, const QString& toolTip)
{
    auto* edit = named(new QLineEdit, objectName, name);
    edit->setToolTip(toolTip);
    return edit;
}

} // namespace

MeasureWindow::MeasureWindow(FormContext& context, int item, QWidget* parent)
    : QDialog(parent)
    , m_fill(context, item)
{
    setObjectName(u"frmMeasure"_s);
    setWindowTitle(QString::fromLatin1(MeasuredTitle));
    QLayout* options = makeOptions();
    m_found = named(new QPlainTextEdit, u"measuredFound"_s, u"What was found"_s);
    m_found->setReadOnly(true);
    m_picture = named(new HourPicture, u"measuredPicture"_s, u"Use by hour of the day"_s);
    m_progress = named(new QProgressBar, u"measuredProgress"_s, u"Reading progress"_s);
    m_progress->setRange(0, 100);
    m_progress->setVisible(false);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(options);
    layout->addWidget(m_found, 1);
    layout->addWidget(m_picture);
    layout->addWidget(m_progress);
    layout->addLayout(makeButtons());
    setReading(false);
    resize(600, 600);
}

MeasureWindow::~MeasureWindow()
{
    // The worker writes into this window: it must end before the window goes.
    m_cancelled = true;
    if (m_worker) {
        m_worker->wait();
        delete m_worker;
    }
}

QLayout* MeasureWindow::makeOptions()
{
    m_path = field(u"measuredFile"_s, u"File of measured power readings"_s,
                   u"File of measured power readings"_s);
    m_browse =
        namedButton(u"Browse..."_s, u"measuredBrowse"_s, u"Browse for the file of readings"_s);
    auto* file = new QHBoxLayout;
    file->addWidget(m_path, 1);
    file->addWidget(m_browse);
    m_cheap =
        field(u"measuredCheap"_s, u"Cheap rate hours"_s, u"Cheap rate hours, as HH:MM-HH:MM"_s);
    m_off = field(u"measuredOff"_s, u"Off below, watts"_s,
                  u"Powers below this are off (empty: 0.5 W)"_s);
    m_standby = field(u"measuredStandby"_s, u"Standby below, watts"_s,
                      u"Powers below this are standby (empty: found from the readings)"_s);
    m_gap = field(u"measuredGap"_s, u"Gap limit, minutes"_s,
                  u"A reading held longer than this is unknown time (empty: 60 minutes, none for a "
                  "state history)"_s);
    auto* form = new QFormLayout;
    form->addRow(u"File:"_s, file);
    form->addRow(u"Cheap rate hours:"_s, m_cheap);
    form->addRow(u"Off below (W):"_s, m_off);
    form->addRow(u"Standby below (W):"_s, m_standby);
    form->addRow(u"Gap limit (minutes):"_s, m_gap);
    connect(m_browse, &QPushButton::clicked, this, &MeasureWindow::browse);
    return form;
}

QLayout* MeasureWindow::makeButtons()
{
    m_read = namedButton(u"&Read"_s, u"measuredRead"_s, u"Read the file"_s);
    m_cancel = namedButton(u"&Cancel"_s, u"measuredCancel"_s, u"Cancel the reading"_s);
    m_use = namedButton(u"&Use These Figures"_s, u"measuredUse"_s,
                        u"Use these figures for item %1"_s.arg(m_fill.item()));
    auto* close = namedButton(u"C&lose"_s, u"measuredClose"_s, u"Close"_s);
    auto* row = new QHBoxLayout;
    row->addWidget(m_read);
    row->addWidget(m_cancel);
    row->addStretch(1);
    row->addWidget(m_use);
    row->addWidget(close);
    connect(m_read, &QPushButton::clicked, this, &MeasureWindow::read);
    connect(m_cancel, &QPushButton::clicked, this, &MeasureWindow::cancel);
    connect(m_use, &QPushButton::clicked, this, &MeasureWindow::useFigures);
    connect(close, &QPushButton::clicked, this, &MeasureWindow::reject);
    return row;
}

void MeasureWindow::browse()
{
    const QString path =
        QFileDialog::getOpenFileName(this, u"File of measured power readings"_s, m_path->text(),
                                     u"Readings (*.csv *.txt *.tsv);;All files (*)"_s);
    if (!path.isEmpty())
        m_path->setText(path);
}

void MeasureWindow::read()
{
    MeasureOptions options;
    const MeasureTexts texts{m_path->text(), m_cheap->text(), m_off->text(), m_standby->text(),
                             m_gap->text()};
    if (m_worker || !m_fill.prepare(texts, options))
        return;
    m_cancelled = false;
    m_found->clear();
    m_picture->setMeasured(std::nullopt, m_fill.regional());
    const QString path = texts.path.trimmed();
    // Called on the worker: hands the share read to the window's thread when it changes.
    auto progress = [this, last = -1](qint64 done, qint64 total) mutable {
        const int percent = total > 0 ? static_cast<int>(done * 100 / total) : 0;
        if (percent != last) {
            last = percent;
            QMetaObject::invokeMethod(
                this, [this, percent] { showProgress(percent); }, Qt::QueuedConnection);
        }
        return !m_cancelled.load();
    };
    m_worker = QThread::create([this, path, options, progress]() mutable {
        m_pending = MeasuredFill::measure(path, options, progress);
    });
    connect(m_worker, &QThread::finished, this, &MeasureWindow::finishReading);
    setReading(true);
    m_worker->start();
}

void MeasureWindow::cancel()
{
    m_cancelled = true;
}

void MeasureWindow::showProgress(int percent)
{
    m_progress->setValue(percent);
}

void MeasureWindow::finishReading()
{
    if (!m_worker)
        return;
    m_worker->wait();
    delete m_worker;
    m_worker = nullptr;
    m_fill.keep(std::move(m_pending));
    m_pending = MeasuredUse();
    m_found->setPlainText(m_fill.resultText());
    m_picture->setMeasured(m_fill.result(), m_fill.regional());
    setReading(false);
    Q_EMIT readingEnded();
}

void MeasureWindow::useFigures()
{
    if (m_fill.useFigures())
        accept();
}

void MeasureWindow::setReading(bool reading)
{
    m_progress->setVisible(reading);
    m_progress->setValue(0);
    m_read->setEnabled(!reading);
    m_browse->setEnabled(!reading);
    m_cancel->setEnabled(reading);
    m_use->setEnabled(!reading && !m_fill.figureTexts().isEmpty());
}

void MeasureWindow::reject()
{
    // Closing stops a reading rather than leaving it to run for nobody.
    m_cancelled = true;
    QDialog::reject();
}

} // namespace torvane
