#pragma once

// The built program started as a user starts it, each start with a settings
// folder of its own, and the running program asked to come to the front.
#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

// A whole start of the program, splash and definitions included, on a busy machine.
constexpr int StartMs = 30000;

// Sets an environment variable (unsets it for a null value) while it lives.
struct EnvironmentValue {
    EnvironmentValue(const char *name, const QByteArray &value) : name(name), saved(qgetenv(name)) { set(value); }
    ~EnvironmentValue() { set(saved); }
    void set(const QByteArray &value) const { value.isNull() ? qunsetenv(name) : qputenv(name, value); }
    const char *name;
    QByteArray saved;
};

// The built program, or an empty text when it and its languages are not built.
QString builtProgram();
// The built program with what it loads at run time, copied into a folder of its own.
bool copyProgramFolder(const QString &binFolder, const QString &target);
// Starts the program on the test's own platform with a settings folder of
// its own. It ends with the test program, whatever ends that: a stopped
// program is not left behind.
void startProgram(QProcess &process, const QString &program, const QString &configHome,
                  const QStringList &arguments = {});
// Whether a started program's creation handler has run: the restored page
// is the last thing it writes into its settings.
bool creationHandlerRan(const QString &settingsFile);
// The language lookup before the settings are read creates the per-user
// settings folder; nothing may be written into it.
void expectAnEmptySettingsFolder(const QString &configHome);
// Asks the running program on this desktop to come to the front; true once
// it has answered. The test's own events run meanwhile, for a running
// program inside the test.
bool raiseRunningProgram(int deadlineMs = 5000);
