// Opening a file with the program that the system associates with its kind.
#pragma once

#include <filesystem>

namespace platform {

// On Windows, ShellExecuteW with the verb "open"; true when the program was
// started. Elsewhere always false: the window opens it another way there.
bool OpenWithAssociatedProgram(const std::filesystem::path& file);

}  // namespace platform
