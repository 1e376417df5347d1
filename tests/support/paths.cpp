#include "tests/support/paths.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

#include "platform/folder_listing.h"
#include "platform/long_path.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace testing_support {

std::filesystem::path SamplesDir() {
  const std::filesystem::path dir = QUILLON_SAMPLES_DIR;
  std::error_code ec;
  return std::filesystem::is_directory(dir, ec) ? dir : std::filesystem::path{};
}

std::vector<std::filesystem::path> SampleDrawings() {
  std::vector<std::filesystem::path> out;
  const auto dir = SamplesDir();
  if (dir.empty()) return out;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir)) {
    auto ext = entry.path().extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
    if (entry.is_regular_file() && ext == ".jww") out.push_back(entry.path());
  }
  std::sort(out.begin(), out.end());
  return out;
}

ScratchDir::ScratchDir() {
  std::random_device rd;
  for (int attempt = 0; attempt < 100; ++attempt) {
    auto candidate = std::filesystem::temp_directory_path() /
                     ("quillon-test-" + std::to_string(rd()) + std::to_string(attempt));
    if (std::filesystem::create_directory(candidate)) {
      path_ = candidate;
      return;
    }
  }
  throw std::runtime_error("cannot create a scratch folder");
}

namespace {

#ifdef _WIN32
// What remove_all leaves on Windows: anything deeper than about 260
// characters.
void RemoveLongTree(const std::filesystem::path& folder) {
  for (const platform::FolderEntry& entry : platform::ListFolder(folder).entries) {
    const std::filesystem::path path = folder / entry.name;
    const std::wstring longPath = platform::LongPath(path).native();
    ::SetFileAttributesW(longPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (entry.folder && !entry.link) {
      RemoveLongTree(path);
      ::RemoveDirectoryW(longPath.c_str());
    } else if (entry.folder) {
      ::RemoveDirectoryW(longPath.c_str());
    } else {
      ::DeleteFileW(longPath.c_str());
    }
  }
}
#endif

}  // namespace

ScratchDir::~ScratchDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
#ifdef _WIN32
  if (platform::StatusOf(path_).kind == platform::PathKind::kFolder) {
    RemoveLongTree(path_);
    ::RemoveDirectoryW(platform::LongPath(path_).c_str());
  }
#endif
}

std::filesystem::path MakeDeepFolder(const std::filesystem::path& base, std::size_t length) {
  std::filesystem::create_directories(base);
  std::filesystem::path folder = base;
  for (int level = 0; std::filesystem::absolute(folder).native().size() <= length; ++level) {
    folder /= std::string(60, static_cast<char>('a' + level % 26)) + "_" + std::to_string(level);
#ifdef _WIN32
    if (!::CreateDirectoryW(platform::LongPath(folder).c_str(), nullptr)) {
      throw std::runtime_error("cannot create a folder of " +
                               std::to_string(folder.native().size()) + " characters");
    }
#else
    std::filesystem::create_directory(folder);
#endif
  }
  return folder;
}

bool LinkFolder(const std::filesystem::path& target, const std::filesystem::path& link) {
  std::error_code ec;
  std::filesystem::create_directory_symlink(target, link, ec);
  return !ec;
}

std::vector<std::string> SortedNames(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string ReadFileBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace testing_support
