// Runs the built quillon-cli (or another program of the build) and collects
// what it printed.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace cli_test {

struct RunResult {
  int exitCode = -1;  // -1 when the program did not exit normally
  std::string out;
  std::string err;
  std::vector<std::string> errLines() const;
};

struct RunOptions {
  std::filesystem::path workDir;  // the current folder; unchanged when empty
  std::string tmpDir;             // TMPDIR for the program, when not empty
};

RunResult Run(const std::string& program, const std::vector<std::string>& args,
              const RunOptions& options = {});

// The quillon-cli of this build.
RunResult RunCli(const std::vector<std::string>& args, const RunOptions& options = {});

// Splits at '\n'; a final line break ends the last line.
std::vector<std::string> Lines(const std::string& text);

}  // namespace cli_test
