#include "BenchWindow.h"

#include "Sleep.h"
#include "Utils.h"
#include "uMain.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QWindow>

namespace {
constexpr int WaitTimeoutMs = 10000;
constexpr int EventSliceMs = 1;
}

QString RecordingUi::saveFileName(QWidget *, const FileDialogRequest &request)
{
    note(QStringLiteral("file dialog: ") + request.title);
    return {};
}

QString RecordingUi::openFileName(QWidget *, const FileDialogRequest &request)
{
    note(QStringLiteral("file dialog: ") + request.title);
    return {};
}

bool RecordingUi::note(const QString &text)
{
    if (firstMessage.isEmpty())
        firstMessage = text;
    return false;
}

WindowEnvironment::WindowEnvironment()
{
    qputenv("XDG_CONFIG_HOME", m_configHome.path().toLocal8Bit());
    TUtility::SetExeFolderOverride(QStringLiteral(LUMAPROG_BIN_DIR));
    setSleepFunction([](int) {});
    setUiHooks(&m_hooks);
    setUiServices(&ui);
    PortableMode = false;
    OperationIdle = true;
}

WindowEnvironment::~WindowEnvironment()
{
    setUiServices(nullptr);
    setUiHooks(nullptr);
    setSleepFunction({});
    TUtility::SetExeFolderOverride(QString());
}

bool PaintWatch::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint)
        painted = true;
    return QObject::eventFilter(watched, event);
}

bool waitUntil(const std::function<bool()> &done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.hasExpired(WaitTimeoutMs))
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, EventSliceMs);
    }
    return true;
}

bool showUntilPainted(QWidget &window)
{
    PaintWatch paint;
    window.installEventFilter(&paint);
    window.show();
    const bool painted = waitUntil([&] {
        return paint.painted && window.windowHandle() && window.windowHandle()->isExposed();
    });
    window.removeEventFilter(&paint);
    return painted;
}
