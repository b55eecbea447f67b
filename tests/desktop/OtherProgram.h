#pragma once

// Another program on the test's desktop: a window of a second process of the
// test program. While it runs its window has the focus, as when the user has
// gone to work in another program.
#include <QProcess>

class OtherProgram {
public:
    // The argument that makes the test program run as the other program.
    static constexpr const char *Switch = "--other-program";
    // Runs this process as the other program until it is ended.
    static int run(int argc, char **argv);

    ~OtherProgram() { end(); }
    // True once its window is active.
    bool start(int deadlineMs);
    // Its window goes with it.
    void end();

private:
    QProcess m_process;
};
