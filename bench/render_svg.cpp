// The picture of a drawing: the conversion's sweep listing the texts to mark,
// the display list built with the marks, and the SVG written (to a stream
// that only counts), for the largest real drawing and for a synthetic drawing
// of about a million entities (mostly lines and texts, with arcs, points and
// block inserts). Times are the median of the rounds; the peak is the
// process's peak resident size, against its peak once the drawing is loaded.
//
//   bench_render_svg [--entities=N] [--rounds=N]
//
// Each drawing is measured in a child of this process, which never grows: a
// child's peak counts from the image it was forked from.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "bench/synthetic_large.h"
#include "conversion/conversion_settings.h"
#include "conversion/text_sweep.h"
#include "drawing/jww_loader.h"
#include "render/display_list.h"
#include "render/svg_writer.h"

namespace fs = std::filesystem;

namespace {

using Clock = std::chrono::steady_clock;

// Counts what is written and keeps nothing.
class CountingBuffer : public std::streambuf {
 public:
  std::uint64_t bytes() const { return bytes_ + static_cast<std::uint64_t>(pptr() - pbase()); }

 protected:
  int_type overflow(int_type c) override {
    bytes_ += static_cast<std::uint64_t>(pptr() - pbase());
    setp(buffer_, buffer_ + sizeof buffer_);
    if (!traits_type::eq_int_type(c, traits_type::eof())) sputc(traits_type::to_char_type(c));
    return traits_type::not_eof(c);
  }

 private:
  char buffer_[1 << 16];
  std::uint64_t bytes_ = 0;
};

// The peak resident size of this process so far, KiB (VmHWM).
long PeakKiB() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
  }
  return -1;
}

double Seconds(Clock::time_point from) {
  return std::chrono::duration<double>(Clock::now() - from).count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Every range wide and every switch on, so that free-size texts are marked.
unit_val::ConversionSettings WideSettings() {
  unit_val::ConversionSettings settings;
  for (int n = 1; n <= unit_val::kRangeValueCount; ++n) settings.RangeValue(n) = 0.5;
  for (int n = 1; n <= unit_val::kFlagCount; ++n) settings.Flag(n) = 1;
  return settings;
}

std::size_t Entities(const jww::Drawing& d) {
  std::size_t n = d.top.order.size();
  for (const jww::TEntBlockDef& def : d.blockDefs) n += def.entities.order.size();
  return n;
}

void Measure(const char* name, jww::Drawing& drawing, int rounds) {
  const long loadedPeak = PeakKiB();
  const unit_val::ConversionSettings settings = WideSettings();
  std::vector<double> sweep, build, write;
  std::uint64_t bytes = 0;
  std::size_t marked = 0, items = 0;
  for (int round = 0; round < rounds; ++round) {
    Clock::time_point t = Clock::now();
    std::vector<render::TextMark> marks;
    for (const unit_val::RetypedText& text : unit_val::ListRetypedTexts(drawing, settings)) {
      marks.push_back({text.place, text.newType});
    }
    sweep.push_back(Seconds(t));
    t = Clock::now();
    const render::DisplayList list = render::BuildDisplayList(drawing, marks);
    build.push_back(Seconds(t));
    t = Clock::now();
    CountingBuffer counter;
    std::ostream out(&counter);
    render::SvgOptions options;
    options.mark = true;
    render::WriteSvg(list, out, options);
    write.push_back(Seconds(t));
    bytes = counter.bytes();
    marked = marks.size();
    items = list.items.size();
  }
  std::printf(
      "%-16s %9zu entities %9zu items %7zu marked | sweep %8.1f ms  build %8.1f ms  svg %8.1f ms "
      "(%.1f MB) | peak %ld MiB (%ld MiB loaded)\n",
      name, Entities(drawing), items, marked, Median(sweep) * 1e3, Median(build) * 1e3,
      Median(write) * 1e3, static_cast<double>(bytes) / 1e6, PeakKiB() >> 10, loadedPeak >> 10);
}

// The largest *.jww below the samples folder; empty when there is none.
fs::path LargestSample() {
  fs::path largest;
  std::error_code ec;
  if (!fs::is_directory(QUILLON_SAMPLES_DIR, ec)) return largest;
  std::uintmax_t size = 0;
  for (const auto& entry : fs::recursive_directory_iterator(QUILLON_SAMPLES_DIR, ec)) {
    std::string ext = entry.path().extension().string();
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (entry.is_regular_file() && ext == ".jww" && entry.file_size() > size) {
      size = entry.file_size();
      largest = entry.path();
    }
  }
  return largest;
}

// A synthetic drawing of about `entities` entities: the generator works by
// file size, so a small one tells the bytes per entity.
jww::Drawing SyntheticDrawing(std::uint64_t entities) {
  constexpr std::uint64_t kProbeBytes = 4'000'000;
  const jww::Drawing probe = bench::MakeLargeDrawing(700, kProbeBytes);
  const double bytesPerEntity = static_cast<double>(kProbeBytes) / Entities(probe);
  return bench::MakeLargeDrawing(700, static_cast<std::uint64_t>(bytesPerEntity * entities));
}

template <class Work>
void InChild(Work work) {
  std::fflush(stdout);
  const pid_t pid = ::fork();
  if (pid == 0) {
    work();
    std::fflush(stdout);
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) std::printf("a child failed\n");
}

}  // namespace

int main(int argc, char** argv) {
  std::uint64_t entities = 1'000'000;
  int rounds = 5;
  for (int i = 1; i < argc; ++i) {
    if (std::strncmp(argv[i], "--entities=", 11) == 0) entities = std::stoull(argv[i] + 11);
    if (std::strncmp(argv[i], "--rounds=", 9) == 0) rounds = std::max(1, std::atoi(argv[i] + 9));
  }
  if (const fs::path sample = LargestSample(); !sample.empty()) {
    InChild([&] {
      jww::Drawing drawing;
      drawing.imageOptions.extract = false;
      const jww::LoadResult loaded = jww::LoadJww(drawing, sample);
      if (!loaded) {
        std::printf("%s: %s\n", sample.string().c_str(), loaded.error.c_str());
        ::_exit(1);
      }
      std::printf("largest sample: %s (%ju bytes)\n", sample.string().c_str(),
                  static_cast<std::uintmax_t>(fs::file_size(sample)));
      Measure("largest-sample", drawing, rounds * 4);
    });
  } else {
    std::printf("largest sample: skipped, no samples folder at %s\n", QUILLON_SAMPLES_DIR);
  }
  InChild([&] {
    jww::Drawing drawing = SyntheticDrawing(entities);
    Measure("synthetic", drawing, rounds);
  });
  return 0;
}
