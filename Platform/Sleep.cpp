#include "Sleep.h"

#include <QThread>

namespace {
std::function<void(int)> &sleeper()
{
    static std::function<void(int)> function;
    return function;
}
}

void SleepMs(int milliseconds)
{
    if (sleeper())
        sleeper()(milliseconds);
    else if (milliseconds > 0)
        QThread::msleep(static_cast<unsigned long>(milliseconds));
}

void setSleepFunction(std::function<void(int)> function)
{
    sleeper() = std::move(function);
}
