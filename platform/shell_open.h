// Opening a file with the program the system associates with it.
#pragma once

#include <filesystem>

namespace platform {

// Asks the system to open the file with its associated program. False where
// the platform offers no such call (the caller then uses its own means) or
// the request could not be made.
bool OpenWithAssociatedProgram(const std::filesystem::path& file);

}  // namespace platform
