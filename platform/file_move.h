// Moving a file to another name on the same drive in one step, replacing a
// file that stands there.
#pragma once

#include <filesystem>
#include <system_error>

namespace platform {

// Renames `from` to `to`, replacing a file at `to`: rename(2) elsewhere; on
// Windows MoveFileExW with write-through (the move is on disk when it
// returns) and never a copy, so the move is whole or not at all. A file that
// another program holds open fails with a message that says so.
std::error_code MoveReplacing(const std::filesystem::path& from, const std::filesystem::path& to);

}  // namespace platform
