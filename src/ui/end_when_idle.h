#pragma once

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <utility>

namespace torvane {

// Ends the program once its window is up and nothing is left to do: after the window's
// first paint, as soon as a pass of the event loop finds nothing waiting (no posted event,
// no timer due, no window-system event). Start-up is measured to that point. It is all in
// this header so that the start-up benchmark's bare window ends by the very same rule
// without linking the program.
class EndWhenIdle final : public QObject {
public:
    EndWhenIdle(QWidget& window, std::function<void()> end)
        : QObject(&window)
        , m_end(std::move(end))
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && !m_painted) {
            m_painted = true;
            QTimer::singleShot(0, this, [this] {
                // Posted events first, those queued before this call too (the event loop
                // would not hand them to a nested pass), then whatever else is due.
                auto* dispatcher = QAbstractEventDispatcher::instance();
                do
                    QCoreApplication::sendPostedEvents();
                while (dispatcher->processEvents(QEventLoop::AllEvents));
                m_end();
            });
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> m_end;
    bool m_painted = false;
};

} // namespace torvane
