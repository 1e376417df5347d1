// File handles and durability: the few operating-system calls the drawing
// modules need, kept here so that everything else is standard C++.
#pragma once

#include <cstdio>
#include <filesystem>

namespace platform {

// Opens a file with a C stdio mode ("rb", "wb", ...) from a path in the
// system's native form. Reading handles let other programs read and write
// the file meanwhile. Returns nullptr on failure.
std::FILE* OpenFile(const std::filesystem::path& path, const char* mode);

// Flushes the stream and asks the system to put the file's data on disk.
bool SyncFile(std::FILE* file);

// Puts every written byte of the file system holding `folder` on disk (one
// call instead of one sync per file). False where the system cannot.
bool SyncFileSystemOf(const std::filesystem::path& folder);

// A name for a file that no other process of this machine will pick.
std::filesystem::path::string_type UniqueSuffix();

}  // namespace platform
