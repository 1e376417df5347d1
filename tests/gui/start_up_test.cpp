// Start-up and shut-down of the main window: the settings file.
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>
#include <QTreeWidget>
#include <sstream>

#include "platform/private_profile.h"
#include "tests/gui/window_fixture.h"

namespace gui_test {
namespace {

using testing_support::ReadFileBytes;

std::string Value(const std::string& ini, const char* section, const char* key) {
  return platform::ProfileDocument(ini).Find(section, key).value_or("(missing)");
}

// The keys of the file in the order they stand, as "[section]key".
std::vector<std::string> KeysInOrder(const std::string& ini) {
  std::vector<std::string> keys;
  std::string section;
  std::istringstream in(ini);
  for (std::string line; std::getline(in, line);) {
    if (line.starts_with('[')) {
      section = line.substr(0, line.find(']') + 1);
    } else if (line.find('=') != std::string::npos) {
      keys.push_back(section + line.substr(0, line.find('=')));
    }
  }
  return keys;
}

std::vector<std::string> ExpectedKeys() {
  std::vector<std::string> keys = {"[Form]F1_X", "[Form]F1_Y", "[Form]F1_W",
                                   "[Form]F1_H", "[Form]F2_X", "[Form]F2_Y",
                                   "[Form]F2_W", "[Form]F2_H", "[Comp]F1P1"};
  for (int c = 0; c < 6; ++c) keys.push_back("[Comp]F1S" + std::to_string(c));
  keys.insert(keys.end(), {"[Set]FLD1", "[Set]FLD2", "[Set]FTYP"});
  for (int n = 1; n <= 60; ++n) keys.push_back("[JWW]C" + std::to_string(n));
  for (int n = 1; n <= 12; ++n) keys.push_back("[JWC]C" + std::to_string(n));
  return keys;
}

TEST_F(WindowTest, FirstStartUsesBuiltInValuesAndCloseWritesEveryKeyInOrder) {
  Start();
  EXPECT_EQ(form1_->frameGeometry(), QRect(192, 107, 696, 478));
  EXPECT_EQ(form1_->findChild<QComboBox*>("ComboBox1")->currentIndex(), 0);
  EXPECT_EQ(form1_->statusText(), "検索フォルダを指定して下さい。");
  EXPECT_TRUE(form1_->findChild<QLineEdit*>("Edit2")->text().isEmpty());
  EXPECT_EQ(Grid()->horizontalHeaderItem(3)->text(), "図面メモ");
  EXPECT_EQ(Grid()->rowCount(), 4);
  EXPECT_TRUE(dialogs_.boxes.empty());
  ASSERT_TRUE(form1_->tempFolder() && form1_->tempFolder()->ok());
  const std::filesystem::path temp = form1_->tempFolder()->path();

  Close();
  EXPECT_FALSE(std::filesystem::exists(temp));
  const std::string ini = ReadFileBytes(IniFile());
  EXPECT_EQ(KeysInOrder(ini), ExpectedKeys());
  const std::vector<std::string> values = {
      Value(ini, "Form", "F1_X"), Value(ini, "Form", "F1_W"), Value(ini, "Form", "F2_X"),
      Value(ini, "Form", "F2_Y"), Value(ini, "Form", "F2_W"), Value(ini, "Form", "F2_H"),
      Value(ini, "Comp", "F1P1"), Value(ini, "Comp", "F1S3"), Value(ini, "Set", "FTYP"),
      Value(ini, "JWW", "C60"),   Value(ini, "JWC", "C12"),   Value(ini, "Set", "FLD2")};
  EXPECT_EQ(values, (std::vector<std::string>{"192", "696", "192", "111", "748", "502", "160", "64",
                                              "0", "0", "0", ""}));
  EXPECT_EQ(Value(ini, "Set", "FLD1"), Folder(program_).toStdString());
}

TEST_F(WindowTest, StoredKeysAreAppliedAndAnUnknownFileTypeSelectsNothing) {
  testing_support::WriteFileBytes(
      IniFile(),
      "[Form]\nF1_X=40\nF1_Y=-3000\nF1_W=800\nF1_H=x\nF2_X=10\nF2_W=500\n"
      "[Comp]\nF1P1=200\nF1S1=150\n"
      "[Set]\nFLD1=/no/such/folder/\nFLD2=/out/\nFTYP=7\n"
      "[JWW]\nC2=0.2\n[JWC]\nC4=2\n");
  testing_support::WriteFileBytes(data_ / "a.txt", "a");
  testing_support::WriteFileBytes(data_ / "b.JWW", "b");
  Start();
  // Positions are applied as read, off the screen too; a malformed value is 0.
  EXPECT_EQ(form1_->frameGeometry().topLeft(), QPoint(40, -3000));
  EXPECT_EQ(form1_->frameGeometry().width(), 800);
  EXPECT_EQ(form2_->frameGeometry(), QRect(10, 111, 500, 502));
  EXPECT_EQ(Grid()->columnWidth(1), 150);
  EXPECT_EQ(form1_->findChild<QLineEdit*>("Edit2")->text(), "/out/");
  EXPECT_EQ(settings_.RangeValue(2), 0.2);
  EXPECT_EQ(settings_.Flag(4), 2);
  // The saved search folder is not scanned; it is where the chooser opens.
  EXPECT_EQ(Tree()->topLevelItemCount(), 0);
  EXPECT_TRUE(dialogs_.boxes.empty());
  form1_->MnuFileSFolderClick();
  EXPECT_EQ(dialogs_.folderStarts.back(), "/no/such/folder/");

  EXPECT_EQ(form1_->findChild<QComboBox*>("ComboBox1")->currentIndex(), -1);
  ChooseSearchFolder(data_);
  ClickNode(Root());
  EXPECT_EQ(Grid()->rowCount(), 2);  // no selection lists every file
  Close();
  const std::string ini = ReadFileBytes(IniFile());
  EXPECT_EQ(Value(ini, "Set", "FTYP"), "-1");
  EXPECT_EQ(Value(ini, "JWW", "C2"), "0.2");
  EXPECT_EQ(Value(ini, "Comp", "F1P1"), "200");
}

TEST_F(WindowTest, AnOverflowingRangeValueIsReportedAndTheRestStillLoads) {
  testing_support::WriteFileBytes(IniFile(), "[JWW]\nC5=1e400\nC6=0.5\n[JWC]\nC1=1\n");
  Start();
  ASSERT_EQ(dialogs_.boxes.size(), 1u);
  EXPECT_EQ(dialogs_.boxes[0].icon, unit1::BoxIcon::kError);
  EXPECT_TRUE(dialogs_.boxes[0].text.startsWith("浮動小数点数のオーバーフロー"));
  EXPECT_TRUE(dialogs_.boxes[0].text.contains("C5=1e400"));
  EXPECT_EQ(settings_.RangeValue(5), 0);
  EXPECT_EQ(settings_.RangeValue(6), 0.5);
  EXPECT_EQ(settings_.Flag(1), 1);
  EXPECT_EQ(Grid()->horizontalHeaderItem(0)->text(), "ファイル名");
  EXPECT_EQ(form1_->statusText(), "検索フォルダを指定して下さい。");
  Close();
  const std::string ini = ReadFileBytes(IniFile());
  EXPECT_EQ(Value(ini, "JWW", "C6"), "0.5");
  EXPECT_EQ(Value(ini, "JWW", "C5"), "0");
  EXPECT_EQ(Value(ini, "JWC", "C1"), "1");
}

TEST_F(WindowTest, TheExitCommandAsksFirst) {
  Start();
  dialogs_.answers = {unit1::BoxAnswer::kNo};
  form1_->MnuFileExitClick();
  EXPECT_EQ(BoxTexts(), std::vector<QString>{"終了します。よろしいですか？"});
  EXPECT_EQ(dialogs_.boxes[0].buttons, unit1::BoxButtons::kYesNo);
  EXPECT_TRUE(form1_->isVisible());
  EXPECT_FALSE(std::filesystem::exists(IniFile()));

  form1_->MnuFileExitClick();  // answered Yes
  EXPECT_FALSE(form1_->isVisible());
  EXPECT_TRUE(std::filesystem::exists(IniFile()));
}

}  // namespace
}  // namespace gui_test
