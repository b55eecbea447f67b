#include "RunningProgram.h"

#include "SingleInstance.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTest>
#include <algorithm>
#include <csignal>
#include <gtest/gtest.h>
#include <sys/prctl.h>

namespace {
// A request reaches a listening program at once.
constexpr int ConnectMs = 200;
}

QString builtProgram()
{
    const QString binFolder = qEnvironmentVariable("LUMAPROG_BIN_DIR");
    const QString program = binFolder + QStringLiteral("/lumaprog");
    if (!QFile::exists(program) || !QFile::exists(binFolder + QStringLiteral("/EN.lang.so")))
        return {};
    return program;
}

bool copyProgramFolder(const QString &binFolder, const QString &target)
{
    QStringList files = QDir(binFolder).entryList({QStringLiteral("*.lang.so")}, QDir::Files);
    files << QStringLiteral("lumaprog") << QStringLiteral("Microcontroller.kvt");
    if (!QDir(target).mkdir(QStringLiteral("Ressourcen")))
        return false;
    for (const QString &file : QDir(binFolder + QStringLiteral("/Ressourcen")).entryList(QDir::Files))
        files << QStringLiteral("Ressourcen/") + file;
    return std::ranges::all_of(files, [&](const QString &file) {
        return QFile::copy(binFolder + QLatin1Char('/') + file, target + QLatin1Char('/') + file);
    });
}

void startProgram(QProcess &process, const QString &program, const QString &configHome, const QStringList &arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), configHome);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QGuiApplication::platformName());
    process.setProcessEnvironment(environment);
    // SIGKILL ends a stopped program too.
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    process.start(program, arguments);
}

bool creationHandlerRan(const QString &settingsFile)
{
    return QString::fromUtf8(readFile(settingsFile)).contains(QStringLiteral("LastShowedPage"));
}

void expectAnEmptySettingsFolder(const QString &configHome)
{
    const QDir settings(configHome + QStringLiteral("/Kal-Works"));
    EXPECT_TRUE(settings.exists() && settings.entryList(QDir::Files).isEmpty());
}

bool raiseRunningProgram(int deadlineMs)
{
    RaiseRequest request;
    return request.send(ConnectMs)
           && QTest::qWaitFor([&] { return request.state() != RaiseRequest::State::Waiting; }, deadlineMs)
           && request.state() == RaiseRequest::State::Answered;
}
