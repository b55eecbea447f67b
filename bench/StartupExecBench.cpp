// Start-up from exec to the main window painted, beside a bare QMainWindow of
// the same size in the same run: each iteration starts the benchmark program
// again twice, once as the program (the main block's work, the deliberate
// pauses taken out) and once as the bare window, and times each from the
// spawn to the child's report that its window has painted itself. Both pay
// the same process start, dynamic loading and Qt set-up.
#include "StartChild.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include <chrono>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

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

// Seconds from spawning a start child of this kind to its report; throws
// with the child's reason when its window did not show.
double timeStart(const char *kind)
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
    const int spawned = posix_spawn(&child, program.c_str(), &actions, nullptr, arguments, environ);
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
    double program = 0;
    double bare = 0;
    bool programFirst = true;
    for (auto _ : state) {
        try {
            // Alternating the order leaves neither start the other's warm caches alone.
            const double before = programFirst ? timeStart(StartChildProgram) : 0;
            const double bareStart = timeStart(StartChildBare);
            const double programStart = programFirst ? before : timeStart(StartChildProgram);
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
