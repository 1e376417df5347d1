#include "platform/file_faults.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <cstdlib>

namespace platform {

namespace {

struct Faults {
  std::atomic<bool> armed{false};
  std::atomic<bool> fired{false};
  FileOp op = FileOp::kOpen;
  std::uint64_t n = 0;
  std::uint64_t times = 1;
  bool exit = false;
  std::array<std::atomic<std::uint64_t>, kFileOpCount> seen{};
};

Faults& State() {
  static Faults faults;
  return faults;
}

}  // namespace

const char* FileOpName(FileOp op) {
  static constexpr const char* kNames[kFileOpCount] = {"open",   "read",   "write", "sync",
                                                       "rename", "remove", "close"};
  return kNames[static_cast<int>(op)];
}

void ArmFileFault(FileOp op, std::uint64_t n, std::uint64_t times) {
  Faults& f = State();
  for (auto& count : f.seen) count = 0;
  f.op = op;
  f.n = n;
  f.times = times;
  f.exit = false;
  f.fired = false;
  f.armed = true;
}

void ArmFileExit(FileOp op, std::uint64_t n) {
  ArmFileFault(op, n);
  State().exit = true;
}

void DisarmFileFaults() {
  State().armed = false;
}

std::uint64_t FileOpsSeen(FileOp op) {
  return State().seen[static_cast<int>(op)];
}

bool FileFaultFired() {
  return State().fired;
}

bool FileOpFails(FileOp op) {
  Faults& f = State();
  if (!f.armed.load(std::memory_order_relaxed)) return false;
  const std::uint64_t count = ++f.seen[static_cast<int>(op)];
  if (op != f.op || f.n == 0 || count < f.n || count - f.n >= f.times) return false;
  if (f.exit) std::_Exit(kFileExitStatus);
  f.fired = true;
  errno = EIO;
  return true;
}

}  // namespace platform
