// Where tests find the real drawings and put their scratch files.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

// The folder of real Jw_cad drawings, or empty when it is not there.
std::filesystem::path SamplesDir();
// Every *.jww below the samples folder, sorted; empty without the folder.
std::vector<std::filesystem::path> SampleDrawings();

// A fresh empty folder, removed with its contents when the object goes.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::filesystem::path& p) const { return path_ / p; }

 private:
  std::filesystem::path path_;
};

// Makes `link` a symbolic link to the folder `target`. False where the system
// or its C++ library cannot (MinGW's makes no links at all).
bool LinkFolder(const std::filesystem::path& target, const std::filesystem::path& link);

// A chain of folders below `base` (made, with `base`) whose full path is
// longer than `length` characters; each name is short enough for any file
// system. On Windows made through the extended-length form of the path,
// which the C++ library's create_directories does not take.
std::filesystem::path MakeDeepFolder(const std::filesystem::path& base, std::size_t length);

std::string ReadFileBytes(const std::filesystem::path& path);
// The names of the entries of a folder, sorted.
std::vector<std::string> SortedNames(const std::filesystem::path& folder);
void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);

}  // namespace testing_support

// Skips the current test when the real drawings are not present.
#define QUILLON_REQUIRE_SAMPLES()                                              \
  do {                                                                         \
    if (::testing_support::SamplesDir().empty()) GTEST_SKIP() << "no samples"; \
  } while (0)
