// quillon-cli convert and the signals a terminal or a pipeline sends: a
// closed terminal, a reader that went away, Ctrl+C while another run holds
// the folder, a termination while the settings file is read; and Ctrl+C
// during a render. Each ends the run as a stop does: what is done kept, no
// temporary left, a summary said.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <thread>

#include "platform/file_lock.h"
#include "tests/cli/run_cli.h"
#include "tests/support/paths.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ScratchDir;

const fs::path kPlan = fs::path(QUILLON_SOURCE_DIR) / "examples/PLAN.jww";

// Starts quillon-cli with `args`: stdout into `outFd` (or /dev/null when
// negative), stderr into `dir`/err.txt, its temp folders in `dir`/tmp.
pid_t Start(const std::vector<std::string>& args, int outFd, const fs::path& dir) {
  const pid_t pid = ::fork();
  if (pid != 0) return pid;
  ::setenv("TMPDIR", (dir / "tmp").c_str(), 1);
  const int out = outFd >= 0 ? outFd : ::open("/dev/null", O_WRONLY);
  ::dup2(out, STDOUT_FILENO);
  const int err = ::open((dir / "err.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  ::dup2(err, STDERR_FILENO);
  std::vector<char*> argv{const_cast<char*>(QUILLON_CLI)};
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  ::execv(QUILLON_CLI, argv.data());
  ::_exit(127);
}

bool WaitUntil(const std::function<bool()>& condition, pid_t child) {
  int status = 0;
  while (!condition()) {
    if (::waitpid(child, &status, WNOHANG) != 0) return false;  // ended first
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

// Whether the process has a handler of its own for `signal`.
bool Catches(pid_t pid, int signal) {
  const std::string status =
      testing_support::ReadFileBytes(fs::path("/proc") / std::to_string(pid) / "status");
  const std::size_t at = status.find("SigCgt:");
  if (at == std::string::npos) return false;
  const unsigned long long mask = std::stoull(status.substr(at + 7), nullptr, 16);
  return (mask >> (signal - 1)) & 1;
}

// A folder of many copies of one drawing, so that a run takes a while.
void FillSources(const fs::path& in, int files) {
  fs::create_directories(in);
  for (int i = 0; i < files; ++i) fs::copy_file(kPlan, in / ("P" + std::to_string(i) + ".jww"));
}

bool Writing(const fs::path& out) {
  std::error_code ec;
  for (fs::directory_iterator it(out, ec), end; !ec && it != end; it.increment(ec)) {
    if (it->path().extension() == ".tmp" || it->path().extension() == ".jww") return true;
  }
  return false;
}

// Only converted drawings stay: no temporary or lock file of a run.
void ExpectNothingOfOursLeft(const fs::path& out, const fs::path& tmp) {
  for (const auto& e : fs::directory_iterator(out)) {
    const std::string name = e.path().filename().string();
    if (name == ".quillon.undo") continue;  // what undo needs of the files moved before the stop
    EXPECT_EQ(name.rfind(".quillon", 0), std::string::npos) << "left behind: " << name;
    EXPECT_EQ(e.path().extension(), ".jww") << name;
  }
  EXPECT_TRUE(fs::is_empty(tmp)) << "the private temp folder is removed";
}

class Signals : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(dir / "tmp"); }
  std::string Err() { return testing_support::ReadFileBytes(dir / "err.txt"); }
  ScratchDir dir;
};

TEST_F(Signals, AClosedTerminalEndsTheRunAsATerminationDoes) {
  FillSources(dir / "in", 1000);
  const pid_t child =
      Start({"convert", "--dest", (dir / "out").string(), (dir / "in").string()}, -1, dir.path());
  if (!WaitUntil([&] { return Writing(dir / "out"); }, child)) GTEST_SKIP() << "ended first";
  ::kill(child, SIGHUP);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
  if (WEXITSTATUS(status) == 0) GTEST_SKIP() << "the run ended before the signal came";
  EXPECT_EQ(WEXITSTATUS(status), 143);
  EXPECT_NE(Err().find("terminated after "), std::string::npos) << Err();
  ExpectNothingOfOursLeft(dir / "out", dir / "tmp");
}

// Its reader gone, nobody would learn how the rest went: the run stops.
TEST_F(Signals, AReportNobodyReadsStopsTheRunCleanly) {
  constexpr int kFiles = 1000;
  FillSources(dir / "in", kFiles);
  int pipeFds[2];
  ASSERT_EQ(::pipe2(pipeFds, O_CLOEXEC), 0);  // the child keeps only its end
  const pid_t child = Start({"convert", "--dest", (dir / "out").string(), (dir / "in").string()},
                            pipeFds[1], dir.path());
  ::close(pipeFds[1]);
  // Read the first line, then go away as `head -1` does.
  char c = 0;
  while (::read(pipeFds[0], &c, 1) == 1 && c != '\n') {
  }
  ::close(pipeFds[0]);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 141);
  EXPECT_NE(Err().find("the report cannot be written: stopped after "), std::string::npos) << Err();
  ExpectNothingOfOursLeft(dir / "out", dir / "tmp");
  std::size_t written = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir / "out")) ++written;
  EXPECT_LT(written, static_cast<std::size_t>(kFiles));
}

TEST_F(Signals, CtrlCWhileWaitingForAnotherRunsLockStopsAtOnce) {
  fs::create_directories(dir / "out");
  const platform::FileLock other = platform::FileLock::TryTake(dir / "out/.quillon.lock");
  ASSERT_TRUE(other.held());
  const pid_t child =
      Start({"convert", "--dest", (dir / "out").string(), kPlan.string()}, -1, dir.path());
  // Once it hears Ctrl+C, a moment to be waiting (well inside its wait).
  if (!WaitUntil([&] { return Catches(child, SIGINT); }, child)) {
    ADD_FAILURE() << "ended without catching Ctrl+C: " << Err();
    return;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  ::kill(child, SIGINT);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 130) << Err();
  EXPECT_NE(Err().find("interrupted after 0 of 1 files"), std::string::npos) << Err();
  EXPECT_FALSE(fs::exists(dir / "out/PLAN.jww"));
}

// The signal comes while the settings file is open: it is heard, and the
// run ends with its summary instead of the process dying.
TEST_F(Signals, ATerminationWhileTheSettingsFileIsReadEndsWithASummary) {
  const fs::path settings = dir / "big.ini";
  {
    std::string line(4000, 'x');
    line = "; " + line + "\n";
    std::string text = "[JWW]\nC1=1\n";
    while (text.size() < (std::size_t{60} << 20)) text += line;
    testing_support::WriteFileBytes(settings, text);
  }
  int pipeFds[2];
  ASSERT_EQ(::pipe2(pipeFds, O_CLOEXEC), 0);  // the child keeps only its end
  const pid_t child = Start({"convert", "--json", "--settings", settings.string(), "--dest",
                             (dir / "out").string(), kPlan.string()},
                            pipeFds[1], dir.path());
  ::close(pipeFds[1]);
  const fs::path fds = fs::path("/proc") / std::to_string(child) / "fd";
  auto reading = [&] {
    std::error_code ec;
    for (fs::directory_iterator it(fds, ec), end; !ec && it != end; it.increment(ec)) {
      if (fs::read_symlink(it->path(), ec) == settings) return true;
    }
    return false;
  };
  if (!WaitUntil(reading, child)) GTEST_SKIP() << "the settings file was read before a look";
  ::kill(child, SIGTERM);
  std::string out;
  char buffer[4096];
  for (ssize_t n; (n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0;) out.append(buffer, n);
  ::close(pipeFds[0]);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
  EXPECT_EQ(WEXITSTATUS(status), 143) << Err();
  EXPECT_NE(out.find("\"summary\": true"), std::string::npos) << out;
  EXPECT_FALSE(fs::exists(dir / "out/PLAN.jww"));
}

// render stops between drawings as convert does: the SVGs done kept whole,
// no temporary left.
TEST_F(Signals, CtrlCStopsARenderBetweenDrawings) {
  FillSources(dir / "in", 1000);
  const pid_t child =
      Start({"render", "--out", (dir / "out").string(), (dir / "in").string()}, -1, dir.path());
  const auto started = [&] {
    std::error_code ec;
    return Catches(child, SIGINT) && fs::exists(dir / "out/P0.svg", ec);
  };
  if (!WaitUntil(started, child)) GTEST_SKIP() << "ended first: " << Err();
  ::kill(child, SIGINT);
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status)) << "killed by signal " << WTERMSIG(status);
  if (WEXITSTATUS(status) == 0) GTEST_SKIP() << "the run ended before the signal came";
  EXPECT_EQ(WEXITSTATUS(status), 130);
  EXPECT_NE(Err().find("interrupted after "), std::string::npos) << Err();
  std::size_t written = 0;
  for (const auto& e : fs::directory_iterator(dir / "out")) {
    EXPECT_EQ(e.path().extension(), ".svg") << "left behind: " << e.path();
    EXPECT_EQ(testing_support::ReadFileBytes(e.path()).substr(0, 5), "<?xml");
    ++written;
  }
  EXPECT_LT(written, 1000u);
}

}  // namespace
#endif
