#include "UiHooks.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QTextStream>

namespace {
class StandardErrorHooks : public UiHooks {
public:
    void showError(const QString &title, const QString &text) override
    {
        QTextStream(stderr) << title << ": " << text << Qt::endl;
    }
    void showMessage(const QString &text) override { QTextStream(stderr) << text << Qt::endl; }
    void setBusyCursor(bool) override {}
};

StandardErrorHooks standardErrorHooks;
UiHooks *installedHooks = nullptr;
bool terminateRequested = false;
}

void setUiHooks(UiHooks *hooks)
{
    installedHooks = hooks;
}

UiHooks &uiHooks()
{
    return installedHooks ? *installedHooks : standardErrorHooks;
}

namespace Application {
void terminate()
{
    terminateRequested = true;
    // A queued quit also works before exec(): it runs as soon as the loop starts.
    if (auto *app = QCoreApplication::instance())
        QMetaObject::invokeMethod(app, &QCoreApplication::quit, Qt::QueuedConnection);
}

bool terminated()
{
    return terminateRequested;
}

void resetTerminated()
{
    terminateRequested = false;
}
}
