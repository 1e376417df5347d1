// Start-up and shut-down of the main window: the settings file.
#include <sstream>

#include "platform/path_text.h"
#include "platform/private_profile.h"
#include "tests/app/fake_views.h"
#include "tests/platform/read_only_folder.h"

namespace app_test {
namespace {

namespace fs = std::filesystem;
using testing_support::ReadFileBytes;
using unit1::WindowGeometry;
using unit1::WindowId;

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
  std::vector<std::string> keys = {"[Form]F1_X",   "[Form]F1_Y", "[Form]F1_W", "[Form]F1_H",
                                   "[Form]F2_X",   "[Form]F2_Y", "[Form]F2_W", "[Form]F2_H",
                                   "[Form]F1_MAX", "[Comp]F1P1", "[Comp]F1P2"};
  for (int c = 0; c < 7; ++c) keys.push_back("[Comp]F1S" + std::to_string(c));
  keys.insert(keys.end(), {"[Set]FLD1", "[Set]FLD2", "[Set]FTYP", "[Set]FLD3"});
  for (int n = 1; n <= 60; ++n) keys.push_back("[JWW]C" + std::to_string(n));
  for (int n = 1; n <= 12; ++n) keys.push_back("[JWC]C" + std::to_string(n));
  return keys;
}

bool operator==(const WindowGeometry& a, const WindowGeometry& b) {
  return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

TEST_F(MainWindowTest, FirstStartUsesBuiltInValuesAndCloseWritesEveryKeyInOrder) {
  Start();
  EXPECT_TRUE(view_.geometry[WindowId::kMain] == (WindowGeometry{192, 107, 696, 478}));
  EXPECT_TRUE(view_.geometry[WindowId::kSettings] == (WindowGeometry{192, 111, 748, 502}));
  EXPECT_EQ(view_.paneWidth, 160);
  EXPECT_EQ(view_.previewWidth, 240);
  // Every column was 64 pixels: names cut to four characters.
  EXPECT_EQ(view_.columns, (std::vector<int>{160, 72, 48, 200, 144, 40, 72}));
  EXPECT_EQ(view_.fileType, 0);
  EXPECT_EQ(view_.status, "検索フォルダを指定して下さい。");
  EXPECT_EQ(view_.destinationFolder, "");
  EXPECT_EQ(view_.headers.at(3), "図面メモ");
  EXPECT_EQ(view_.headers.at(6), "変換対象");
  EXPECT_EQ(view_.Column(0).size(), 4u);
  EXPECT_TRUE(view_.boxes.empty());

  view_.geometry[WindowId::kMain] = {5, 6, 900, 700};
  Close();
  const std::string ini = ReadFileBytes(IniFile());
  EXPECT_EQ(KeysInOrder(ini), ExpectedKeys());
  const std::vector<std::string> values = {
      Value(ini, "Form", "F1_X"), Value(ini, "Form", "F1_W"), Value(ini, "Form", "F2_X"),
      Value(ini, "Form", "F2_Y"), Value(ini, "Form", "F2_W"), Value(ini, "Form", "F2_H"),
      Value(ini, "Comp", "F1P1"), Value(ini, "Comp", "F1S3"), Value(ini, "Set", "FTYP"),
      Value(ini, "JWW", "C60"),   Value(ini, "JWC", "C12"),   Value(ini, "Set", "FLD2")};
  EXPECT_EQ(values, (std::vector<std::string>{"5", "900", "192", "111", "748", "502", "160", "200",
                                              "0", "0", "0", ""}));
  EXPECT_EQ(Value(ini, "Set", "FLD1"), Folder(program_));
}

TEST_F(MainWindowTest, StoredKeysAreAppliedAndAnUnknownFileTypeSelectsNothing) {
  testing_support::WriteFileBytes(
      IniFile(),
      "[Form]\nF1_X=40\nF1_Y=-3000\nF1_W=800\nF1_H=x\nF2_X=10\nF2_W=500\n"
      "[Comp]\nF1P1=200\nF1P2=410\nF1S1=150\nF1S6=90\n"
      "[Set]\nFLD1=" +
          Folder(data_ / "no such folder") + "\nFLD2=" + Folder(data_ / "out") +
          "\nFTYP=7\n[JWW]\nC2=0.2\n[JWC]\nC4=2\n");
  testing_support::WriteFileBytes(data_ / "a.txt", "a");
  testing_support::WriteFileBytes(data_ / "b.JWW", "b");
  Start();
  // Positions are applied as read, off the screen too; a malformed value is 0.
  EXPECT_TRUE(view_.geometry[WindowId::kMain] == (WindowGeometry{40, -3000, 800, 0}));
  EXPECT_TRUE(view_.geometry[WindowId::kSettings] == (WindowGeometry{10, 111, 500, 502}));
  EXPECT_EQ(view_.columns[1], 150);
  EXPECT_EQ(view_.columns[6], 90);
  EXPECT_EQ(view_.previewWidth, 410);
  EXPECT_EQ(view_.destinationFolder, Folder(data_ / "out"));
  EXPECT_EQ(settings_.RangeValue(2), 0.2);
  EXPECT_EQ(settings_.Flag(4), 2);
  // The saved search folder is not scanned; it is where the chooser opens.
  EXPECT_TRUE(form_->tree().empty());
  form_->MnuFileSFolderClick();
  EXPECT_EQ(view_.folderStarts.back(), data_ / "no such folder" / "");

  EXPECT_EQ(view_.fileType, -1);
  ChooseSearchFolder(data_);
  ClickFolder(data_);
  EXPECT_EQ(view_.Column(0).size(), 2u);  // no selection lists every file
  view_.previewWidth = 377;
  view_.columns[6] = 81;
  Close();
  const std::string ini = ReadFileBytes(IniFile());
  EXPECT_EQ(Value(ini, "Set", "FTYP"), "-1");
  EXPECT_EQ(Value(ini, "JWW", "C2"), "0.2");
  EXPECT_EQ(Value(ini, "Comp", "F1P1"), "200");
  EXPECT_EQ(Value(ini, "Comp", "F1P2"), "377");
  EXPECT_EQ(Value(ini, "Comp", "F1S6"), "81");
}

// A folder of more than 511 bytes came back cut in the middle of a
// character, and the next run filled a new folder of the cut name.
TEST_F(MainWindowTest, LongFoldersSurviveARestartWholeAndWhatCannotBeAFolderIsNotUsed) {
  fs::path destination = data_;
  for (int part = 0; part < 6; ++part) {
    std::string name;
    for (int c = 0; c < 50; ++c) name += "図";  // 150 bytes: within a name's limit
    destination /= platform::PathFromUtf8(name);
  }
  Start();
  ChooseDestination(destination);
  Close();
  const std::string saved = Value(ReadFileBytes(IniFile()), "Set", "FLD2");
  EXPECT_EQ(saved.size(), Folder(destination).size());
  Restart();
  EXPECT_EQ(view_.destinationFolder, Folder(destination));
  EXPECT_EQ(form_->destinationFolder(), Folder(destination));

  for (const std::string& bad : {std::string("relative/folder/"), std::string("\xff\xfe/"),
                                 Folder(data_) + "\x81", Folder(data_) + "a\tb"}) {
    testing_support::WriteFileBytes(IniFile(), "[Set]\nFLD1=" + bad + "\nFLD2=" + bad + "\n");
    Restart();
    EXPECT_EQ(form_->destinationFolder(), "") << bad;
    EXPECT_EQ(form_->searchFolder(), Folder(program_)) << bad;
  }
}

// The tree and the list came back empty, and a maximised window normal.
TEST_F(MainWindowTest, ARestartRestoresTheTreeTheListedFolderAndTheMaximisedWindow) {
  fs::create_directories(data_ / "a" / "b");
  testing_support::WriteFileBytes(data_ / "a" / "b" / "P.JWW", "x");
  Start();
  ChooseSearchFolder(data_);
  ClickFolder(data_ / "a" / "b");
  view_.geometry[WindowId::kMain] = {10, 20, 800, 600, true};
  Close();
  const std::string ini = ReadFileBytes(IniFile());
  EXPECT_EQ(Value(ini, "Set", "FLD3"), Folder(data_ / "a" / "b"));
  EXPECT_EQ(Value(ini, "Form", "F1_MAX"), "1");

  Restart();
  EXPECT_TRUE(view_.geometry[WindowId::kMain].maximised);
  EXPECT_EQ(view_.geometry[WindowId::kMain].width, 800);
  EXPECT_EQ(view_.searchFolder, Folder(data_));
  ASSERT_TRUE(form_->treeReady());
  EXPECT_EQ(form_->tree().nodes().size(), 3u);
  ASSERT_TRUE(form_->selectedNode());
  EXPECT_EQ(view_.selectedTreeNode, *form_->selectedNode());
  EXPECT_EQ(Folder(form_->tree().NodePath(*form_->selectedNode())), Folder(data_ / "a" / "b"));
  EXPECT_EQ(view_.Column(0), std::vector<std::string>{"P.JWW"});
  EXPECT_TRUE(form_->listReady());

  // A listed folder gone since leaves the tree without a listing.
  fs::remove_all(data_ / "a" / "b");
  Restart();
  EXPECT_TRUE(form_->treeReady());
  EXPECT_FALSE(form_->selectedNode());
  EXPECT_FALSE(form_->listReady());

  // A new scan empties the list: nothing is listed at the next start.
  ClickFolder(data_ / "a");
  ChooseSearchFolder(data_);
  Close();
  EXPECT_EQ(Value(ReadFileBytes(IniFile()), "Set", "FLD3"), "");
  Restart();
  EXPECT_TRUE(form_->treeReady());
  EXPECT_FALSE(form_->selectedNode());
  EXPECT_FALSE(form_->listReady());
}

TEST_F(MainWindowTest, AnOverflowingRangeValueIsReportedAndTheRestStillLoads) {
  testing_support::WriteFileBytes(IniFile(), "[JWW]\nC5=1e400\nC6=0.5\n[JWC]\nC1=1\n");
  Start();
  ASSERT_EQ(view_.boxes.size(), 1u);
  EXPECT_EQ(view_.boxes[0].icon, unit1::BoxIcon::kError);
  EXPECT_TRUE(view_.boxes[0].text.starts_with("浮動小数点数のオーバーフロー"));
  EXPECT_NE(view_.boxes[0].text.find("[JWW] C5=1e400"), std::string::npos);
  EXPECT_EQ(settings_.RangeValue(5), 0);
  EXPECT_EQ(settings_.RangeValue(6), 0.5);
  EXPECT_EQ(settings_.Flag(1), 1);
  EXPECT_EQ(view_.status, "検索フォルダを指定して下さい。");
  Close();
  const std::string ini = ReadFileBytes(IniFile());
  EXPECT_EQ(Value(ini, "JWW", "C6"), "0.5");
  EXPECT_EQ(Value(ini, "JWW", "C5"), "0");
}

TEST_F(MainWindowTest, TheExitCommandAsksFirst) {
  Start();
  view_.answers = {unit1::BoxAnswer::kNo};
  form_->MnuFileExitClick();
  EXPECT_EQ(view_.BoxTexts(), std::vector<std::string>{"終了します。よろしいですか？"});
  EXPECT_EQ(view_.boxes[0].buttons, unit1::BoxButtons::kYesNo);
  EXPECT_EQ(view_.closes, 0);
  form_->MnuFileExitClick();  // answered Yes
  EXPECT_EQ(view_.closes, 1);
}

// Every setting of the session would be lost without a word.
TEST_F(MainWindowTest, ASettingsFileThatCannotBeWrittenIsNamedInABox) {
  Start();
  testing_support::ReadOnlyFolder readOnly(program_);
  if (!readOnly.active()) GTEST_SKIP() << "this user can write into read-only folders";
  Close();
  ASSERT_EQ(view_.boxes.size(), 1u);
  EXPECT_EQ(view_.boxes[0].icon, unit1::BoxIcon::kError);
  EXPECT_EQ(view_.boxes[0].text,
            "設定ファイル「" + platform::PathToUtf8(IniFile()) + "」に保存できませんでした。");
}

}  // namespace
}  // namespace app_test
