// The batch conversion run: its guards, the rows it takes, what it reports,
// the stop command.
#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "app/message_texts.h"
#include "app/window_observer.h"
#include "drawing/jww_probe.h"
#include "platform/file_faults.h"
#include "platform/path_text.h"
#include "tests/app/fake_views.h"

namespace app_test {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// A window whose events take a while to handle: every poll of the run
// then reaches it.
void SlowEvents() {
  std::this_thread::sleep_for(30ms);
}

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
  // The files in the destination, but for what a run keeps there for undo
  // (its journal, and the older backup it replaced, aside).
  std::vector<std::string> Written() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(destination_)) {
      const std::string name = entry.path().filename().string();
      if (name == ".quillon.undo" || (name.starts_with(".quillon-") && name.ends_with(".old")))
        continue;
      names.push_back(name);
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
  form_->Button4Click();
  ClickFolder(data_ / "nothing");
  form_->Button4Click();
  ClickFolder(source_);
  form_->Button4Click();
  ChooseDestination(source_ / ".." / "src");  // the source folder, written another way
  form_->Button4Click();
  EXPECT_EQ(view_.BoxTexts(),
            (std::vector<std::string>{
                "検索フォルダを指定して下さい。", "ファイル一覧が表示されていません。",
                "このフォルダには図面がありません。", "保存先フォルダを指定して下さい。",
                "保存先フォルダとファイルのフォルダが同じになっています。"}));
  EXPECT_EQ(view_.beeps, 5);
  EXPECT_EQ(view_.boxes[3].icon, unit1::BoxIcon::kQuestion);
  EXPECT_EQ(view_.boxes[4].icon, unit1::BoxIcon::kWarning);
  EXPECT_EQ(view_.boxes[4].buttons, unit1::BoxButtons::kOk);

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

// Sorting kept the highlight on row positions: other drawings were converted.
TEST_F(BatchRunTest, TheHighlightedFilesAreConvertedAfterAFilterChangeAndASort) {
  for (int i = 1; i <= 6; ++i) {
    WriteJww(source_ / ("Test" + std::to_string(i) + ".JWW"), 600, std::string(20 * i, 'm'));
  }
  testing_support::WriteFileBytes(source_ / "notes.txt", "x");
  ListSource();
  ChooseDestination(destination_);
  form_->StringGrid1MouseDown(8, 4);  // by name: notes.txt, Test1 … Test6
  Highlight(3, 6);
  auto highlighted = [this] {
    std::vector<std::string> names;
    for (std::size_t row : form_->highlight()) names.push_back(form_->rows().at(row).nameText);
    std::sort(names.begin(), names.end());
    return names;
  };
  const std::vector<std::string> picked = {"Test2.JWW", "Test3.JWW", "Test4.JWW", "Test5.JWW"};
  ASSERT_EQ(highlighted(), picked);
  form_->MnuFileType2Click();  // the same folder listed again
  EXPECT_EQ(highlighted(), picked);
  EXPECT_EQ(view_.highlight, form_->highlight());
  form_->StringGrid1MouseDown(view_.columns[0] + view_.columns[1] / 2, 4);  // "Bytes", descending
  ASSERT_EQ(view_.Column(0).front(), "Test6.JWW");
  EXPECT_EQ(highlighted(), picked);
  form_->Button4Click();
  EXPECT_EQ(Written(), picked);
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

// Skipped files were shown nowhere in the window.
TEST_F(BatchRunTest, FilesThatFailAreListedWithStageAndReasonAndSkippedOnesBeside) {
  WriteJww(source_ / "A.JWW", 600, "");
  testing_support::WriteFileBytes(source_ / "B.JWW", "JwwData.broken");  // the load fails
  WriteJww(source_ / "C.JWW", 600, "");
  testing_support::WriteFileBytes(source_ / "N.JWW", "no drawing");
  testing_support::WriteFileBytes(source_ / "X.txt", "text");
  ListSource();
  ChooseDestination(destination_);
  form_->StringGrid1MouseDown(8, 4);
  Highlight(1, 5);
  fs::remove(source_ / "C.JWW");  // gone since the listing
  form_->Button4Click();
  EXPECT_EQ(view_.status,
            "変換作業を完了しました。（変換 1 件、文字 0 件、失敗 2 件、対象外 2 件）");
  EXPECT_EQ(view_.failureSummary,
            "変換できなかったファイルがあります（2 件）。\n対象外のファイルがあります（2 件）。");
  EXPECT_EQ(unit1::FailureIcon(view_.failures), unit1::BoxIcon::kError);
  ASSERT_EQ(view_.failures.size(), 4u);
  std::vector<std::string> skipped;
  for (const unit1::FailureLine& line : view_.failures) {
    if (line.kind == unit1::FailureKind::kSkipped) skipped.push_back(line.file + " " + line.reason);
  }
  std::sort(skipped.begin(), skipped.end());
  EXPECT_EQ(skipped,
            (std::vector<std::string>{
                platform::PathToUtf8(source_ / "N.JWW") + " JWW 図面ではありません。",
                platform::PathToUtf8(source_ / "X.txt") + " 拡張子が .JWW ではありません。"}));
  std::erase_if(view_.failures, [](const unit1::FailureLine& line) {
    return line.kind != unit1::FailureKind::kFailed;
  });
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
    SlowEvents();
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

// An older ".BAK" the run replaced waits aside, whole, so that the run can be
// undone; no warning is due. The next run into the folder deletes it.
TEST_F(BatchRunTest, AnOlderBackupTheRunReplacedWaitsAsideUntilTheNextRun) {
  WriteJww(source_ / "A.JWW", 600, "");
  testing_support::WriteFileBytes(destination_ / "A.JWW", "older");
  testing_support::WriteFileBytes(destination_ / "A.BAK", "oldest");
  ListSource();
  ChooseDestination(destination_);
  Highlight(1, 1);
  // The drawing's count and preview read it off the window's thread: done
  // before the file layer is set to fail.
  ASSERT_TRUE(view_.WaitForPosted(2));
  form_->Button4Click();
  ASSERT_EQ(Written(), (std::vector<std::string>{"A.BAK", "A.JWW"}));
  fs::path kept;
  for (const auto& entry : fs::directory_iterator(destination_)) {
    const std::string name = entry.path().filename().string();
    if (name.ends_with(".old")) kept = entry.path();
  }
  ASSERT_FALSE(kept.empty());
  EXPECT_EQ(testing_support::ReadFileBytes(kept), "oldest");
  EXPECT_TRUE(view_.failures.empty());
  form_->Button4Click();
  EXPECT_FALSE(fs::exists(kept)) << "the next run keeps undo of itself only";
  EXPECT_TRUE(view_.failures.empty());
}

// The close box was ignored while a run went.
// A run whose undo journal cannot be written says so: its files are in
// place, but it cannot be undone.
TEST_F(BatchRunTest, AnUndoJournalThatCannotBeWrittenIsAWarning) {
  WriteJww(source_ / "A.JWW", 600, "");
  ListSource();
  ChooseDestination(destination_);
  Highlight(1, 1);
  ASSERT_TRUE(view_.WaitForPosted(2));
  platform::ArmFileFault(platform::FileOp::kRename, 2);  // the output's, then the journal's
  form_->Button4Click();
  platform::DisarmFileFaults();
  EXPECT_EQ(Written(), (std::vector<std::string>{"A.JWW"}));
  EXPECT_FALSE(fs::exists(destination_ / ".quillon.undo"));
  ASSERT_EQ(view_.failures.size(), 1u);
  EXPECT_EQ(view_.failures[0].kind, unit1::FailureKind::kWarning);
  EXPECT_EQ(view_.failures[0].file, platform::PathToUtf8(destination_));
  EXPECT_EQ(view_.failures[0].reason, texts::kUndoJournalNotWritten);
}

TEST_F(BatchRunTest, ClosingDuringARunAsksThenStopsItAndClosesOnceStopped) {
  for (int i = 0; i < 6; ++i) WriteJww(source_ / ("F" + std::to_string(i) + ".JWW"), 600, "");
  ListSource();
  ChooseDestination(destination_);
  Highlight(1, 6);
  view_.answers = {unit1::BoxAnswer::kYes, unit1::BoxAnswer::kNo, unit1::BoxAnswer::kYes};
  int polls = 0;
  std::vector<bool> mayClose;
  view_.onEvents = [&] {
    SlowEvents();
    if (++polls >= 2) mayClose.push_back(form_->FormCloseQuery());
    EXPECT_EQ(view_.closes, 0);  // the run goes on until it has stopped
  };
  form_->Button4Click();
  EXPECT_EQ(std::count(mayClose.begin(), mayClose.end(), true), 0);
  ASSERT_EQ(view_.boxes.size(), 3u);  // the run's question, then No, then Yes
  EXPECT_EQ(view_.boxes[1].text, "変換を中止して終了しますか？");
  EXPECT_EQ(view_.boxes[1].icon, unit1::BoxIcon::kWarning);
  EXPECT_EQ(view_.boxes[2].buttons, unit1::BoxButtons::kYesNo);
  EXPECT_TRUE(view_.status.starts_with("変換作業を中止しました。")) << view_.status;
  EXPECT_LT(Written().size(), 6u);
  EXPECT_EQ(view_.closes, 1);
  EXPECT_TRUE(form_->FormCloseQuery());
}

TEST_F(BatchRunTest, ClosingDuringAScanOrAListingStopsItAndClosesAfterwards) {
  for (const char* name : {"a", "b", "c"}) fs::create_directories(data_ / name / "d");
  for (int i = 0; i < 3; ++i) WriteJww(source_ / ("F" + std::to_string(i) + ".JWW"), 600, "");
  Start();
  bool mayClose = true;
  view_.onEvents = [&] { mayClose = mayClose && form_->FormCloseQuery(); };
  ChooseSearchFolder(data_);
  EXPECT_FALSE(mayClose);
  EXPECT_TRUE(form_->scanCancelled());
  EXPECT_EQ(view_.closes, 1);
  EXPECT_TRUE(view_.boxes.empty());  // no question

  view_.onEvents = nullptr;
  ChooseSearchFolder(data_);
  mayClose = true;
  view_.onEvents = [&] { mayClose = mayClose && form_->FormCloseQuery(); };
  ClickFolder(source_);
  EXPECT_FALSE(mayClose);
  EXPECT_EQ(view_.status, "検索を中断しました。");
  EXPECT_EQ(view_.closes, 2);
  EXPECT_TRUE(form_->FormCloseQuery());
}

// An error inside a listing or a scan left the window busy for good: it
// could neither close nor run a command.
TEST_F(BatchRunTest, AnErrorInsideAListingOrAScanLeavesTheWindowUsable) {
  WriteJww(source_ / "A.JWW", 600, "");
  Start();
  ChooseSearchFolder(data_);
  for (int scan = 0; scan < 2; ++scan) {
    view_.onEscape = []() -> bool { throw std::runtime_error("the view failed"); };
    if (scan) {
      ChooseSearchFolder(data_);
    } else {
      ClickFolder(source_);
    }
    EXPECT_EQ(view_.BoxTexts().back(), "the view failed");
    EXPECT_FALSE(form_->busy());
    EXPECT_TRUE(form_->FormCloseQuery());
    view_.onEscape = nullptr;
    if (scan) ChooseSearchFolder(data_);
    ClickFolder(source_);
    EXPECT_TRUE(form_->listReady());
    form_->Button4Click();
    EXPECT_EQ(view_.BoxTexts().back(), "保存先フォルダを指定して下さい。");
  }
}

// The status bar was repainted for every file: the real window took nine
// times the command's time.
TEST_F(BatchRunTest, ProgressIsShownAtMostTwentyTimesASecondAndTheLastStateAlways) {
  for (int i = 0; i < 200; ++i) {
    WriteJww(source_ / ("T" + std::to_string(1000 + i) + ".JWW"), 600, "");
  }
  ListSource();
  ChooseDestination(destination_);
  Highlight(1, 200);
  view_.statusWrites = view_.progressShows = 0;
  const auto start = std::chrono::steady_clock::now();
  form_->Button4Click();
  const auto elapsed = std::chrono::steady_clock::now() - start;
  EXPECT_EQ(Written().size(), 200u);
  const int bound = static_cast<int>(elapsed / unit1::kShowInterval) + 2;
  EXPECT_LE(view_.progressShows, bound);
  EXPECT_LT(view_.progressShows, 100);
  EXPECT_LE(view_.statusWrites, bound + 1);  // and the completion text
  EXPECT_EQ(view_.shownProgress, (std::pair<std::size_t, std::size_t>{200, 200}));
  EXPECT_TRUE(view_.status.starts_with("変換作業を完了しました。（変換 200 件")) << view_.status;
}

// Escape was read only as each file started, never while the outputs were
// synced and moved into place.
TEST(WindowObserverTest, AStopAfterTheLastFileStartedIsHeard) {
  testing_support::ScratchDir scratch;
  const fs::path source = scratch / "src", destination = scratch / "out";
  fs::create_directories(source);
  fs::create_directories(destination);
  std::vector<fs::path> names;
  for (int i = 0; i < 5; ++i) {
    names.push_back("F" + std::to_string(i) + ".JWW");
    WriteJww(source / names.back(), 600, "");
  }
  FakeMainView view;
  unit_val::StopToken stop;
  auto now = std::chrono::steady_clock::time_point{};
  unit1::WindowObserver observer(view, stop, [&now] { return now += 30ms; });
  view.onEvents = [&] {
    if (view.status.find("F4.JWW") != std::string::npos) view.escape = true;
  };
  unit_val::BatchRequest request;
  request.destinationFolder = destination;
  request.selection = unit_val::ChooseNamedFiles(source, names, destination);
  const unit_val::BatchReport report =
      unit_val::RunBatch(request, unit_val::ConversionSettings(), stop, observer);
  EXPECT_EQ(report.stoppedBy, unit_val::kStopCommand);
  EXPECT_LT(report.done, 5u);
  EXPECT_TRUE(fs::is_empty(destination));
}

}  // namespace
}  // namespace app_test
