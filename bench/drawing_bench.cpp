// Throughput of the drawing core against copying the same bytes: LoadJww,
// and LoadJww + SaveJww into a real file, beside std::filesystem::copy_file,
// on the largest real drawing and on synthetic drawings of about 50 MB.
//
//   bench_drawing [benchmark options]
//       three repetitions by default, the ratios taken from their medians
//       (--benchmark_repetitions=N to change it);
//   bench_drawing make-corpus DIR COUNT TOTAL_BYTES
//       writes COUNT synthetic drawings (versions 600 and 700, 50 KB to
//       500 KB each) of about TOTAL_BYTES together into DIR.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "bench/synthetic_large.h"
#include "drawing/jww_loader.h"
#include "drawing/jww_writer.h"

namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t kSyntheticBytes = 50ull * 1000 * 1000;

struct Input {
  std::string name;
  fs::path path;
  std::uint64_t size = 0;
};

// A folder of this run's files, removed at the end.
class Scratch {
 public:
  Scratch() {
    std::random_device rd;
    for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
      fs::path candidate = fs::temp_directory_path() / ("quillon-bench-" + std::to_string(rd()));
      if (fs::create_directory(candidate)) path_ = candidate;
    }
    if (path_.empty()) throw std::runtime_error("cannot create a scratch folder");
  }
  ~Scratch() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;
  const fs::path& path() const { return path_; }

 private:
  fs::path path_;
};

// The largest *.jww below the samples folder; empty when there is none.
fs::path LargestSample() {
  const fs::path dir = QUILLON_SAMPLES_DIR;
  std::error_code ec;
  if (!fs::is_directory(dir, ec)) return {};
  fs::path best;
  std::uint64_t bestSize = 0;
  for (const auto& entry : fs::recursive_directory_iterator(dir, ec)) {
    std::string ext = entry.path().extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), ::tolower);
    if (!entry.is_regular_file() || ext != ".jww") continue;
    if (entry.file_size() > bestSize) {
      bestSize = entry.file_size();
      best = entry.path();
    }
  }
  return best;
}

std::string ReadWhole(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void LoadOrSkip(benchmark::State& state, jww::Drawing& d, const Input& in) {
  const jww::LoadResult loaded = jww::LoadJww(d, in.path);
  if (!loaded) state.SkipWithError(("load failed: " + loaded.error).c_str());
}

// The copy takes the source's permissions; a read-only sample would make the
// next overwrite fail for anyone but root.
void CopyOver(const fs::path& from, const fs::path& to) {
  fs::copy_file(from, to, fs::copy_options::overwrite_existing);
  fs::permissions(to, fs::perms::owner_write, fs::perm_options::add);
}

void Copy(benchmark::State& state, const Input& in, const fs::path& out) {
  for (auto _ : state) {
    CopyOver(in.path, out);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * in.size));
}

// The copy as SaveJww leaves its file: on disk, not only in the cache.
void CopySynced(benchmark::State& state, const Input& in, const fs::path& out) {
  for (auto _ : state) {
    CopyOver(in.path, out);
    const int fd = ::open(out.c_str(), O_WRONLY);
    if (fd < 0 || ::fsync(fd) != 0) state.SkipWithError("cannot sync the copy");
    if (fd >= 0) ::close(fd);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * in.size));
}

void Load(benchmark::State& state, const Input& in, const fs::path& images) {
  for (auto _ : state) {
    jww::Drawing d;
    d.imageOptions.tempFolder = images;
    LoadOrSkip(state, d, in);
    d.DeleteImageFiles();
    benchmark::DoNotOptimize(d.top.order.data());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * in.size));
}

void LoadSaveOnce(benchmark::State& state, jww::Drawing& d, const Input& in, const fs::path& out) {
  LoadOrSkip(state, d, in);
  const jww::SaveResult saved = jww::SaveJww(d, out, d.header.version);
  if (!saved) state.SkipWithError(("save failed: " + saved.error).c_str());
  d.DeleteImageFiles();
}

// A new drawing object each time: its tables are allocated from scratch.
void LoadSave(benchmark::State& state, const Input& in, const fs::path& images,
              const fs::path& out) {
  for (auto _ : state) {
    jww::Drawing d;
    d.imageOptions.tempFolder = images;
    LoadSaveOnce(state, d, in, out);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * in.size));
}

// One drawing object freed after each file, as a conversion run uses it: the
// tables keep their capacity from one file to the next.
void LoadSaveReused(benchmark::State& state, const Input& in, const fs::path& images,
                    const fs::path& out) {
  jww::Drawing d;
  d.imageOptions.tempFolder = images;
  for (auto _ : state) {
    LoadSaveOnce(state, d, in, out);
    d.Free();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * in.size));
}

// Keeps the time per iteration of every run, for the ratios at the end.
class RecordingReporter : public benchmark::ConsoleReporter {
 public:
  RecordingReporter() : ConsoleReporter(::isatty(STDOUT_FILENO) ? OO_Defaults : OO_None) {}
  void ReportRuns(const std::vector<Run>& runs) override {
    // The median of repeated runs when there is one, else the single run.
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
      if (run.run_type != Run::RT_Iteration && !median) continue;
      seconds_[run.run_name.function_name] =
          run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
    }
    ConsoleReporter::ReportRuns(runs);
  }
  double seconds(const std::string& name) const {
    auto it = seconds_.find(name);
    return it == seconds_.end() ? 0.0 : it->second;
  }

 private:
  std::map<std::string, double> seconds_;
};

void PrintRatios(const std::vector<Input>& inputs, const RecordingReporter& r) {
  std::printf("\nmedian times, and against copying the same bytes:\n");
  for (const Input& in : inputs) {
    const double copy = r.seconds("copy/" + in.name);
    const double synced = r.seconds("copy+sync/" + in.name);
    bool any = false;
    for (const char* op : {"copy/", "copy+sync/", "load/", "load+save/", "load+save-reused/"}) {
      any = any || r.seconds(op + in.name) > 0;
    }
    if (!any) continue;  // filtered out
    std::printf("%s (%.2f MB)\n", in.name.c_str(), static_cast<double>(in.size) / 1e6);
    const auto line = [&](const char* label, const std::string& op) {
      const double t = r.seconds(op + "/" + in.name);
      if (t <= 0) {
        std::printf("  %-28s (not run, or failed)\n", label);
        return;
      }
      std::printf("  %-28s %9.2f ms %8.1f MB/s", label, t * 1e3,
                  static_cast<double>(in.size) / t / 1e6);
      if (copy > 0 && op != "copy") std::printf("   %5.2fx copy", t / copy);
      if (synced > 0 && op.starts_with("load+save")) std::printf("   %5.2fx copy+sync", t / synced);
      std::printf("\n");
    };
    line("copy_file", "copy");
    line("copy_file + fsync", "copy+sync");
    line("LoadJww", "load");
    line("LoadJww + SaveJww", "load+save");
    line("  the same, tables reused", "load+save-reused");
  }
  std::printf(
      "aim: LoadJww + SaveJww within 2x of copying the same bytes. SaveJww syncs its file to\n"
      "disk before moving it into place, hence the comparison with a synced copy as well.\n");
}

// Sizes spread evenly between 50 KB and 500 KB around the mean asked for.
int MakeCorpus(const fs::path& dir, int count, std::uint64_t total) {
  constexpr std::uint64_t kSmallest = 50'000, kLargest = 500'000;
  if (count <= 0) return 0;
  fs::create_directories(dir);
  const std::uint64_t mean = std::clamp<std::uint64_t>(total / count, kSmallest, kLargest);
  const std::uint64_t high = std::min(kLargest, 2 * mean - kSmallest);
  const std::uint64_t low = 2 * mean - high;
  std::uint64_t written = 0;
  for (int i = 0; i < count; ++i) {
    const std::uint64_t size = count == 1 ? mean : low + (high - low) * i / (count - 1);
    const std::int32_t version = i % 2 == 0 ? 600 : 700;
    char name[32];
    std::snprintf(name, sizeof name, "synthetic-%04d.jww", i + 1);
    written += bench::WriteLargeDrawing(dir / name, version, size, static_cast<std::uint32_t>(i));
  }
  std::printf("%d drawings, %llu bytes, in %s\n", count, static_cast<unsigned long long>(written),
              dir.string().c_str());
  return 0;
}

// Three repetitions with their median by default: the machine is shared.
std::vector<char*> WithDefaults(int argc, char** argv) {
  static char repetitions[] = "--benchmark_repetitions=3";
  static char aggregatesOnly[] = "--benchmark_report_aggregates_only=true";
  std::vector<char*> args(argv, argv + argc);
  const bool given = std::any_of(args.begin() + 1, args.end(), [](const char* a) {
    return std::string(a).rfind("--benchmark_repetitions", 0) == 0;
  });
  if (!given) {
    args.push_back(repetitions);
    args.push_back(aggregatesOnly);
  }
  args.push_back(nullptr);
  return args;
}

int RunBenchmarks(int originalArgc, char** originalArgv) {
  std::vector<char*> args = WithDefaults(originalArgc, originalArgv);
  int argc = static_cast<int>(args.size() - 1);
  char** argv = args.data();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;

  Scratch scratch;
  const fs::path images = scratch.path() / "images";
  fs::create_directory(images);

  std::vector<Input> inputs;
  if (const fs::path sample = LargestSample(); !sample.empty()) {
    inputs.push_back({"largest-sample", sample, fs::file_size(sample)});
    std::printf("largest sample: %s\n", sample.string().c_str());
  } else {
    std::printf("largest sample: skipped, no samples folder at %s\n", QUILLON_SAMPLES_DIR);
  }
  for (std::int32_t version : {600, 700}) {
    const std::string name = "synthetic-" + std::to_string(version);
    const fs::path path = scratch.path() / (name + ".jww");
    const std::uint64_t size = bench::WriteLargeDrawing(path, version, kSyntheticBytes);
    inputs.push_back({name, path, size});
  }

  for (const Input& in : inputs) {
    // A drawing that does not load or save its own bytes back would make the
    // figures meaningless.
    jww::Drawing d;
    d.imageOptions.tempFolder = images;
    const jww::LoadResult loaded = jww::LoadJww(d, in.path);
    if (!loaded) {
      std::fprintf(stderr, "%s does not load: %s\n", in.name.c_str(), loaded.error.c_str());
      return 1;
    }
    std::string saved;
    const jww::SaveResult ok = jww::SaveJwwToMemory(d, d.header.version, saved);
    d.DeleteImageFiles();
    std::printf("%s: %.2f MB, version %d, %zu top-level entities, %zu block definitions, %s\n",
                in.name.c_str(), static_cast<double>(in.size) / 1e6, d.header.version,
                d.top.order.size(), d.blockDefs.size(),
                !ok                           ? "save fails"
                : saved == ReadWhole(in.path) ? "saves back identical bytes"
                                              : "saves back different bytes");
  }

  for (const Input& in : inputs) {
    const fs::path copyOut = scratch.path() / ("copy-" + in.name + ".jww");
    const fs::path saveOut = scratch.path() / ("saved-" + in.name + ".jww");
    benchmark::RegisterBenchmark(("copy/" + in.name).c_str(), Copy, in, copyOut)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark(("copy+sync/" + in.name).c_str(), CopySynced, in, copyOut)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark(("load/" + in.name).c_str(), Load, in, images)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark(("load+save/" + in.name).c_str(), LoadSave, in, images, saveOut)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
    benchmark::RegisterBenchmark(("load+save-reused/" + in.name).c_str(), LoadSaveReused, in,
                                 images, saveOut)
        ->Unit(benchmark::kMillisecond)
        ->UseRealTime();
  }

  RecordingReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  PrintRatios(inputs, reporter);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc >= 2 && std::string(argv[1]) == "make-corpus") {
      if (argc != 5) {
        std::fprintf(stderr, "usage: %s make-corpus DIR COUNT TOTAL_BYTES\n", argv[0]);
        return 2;
      }
      return MakeCorpus(argv[2], std::atoi(argv[3]), std::strtoull(argv[4], nullptr, 10));
    }
    return RunBenchmarks(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "bench_drawing: %s\n", e.what());
    return 1;
  }
}
