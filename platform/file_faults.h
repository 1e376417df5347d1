// Failures made on purpose in the file layer, for the tests that prove a
// failing disk never loses or truncates a file: the n-th operation of a kind
// fails as the system would make it fail (errno EIO). Off unless a test arms
// it; one process-wide counter per kind.
#pragma once

#include <cstdint>

namespace platform {

enum class FileOp { kOpen, kRead, kWrite, kSync, kRename, kRemove, kClose };
inline constexpr int kFileOpCount = 7;

const char* FileOpName(FileOp op);

// From now on counts the operations of each kind, and makes the n-th one of
// `op` fail (n counted from 1; 0 fails none), and the `times` - 1 of that
// kind after it.
void ArmFileFault(FileOp op, std::uint64_t n, std::uint64_t times = 1);
// The same, but at the n-th operation of `op` the process ends at once with
// kFileExitStatus, before the operation, as if it were killed there.
void ArmFileExit(FileOp op, std::uint64_t n);
inline constexpr int kFileExitStatus = 137;
// Stops counting and failing.
void DisarmFileFaults();
// Operations of a kind since the last ArmFileFault.
std::uint64_t FileOpsSeen(FileOp op);
// Whether the armed failure has happened.
bool FileFaultFired();

// Called by the file layer before each operation: true when it must fail
// (errno is then set).
bool FileOpFails(FileOp op);

}  // namespace platform
