// Facts about the running program that only the operating system knows.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace platform {

// The folder holding the program's executable.
std::filesystem::path ExecutableDir();

// True when the stream is an interactive terminal.
bool IsTerminal(std::FILE* stream);

// This process's id (asked once).
unsigned long CurrentProcessId();

// Whether a process of that id runs on this machine (also when it belongs to
// another user).
bool ProcessExists(unsigned long pid);

// A short tag of this machine's name (8 hexadecimal digits), so that names
// made by processes of other machines on a shared folder are told apart.
const std::string& MachineTag();

}  // namespace platform
