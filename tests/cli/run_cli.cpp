#include "tests/cli/run_cli.h"

#include <sys/wait.h>

#include <cstdlib>

#include "tests/support/paths.h"

namespace cli_test {

namespace {

std::string ShellQuoted(const std::string& s) {
  std::string q = "'";
  for (char c : s) {
    if (c == '\'') {
      q += "'\\''";
    } else {
      q.push_back(c);
    }
  }
  return q + "'";
}

}  // namespace

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::string current;
  for (char c : text) {
    if (c == '\n') {
      lines.push_back(current);
      current.clear();
    } else {
      current.push_back(c);
    }
  }
  if (!current.empty()) lines.push_back(current);
  return lines;
}

std::vector<std::string> RunResult::errLines() const {
  return Lines(err);
}

RunResult Run(const std::string& program, const std::vector<std::string>& args,
              const RunOptions& options) {
  testing_support::ScratchDir capture;
  const auto outFile = capture / "stdout";
  const auto errFile = capture / "stderr";
  std::string command;
  if (!options.workDir.empty()) command += "cd " + ShellQuoted(options.workDir.string()) + " && ";
  if (!options.tmpDir.empty()) command += "TMPDIR=" + ShellQuoted(options.tmpDir) + " ";
  command += ShellQuoted(program);
  for (const std::string& arg : args) command += " " + ShellQuoted(arg);
  command += " >" + ShellQuoted(outFile.string()) + " 2>" + ShellQuoted(errFile.string());

  RunResult result;
  const int status = std::system(command.c_str());
  if (status != -1 && WIFEXITED(status)) result.exitCode = WEXITSTATUS(status);
  result.out = testing_support::ReadFileBytes(outFile);
  result.err = testing_support::ReadFileBytes(errFile);
  return result;
}

RunResult RunCli(const std::vector<std::string>& args, const RunOptions& options) {
  return Run(QUILLON_CLI, args, options);
}

}  // namespace cli_test
