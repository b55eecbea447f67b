// module_sim as a user runs it: it names the command that presses the
// module's reset, and a line on its input presses it as well.
#include "SerialPort.h"
#include "SimulatorDefaults.h"

#include <QProcess>
#include <QScopeGuard>
#include <gtest/gtest.h>

namespace {
// Bounds for a busy machine, not measures: the simulator answers at once.
constexpr int LineWaitMs = 10000;
constexpr int AnswerWaitMs = 5000;
// How long a module still in its application is given to stay silent.
constexpr int SilenceMs = 200;
constexpr int IdentificationSize = 256;
constexpr int BootloaderBaud = 250000;
const std::string ResetLine = "reset pressed: the module's bootloader answers";

std::string nextLine(QProcess &process)
{
    while (!process.canReadLine()) {
        if (!process.waitForReadyRead(LineWaitMs))
            return "(no line; stderr: " + process.readAllStandardError().toStdString() + ")";
    }
    return process.readLine().chopped(1).toStdString();
}

// The module's answer to one handshake, as much as came within waitMs.
QByteArray handshake(SerialPort &host, int waitMs)
{
    host.flushInput();
    host.write("IS", 2);
    host.setReadTimeout(waitMs);
    QByteArray answer(IdentificationSize, '\0');
    answer.truncate(host.read(answer.data(), IdentificationSize));
    return answer;
}
}

TEST(ModuleSimProgram, NamesItsResetCommandAndTakesALineOnItsInputAsTheReset)
{
    QProcess sim;
    sim.start(QStringLiteral(MODULE_SIM), {});
    ASSERT_TRUE(sim.waitForStarted());
    const auto end = qScopeGuard([&] {
        sim.kill();
        sim.waitForFinished();
    });
    const std::string port = nextLine(sim);
    const std::string command = "kill -USR1 " + std::to_string(sim.processId());
    EXPECT_EQ(nextLine(sim), "press the module's reset: Enter here, or " + command);

    SerialPort host;
    host.setPortName(QString::fromStdString(port));
    host.setBaudRate(BootloaderBaud);
    host.open();
    EXPECT_EQ(handshake(host, SilenceMs), QByteArray()) << "the module answered before its reset";
    const QByteArray identification = QByteArray("DT\0", 3) + SimulatorDefaults::ModuleIdentifier;

    sim.write("\n");
    EXPECT_EQ(nextLine(sim), ResetLine);
    EXPECT_TRUE(handshake(host, AnswerWaitMs).startsWith(identification));

    // Started, the module's application ignores the handshake until the printed command resets it.
    host.write("IE", 2);
    char started = 0;
    EXPECT_EQ(host.read(&started, 1), 1);
    EXPECT_EQ(handshake(host, SilenceMs), QByteArray()) << "the started application answered";
    EXPECT_EQ(QProcess::execute(QStringLiteral("sh"), {QStringLiteral("-c"), QString::fromStdString(command)}), 0);
    EXPECT_EQ(nextLine(sim), ResetLine);
    EXPECT_TRUE(handshake(host, AnswerWaitMs).startsWith(identification));

    sim.closeWriteChannel();  // the end of its input leaves the simulator serving
    EXPECT_FALSE(sim.waitForFinished(SilenceMs));
    sim.terminate();
    EXPECT_TRUE(sim.waitForFinished(LineWaitMs));
    EXPECT_EQ(std::pair(sim.exitStatus(), sim.exitCode()), std::pair(QProcess::NormalExit, 0));
}
