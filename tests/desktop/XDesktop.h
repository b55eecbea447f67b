#pragma once

// A desktop of its own for a test program: a virtual X server on a free
// display with a window manager on it, started before the application object
// and ended after it. The program's environment then points at it (DISPLAY,
// the xcb platform, a private runtime folder), whatever it inherited.
#include <string>
#include <sys/types.h>

class XDesktop {
public:
    XDesktop() = default;
    ~XDesktop();
    XDesktop(const XDesktop &) = delete;
    XDesktop &operator=(const XDesktop &) = delete;

    // False with the reason in `error` when the server or the window manager did not come up.
    bool start(std::string &error);

private:
    bool startServer(std::string &error);
    bool startWindowManager(std::string &error);

    std::string m_folder;  // the runtime folder, also where the window manager says it is ready
    pid_t m_server = -1;
    pid_t m_windowManager = -1;
};
