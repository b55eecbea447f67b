#include "XDesktop.h"

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {
using Clock = std::chrono::steady_clock;
// Only a bound: a busy machine may take long to start a server.
constexpr auto StartDeadline = std::chrono::seconds(60);
constexpr auto ReadyPoll = std::chrono::milliseconds(20);
const char *const ReadyMark = "/window-manager-ready";

// Starts `argv` as a child that ends with this process, whatever ends it.
pid_t Spawn(const std::vector<std::string> &argv, const std::vector<std::pair<const char *, std::string>> &env,
            int keepOpen = -1)
{
    const pid_t pid = ::fork();
    if (pid != 0)
        return pid;
    ::prctl(PR_SET_PDEATHSIG, SIGTERM);
    for (const auto &[name, value] : env)
        ::setenv(name, value.c_str(), 1);
    std::vector<char *> args;
    for (const std::string &arg : argv)
        args.push_back(const_cast<char *>(arg.c_str()));
    args.push_back(nullptr);
    for (int fd = 3; fd < 1024; ++fd)
        if (fd != keepOpen)
            ::close(fd);
    ::execvp(args[0], args.data());
    ::_exit(127);
}

bool Exited(pid_t pid)
{
    int status = 0;
    return ::waitpid(pid, &status, WNOHANG) == pid;
}

void End(pid_t &pid)
{
    if (pid <= 0)
        return;
    ::kill(pid, SIGTERM);
    int status = 0;
    ::waitpid(pid, &status, 0);
    pid = -1;
}
}

XDesktop::~XDesktop()
{
    End(m_windowManager);
    End(m_server);
    if (!m_folder.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(m_folder, ignored);
    }
}

bool XDesktop::start(std::string &error)
{
    char folder[] = "/tmp/lumaprog-desktop-XXXXXX";
    if (!::mkdtemp(folder)) {
        error = std::string("no runtime folder: ") + std::strerror(errno);
        return false;
    }
    m_folder = folder;
    ::setenv("XDG_RUNTIME_DIR", folder, 1);
    ::setenv("QT_QPA_PLATFORM", "xcb", 1);
    return startServer(error) && startWindowManager(error);
}

bool XDesktop::startServer(std::string &error)
{
    int channel[2];
    if (::pipe(channel) != 0) {
        error = std::string("no pipe: ") + std::strerror(errno);
        return false;
    }
    m_server = Spawn({"Xvfb", "-displayfd", std::to_string(channel[1]), "-screen", "0", "1024x768x24",
                      "-nolisten", "tcp"},
                     {}, channel[1]);
    ::close(channel[1]);
    // The server writes its display number once it accepts clients.
    std::string number;
    const auto deadline = Clock::now() + StartDeadline;
    pollfd wait{channel[0], POLLIN, 0};
    char c = 0;
    while (Clock::now() < deadline && number.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (::poll(&wait, 1, int(left.count())) <= 0 || ::read(channel[0], &c, 1) != 1)
            break;
        number += c;
    }
    ::close(channel[0]);
    if (number.empty() || number.back() != '\n') {
        error = "Xvfb gave no display number";
        return false;
    }
    number.pop_back();
    ::setenv("DISPLAY", (':' + number).c_str(), 1);
    return true;
}

bool XDesktop::startWindowManager(std::string &error)
{
    const std::string ready = m_folder + ReadyMark;
    m_windowManager = Spawn({"openbox", "--sm-disable", "--startup", "touch " + ready},
                            {{"XDG_CONFIG_HOME", m_folder}, {"XDG_CACHE_HOME", m_folder}});
    const auto deadline = Clock::now() + StartDeadline;
    while (!std::filesystem::exists(ready)) {
        if (Exited(m_windowManager)) {
            m_windowManager = -1;
            error = "openbox ended at its start";
            return false;
        }
        if (Clock::now() > deadline) {
            error = "openbox did not start";
            return false;
        }
        std::this_thread::sleep_for(ReadyPoll);
    }
    return true;
}
