#include "tests/cli/run_cli.h"

#include <cstdlib>

#include "platform/path_text.h"
#include "tests/support/paths.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#endif

namespace cli_test {

namespace {

#ifdef _WIN32

// One argument as the C runtime's command-line parser reads it back.
std::wstring QuotedArgument(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos) return arg;
  std::wstring q = L"\"";
  std::size_t backslashes = 0;
  for (wchar_t c : arg) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    q.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
    backslashes = 0;
    q.push_back(c);
  }
  q.append(backslashes * 2, L'\\');
  return q + L"\"";
}

HANDLE InheritableFile(const std::filesystem::path& path, DWORD access, DWORD disposition) {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  return ::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                       disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Sets TMP and TEMP (where the program finds its temporary folder) while it
// lives.
class TempFolderVariables {
 public:
  explicit TempFolderVariables(const std::string& folder) : set_(!folder.empty()) {
    if (!set_) return;
    for (const wchar_t* name : {L"TMP", L"TEMP"}) {
      wchar_t old[32768];
      const DWORD n = ::GetEnvironmentVariableW(name, old, 32768);
      saved_.emplace_back(name, n > 0 && n < 32768 ? std::wstring(old, n) : std::wstring());
      ::SetEnvironmentVariableW(name, platform::PathFromUtf8(folder).c_str());
    }
  }
  ~TempFolderVariables() {
    for (const auto& [name, value] : saved_) {
      ::SetEnvironmentVariableW(name, value.empty() ? nullptr : value.c_str());
    }
  }

 private:
  bool set_;
  std::vector<std::pair<const wchar_t*, std::wstring>> saved_;
};

int RunProgram(const std::string& program, const std::vector<std::string>& args,
               const RunOptions& options, const std::filesystem::path& outFile,
               const std::filesystem::path& errFile) {
  std::wstring commandLine = QuotedArgument(platform::PathFromUtf8(program).native());
  for (const std::string& arg : args) {
    commandLine += L" " + QuotedArgument(platform::PathFromUtf8(arg).native());
  }
  const HANDLE in = InheritableFile(L"NUL", GENERIC_READ, OPEN_EXISTING);
  const HANDLE out = InheritableFile(outFile, GENERIC_WRITE, CREATE_ALWAYS);
  const HANDLE err = InheritableFile(errFile, GENERIC_WRITE, CREATE_ALWAYS);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = in;
  startup.hStdOutput = out;
  startup.hStdError = err;
  PROCESS_INFORMATION process{};
  const TempFolderVariables temp(options.tmpDir);
  const std::wstring workDir = options.workDir.native();
  const bool started =
      ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                       workDir.empty() ? nullptr : workDir.c_str(), &startup, &process);
  int exitCode = -1;
  if (started) {
    ::WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    if (::GetExitCodeProcess(process.hProcess, &code)) exitCode = static_cast<int>(code);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
  }
  for (HANDLE h : {in, out, err}) {
    if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
  }
  return exitCode;
}

#else

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

int RunProgram(const std::string& program, const std::vector<std::string>& args,
               const RunOptions& options, const std::filesystem::path& outFile,
               const std::filesystem::path& errFile) {
  std::string command;
  if (!options.workDir.empty()) command += "cd " + ShellQuoted(options.workDir.string()) + " && ";
  if (!options.tmpDir.empty()) command += "TMPDIR=" + ShellQuoted(options.tmpDir) + " ";
  command += ShellQuoted(program);
  for (const std::string& arg : args) command += " " + ShellQuoted(arg);
  command += " >" + ShellQuoted(outFile.string()) + " 2>" + ShellQuoted(errFile.string());
  const int status = std::system(command.c_str());
  return status != -1 && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

#endif

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
  RunResult result;
  result.exitCode = RunProgram(program, args, options, outFile, errFile);
  result.out = testing_support::ReadFileBytes(outFile);
  result.err = testing_support::ReadFileBytes(errFile);
  return result;
}

RunResult RunCli(const std::vector<std::string>& args, const RunOptions& options) {
  return Run(QUILLON_CLI, args, options);
}

}  // namespace cli_test
