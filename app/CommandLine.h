#pragma once
// The program's own command-line options, --help and --version, answered before any window or
// display connection exists. Every other command line keeps its meaning: the first argument
// names a file to open and the rest are ignored.

#include <QString>

#include <optional>

// The text to print when the arguments ask for help or the version; nothing otherwise (no
// arguments, a file name first, or an option that is not ours, which stays the window's).
std::optional<QString> CommandLineAnswer(int& argc, char** argv);
