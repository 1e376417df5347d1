// The file list's cost: 10,000 drawings probed for their memos and decoded,
// as the window lists a folder, against reading the first 4 KiB of each file.
// Aim: at most twice the plain reads.
//
//   bench_listing [COUNT]   (default 10000; files are made in a scratch folder)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "app/memo_lookup.h"
#include "bench/synthetic_large.h"

namespace fs = std::filesystem;

namespace {

double Seconds(const std::chrono::steady_clock::time_point& since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

template <typename Each>
double Median(const std::vector<fs::path>& files, Each each) {
  std::vector<double> rounds;
  for (int r = 0; r < 5; ++r) {
    const auto start = std::chrono::steady_clock::now();
    for (const fs::path& f : files) each(f);
    rounds.push_back(Seconds(start));
  }
  std::sort(rounds.begin(), rounds.end());
  return rounds[rounds.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int count = argc > 1 ? std::stoi(argv[1]) : 10000;
  std::error_code ec;
  const fs::path dir = fs::temp_directory_path() / "quillon-bench-listing";
  fs::remove_all(dir, ec);
  fs::create_directories(dir);
  // Ten distinct drawings of 20 to 200 KB, each copied count / 10 times.
  std::vector<fs::path> files;
  for (int k = 0; k < 10; ++k) {
    const fs::path model = dir / ("model" + std::to_string(k) + ".jww");
    bench::WriteLargeDrawing(model, k % 2 ? 700 : 600, 20000 + 20000 * k, k + 1);
    for (int i = k; i < count; i += 10) {
      const fs::path copy = dir / ("D" + std::to_string(i) + ".jww");
      fs::copy_file(model, copy);
      files.push_back(copy);
    }
  }
  std::sort(files.begin(), files.end());

  std::vector<char> buffer(4096);
  std::size_t sink = 0;
  const double reads = Median(files, [&](const fs::path& f) {
    if (std::FILE* in = std::fopen(f.string().c_str(), "rb")) {
      sink += std::fread(buffer.data(), 1, buffer.size(), in);
      std::fclose(in);
    }
  });
  jww::Drawing drawing;
  unit1::MemoLookup lookup(drawing);
  const double listing = Median(files, [&](const fs::path& f) { sink += lookup.Memo(f).size(); });
  std::printf("%zu files: first 4 KiB %.3f s, memo listing %.3f s, ratio %.2fx (aim: at most 2x)\n",
              files.size(), reads, listing, listing / reads);
  fs::remove_all(dir, ec);
  return sink == 0;
}
