// File handles and durability: the few operating-system calls the drawing
// modules need, kept here so that everything else is standard C++.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>

namespace platform {

// Every file operation of the drawing, conversion and settings modules goes
// through these few functions (and so through the failures tests can make
// in platform/file_faults.h).

// Opens a file with a C stdio mode ("rb", "wb", ...) from a path in the
// system's native form. Reading handles let other programs read and write
// the file meanwhile. A mode that opens an existing file ("r…") refuses
// anything but a regular file without waiting on it (a pipe with no writer
// would block forever; see NotRegularFileError). Returns nullptr on failure.
std::FILE* OpenFile(const std::filesystem::path& path, const char* mode);

// Creates a new file that only this user may read and write ("wb"); nullptr
// when it cannot, or when anything stands at the path already.
std::FILE* CreatePrivateFile(const std::filesystem::path& path);

// Creates a folder that only this user may enter. False with `ec` when it
// cannot (errc::file_exists when anything stands at the path).
bool CreatePrivateFolder(const std::filesystem::path& path, std::error_code& ec);

// The size of an open file (one fstat); nullopt when it cannot be told.
std::optional<std::uint64_t> OpenFileSize(std::FILE* file);

// Up to n bytes (fewer only at the end of the file or on an error, which sets
// `failed`).
std::size_t ReadFile(std::FILE* file, void* into, std::size_t n, bool& failed);

// All n bytes, or false.
bool WriteFile(std::FILE* file, const void* from, std::size_t n);

// Flushes and closes; the stream is gone either way. False when buffered
// bytes could not be written or the system reported an error.
bool CloseFile(std::FILE* file);

// Flushes the stream and asks the system to put the file's data on disk.
bool SyncFile(std::FILE* file);

// Renames a file, replacing a file at `to`. False with `ec` on failure.
bool RenameFile(const std::filesystem::path& from, const std::filesystem::path& to,
                std::error_code& ec);

// Removes a file (or an empty folder). True when nothing is there
// afterwards; false with `ec` otherwise.
bool RemoveFile(const std::filesystem::path& path, std::error_code& ec);

// Puts every written byte of the file system holding `folder` on disk (one
// call instead of one sync per file). False where the system cannot.
bool SyncFileSystemOf(const std::filesystem::path& folder);

// Whether SyncFileSystemOf can work on this system at all (on Windows a
// volume is flushed only by an administrator, so each file is synced).
constexpr bool kCanSyncFileSystems =
#if defined(__linux__)
    true;
#else
    false;
#endif

// A name for a file that no other process will pick: this machine's tag, the
// process id, a clock reading and a counter, joined by "-".
std::filesystem::path::string_type UniqueSuffix();

// Whether the text is exactly a UniqueSuffix, made on any machine.
bool IsUniqueSuffix(std::string_view text);

// The id of the process that made a UniqueSuffix, when the text starts with
// one made on this machine; nullopt for anything else.
std::optional<unsigned long> OwnerOfUniqueSuffix(std::string_view text);

// What a path leads to (links followed): two paths with the same identity
// are one file or folder, whatever their spelling or letter case.
struct FileIdentity {
  std::uint64_t device = 0;
  std::uint64_t file = 0;
  friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
  friend auto operator<=>(const FileIdentity&, const FileIdentity&) = default;
};
// nullopt when nothing is there or it cannot be looked at.
std::optional<FileIdentity> IdentityOf(const std::filesystem::path& path);

// Whether names in this existing folder are matched without regard to letter
// case (Windows, macOS, FAT and SMB shares, case-folding Linux folders).
bool FolderIgnoresCase(const std::filesystem::path& folder);

}  // namespace platform
