#include "Delays.h"

#include "UiHooks.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QTimer>

void Delay(int milliseconds)
{
    if (milliseconds < 1 || Application::terminated())
        return;
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
