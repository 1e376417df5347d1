// A real run of the main window's logic, headless: TForm1 lists a folder,
// every row is highlighted, and "変換" converts them into a destination
// folder, with the settings file of a program folder. Prints the seconds of
// the run (from the confirmation to the completion text) and that text.
//
//   bench_window_run PROGRAM_FOLDER SOURCE_FOLDER DESTINATION_FOLDER
#include <chrono>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <string>

#include "app/main_view.h"
#include "app/unit1.h"

namespace {

namespace fs = std::filesystem;

// Answers Yes and the folders it is given; shows nothing.
class HeadlessView : public unit1::MainView {
 public:
  void ShowSearchFolder(const std::string&) override {}
  void ShowDestinationFolder(const std::string&) override {}
  void ShowFileType(int) override {}
  void ShowHeaders(const std::vector<std::string>&) override {}
  void ShowTree(const unit1::FolderTree&) override {}
  void EnableTree(bool) override {}
  void ShowRows(const std::vector<unit1::FileRow>&, const unit1::RowSet&) override {}
  void RefreshRows() override {}
  void SetStatusText(const std::string& text) override { status = text; }
  void ShowProgress(std::size_t, std::size_t) override {}
  void HideProgress() override {}
  void Beep() override {}
  unit1::BoxAnswer ShowBox(unit1::BoxIcon icon, const std::string& text,
                           unit1::BoxButtons) override {
    if (icon == unit1::BoxIcon::kError) std::fprintf(stderr, "box: %s\n", text.c_str());
    return unit1::BoxAnswer::kYes;
  }
  void ShowFailures(const std::string& summary, const std::vector<unit1::FailureLine>&) override {
    std::fprintf(stderr, "failures: %s\n", summary.c_str());
  }
  std::optional<fs::path> ChooseFolder(const std::string&, const fs::path&) override {
    if (folders.empty()) return std::nullopt;
    fs::path folder = folders.front();
    folders.pop_front();
    return folder;
  }
  void OpenWithAssociatedProgram(const fs::path&) override {}
  void ShowSettingsDialog() override {}
  void CloseWindow() override {}
  void ProcessPendingEvents() override {}
  bool EscapePressed() override { return false; }
  unit1::WindowGeometry Geometry(unit1::WindowId) override { return {}; }
  void SetGeometry(unit1::WindowId, const unit1::WindowGeometry&) override {}
  int PaneWidth() override { return 160; }
  void SetPaneWidth(int) override {}
  int ColumnWidth(int) override { return 64; }
  void SetColumnWidth(int, int) override {}
  int HeaderRowHeight() override { return 24; }
  int DigitWidth() override { return 8; }

  std::string status;
  std::deque<fs::path> folders;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: bench_window_run PROGRAM_FOLDER SOURCE_FOLDER DESTINATION\n");
    return 2;
  }
  unit_val::ConversionSettings settings;
  jww::Drawing drawing;
  HeadlessView view;
  TForm1 form({argv[1], settings, drawing}, view);
  form.FormShow();
  view.folders = {argv[2], argv[3]};
  form.MnuFileSFolderClick();
  form.TreeSelectionChanged(0);
  form.TreeView1Click();
  form.Button3Click();
  if (!form.listReady()) {
    std::fprintf(stderr, "nothing listed: %s\n", view.status.c_str());
    return 1;
  }
  unit1::RowSet all(form.rows().size());
  for (std::size_t row = 0; row < all.size(); ++row) all[row] = row;
  form.ListHighlightChanged(all);
  const auto start = std::chrono::steady_clock::now();
  form.Button4Click();
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - start;
  std::printf("%.3f\n%s\n", seconds.count(), view.status.c_str());
  return 0;
}
