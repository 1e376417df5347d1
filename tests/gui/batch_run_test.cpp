// The batch conversion run: its guards, the rows it takes, what it reports.
#include <QProgressBar>
#include <QTableWidget>
#include <QTreeWidget>

#include "drawing/jww_probe.h"
#include "tests/gui/window_fixture.h"

namespace gui_test {
namespace {

namespace fs = std::filesystem;

class BatchRunTest : public WindowTest {
 protected:
  BatchRunTest() : source_(data_ / "src"), destination_(data_ / "out") {
    fs::create_directories(source_);
    fs::create_directories(destination_);
  }
  void ListSource() {
    Start();
    ChooseSearchFolder(data_);
    ClickNode(Child(Root(), "src"));
  }
  // Selects rows first..last of the list (counted from 1, as the user sees them).
  void SelectRows(int first, int last) {
    Grid()->clearSelection();
    Grid()->setRangeSelected(QTableWidgetSelectionRange(first - 1, 0, last - 1, 5), true);
  }
  int RowOf(const QString& name) const {
    const std::vector<QString> names = Column(0);
    return int(std::find(names.begin(), names.end(), name) - names.begin()) + 1;
  }

  fs::path source_;
  fs::path destination_;
};

TEST_F(BatchRunTest, TheFourGuardsAndANoStopTheRunBeforeAnythingIsWritten) {
  WriteJww(source_ / "A.JWW", 600, "");
  fs::create_directory(data_ / "nothing");
  Start();
  form1_->Button4Click();
  ChooseSearchFolder(data_);
  ClickNode(Child(Root(), "nothing"));
  form1_->Button4Click();
  ClickNode(Child(Root(), "src"));
  form1_->Button4Click();
  ChooseDestination(source_ / ".." / "src");  // the source folder, written another way
  form1_->Button4Click();
  EXPECT_EQ(BoxTexts(), (std::vector<QString>{
                            "検索フォルダを指定して下さい。", "ファイル一覧が表示されていません。",
                            "保存先フォルダを指定して下さい。",
                            "保存先フォルダとファイルのフォルダが同じになっています。"}));
  EXPECT_EQ(dialogs_.beeps, 4);
  EXPECT_EQ(dialogs_.boxes[2].icon, unit1::BoxIcon::kQuestion);
  EXPECT_EQ(dialogs_.boxes[3].buttons, unit1::BoxButtons::kOk);
  EXPECT_EQ(std::distance(fs::directory_iterator(source_), fs::directory_iterator()), 1);

  ChooseDestination(destination_);
  dialogs_.answers = {unit1::BoxAnswer::kNo};
  form1_->Button4Click();
  EXPECT_EQ(BoxTexts().back(), "変換を開始します。よろしいですか？");
  EXPECT_EQ(form1_->statusText(), "変換作業をキャンセルしました。");
  EXPECT_TRUE(fs::is_empty(destination_));
}

TEST_F(BatchRunTest, OnlyTheSelectedJwwDrawingsAreConvertedAndOldFilesKeptAsBackups) {
  for (const char* name : {"R1.JWW", "R2.JWW", "R3.JWW", "R5.jww", "R7.JWW", "R8.JWW"}) {
    WriteJww(source_ / name, 600, name);
  }
  WriteHeaderFile(source_ / "R4.JWC", true, "jwc", "");
  WriteJww(source_ / "R6.BAK", 600, "a drawing named .BAK");
  testing_support::WriteFileBytes(source_ / "R6b.JW$", "JwwData.");
  testing_support::WriteFileBytes(destination_ / "R3.JWW", "older");
  testing_support::WriteFileBytes(destination_ / "R3.BAK", "oldest");
  ListSource();
  ChooseDestination(destination_);
  form1_->StringGrid1MouseDown(QPoint(8, 4));  // sort by name: R1, R2, R3, R4, R5, R6, R6b, R7, R8
  ASSERT_EQ(Column(0)[2], "R3.JWW");
  SelectRows(3, 8);
  form1_->Button4Click();
  EXPECT_TRUE(form1_->statusText().startsWith("変換作業を完了しました。"));
  EXPECT_TRUE(form1_->statusText().contains("変換 3 件、失敗 0 件、対象外 3 件"));
  std::vector<std::string> written;
  for (const auto& entry : fs::directory_iterator(destination_)) {
    written.push_back(entry.path().filename().string());
  }
  std::sort(written.begin(), written.end());
  EXPECT_EQ(written, (std::vector<std::string>{"R3.BAK", "R3.JWW", "R5.jww", "R7.JWW"}));
  EXPECT_EQ(testing_support::ReadFileBytes(destination_ / "R3.BAK"), "older");
  EXPECT_TRUE(jww::IsJwwFile(destination_ / "R3.JWW"));
  EXPECT_EQ(BoxTexts().size(), 1u);  // the confirmation; nothing failed
  const auto* progress = form1_->findChild<QProgressBar*>("RunProgress");
  EXPECT_EQ(progress->value(), 3);
  EXPECT_FALSE(progress->isVisible());
  EXPECT_EQ(form1_->NodePath(Tree()->currentItem()), Folder(source_));  // the list still shows it
}

TEST_F(BatchRunTest, FilesThatFailAreListedWithStageAndReason) {
  WriteJww(source_ / "A.JWW", 600, "");
  testing_support::WriteFileBytes(source_ / "B.JWW", "JwwData.broken");  // the load fails
  WriteJww(source_ / "C.JWW", 600, "");
  ListSource();
  ChooseDestination(destination_);
  SelectRows(1, 3);
  fs::remove(source_ / "C.JWW");  // gone since the listing
  form1_->Button4Click();
  EXPECT_TRUE(form1_->statusText().contains("変換 1 件、失敗 2 件、対象外 0 件"));
  ASSERT_EQ(dialogs_.boxes.size(), 2u);
  const AskedBox& report = dialogs_.boxes[1];
  EXPECT_EQ(report.icon, unit1::BoxIcon::kInformation);
  EXPECT_TRUE(report.text.contains(Folder(source_) + "B.JWW\n    読み込み: "))
      << report.text.toStdString();
  EXPECT_TRUE(report.text.contains(Folder(source_) + "C.JWW\n    読み込み: "));
  EXPECT_FALSE(report.text.contains("A.JWW"));
  EXPECT_TRUE(fs::exists(destination_ / "A.JWW"));
  EXPECT_FALSE(fs::exists(destination_ / "B.JWW"));
}

}  // namespace
}  // namespace gui_test
