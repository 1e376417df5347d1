#include "bench/child_peak.h"

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <vector>

#include "drawing/jww_loader.h"
#include "drawing/jww_writer.h"

extern char** environ;

namespace bench {

namespace fs = std::filesystem;

namespace {

// The measured work: what a conversion does with one file.
int LoadAndSave(const char* in, const char* out, const char* images) {
  jww::Drawing d;
  d.imageOptions.tempFolder = images;
  const jww::LoadResult loaded = jww::LoadJww(d, in);
  if (!loaded) {
    std::fprintf(stderr, "load of %s failed: %s\n", in, loaded.error.c_str());
    d.DeleteImageFiles();
    return 1;
  }
  const jww::SaveResult saved = jww::SaveJww(d, out, d.header.version);
  d.DeleteImageFiles();
  if (!saved) {
    std::fprintf(stderr, "save of %s failed: %s\n", out, saved.error.c_str());
    return 1;
  }
  return 0;
}

pid_t Spawn(std::vector<std::string> args, int stdoutFd) {
  std::vector<char*> argv;
  for (auto& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (stdoutFd >= 0) posix_spawn_file_actions_adddup2(&actions, stdoutFd, STDOUT_FILENO);
  pid_t pid = -1;
  const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) throw std::runtime_error(std::string("cannot start a child: ") + std::strerror(rc));
  return pid;
}

bool WaitSucceeded(pid_t pid) {
  int status = 0;
  while (waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return false;
  }
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Runs one load + save as a child and prints "<peak KiB> <seconds> <ok>".
int Measure(const char* self, const char* in, const char* out, const char* images) {
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = Spawn({self, "load-save", in, out, images}, -1);
  const bool ok = WaitSucceeded(pid);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  std::printf("%ld %.3f %d\n", static_cast<long>(usage.ru_maxrss), took.count(), ok ? 1 : 0);
  return ok ? 0 : 1;
}

}  // namespace

Figures MeasureInChild(const char* self, const fs::path& in, const fs::path& out,
                       const fs::path& images) {
  int fds[2];
  if (pipe(fds) != 0) throw std::runtime_error("cannot make a pipe");
  const pid_t pid = Spawn({self, "measure", in.string(), out.string(), images.string()}, fds[1]);
  close(fds[1]);
  std::string text;
  char buf[256];
  for (ssize_t n; (n = read(fds[0], buf, sizeof buf)) != 0;) {
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) break;
    text.append(buf, static_cast<std::size_t>(n));
  }
  close(fds[0]);
  WaitSucceeded(pid);
  Figures f;
  int ok = 0;
  if (std::sscanf(text.c_str(), "%ld %lf %d", &f.peakKiB, &f.seconds, &ok) != 3) {
    throw std::runtime_error("the measuring child reported nothing");
  }
  f.ok = ok == 1;
  return f;
}

std::optional<int> RunChildMode(int argc, char** argv) {
  const std::string mode = argc >= 2 ? argv[1] : "";
  if (mode == "load-save" && argc == 5) return LoadAndSave(argv[2], argv[3], argv[4]);
  if (mode == "measure" && argc == 5) return Measure(argv[0], argv[2], argv[3], argv[4]);
  return std::nullopt;
}

Scratch::Scratch(const std::string& parent, const std::string& stem) {
  std::string tmpl = (fs::path(parent) / ("quillon-" + stem + "-XXXXXX")).string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("cannot create a scratch folder");
  dir = tmpl;
}

Scratch::~Scratch() {
  std::error_code ec;
  fs::remove_all(dir, ec);
}

int ChildPeakMain(int argc, char** argv, const char* program, CountOption count, RunFunction run) {
  try {
    if (const std::optional<int> child = RunChildMode(argc, argv)) return *child;
    std::string scratch = fs::temp_directory_path().string();
    const std::string countPrefix = std::string("--") + count.name + "=";
    for (int i = 1; i < argc; ++i) {
      const std::string arg = argv[i];
      if (arg.starts_with(countPrefix)) {
        count.value = std::strtoull(arg.c_str() + countPrefix.size(), nullptr, 10);
      } else if (arg.starts_with("--scratch=")) {
        scratch = arg.substr(10);
      } else {
        std::fprintf(stderr, "usage: %s [%sN] [--scratch=DIR]\n", argv[0], countPrefix.c_str());
        return 2;
      }
    }
    if (count.value < count.min || count.value > count.max) {
      std::fprintf(stderr, "--%s must be %llu to %llu\n", count.name,
                   static_cast<unsigned long long>(count.min),
                   static_cast<unsigned long long>(count.max));
      return 2;
    }
    return run(argv[0], count.value, scratch);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", program, e.what());
    return 1;
  }
}

}  // namespace bench
