#pragma once

#include <optional>

// The benchmark program started again for one start from exec: with the
// argument "--start-child=program" it starts the program (the main block's
// work, pauses taken out), with "--start-child=bare" it shows a bare
// QMainWindow of the main window's first-start size. Either writes "shown"
// to its standard output once the window has painted itself, or why it did
// not, and returns its exit code. Without such an argument: nothing.
std::optional<int> RunStartChild(int argc, char **argv);

// The argument that makes the benchmark program a start child of this kind.
inline constexpr const char *StartChildProgram = "--start-child=program";
inline constexpr const char *StartChildBare = "--start-child=bare";
