// Peak memory of `quillon-cli info --json` against `quillon-cli convert` of
// one large drawing of mostly lines and texts (200 MB by default). `info`
// streams its JSON out as it is made, so its peak should stay within the
// peak of `convert` of the same drawing.
//
//   bench_info_memory [--megabytes=N] [--scratch=DIR]
//
// The quillon-cli measured is the one of this build, or the one the
// environment variable QUILLON_CLI names (to compare with another build).
//
// The drawing is written by a child process, and each command runs in a
// child of this process, which never grows: a child's peak resident size
// counts from the image it was forked from.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/child_peak.h"
#include "bench/synthetic_large.h"

namespace fs = std::filesystem;

namespace {

// Runs quillon-cli with `args`, its stdout thrown away; the peak resident
// size in KiB, or -1 when it did not exit 0.
long PeakOfCli(const std::vector<std::string>& args) {
  const char* cli = std::getenv("QUILLON_CLI");
  if (!cli || !*cli) cli = QUILLON_CLI;
  const pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("cannot start quillon-cli");
  if (pid == 0) {
    if (!std::freopen("/dev/null", "w", stdout)) ::_exit(126);
    std::vector<char*> argv{const_cast<char*>(cli)};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(cli, argv.data());
    ::_exit(127);
  }
  int status = 0;
  struct rusage usage = {};
  if (::wait4(pid, &status, 0, &usage) != pid) throw std::runtime_error("lost quillon-cli");
  return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? usage.ru_maxrss : -1;
}

std::uint64_t WriteInChild(const fs::path& path, std::uint64_t bytes) {
  const pid_t pid = ::fork();
  if (pid < 0) throw std::runtime_error("cannot start the drawing's writer");
  if (pid == 0) {
    try {
      bench::WriteLargeDrawing(path, 700, bytes);
      ::_exit(0);
    } catch (const std::exception& e) {
      std::fprintf(stderr, "%s\n", e.what());
      ::_exit(1);
    }
  }
  int status = 0;
  if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
    throw std::runtime_error("cannot write " + path.string());
  }
  return fs::file_size(path);
}

int Run(const char*, std::uint64_t megabytes, const std::string& scratchParent) {
  const bench::Scratch scratch(scratchParent, "info-memory");
  const fs::path drawing = scratch.dir / "large.jww";
  const double fileMiB = WriteInChild(drawing, megabytes * 1'000'000) / 1048576.0;

  const long info = PeakOfCli({"info", "--json", drawing.string()});
  const long convert = PeakOfCli(
      {"convert", "--jobs", "1", "--dest", (scratch.dir / "out").string(), drawing.string()});
  if (info < 0 || convert < 0) {
    std::fprintf(stderr, "bench_info_memory: quillon-cli failed\n");
    return 1;
  }
  std::printf("drawing            %8.1f MiB\n", fileMiB);
  std::printf("info --json  peak  %8.1f MiB  (%.2fx the file)\n", info / 1024.0,
              info / 1024.0 / fileMiB);
  std::printf("convert      peak  %8.1f MiB  (%.2fx the file)\n", convert / 1024.0,
              convert / 1024.0 / fileMiB);
  const bool met = info <= convert;
  std::printf("info within the peak of convert -> %s\n", met ? "aim met" : "aim missed");
  return met ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  return bench::ChildPeakMain(argc, argv, "bench_info_memory", {"megabytes", 200, 1, 4000}, Run);
}
