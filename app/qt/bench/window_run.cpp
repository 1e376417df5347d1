// A real run of the Qt main window, painting included: the window is shown
// on the display (Xvfb in bench/window_run_qt.sh), lists a folder, every row
// is highlighted by Ctrl+A, and "変換" is pressed; the confirmation box is
// answered Yes like a user would. Prints the seconds from that answer to
// the last file in place with the completion text painted, and that text.
//
//   bench_window_run_qt PROGRAM_FOLDER SOURCE_FOLDER DESTINATION_FOLDER
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QMessageBox>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>
#include <cstdio>
#include <deque>
#include <filesystem>

#include "app/qt/main_window.h"
#include "app/qt/qt_text.h"
#include "app/qt/settings_dialog.h"

namespace {

namespace fs = std::filesystem;

// The real window; only the folder choosers are answered from a list, and
// a failure list is printed rather than shown.
class BenchWindow : public unit1::MainWindow {
 public:
  using MainWindow::MainWindow;
  std::optional<fs::path> ChooseFolder(const std::string&, const fs::path&) override {
    if (folders.empty()) return std::nullopt;
    fs::path folder = folders.front();
    folders.pop_front();
    return folder;
  }
  void ShowFailures(const std::string& summary, const std::vector<unit1::FailureLine>&) override {
    std::fprintf(stderr, "failures: %s\n", summary.c_str());
  }
  std::deque<fs::path> folders;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  if (argc != 4) {
    std::fprintf(stderr, "usage: bench_window_run_qt PROGRAM_FOLDER SOURCE_FOLDER DESTINATION\n");
    return 2;
  }
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
  window.folders = {argv[2], argv[3]};
  window.form().MnuFileSFolderClick();
  window.form().TreeSelectionChanged(0);
  window.form().TreeView1Click();
  window.form().Button3Click();
  if (!window.form().listReady()) {
    std::fprintf(stderr, "nothing listed: %s\n", qPrintable(window.statusText()));
    return 1;
  }
  auto* grid = window.findChild<QTableWidget*>(QStringLiteral("StringGrid1"));
  grid->setFocus();
  QTest::keyClick(grid, Qt::Key_A, Qt::ControlModifier);
  QApplication::processEvents();
  if (window.form().highlight().size() != window.form().rows().size()) {
    std::fprintf(stderr, "Ctrl+A highlighted %zu of %zu rows\n", window.form().highlight().size(),
                 window.form().rows().size());
    return 1;
  }

  QElapsedTimer clock;
  QTimer::singleShot(200, [&clock] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) {
      std::fprintf(stderr, "no confirmation box\n");
      std::exit(1);
    }
    clock.start();
    box->button(QMessageBox::Yes)->click();
  });
  QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("Button4")), Qt::LeftButton);
  QApplication::processEvents();  // the completion text painted
  const double seconds = static_cast<double>(clock.nsecsElapsed()) / 1e9;
  std::printf("%.3f\n%s\n", seconds, qPrintable(window.statusText()));
  window.close();
  return 0;
}
