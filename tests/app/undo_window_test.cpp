// "変換を元に戻す" from the window: the folder back to the byte, the
// question, what is left alone, a stop, and when the item is enabled.
#include <map>

#include "platform/path_text.h"
#include "tests/app/fake_views.h"

namespace app_test {
namespace {

namespace fs = std::filesystem;

// Every file of `folder` by name, with its bytes.
std::map<std::string, std::string> FolderFiles(const fs::path& folder) {
  std::map<std::string, std::string> files;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    if (entry.is_regular_file()) {
      files[entry.path().filename().string()] = testing_support::ReadFileBytes(entry.path());
    }
  }
  return files;
}

class UndoWindowTest : public MainWindowTest {
 protected:
  UndoWindowTest() : source_(data_ / "src"), out_(data_ / "out") {
    fs::create_directories(source_);
    WriteDrawingWithTexts(source_ / "A.JWW", {2, 5});
    WriteDrawingWithTexts(source_ / "B.JWW", {3});
    // A former drawing with the ".BAK" of a run before it, and no former B.
    fs::create_directories(out_);
    testing_support::WriteFileBytes(out_ / "A.JWW", "former A");
    testing_support::WriteFileBytes(out_ / "A.BAK", "older A");
    testing_support::WriteFileBytes(out_ / "notes.txt", "kept");
  }
  // Lists the source, chooses the destination and converts the folder.
  void RunIntoOut() {
    Start();
    ChooseSearchFolder(data_);
    ClickFolder(source_);
    ChooseDestination(out_);
    EXPECT_EQ(view_.undoEnabled, false);
    form_->MnuFileRecursiveClick();
    ASSERT_EQ(view_.status,
              "変換作業を完了しました。（変換 2 件、文字 3 件、失敗 0 件、対象外 0 件）");
    ASSERT_NE(FolderFiles(out_), before_);
    EXPECT_EQ(view_.undoEnabled, true);
    view_.boxes.clear();
  }

  fs::path source_, out_;
  std::map<std::string, std::string> before_ = {
      {"A.JWW", "former A"}, {"A.BAK", "older A"}, {"notes.txt", "kept"}};
};

TEST_F(UndoWindowTest, UndoGivesTheFolderBackToTheByteAfterAQuestionWithTheCount) {
  ASSERT_EQ(FolderFiles(out_), before_);
  RunIntoOut();
  const std::map<std::string, std::string> converted = FolderFiles(out_);

  // No: nothing changes.
  view_.answers = {unit1::BoxAnswer::kNo};
  form_->MnuFileUndoClick();
  EXPECT_EQ(view_.status, "変換を元に戻す作業をキャンセルしました。");
  EXPECT_EQ(FolderFiles(out_), converted);

  // A restarted window finds the journal in its saved destination folder.
  Close();
  Restart();
  EXPECT_EQ(view_.undoEnabled, true);
  form_->MnuFileUndoClick();
  const std::string question =
      "2 件の図面を変換前に戻します。よろしいですか？\n保存先：" + Folder(out_);
  ASSERT_EQ(view_.BoxTexts(), std::vector<std::string>{question});
  EXPECT_EQ(view_.boxes[0].buttons, unit1::BoxButtons::kYesNo);
  EXPECT_EQ(view_.status, "変換を元に戻しました。（復元 1 件、削除 1 件、そのまま 0 件）");
  EXPECT_EQ(view_.progress, (std::pair<std::size_t, std::size_t>{0, 0}));
  EXPECT_TRUE(view_.failures.empty());
  EXPECT_EQ(FolderFiles(out_), before_);
  EXPECT_EQ(view_.undoEnabled, false);
  EXPECT_FALSE(form_->busy());

  // Nothing more to take back: a box says so and nothing changes.
  form_->MnuFileUndoClick();
  EXPECT_EQ(view_.BoxTexts().back(), "元に戻せる変換の記録がありません。");
  EXPECT_EQ(FolderFiles(out_), before_);
}

TEST_F(UndoWindowTest, AChangedOutputIsLeftAloneAndNamedInTheFailureList) {
  RunIntoOut();
  testing_support::WriteFileBytes(out_ / "A.JWW", "edited after the run");
  form_->MnuFileUndoClick();
  EXPECT_EQ(view_.status, "変換を元に戻しました。（復元 0 件、削除 1 件、そのまま 1 件）");
  EXPECT_EQ(view_.failureSummary, "変換前に戻せなかったファイルがあります（1 件）。");
  ASSERT_EQ(view_.failures.size(), 1u);
  EXPECT_EQ(view_.failures[0].file, platform::PathToUtf8(out_ / "A.JWW"));
  EXPECT_EQ(view_.failures[0].stage, "元に戻す");
  EXPECT_EQ(view_.failures[0].reason,
            "変換後にファイルが変更されたか、見つからないため、そのままにしました。");
  EXPECT_EQ(testing_support::ReadFileBytes(out_ / "A.JWW"), "edited after the run");
  EXPECT_FALSE(fs::exists(out_ / "B.JWW"));
  // The journal stays for what is left: the item stays enabled.
  EXPECT_EQ(view_.undoEnabled, true);
}

TEST_F(UndoWindowTest, EscapeStopsTheUndoAndTheNextOneFinishesIt) {
  RunIntoOut();
  const std::map<std::string, std::string> converted = FolderFiles(out_);
  view_.escape = true;
  form_->MnuFileUndoClick();
  EXPECT_EQ(view_.status,
            "変換を元に戻す作業を中止しました。（復元 0 件、削除 0 件、そのまま 0 件）");
  EXPECT_EQ(FolderFiles(out_), converted);
  EXPECT_EQ(view_.undoEnabled, true);
  EXPECT_FALSE(form_->busy());

  view_.escape = false;
  form_->MnuFileUndoClick();
  EXPECT_EQ(view_.status, "変換を元に戻しました。（復元 1 件、削除 1 件、そのまま 0 件）");
  EXPECT_EQ(FolderFiles(out_), before_);
}

}  // namespace
}  // namespace app_test
