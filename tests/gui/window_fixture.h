// The real Qt windows of the program, with a settings file in a scratch
// program folder and boxes and folder choosers answered by the test.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/qt/main_window.h"
#include "app/qt/settings_dialog.h"
#include "tests/support/paths.h"

class QTableWidget;
class QTreeWidget;

namespace gui_test {

// The main window with its boxes recorded (answered Yes), its folder
// choosers answered from `folders`, its status texts recorded, and a hook
// run at each step of a run's progress.
class TestWindow : public unit1::MainWindow {
 public:
  using MainWindow::MainWindow;
  unit1::BoxAnswer ShowBox(unit1::BoxIcon, const std::string& text, unit1::BoxButtons) override {
    boxes.push_back(text);
    return unit1::BoxAnswer::kYes;
  }
  std::optional<std::filesystem::path> ChooseFolder(const std::string&,
                                                    const std::filesystem::path&) override;
  void SetStatusText(const std::string& text) override {
    statuses.push_back(text);
    MainWindow::SetStatusText(text);
  }
  void ShowProgress(std::size_t done, std::size_t total) override {
    MainWindow::ShowProgress(done, total);
    if (onProgress) onProgress();
  }

  std::vector<std::string> boxes;
  std::deque<std::filesystem::path> folders;
  std::vector<std::string> statuses;
  std::function<void()> onProgress;
};

class WindowTest : public testing::Test {
 protected:
  WindowTest();
  ~WindowTest() override;

  // Creates both windows (the dialog after the main window) and shows the
  // main one, which runs the start-up.
  void Start();
  std::filesystem::path IniFile() const { return program_ / "quillon.ini"; }
  void ChooseSearchFolder(const std::filesystem::path& folder);
  // Chooses the search folder and lists its root, as a click on it does.
  void ListFolder(const std::filesystem::path& folder);
  // Small drawings that convert, named `names`, in `folder`.
  static void WriteDrawings(const std::filesystem::path& folder,
                            const std::vector<std::string>& names);
  QTableWidget* Grid() const;
  QTreeWidget* Tree() const;

  testing_support::ScratchDir scratch_;
  std::filesystem::path program_ = scratch_ / "program";
  std::filesystem::path data_ = scratch_ / "data";
  unit_val::ConversionSettings settings_;
  jww::Drawing drawing_;
  std::unique_ptr<TestWindow> form1_;
  std::unique_ptr<unit1::SettingsDialog> form2_;
};

}  // namespace gui_test
