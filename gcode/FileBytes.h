#pragma once
// Reading a whole file into memory in as few reads as its size allows.

#include <string>

// The file's bytes, unchanged. Throws EZorvitError naming the file and giving the system's
// reason when it cannot be opened or read.
std::string ReadFileBytes(const std::string& path);

// The bytes of a file named on a command line, where "-" is standard input. Pipes and sockets
// are read; a device is refused before it is opened, since it may never end (/dev/zero) or wait
// for a person (a terminal). Throws EZorvitError as ReadFileBytes does.
std::string ReadCommandLineFile(const std::string& argument);
