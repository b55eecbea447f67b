// The desktop tests run on a virtual X server with a window manager of their
// own, as a user's program runs, and not on the offscreen platform.
#include "ExceptionGuard.h"
#include "OtherProgram.h"
#include "XDesktop.h"

#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (argc > 1 && std::strcmp(argv[1], OtherProgram::Switch) == 0)
        return OtherProgram::run(argc, argv);
    XDesktop desktop;
    std::string error;
    if (!desktop.start(error)) {
        std::fprintf(stderr, "No desktop for the tests: %s\n", error.c_str());
        return 1;
    }
    // The application ends before its desktop does.
    LumaprogApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
