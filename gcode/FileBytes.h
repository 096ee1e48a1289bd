#pragma once
// Reading a whole file into memory in as few reads as its size allows.

#include <string>

// The file's bytes, unchanged. Throws EZorvitError naming the file and giving the system's
// reason when it cannot be opened or read.
std::string ReadFileBytes(const std::string& path);
