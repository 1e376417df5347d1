// The batch conversion run: its guards, the rows it takes, what it reports,
// the stop command.
#include <algorithm>

#include "drawing/jww_probe.h"
#include "platform/path_text.h"
#include "tests/app/fake_views.h"

namespace app_test {
namespace {

namespace fs = std::filesystem;

class BatchRunTest : public MainWindowTest {
 protected:
  BatchRunTest() : source_(data_ / "src"), destination_(data_ / "out") {
    fs::create_directories(source_);
    fs::create_directories(destination_);
  }
  void ListSource() {
    Start();
    ChooseSearchFolder(data_);
    ClickFolder(source_);
  }
  // Highlights rows first..last of the list (counted from 1, as the user sees them).
  void Highlight(std::size_t first, std::size_t last) {
    unit1::RowSet rows;
    for (std::size_t row = first - 1; row < last; ++row) rows.push_back(row);
    form_->ListHighlightChanged(rows);
  }
  std::vector<std::string> Written() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(destination_)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  fs::path source_;
  fs::path destination_;
};

TEST_F(BatchRunTest, TheGuardsAndANoStopTheRunBeforeAnythingIsWritten) {
  WriteJww(source_ / "A.JWW", 600, "");
  fs::create_directory(data_ / "nothing");
  Start();
  form_->Button4Click();
  ChooseSearchFolder(data_);
  ClickFolder(data_ / "nothing");
  form_->Button4Click();
  ClickFolder(source_);
  form_->Button4Click();
  ChooseDestination(source_ / ".." / "src");  // the source folder, written another way
  form_->Button4Click();
  EXPECT_EQ(view_.BoxTexts(),
            (std::vector<std::string>{"検索フォルダを指定して下さい。",
                                      "ファイル一覧が表示されていません。",
                                      "保存先フォルダを指定して下さい。",
                                      "保存先フォルダとファイルのフォルダが同じになっています。"}));
  EXPECT_EQ(view_.beeps, 4);
  EXPECT_EQ(view_.boxes[2].icon, unit1::BoxIcon::kQuestion);
  EXPECT_EQ(view_.boxes[3].buttons, unit1::BoxButtons::kOk);

  ChooseDestination(destination_);
  view_.answers = {unit1::BoxAnswer::kNo};
  form_->ListHighlightChanged({0});
  form_->Button4Click();
  EXPECT_EQ(view_.BoxTexts().back(),
            "変換を開始します。よろしいですか？\n1 件の図面を変換します。\n保存先：" +
                Folder(destination_));
  EXPECT_EQ(view_.status, "変換作業をキャンセルしました。");
  EXPECT_TRUE(fs::is_empty(destination_));
}

// Right after a listing the first row was highlighted, and the run converted
// it although nobody had picked it.
TEST_F(BatchRunTest, WithNothingHighlightedTheRunRefuses) {
  WriteJww(source_ / "A.JWW", 600, "");
  ListSource();
  ChooseDestination(destination_);
  EXPECT_TRUE(view_.highlight.empty());
  form_->Button4Click();
  EXPECT_EQ(view_.BoxTexts(), std::vector<std::string>{"変換するファイルを選択して下さい。"});
  EXPECT_EQ(view_.boxes[0].icon, unit1::BoxIcon::kError);
  EXPECT_TRUE(fs::is_empty(destination_));
}

TEST_F(BatchRunTest, OnlyTheHighlightedJwwDrawingsAreConvertedAndOldFilesKeptAsBackups) {
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
  form_->StringGrid1MouseDown(8, 4);  // sort by name: R1, R2, R3, R4, R5, R6, R6b, R7, R8
  ASSERT_EQ(view_.Column(0)[2], "R3.JWW");
  Highlight(3, 8);
  form_->Button4Click();
  // The question counts the highlighted drawings (R3, R5, R7) and names the folder.
  EXPECT_EQ(view_.boxes.at(0).text,
            "変換を開始します。よろしいですか？\n3 件の図面を変換します。\n保存先：" +
                Folder(destination_));
  EXPECT_EQ(view_.status,
            "変換作業を完了しました。（変換 3 件、文字 0 件、失敗 0 件、対象外 3 件）");
  EXPECT_EQ(Written(), (std::vector<std::string>{"R3.BAK", "R3.JWW", "R5.jww", "R7.JWW"}));
  EXPECT_EQ(testing_support::ReadFileBytes(destination_ / "R3.BAK"), "older");
  EXPECT_TRUE(jww::IsJwwFile(destination_ / "R3.JWW"));
  EXPECT_EQ(view_.boxes.size(), 1u);  // the confirmation; nothing failed
  EXPECT_TRUE(view_.failures.empty());
  EXPECT_EQ(view_.progress, (std::pair<std::size_t, std::size_t>{0, 0}));  // hidden again
  EXPECT_FALSE(form_->busy());
}

// The completion text counted files only; the texts retyped were not said.
TEST_F(BatchRunTest, TheCompletionTextCountsTheTextsRetyped) {
  fs::copy_file(fs::path(QUILLON_SOURCE_DIR) / "examples" / "PLAN.jww", source_ / "PLAN.jww");
  testing_support::WriteFileBytes(source_ / "notes.txt", "x");
  testing_support::WriteFileBytes(
      IniFile(), "[JWW]\nC1=0.5\nC2=0.5\nC21=0.5\nC22=0.5\nC41=1\nC42=1\n[JWC]\nC1=1\n");
  ListSource();
  ChooseDestination(destination_);
  Highlight(1, 2);
  form_->Button4Click();
  const std::string& status = view_.status;
  ASSERT_TRUE(status.starts_with("変換作業を完了しました。（変換 1 件、文字 ")) << status;
  EXPECT_TRUE(status.ends_with(" 件、失敗 0 件、対象外 1 件）")) << status;
  EXPECT_EQ(status.find("文字 0 件"), std::string::npos) << status;
}

TEST_F(BatchRunTest, FilesThatFailAreListedWithStageAndReason) {
  WriteJww(source_ / "A.JWW", 600, "");
  testing_support::WriteFileBytes(source_ / "B.JWW", "JwwData.broken");  // the load fails
  WriteJww(source_ / "C.JWW", 600, "");
  ListSource();
  ChooseDestination(destination_);
  form_->StringGrid1MouseDown(8, 4);
  Highlight(1, 3);
  fs::remove(source_ / "C.JWW");  // gone since the listing
  form_->Button4Click();
  EXPECT_EQ(view_.status,
            "変換作業を完了しました。（変換 1 件、文字 0 件、失敗 2 件、対象外 0 件）");
  EXPECT_EQ(view_.failureSummary, "変換できなかったファイルがあります（2 件）。");
  ASSERT_EQ(view_.failures.size(), 2u);
  EXPECT_EQ(view_.failures[0].file, platform::PathToUtf8(source_ / "B.JWW"));
  EXPECT_EQ(view_.failures[0].stage, "読み込み");
  EXPECT_EQ(view_.failures[0].reason, "図面データが壊れています。");
  EXPECT_EQ(view_.failures[1].file, platform::PathToUtf8(source_ / "C.JWW"));
  EXPECT_TRUE(view_.failures[1].reason.starts_with("ファイルを開けません。"));
  EXPECT_TRUE(fs::exists(destination_ / "A.JWW"));
  EXPECT_FALSE(fs::exists(destination_ / "B.JWW"));
}

// A window run could not be stopped.
TEST_F(BatchRunTest, TheStopCommandEndsTheRunBetweenFiles) {
  for (int i = 0; i < 6; ++i) WriteJww(source_ / ("F" + std::to_string(i) + ".JWW"), 600, "");
  ListSource();
  ChooseDestination(destination_);
  Highlight(1, 6);
  int files = 0;
  view_.onEvents = [&] {
    if (++files == 2) form_->StopCommand();
  };
  form_->Button4Click();
  EXPECT_TRUE(view_.status.starts_with("変換作業を中止しました。（変換 ")) << view_.status;
  EXPECT_LT(Written().size(), 6u);
  EXPECT_FALSE(form_->busy());

  // Escape stops it too; the next run starts afresh.
  fs::remove_all(destination_);
  fs::create_directory(destination_);
  view_.onEvents = nullptr;
  view_.escape = true;
  form_->Button4Click();
  EXPECT_TRUE(view_.status.starts_with("変換作業を中止しました。")) << view_.status;
  view_.escape = false;
  form_->Button4Click();
  EXPECT_EQ(view_.status,
            "変換作業を完了しました。（変換 6 件、文字 0 件、失敗 0 件、対象外 0 件）");
}

}  // namespace
}  // namespace app_test
