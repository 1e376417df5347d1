#include "tests/platform/read_only_folder.h"

#include <fstream>
#include <system_error>

#ifdef __linux__
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>
#endif

namespace testing_support {

namespace {

#ifdef __linux__
bool SetImmutable(const std::filesystem::path& folder, bool on) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (fd < 0) return false;
  int flags = 0;
  bool ok = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
  if (ok) {
    flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
    ok = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
  }
  ::close(fd);
  return ok;
}
#else
bool SetImmutable(const std::filesystem::path&, bool) {
  return false;
}
#endif

}  // namespace

ReadOnlyFolder::ReadOnlyFolder(std::filesystem::path folder) : folder_(std::move(folder)) {
  namespace fs = std::filesystem;
  std::error_code ec;
  fs::permissions(folder_,
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove, ec);
  if (RefusesNewFiles()) {
    active_ = true;
    return;
  }
  immutable_ = SetImmutable(folder_, true);
  active_ = immutable_ && RefusesNewFiles();
}

ReadOnlyFolder::~ReadOnlyFolder() {
  if (immutable_) SetImmutable(folder_, false);
  std::error_code ec;
  std::filesystem::permissions(folder_, std::filesystem::perms::owner_write,
                               std::filesystem::perm_options::add, ec);
}

bool ReadOnlyFolder::RefusesNewFiles() const {
  const auto probe = folder_ / "probe.tmp";
  {
    std::ofstream out(probe);
    if (!out) return true;
  }
  std::error_code ec;
  std::filesystem::remove(probe, ec);
  return false;
}

}  // namespace testing_support
