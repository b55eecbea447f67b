// Start-up from exec to the main window painted, beside a bare QMainWindow of
// the same size in the same run: each iteration starts the benchmark program
// again twice, once as the program (the main block's work, the deliberate
// pauses taken out) and once as the bare window, and times each from the
// spawn to the child's report that its window has painted itself. Both pay
// the same process start, dynamic loading and Qt set-up. The children's
// temporary and runtime folders are a private one, so that no other program
// on the machine answers the single-instance check.
#include "StartChild.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <chrono>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {
using Clock = std::chrono::steady_clock;
constexpr int Starts = 20;

// The first line the child writes to the pipe, up to its end of file.
std::string readLine(int fd)
{
    std::string line;
    char c = 0;
    while (::read(fd, &c, 1) == 1 && c != '\n')
        line += c;
    return line;
}

// This process's environment with the temporary and runtime folders in `folder`.
class ChildEnvironment {
public:
    explicit ChildEnvironment(const QString &folder)
    {
        for (char **variable = environ; *variable; ++variable) {
            const std::string entry = *variable;
            if (!entry.starts_with("TMPDIR=") && !entry.starts_with("XDG_RUNTIME_DIR="))
                m_entries.push_back(entry);
        }
        for (const char *name : {"TMPDIR=", "XDG_RUNTIME_DIR="})
            m_entries.push_back(name + folder.toStdString());
        for (std::string &entry : m_entries)
            m_pointers.push_back(entry.data());
        m_pointers.push_back(nullptr);
    }
    char **get() { return m_pointers.data(); }

private:
    std::vector<std::string> m_entries;
    std::vector<char *> m_pointers;
};

// Seconds from spawning a start child of this kind to its report; throws
// with the child's reason when its window did not show.
double timeStart(const char *kind, ChildEnvironment &environment)
{
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0)
        throw std::runtime_error("no pipe for the start child");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    // The offscreen platform's notes at each show would fill the benchmark's output.
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    const std::string program = QCoreApplication::applicationFilePath().toStdString();
    std::string argument = kind;
    char *arguments[] = {const_cast<char *>(program.c_str()), argument.data(), nullptr};
    pid_t child = 0;
    const Clock::time_point start = Clock::now();
    const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, arguments, environment.get());
    ::close(pipeEnds[1]);
    const std::string line = spawned == 0 ? readLine(pipeEnds[0]) : std::string();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    ::close(pipeEnds[0]);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (spawned == 0)
        waitpid(child, &status, 0);
    if (line != "shown")
        throw std::runtime_error(std::string(kind) + ": " + (line.empty() ? "no report" : line));
    return seconds;
}
}

static void BM_StartupFromExecBesideBareWindow(benchmark::State &state)
{
    const QTemporaryDir folder;
    if (!folder.isValid()) {
        state.SkipWithError("no temporary folder for the children");
        return;
    }
    ChildEnvironment environment(folder.path());
    double program = 0;
    double bare = 0;
    bool programFirst = true;
    for (auto _ : state) {
        try {
            // Alternating the order leaves neither start the other's warm caches alone.
            const double before = programFirst ? timeStart(StartChildProgram, environment) : 0;
            const double bareStart = timeStart(StartChildBare, environment);
            const double programStart = programFirst ? before : timeStart(StartChildProgram, environment);
            state.SetIterationTime(programStart);
            program += programStart;
            bare += bareStart;
        } catch (const std::exception &error) {
            state.SkipWithError(error.what());
            break;
        }
        programFirst = !programFirst;
    }
    const auto average = [](double seconds) {
        return benchmark::Counter(seconds * 1e3, benchmark::Counter::kAvgIterations);
    };
    state.counters["program_ms"] = average(program);
    state.counters["bare_window_ms"] = average(bare);
    state.counters["ratio_to_bare"] = bare > 0 ? program / bare : 0;
}
BENCHMARK(BM_StartupFromExecBesideBareWindow)->UseManualTime()->Iterations(Starts)->Unit(benchmark::kMillisecond);
