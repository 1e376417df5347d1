// The preview of the real Qt main window, shown on the display (Xvfb in
// bench/preview_qt.sh): the folder is listed, and each drawing in it is
// highlighted by a click on its row in turn; prints the milliseconds from
// the click to its whole picture painted in the pane (median of the
// rounds), and, for the largest drawings, the load and display list off
// the window and the paint of the list into an offscreen image.
//
//   bench_preview_qt PROGRAM_FOLDER FOLDER [ROUNDS]
//   (PREVIEW_PNG_DIR=DIR: every drawing's offscreen picture saved there)
//   bench_preview_qt make-synthetic FILE ENTITIES
//   bench_preview_qt column PROGRAM_FOLDER FOLDER
//   (the seconds from the listing to every row's "変換対象" filled in, and the
//   texts counted overall; nothing else)
#include <QApplication>
#include <QElapsedTimer>
#include <QPainter>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "app/drawing_preview.h"
#include "app/qt/elided_text.h"
#include "app/qt/main_window.h"
#include "app/qt/preview_painter.h"
#include "app/qt/preview_pane.h"
#include "app/qt/settings_dialog.h"
#include "bench/synthetic_large.h"
#include "drawing/jww_writer.h"

namespace {

namespace fs = std::filesystem;

// The real window; the folder chooser is answered with the folder to list.
class BenchWindow : public unit1::MainWindow {
 public:
  using MainWindow::MainWindow;
  std::optional<fs::path> ChooseFolder(const std::string&, const fs::path&) override {
    return folder;
  }
  fs::path folder;
};

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// A drawing of about `entities` top-level entities, in the mix of the
// benchmarks' synthetic drawings.
int MakeSynthetic(const fs::path& file, std::uint64_t entities) {
  const jww::Drawing probe = bench::MakeLargeDrawing(700, 4 << 20);
  const double bytesPerEntity = static_cast<double>(4 << 20) / probe.top.order.size();
  jww::Drawing drawing =
      bench::MakeLargeDrawing(700, static_cast<std::uint64_t>(bytesPerEntity * entities));
  const jww::SaveResult saved = jww::SaveJww(drawing, file, 700);
  if (!saved) {
    std::fprintf(stderr, "cannot write %s: %s\n", file.c_str(), saved.error.c_str());
    return 1;
  }
  std::printf("%s: %zu top-level entities, %.1f MB\n", file.filename().c_str(),
              drawing.top.order.size(), static_cast<double>(fs::file_size(file)) / 1e6);
  return 0;
}

// The longest the window went without taking its events while it waited.
double longestStallMs = 0;

// Waits for the window's events until `done`, at most `limitMs`.
template <class Done>
bool WaitFor(Done done, int limitMs) {
  QElapsedTimer waited, sinceTick;
  waited.start();
  sinceTick.start();
  QTimer tick;
  // Wakes the wait even when nothing else happens, and measures how late
  // each tick comes.
  QObject::connect(&tick, &QTimer::timeout, [&sinceTick] {
    longestStallMs = std::max(longestStallMs, static_cast<double>(sinceTick.nsecsElapsed()) / 1e6);
    sinceTick.restart();
  });
  tick.start(5);
  while (!done()) {
    if (waited.elapsed() > limitMs) return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return true;
}

// The load and list off the window, and the paint of the list offscreen
// at the size of the pane and at 1280 x 900.
void Offscreen(const fs::path& file, const unit_val::ConversionSettings& settings, int rounds,
               QSize pane) {
  std::vector<double> built, painted, large;
  std::shared_ptr<const render::DisplayList> list;
  for (int r = 0; r < rounds; ++r) {
    QElapsedTimer clock;
    clock.start();
    std::optional<unit1::Preview> preview = unit1::BuildPreview(file, settings, {});
    built.push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
    if (!preview || !preview->drawing) {
      std::fprintf(stderr, "%s: no preview\n", file.c_str());
      return;
    }
    list = preview->drawing;
    for (QSize size : {pane, QSize(1280, 900)}) {
      QImage image(size, QImage::Format_ARGB32_Premultiplied);
      image.fill(Qt::white);
      unit1::PreviewView view;
      view.Fit(list->bounds.empty() ? list->paper : list->bounds, size);
      clock.restart();
      QPainter painter(&image);
      unit1::PaintDisplayList(*list, painter, view, image.rect());
      painter.end();
      (size == pane ? painted : large).push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
      if (const char* folder = std::getenv("PREVIEW_PNG_DIR"); folder && size != pane) {
        image.save(QString::fromStdString((fs::path(folder) / file.stem()).string() + ".png"));
      }
    }
  }
  const auto marked =
      std::count_if(list->texts.begin(), list->texts.end(),
                    [](const render::TextShape& text) { return text.newType != 0; });
  std::printf(
      "offscreen %s: %zu items, %zu lines, %zu texts (%td marked): read + display list %.1f ms, "
      "paint %dx%d %.1f ms, paint 1280x900 %.1f ms\n",
      file.filename().c_str(), list->items.size(), list->lines.size(), list->texts.size(), marked,
      Median(built), pane.width(), pane.height(), Median(painted), Median(large));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "make-synthetic") {
    return MakeSynthetic(argv[2], std::stoull(argv[3]));
  }
  const bool columnOnly = argc == 4 && std::string(argv[1]) == "column";
  if (columnOnly) {
    --argc;
    ++argv;
  }
  QApplication application(argc, argv);
  if (argc < 3) {
    std::fprintf(stderr, "usage: bench_preview_qt PROGRAM_FOLDER FOLDER [ROUNDS]\n");
    return 2;
  }
  const int rounds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
  unit_val::ConversionSettings settings;
  jww::Drawing drawing;
  BenchWindow window({argv[1], settings, drawing});
  unit1::SettingsDialog dialog(settings, &window);
  window.AttachSettingsDialog(&dialog);
  window.show();
  if (!QTest::qWaitForWindowExposed(&window)) {
    std::fprintf(stderr, "the window was never shown\n");
    return 1;
  }
  window.folder = argv[2];
  window.form().MnuFileSFolderClick();
  window.form().TreeSelectionChanged(0);
  QElapsedTimer listing;
  listing.start();
  window.form().TreeView1Click();
  auto* grid = window.findChild<QTableWidget*>(QStringLiteral("StringGrid1"));
  auto* canvas = static_cast<unit1::PreviewCanvas*>(
      window.findChild<QWidget*>(QStringLiteral("PreviewCanvas")));
  auto* caption =
      static_cast<unit1::ElidedLabel*>(window.findChild<QLabel*>(QStringLiteral("PreviewCaption")));
  const std::vector<unit1::FileRow>& rows = window.form().rows();
  // The counts of the list first: they share the machine with the preview.
  const bool counted = WaitFor(
      [&] {
        return std::all_of(rows.begin(), rows.end(),
                           [](const unit1::FileRow& row) { return !row.retypeText.empty(); });
      },
      600'000);
  if (!counted || rows.size() < 2) {
    std::fprintf(stderr, "the list was not counted (%zu rows)\n", rows.size());
    return 1;
  }
  if (columnOnly) {
    long long total = 0;
    for (const unit1::FileRow& row : rows) total += std::max(row.retypeCount, 0);
    std::printf("%.3f seconds, %zu rows, %lld texts\n",
                static_cast<double>(listing.nsecsElapsed()) / 1e9, rows.size(), total);
    return 0;
  }

  longestStallMs = 0;  // from the first click on
  std::map<std::string, std::vector<double>> times;
  std::map<std::string, std::string> captions;
  for (int r = 0; r < rounds; ++r) {
    for (int row = 0; row < grid->rowCount(); ++row) {
      const std::string name = rows[static_cast<std::size_t>(row)].nameText;
      const auto before = canvas->list();
      grid->scrollToItem(grid->item(row, 0));
      const QPoint at = grid->visualItemRect(grid->item(row, 0)).center();
      QElapsedTimer clock;
      clock.start();
      QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
      if (!WaitFor([&] { return canvas->list() != before && canvas->PictureShown(); }, 600'000)) {
        std::fprintf(stderr, "%s: no picture\n", name.c_str());
        return 1;
      }
      times[name].push_back(static_cast<double>(clock.nsecsElapsed()) / 1e6);
      captions[name] = caption->fullText().toStdString();
    }
  }
  double worst = 0;
  std::string worstName;
  std::vector<std::pair<std::uintmax_t, fs::path>> bySize;
  for (const auto& [name, list] : times) {
    const double median = Median(list);
    std::printf("%-28s %8.1f ms  %s\n", name.c_str(), median, captions[name].c_str());
    const fs::path file = fs::path(argv[2]) / name;
    bySize.emplace_back(fs::file_size(file), file);
    if (name.rfind("synthetic", 0) != 0 && median > worst) {
      worst = median;
      worstName = name;
    }
  }
  std::printf(
      "slowest real drawing: %s %.1f ms from the click to its picture painted "
      "(median of %d; aim: 100 ms)\n",
      worstName.c_str(), worst, rounds);
  std::printf(
      "the longest the window went without taking its events: %.1f ms "
      "(a timer of 5 ms)\n",
      longestStallMs);
  std::sort(bySize.rbegin(), bySize.rend());
  // All of them when their pictures are kept to be looked at.
  const std::size_t offscreen = std::getenv("PREVIEW_PNG_DIR") ? bySize.size() : 2;
  for (std::size_t i = 0; i < bySize.size() && i < offscreen; ++i) {
    Offscreen(bySize[i].second, settings, rounds, canvas->size());
  }
  window.close();
  return 0;
}
