#include "tests/support/paths.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <random>
#include <stdexcept>

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

ScratchDir::~ScratchDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

bool LinkFolder(const std::filesystem::path& target, const std::filesystem::path& link) {
  std::error_code ec;
  std::filesystem::create_directory_symlink(target, link, ec);
  return !ec;
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
