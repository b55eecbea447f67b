#include "ExceptionGuard.h"

#include "UiServices.h"
#include "Utils.h"

#include <exception>

void ReportCurrentException()
{
    QString message;
    try {
        throw;
    } catch (const std::exception &error) {
        message = QString::fromUtf8(error.what());
    } catch (...) {
        message = Utility->UnknownErrorText();
    }
    uiServices().showError(QApplication::activeWindow(), QApplication::applicationDisplayName(),
                           message);
}

void Guarded(const std::function<void()> &handler)
{
    try {
        handler();
    } catch (...) {
        ReportCurrentException();
    }
}

LumaprogApplication::LumaprogApplication(int &argc, char **argv) : QApplication(argc, argv)
{
    setApplicationName(QString::fromLatin1(ProgramName));
}

bool LumaprogApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ReportCurrentException();
        return false;
    }
}
