// Second starts of the built program on a desktop with a window manager, as
// the user makes them from a menu or a terminal: the running program's main
// window comes to the front, and a running program that is stopped is
// reported to the user.
#include "GuiFixture.h"
#include "OtherProgram.h"
#include "RunningProgram.h"
#include "XWindows.h"

#include <csignal>
#include <memory>

namespace {
// A bound only: a busy machine may be slow to start a program.
constexpr int Deadline = 60000;
// A start's status when the running program never answered.
constexpr int RunningProgramSilent = 2;
constexpr int RunningProgramSilentText = 7310;

// Stops a process while it lives: it goes on however the test ends.
class StoppedProcess {
public:
    explicit StoppedProcess(qint64 pid) : m_pid(pid_t(pid)), m_stopped(::kill(m_pid, SIGSTOP) == 0) {}
    ~StoppedProcess()
    {
        if (m_stopped)
            ::kill(m_pid, SIGCONT);
    }
    StoppedProcess(const StoppedProcess &) = delete;
    StoppedProcess &operator=(const StoppedProcess &) = delete;

    bool stopped() const { return m_stopped; }

private:
    pid_t m_pid;
    bool m_stopped;
};

class SecondStartTest : public GuiTest {
protected:
    // One start of the program, with a settings folder of its own; ended with the test.
    struct Start {
        ~Start()
        {
            process.kill();
            process.waitForFinished();
        }
        QTemporaryDir config;
        QProcess process;
        qint64 pid() const { return process.processId(); }
        bool ended() const { return process.state() == QProcess::NotRunning; }
        // The status it ended with by itself; -1 while it runs or after a crash.
        int status() const
        {
            return ended() && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        }
        std::string errors() { return "stderr: " + process.readAllStandardError().toStdString(); }
    };

    void SetUp() override
    {
        GuiTest::SetUp();
        program = builtProgram();
        if (program.isEmpty())
            GTEST_SKIP() << "the program and its language libraries are not built";
        // The texts of a start without settings, which speaks English.
        writeOptions({{"LanguageID", "EN"}});
        caption = Utility->Text(0);
        silentText = Utility->Text(RunningProgramSilentText);
        writeOptions({{"LanguageID", "TT"}});
    }

    std::unique_ptr<Start> launch()
    {
        auto start = std::make_unique<Start>();
        startProgram(start->process, program, start->config.path());
        return start;
    }

    // The main window of a running program has the focus.
    bool mainWindowFocused(const Start &running) const
    {
        const WId focus = inputFocus();
        return windowProcess(focus) == running.pid() && windowTitle(focus).contains(caption);
    }

    std::string focusedWindow() const { return "focus on: " + windowTitle(inputFocus()).toStdString(); }

    static bool endsWithin(const Start &start, int ms)
    {
        return QTest::qWaitFor([&] { return start.ended(); }, ms);
    }

    QString program;
    QString caption;
    QString silentText;
};
}

TEST_F(SecondStartTest, WithAnotherProgramInFrontASecondStartBringsTheMainWindowToTheFront)
{
    const auto running = launch();
    ASSERT_TRUE(QTest::qWaitFor([&] { return mainWindowFocused(*running); }, Deadline)) << focusedWindow();
    OtherProgram other;
    ASSERT_TRUE(other.start(Deadline));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !mainWindowFocused(*running); }, Deadline));

    const auto second = launch();
    ASSERT_TRUE(endsWithin(*second, Deadline));
    EXPECT_EQ(second->status(), 0) << second->errors();
    EXPECT_TRUE(QTest::qWaitFor([&] { return mainWindowFocused(*running); }, Deadline)) << focusedWindow();
    expectAnEmptySettingsFolder(second->config.path());
}

// The system accepts a start's connection for a stopped program, which never
// answers: the start tells the user, on stderr and in a message box, and ends
// with its own status once the user has closed the box. The program, going
// on, answers the next start as always.
TEST_F(SecondStartTest, AStartBesideAStoppedProgramTellsTheUserAndTheProgramGoesOnAfterwards)
{
    const auto running = launch();
    ASSERT_TRUE(QTest::qWaitFor([&] { return mainWindowFocused(*running); }, Deadline)) << focusedWindow();
    {
        const StoppedProcess stopped(running->pid());
        ASSERT_TRUE(stopped.stopped());
        const auto second = launch();
        QByteArray errors;
        const bool told = QTest::qWaitFor([&] {
            errors += second->process.readAllStandardError();
            return QString::fromUtf8(errors).contains(silentText) || second->ended();
        }, Deadline) && QString::fromUtf8(errors).contains(silentText);
        ASSERT_TRUE(told) << "status " << second->status() << ", stderr: " << errors.toStdString();
        QList<WId> windows;
        ASSERT_TRUE(QTest::qWaitFor([&] { return !(windows = windowsOf(second->pid())).isEmpty(); }, Deadline));
        EXPECT_EQ(windows.size(), 1) << "more than the message box";
        closeWindow(windows.constFirst());
        ASSERT_TRUE(endsWithin(*second, Deadline));
        EXPECT_EQ(second->status(), RunningProgramSilent) << second->errors();
        expectAnEmptySettingsFolder(second->config.path());
    }

    const auto next = launch();
    ASSERT_TRUE(endsWithin(*next, Deadline));
    EXPECT_EQ(next->status(), 0) << next->errors();
    EXPECT_EQ(running->process.state(), QProcess::Running);
    EXPECT_TRUE(QTest::qWaitFor([&] { return mainWindowFocused(*running); }, Deadline)) << focusedWindow();
}
