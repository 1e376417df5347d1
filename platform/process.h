// Facts about the running program that only the operating system knows.
#pragma once

#include <cstdio>
#include <filesystem>

namespace platform {

// The folder holding the program's executable.
std::filesystem::path ExecutableDir();

// True when the stream is an interactive terminal.
bool IsTerminal(std::FILE* stream);

}  // namespace platform
