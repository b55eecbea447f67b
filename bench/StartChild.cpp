#include "StartChild.h"

#include "BenchWindow.h"
#include "ExceptionGuard.h"
#include "ProgramStart.h"

#include <QApplication>
#include <QMainWindow>

#include <cstring>
#include <unistd.h>

namespace {
int report(const QString &failure)
{
    const QByteArray line = (failure.isEmpty() ? QByteArrayLiteral("shown") : failure.toUtf8()) + '\n';
    const bool written = ::write(STDOUT_FILENO, line.constData(), size_t(line.size())) == line.size();
    return failure.isEmpty() && written ? 0 : 1;
}

int startProgram(int argc, char **argv)
{
    LumaprogApplication application(argc, argv);
    application.setQuitOnLastWindowClosed(false);
    WindowEnvironment environment;
    if (!environment.valid())
        return report(QStringLiteral("no temporary settings folder"));
    StartupTimes times;
    std::optional<StartedWindows> windows;
    const QString failure = startOnce(times, windows);
    const int result = report(failure.isEmpty() ? environment.ui.firstMessage : failure);
    endStart(windows);
    return result;
}

int startBareWindow(int argc, char **argv)
{
    QApplication application(argc, argv);
    QMainWindow window;
    window.resize(TMainFrm::MinimumWidth, TMainFrm::MinimumHeight);
    return report(showUntilPainted(window) ? QString() : QStringLiteral("the bare window was not painted in time"));
}
}

std::optional<int> RunStartChild(int argc, char **argv)
{
    if (argc < 2)
        return std::nullopt;
    if (std::strcmp(argv[1], StartChildProgram) == 0)
        return startProgram(argc, argv);
    if (std::strcmp(argv[1], StartChildBare) == 0)
        return startBareWindow(argc, argv);
    return std::nullopt;
}
