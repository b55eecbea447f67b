#include "Delays.h"

#include "UiHooks.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

namespace {
std::function<void(int)> &observer()
{
    static std::function<void(int)> function;
    return function;
}
}

void Delay(int milliseconds)
{
    if (milliseconds < 1 || Application::terminated())
        return;
    if (observer())
        observer()(milliseconds);
    const QDeadlineTimer deadline(milliseconds, Qt::PreciseTimer);
    // The timer only wakes the wait below when no event comes before the deadline.
    QTimer wake;
    wake.setSingleShot(true);
    wake.setTimerType(Qt::PreciseTimer);
    while (!deadline.hasExpired() && !Application::terminated()) {
        if (!wake.isActive())
            wake.start(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    }
}

void setDelayObserver(std::function<void(int)> function)
{
    observer() = std::move(function);
}
