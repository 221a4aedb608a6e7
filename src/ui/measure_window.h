#pragma once

#include "mainform/measured_fill.h"

#include <QDialog>

#include <atomic>

class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QThread;

namespace torvane {

class HourPicture;

// Reads a log of an appliance's measured power on a worker thread and fills one item of
// the main window with what it found, through MeasuredFill.
class MeasureWindow final : public QDialog {
    Q_OBJECT

public:
    MeasureWindow(FormContext& context, int item, QWidget* parent = nullptr);
    ~MeasureWindow() override;

    // Whether a reading is under way.
    bool reading() const { return m_worker != nullptr; }

Q_SIGNALS:
    // A reading ended, measured, refused or cancelled; the result is shown.
    void readingEnded();

protected:
    void reject() override;

private:
    QLayout* makeOptions();
    QLayout* makeButtons();
    void browse();
    void read();
    void cancel();
    void showProgress(int percent);
    void finishReading();
    void useFigures();
    void setReading(bool reading);

    MeasuredFill m_fill;
    QLineEdit* m_path;
    QLineEdit* m_cheap;
    QLineEdit* m_off;
    QLineEdit* m_standby;
    QLineEdit* m_gap;
    QPlainTextEdit* m_found;
    HourPicture* m_picture;
    QProgressBar* m_progress;
    QPushButton* m_browse;
    QPushButton* m_read;
    QPushButton* m_cancel;
    QPushButton* m_use;
    QThread* m_worker = nullptr;
    std::atomic<bool> m_cancelled{false};
    MeasuredUse m_pending; // written by the worker, read once it has ended
};

} // namespace torvane
