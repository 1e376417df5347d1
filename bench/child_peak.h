// Peak memory of one load + save, each run in a process of its own, started
// by a small "measure" process that reads the peak resident size of its one
// child with getrusage(RUSAGE_CHILDREN). The extra level matters: a child's
// peak includes the memory of the process image it was started from, so the
// measured process is started from a process that never grew.
//
// A benchmark program using these passes its argv to RunChildMode first: the
// "load-save" and "measure" modes are its own children.
#pragma once

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

// A new folder under `parent` named after `stem`.
std::filesystem::path MakeScratch(const std::string& parent, const std::string& stem);

}  // namespace bench
