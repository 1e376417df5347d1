// Views that remember what the windows' logic showed and answer its
// questions from queues, so that TForm1 and TForm2 run without any toolkit.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/main_view.h"
#include "app/settings_view.h"
#include "app/unit1.h"
#include "app/unit2.h"
#include "tests/support/paths.h"

namespace app_test {

struct AskedBox {
  unit1::BoxIcon icon;
  std::string text;
  unit1::BoxButtons buttons;
};

class FakeMainView : public unit1::MainView {
 public:
  void ShowSearchFolder(const std::string& text) override { searchFolder = text; }
  void ShowDestinationFolder(const std::string& text) override { destinationFolder = text; }
  void ShowFileType(int index) override { fileType = index; }
  void ShowHeaders(const std::vector<std::string>& shown) override { headers = shown; }
  void ShowTree(const unit1::FolderTree& tree) override { treeShown = tree; }
  void EnableTree(bool enabled) override { treeEnabled = enabled; }
  void EnableUndo(bool enabled) override { undoEnabled = enabled; }
  void SelectTreeNode(int node) override { selectedTreeNode = node; }
  void ShowRows(const std::vector<unit1::FileRow>& shown,
                const unit1::RowSet& highlighted) override {
    rows = &shown;
    highlight = highlighted;
  }
  void RefreshRows() override { ++refreshes; }
  void SetStatusText(const std::string& text) override {
    status = text;
    ++statusWrites;
  }
  void ShowProgress(std::size_t done, std::size_t total) override {
    progress = shownProgress = {done, total};
    ++progressShows;
  }
  void HideProgress() override { progress = {0, 0}; }
  void Beep() override { ++beeps; }
  unit1::BoxAnswer ShowBox(unit1::BoxIcon icon, const std::string& text,
                           unit1::BoxButtons buttons) override;
  void ShowFailures(const std::string& summary,
                    const std::vector<unit1::FailureLine>& lines) override {
    failureSummary = summary;
    failures = lines;
  }
  std::optional<std::filesystem::path> ChooseFolder(const std::string& title,
                                                    const std::filesystem::path& start) override;
  void OpenWithAssociatedProgram(const std::filesystem::path& file) override {
    opened.push_back(file);
  }
  void ShowSettingsDialog() override {
    ++settingsShown;
    if (onSettingsDialog) onSettingsDialog();
  }
  void CloseWindow() override { ++closes; }
  void ProcessPendingEvents() override {
    if (onEvents) onEvents();
  }
  bool EscapePressed() override { return onEscape ? onEscape() : escape; }
  unit1::WindowGeometry Geometry(unit1::WindowId window) override { return geometry[window]; }
  void SetGeometry(unit1::WindowId window, const unit1::WindowGeometry& g) override {
    geometry[window] = g;
  }
  void ShowPreview(std::shared_ptr<const render::DisplayList> drawing,
                   const std::string& caption) override {
    preview = std::move(drawing);
    previewCaption = caption;
    ++previewShows;
  }
  // Queued from any thread; run only by RunPosted and RunPostedUntil.
  void PostToWindow(std::function<void()> task) override;
  int PaneWidth() override { return paneWidth; }
  void SetPaneWidth(int width) override { paneWidth = width; }
  int PreviewWidth() override { return previewWidth; }
  void SetPreviewWidth(int width) override { previewWidth = width; }
  int ColumnWidth(int column) override { return columns.at(static_cast<std::size_t>(column)); }
  void SetColumnWidth(int column, int width) override {
    columns.at(static_cast<std::size_t>(column)) = width;
  }
  int HeaderRowHeight() override { return 24; }
  int DigitWidth() override { return 8; }

  // Waits until `count` tasks are queued; false if they are not within `timeout`.
  bool WaitForPosted(std::size_t count,
                     std::chrono::milliseconds timeout = std::chrono::seconds(10));
  // Runs the queued tasks (the first `most`) in the order they came; how many ran.
  std::size_t RunPosted(std::size_t most = SIZE_MAX);
  // Runs the tasks as they come until `done` holds (10 s at most); whether it does.
  bool RunPostedUntil(const std::function<bool()>& done);

  std::vector<std::string> BoxTexts() const;
  // The column's texts, row by row.
  std::vector<std::string> Column(int column) const;

  std::string searchFolder, destinationFolder, status;
  int fileType = -2;
  std::vector<std::string> headers;
  unit1::FolderTree treeShown;
  bool treeEnabled = true;
  std::optional<bool> undoEnabled;  // unset until the window sets it
  int selectedTreeNode = -1;
  const std::vector<unit1::FileRow>* rows = nullptr;
  unit1::RowSet highlight;
  int refreshes = 0;
  std::pair<std::size_t, std::size_t> progress;       // {0, 0} once hidden
  std::pair<std::size_t, std::size_t> shownProgress;  // the last shown
  int statusWrites = 0;
  int progressShows = 0;
  int beeps = 0;
  std::vector<AskedBox> boxes;
  std::deque<unit1::BoxAnswer> answers;  // Yes when empty
  std::string failureSummary;
  std::vector<unit1::FailureLine> failures;
  std::deque<std::filesystem::path> folders;  // cancelled when empty
  std::vector<std::filesystem::path> folderStarts;
  std::vector<std::filesystem::path> opened;
  int settingsShown = 0;
  std::function<void()> onSettingsDialog;  // the user's doing while the dialog is open
  int closes = 0;
  std::function<void()> onEvents;
  bool escape = false;
  std::function<bool()> onEscape;  // answers instead of `escape` when set
  std::map<unit1::WindowId, unit1::WindowGeometry> geometry;
  int paneWidth = 0;
  int previewWidth = 0;
  std::vector<int> columns = std::vector<int>(7, 0);
  std::shared_ptr<const render::DisplayList> preview;
  std::string previewCaption;
  int previewShows = 0;

 private:
  struct Posted {
    std::mutex mutex;
    std::condition_variable arrived;
    std::deque<std::function<void()>> tasks;
  };
  std::shared_ptr<Posted> posted_ = std::make_shared<Posted>();
};

class FakeSettingsView : public unit2::SettingsView {
 public:
  std::string RangeText(int n) override { return ranges.at(static_cast<std::size_t>(n)); }
  void SetRangeText(int n, const std::string& text) override {
    ranges.at(static_cast<std::size_t>(n)) = text;
  }
  bool FlagChecked(int n) override { return flags.at(static_cast<std::size_t>(n)); }
  void SetFlagChecked(int n, bool checked) override {
    flags.at(static_cast<std::size_t>(n)) = checked;
  }
  void FocusRangeBox(int n) override { focused = n; }
  void MessageBeep() override { ++beeps; }
  void ShowErrorBox(const std::string& text) override { errors.push_back(text); }
  void CloseDialog(bool stored) override { closed = stored ? 1 : 0; }

  std::vector<std::string> ranges = std::vector<std::string>(61);
  std::vector<bool> flags = std::vector<bool>(13);
  int focused = 0;
  int beeps = 0;
  std::vector<std::string> errors;
  int closed = -1;  // -1 open, 0 cancelled, 1 stored
};

// TForm1 with a scratch program folder ("program", holding the settings
// file) and a scratch data folder.
class MainWindowTest : public testing::Test {
 protected:
  MainWindowTest();
  void Start();  // the first show
  void Close();  // the shut-down
  // A new window and view on the same program folder, started.
  void Restart();
  std::filesystem::path IniFile() const { return program_ / "quillon.ini"; }
  void ChooseSearchFolder(const std::filesystem::path& folder);
  void ChooseDestination(const std::filesystem::path& folder);
  // Selects the node of `folder` (the search folder or one below it) and clicks it.
  void ClickFolder(const std::filesystem::path& folder);
  static std::string Folder(const std::filesystem::path& folder);  // as the window shows it

  testing_support::ScratchDir scratch_;
  std::filesystem::path program_ = scratch_ / "program";
  std::filesystem::path data_ = scratch_ / "data";
  unit_val::ConversionSettings settings_;
  jww::Drawing drawing_;
  FakeMainView view_;
  std::unique_ptr<TForm1> form_;
};

// Hides a file or folder whose name begins with "." where a dot alone does not.
void MakeHidden(const std::filesystem::path& entry);

// A JWW drawing with `memo` (Shift-JIS bytes; UTF-16LE bytes from version
// 700 on), and a JWC (or JWK) header with two memo fields.
void WriteJww(const std::filesystem::path& file, int version, const std::string& memo);
// A drawing (version 700) with a free-size text for each of `types`: one
// sized and coloured as text type k, which the built-in settings retype to
// k, or for 0 one that no type takes.
void WriteDrawingWithTexts(const std::filesystem::path& file, const std::vector<int>& types);
void WriteHeaderFile(const std::filesystem::path& file, bool jwc, const std::string& field1,
                     const std::string& field2);

}  // namespace app_test
