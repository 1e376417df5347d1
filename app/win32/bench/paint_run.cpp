// The Windows preview's work on one drawing, timed: the preview built (read,
// marked, display list) as the window builds it off its thread, then
// painted with GDI into a memory bitmap the size of a large pane, fitted
// and zoomed in four times. With no file given, a synthetic drawing of
// about a million entities is written first.
//
//   bench_preview_gdi [FILE.jww]   (under Wine: wine bench_preview_gdi.exe ...)
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <stop_token>

#include "app/drawing_preview.h"
#include "app/win32/gdi_painter.h"
#include "app/win32/paper_view.h"
#include "bench/synthetic_large.h"
#include "render/walk.h"

namespace {

// Goes through the list as a painter does and draws nothing: the walk's
// own share of a paint.
class NoPainter final : public render::PartPainter {
 public:
  void Line(const render::LineShape&, const render::Style&, const render::Affine&, bool) override {}
  void Arc(const render::ArcShape&, const render::Style&, const render::Affine&, bool) override {}
  void Dot(const render::PointShape&, const render::Style&, const render::Affine&, bool) override {}
  void Text(const render::TextShape&, const render::Style&, const render::Affine&, bool) override {}
  void Fill(const render::FillShape&, const render::Style&, const render::Affine&, bool) override {}
  void Image(const render::ImageShape&, const render::Style&, const render::Affine&,
             bool) override {}
};

double MsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

}  // namespace

int main(int argc, char** argv) {
  unit_val::ConversionSettings settings;
  for (int n = 1; n <= 60; ++n) settings.RangeValue(n) = n % 3 == 0 ? 1.5 : 0.5;
  std::filesystem::path file;
  if (argc > 1) {
    file = argv[1];
  } else {
    // The generator works by file size: a small drawing tells the bytes
    // per entity.
    file = std::filesystem::temp_directory_path() / "quillon-bench-million.jww";
    constexpr std::uint64_t kProbeBytes = 4'000'000;
    bench::WriteLargeDrawing(file, 700, kProbeBytes);
    const std::optional<unit1::Preview> probe = unit1::BuildPreview(file, settings, {});
    const double perEntity =
        static_cast<double>(kProbeBytes) / std::max<std::size_t>(1, probe->drawing->items.size());
    const auto start = std::chrono::steady_clock::now();
    const std::uint64_t bytes =
        bench::WriteLargeDrawing(file, 700, static_cast<std::uint64_t>(perEntity * 1'000'000));
    std::printf("synthetic drawing: %llu bytes written in %.0f ms\n",
                static_cast<unsigned long long>(bytes), MsSince(start));
  }
  auto start = std::chrono::steady_clock::now();
  const std::optional<unit1::Preview> preview = unit1::BuildPreview(file, settings, {});
  const double built = MsSince(start);
  if (argc <= 1) std::filesystem::remove(file);
  if (!preview || preview->drawing == nullptr) {
    std::fprintf(stderr, "bench_preview_gdi: %s\n", preview ? preview->caption.c_str() : "stopped");
    return 1;
  }
  const render::DisplayList& list = *preview->drawing;
  std::printf("%s: %zu items, %zu lines, %zu arcs, %zu texts; %s\n",
              file.filename().string().c_str(), list.items.size(), list.lines.size(),
              list.arcs.size(), list.texts.size(), preview->caption.c_str());
  std::printf("preview built (read, marked, display list): %.0f ms\n", built);

  constexpr int kWidth = 1000, kHeight = 760;
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  HDC dc = ::CreateCompatibleDC(nullptr);
  void* bits = nullptr;
  HBITMAP bitmap = ::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  win32::FontCache fonts;
  start = std::chrono::steady_clock::now();
  NoPainter nothing;
  render::Walk(list, nothing);
  std::printf("walked without painting: %.0f ms\n", MsSince(start));
  const render::Rect area = list.bounds.empty() ? list.paper : list.bounds;
  const win32::PaperView fitted = win32::PaperView::Fit(area, kWidth, kHeight, 8);
  for (double zoom : {1.0, 1.0, 4.0}) {
    const win32::PaperView view =
        fitted.ZoomedAt(zoom, kWidth / 2.0, kHeight / 2.0, 0, fitted.scale * 1000);
    const RECT all{0, 0, kWidth, kHeight};
    start = std::chrono::steady_clock::now();
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    win32::PaintDisplayList(dc, list, view, kWidth, kHeight, 96, fonts);
    ::GdiFlush();
    std::printf("painted %dx%d, zoom %.0f: %.0f ms\n", kWidth, kHeight, zoom, MsSince(start));
  }
  ::SelectObject(dc, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(dc);
  return 0;
}
