// Peak memory of one load + save, each run in a process of its own, started
// by a small "measure" process that reads the peak resident size of its one
// child with getrusage(RUSAGE_CHILDREN). The extra level matters: a child's
// peak includes the memory of the process image it was started from, so the
// measured process is started from a process that never grew.
//
// A benchmark program using these passes its argv to RunChildMode first: the
// "load-save" and "measure" modes are its own children.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace bench {

struct Figures {
  long peakKiB = 0;
  double seconds = 0;
  bool ok = false;
};

// The exit code when argv names one of the child modes, else nothing.
std::optional<int> RunChildMode(int argc, char** argv);

// Loads `in` (extracting images into `images`) and saves it as `out`, in a
// child of a child of this process (`self` is argv[0]).
Figures MeasureInChild(const char* self, const std::filesystem::path& in,
                       const std::filesystem::path& out, const std::filesystem::path& images);

// A new folder under `parent` named after `stem`, removed with everything in
// it at the end.
struct Scratch {
  Scratch(const std::string& parent, const std::string& stem);
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
  ~Scratch();
  std::filesystem::path dir;
};

// The one number such a benchmark takes, as "--NAME=N".
struct CountOption {
  const char* name;  // "entities"
  std::uint64_t value, min, max;
};
using RunFunction = int (*)(const char* self, std::uint64_t count,
                            const std::string& scratchParent);

// The main of such a benchmark: its child modes, else
// "[--NAME=N] [--scratch=DIR]" read and `run` called (its errors reported as
// "program: what").
int ChildPeakMain(int argc, char** argv, const char* program, CountOption count, RunFunction run);

}  // namespace bench
