// The real windows of the program, with a settings file in a scratch program
// folder and boxes answered by the test.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "app/unit1.h"
#include "app/unit2.h"
#include "app/user_dialogs.h"
#include "tests/support/paths.h"

// Test messages show texts as they are.
inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

class QTableWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace gui_test {

struct AskedBox {
  unit1::BoxIcon icon;
  QString text;
  unit1::BoxButtons buttons;
};

// Records what the windows ask and answers from queues: Yes/No boxes with
// Yes unless told otherwise, folder choosers with the next folder (or as
// cancelled when none is queued).
class FakeDialogs : public unit1::UserDialogs {
 public:
  void Beep() override { ++beeps; }
  unit1::BoxAnswer ShowBox(QWidget*, unit1::BoxIcon icon, const QString& text,
                           unit1::BoxButtons buttons) override;
  std::optional<QString> ChooseFolder(QWidget*, const QString& title,
                                      const QString& startFolder) override;
  void OpenWithAssociatedProgram(const std::filesystem::path& file) override {
    opened.push_back(file);
  }

  int beeps = 0;
  std::vector<AskedBox> boxes;
  std::deque<unit1::BoxAnswer> answers;
  std::deque<QString> folders;
  std::vector<QString> folderStarts;
  std::vector<std::filesystem::path> opened;
};

class WindowTest : public testing::Test {
 protected:
  WindowTest();
  ~WindowTest() override;

  // Creates both windows (dialog after main window) and shows the main one,
  // which runs the start-up.
  void Start();
  // Closes the main window by its close box (the shut-down).
  void Close();

  std::filesystem::path IniFile() const { return program_ / "quillon.ini"; }
  void WriteIni(const std::string& text) const;

  // Chooses the search folder through the dialog of the window and scans it.
  void ChooseSearchFolder(const std::filesystem::path& folder);
  void ChooseDestination(const std::filesystem::path& folder);
  // A click on a node of the folder tree, with the mouse.
  void ClickNode(QTreeWidgetItem* node);
  QTreeWidgetItem* Root() const;
  QTreeWidgetItem* Child(QTreeWidgetItem* node, const QString& name) const;
  // The texts of one column of the file list, in row order.
  std::vector<QString> Column(int column) const;
  QTableWidget* Grid() const;
  QTreeWidget* Tree() const;
  std::vector<QString> BoxTexts() const;

  static QString Folder(const std::filesystem::path& folder);

  testing_support::ScratchDir scratch_;
  std::filesystem::path program_;
  std::filesystem::path data_;
  unit_val::ConversionSettings settings_;
  jww::Drawing drawing_;
  FakeDialogs dialogs_;
  std::unique_ptr<TForm1> form1_;
  std::unique_ptr<TForm2> form2_;
};

// Test files: a JWW drawing of `version` with `memo` (Shift-JIS bytes, or
// UTF-16 for version 700) and a JWC or JWK header whose memo fields are
// `field1` and `field2`.
void WriteJww(const std::filesystem::path& file, int version, const std::string& memo);
void WriteHeaderFile(const std::filesystem::path& file, bool jwc, const std::string& field1,
                     const std::string& field2);

}  // namespace gui_test
