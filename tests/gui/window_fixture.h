// The real windows of the program, with a settings file in a scratch program
// folder and boxes answered by the test.
#pragma once

#include <gtest/gtest.h>

#include <QString>
#include <deque>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

#include "app/unit1.h"
#include "app/unit2.h"
#include "app/user_dialogs.h"
#include "tests/support/paths.h"

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

// Records what the windows ask; Yes/No boxes are answered from `answers`
// (Yes when empty), folder choosers from `folders` (cancelled when empty).
class FakeDialogs : public unit1::UserDialogs {
 public:
  void Beep() override { ++beeps; }
  unit1::BoxAnswer ShowBox(QWidget*, unit1::BoxIcon icon, const QString& text,
                           unit1::BoxButtons buttons) override;
  std::optional<QString> ChooseFolder(QWidget*, const QString&, const QString& start) override;
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

  // Creates both windows (the dialog after the main window) and shows the
  // main one, which runs the start-up.
  void Start();
  void Close();  // by the close box: the shut-down
  std::filesystem::path IniFile() const { return program_ / "quillon.ini"; }

  void ChooseSearchFolder(const std::filesystem::path& folder);
  void ChooseDestination(const std::filesystem::path& folder);
  void ClickNode(QTreeWidgetItem* node);  // with the mouse
  QTreeWidgetItem* Root() const;
  QTreeWidgetItem* Child(QTreeWidgetItem* node, const QString& name) const;
  std::vector<QString> Column(int column) const;  // of the file list, in row order
  QTableWidget* Grid() const;
  QTreeWidget* Tree() const;
  std::vector<QString> BoxTexts() const;
  static QString Folder(const std::filesystem::path& folder);  // as the window shows it

  testing_support::ScratchDir scratch_;
  std::filesystem::path program_ = scratch_ / "program";
  std::filesystem::path data_ = scratch_ / "data";
  unit_val::ConversionSettings settings_;
  jww::Drawing drawing_;
  FakeDialogs dialogs_;
  std::unique_ptr<TForm1> form1_;
  std::unique_ptr<TForm2> form2_;
};

// A JWW drawing with `memo` (Shift-JIS bytes; UTF-16LE bytes from version
// 700 on), and a JWC (or JWK) header with two memo fields.
void WriteJww(const std::filesystem::path& file, int version, const std::string& memo);
void WriteHeaderFile(const std::filesystem::path& file, bool jwc, const std::string& field1,
                     const std::string& field2);

}  // namespace gui_test
