// "フォルダごと変換": a tree of folders converted from the window, against
// the command line's recursive convert, and its refusals.
#include <cstdlib>
#include <map>

#include "conversion/batch_run.h"
#include "platform/path_text.h"
#include "tests/app/fake_views.h"

namespace app_test {
namespace {

namespace fs = std::filesystem;

// Every file below `root` by its path from there, with its bytes.
std::map<std::string, std::string> TreeFiles(const fs::path& root) {
  std::map<std::string, std::string> files;
  if (!fs::exists(root)) return files;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(root)) {
    if (entry.is_regular_file()) {
      files[entry.path().lexically_relative(root).generic_string()] =
          testing_support::ReadFileBytes(entry.path());
    }
  }
  return files;
}

class TreeRunTest : public MainWindowTest {
 protected:
  TreeRunTest() : source_(data_ / "src") {
    // Three levels, an empty folder, files that are no drawings, a drawing
    // that cannot be read, and a ".BAK" an earlier run left beside one.
    fs::create_directories(source_ / "plans" / "details");
    fs::create_directories(source_ / "empty");
    WriteDrawingWithTexts(source_ / "A.JWW", {2, 5, 0});
    WriteJww(source_ / "b.jww", 600, "b");
    testing_support::WriteFileBytes(source_ / "notes.txt", "not a drawing");
    WriteDrawingWithTexts(source_ / "plans" / "P.JWW", {3});
    WriteDrawingWithTexts(source_ / "plans" / "details" / "D.JWW", {1, 7});
    testing_support::WriteFileBytes(source_ / "plans" / "details" / "bad.JWW", "JwwData.");
    std::string ini = "[JWW]\n";
    for (int n = 1; n <= 60; ++n) ini += "C" + std::to_string(n) + "=0.5\n";
    testing_support::WriteFileBytes(IniFile(), ini);
  }
  void ListSource() {
    Start();
    ChooseSearchFolder(data_);
    ClickFolder(source_);
  }

  fs::path source_;
};

// What `quillon-cli convert --recursive` writes for the source tree (the
// batch run called as it calls it where the command cannot be run here).
void ReferenceRun(const fs::path& settingsFile, const unit_val::ConversionSettings& settings,
                  const fs::path& source, const fs::path& destination) {
#if defined(QUILLON_CLI) && !defined(_WIN32)
  (void)settings;
  const std::string command = std::string("'") + QUILLON_CLI +
                              "' convert --recursive --settings '" + settingsFile.string() +
                              "' --dest '" + destination.string() + "' '" + source.string() +
                              "' >/dev/null 2>&1";
  const int status = std::system(command.c_str());
  EXPECT_NE(status, -1);
#else
  unit_val::BatchRequest request{
      unit_val::ChooseFiles({source}, destination, true, unit_val::SignatureCheck::kWhenLoaded),
      destination,
      {settingsFile}};
  unit_val::StopToken stop;
  unit_val::BatchObserver quiet;
  unit_val::RunBatch(request, settings, stop, quiet);
#endif
}

TEST_F(TreeRunTest, ATreeConvertsToTheBytesOfTheRecursiveCommand) {
  const fs::path byWindow = data_ / "window", byCommand = data_ / "command";
  for (const fs::path& out : {byWindow, byCommand}) {
    fs::create_directories(out / "plans");
    testing_support::WriteFileBytes(out / "plans" / "P.JWW", "older");
  }
  ListSource();
  ChooseDestination(byWindow);
  form_->MnuFileRecursiveClick();
  ASSERT_EQ(view_.BoxTexts().at(0),
            "変換を開始します。よろしいですか？\n3 フォルダの 5 "
            "件の図面を、サブフォルダの構成のまま変換します。\n保存先：" +
                Folder(byWindow));
  EXPECT_EQ(view_.status,
            "変換作業を完了しました。（変換 4 件、文字 5 件、失敗 1 件、対象外 0 件）");
  ASSERT_EQ(view_.failures.size(), 1u);
  EXPECT_EQ(view_.failures[0].file,
            platform::PathToUtf8(source_ / "plans" / "details" / "bad.JWW"));
  EXPECT_FALSE(form_->busy());

  ReferenceRun(IniFile(), settings_, source_, byCommand);
  const std::map<std::string, std::string> written = TreeFiles(byWindow);
  EXPECT_EQ(written, TreeFiles(byCommand));
  // A, b, P with its ".BAK", D, and the journal of each of the three folders
  EXPECT_EQ(written.size(), 8u);
  EXPECT_EQ(written.at("plans/P.BAK"), "older");
  EXPECT_NE(written.at("A.JWW"), testing_support::ReadFileBytes(source_ / "A.JWW"));
}

TEST_F(TreeRunTest, ADestinationInsideTheTreeIsRefusedAndNothingIsWritten) {
  Start();
  ChooseSearchFolder(data_);
  ChooseDestination(data_ / "out");
  form_->MnuFileRecursiveClick();  // no folder listed yet
  ClickFolder(source_);
  const std::map<std::string, std::string> before = TreeFiles(data_);
  const std::vector<fs::path> inside = {
      source_ / "plans",                                   // a sub-folder
      data_ / "out" / ".." / "src" / "plans" / "details",  // through ".."
      source_ / "plans" / "new",                           // below it, not made yet
  };
  for (const fs::path& destination : inside) {
    ChooseDestination(destination);
    form_->MnuFileRecursiveClick();
  }
  ChooseDestination(source_ / "." / "");
  form_->MnuFileRecursiveClick();
  std::vector<std::string> expected = {"ファイル一覧が表示されていません。"};
  expected.insert(expected.end(), inside.size(),
                  "保存先フォルダが変換するフォルダの中（サブフォルダ）になっています。");
  expected.push_back("保存先フォルダとファイルのフォルダが同じになっています。");
#ifdef _WIN32
  // In other letter case.
  ChooseDestination(data_ / "SRC" / "PLANS");
  form_->MnuFileRecursiveClick();
  expected.push_back("保存先フォルダが変換するフォルダの中（サブフォルダ）になっています。");
#else
  // Through a link to a folder of the tree.
  fs::create_directory_symlink(source_ / "plans", data_ / "link");
  ChooseDestination(data_ / "link" / "new");
  form_->MnuFileRecursiveClick();
  expected.push_back("保存先フォルダが変換するフォルダの中（サブフォルダ）になっています。");
#endif
  EXPECT_EQ(view_.BoxTexts(), expected);
  EXPECT_EQ(view_.boxes.back().icon, unit1::BoxIcon::kWarning);
  EXPECT_EQ(TreeFiles(data_), before);
  EXPECT_FALSE(fs::exists(source_ / "plans" / "new"));

  // A destination beside the tree passes; No leaves it untouched.
  ChooseDestination(data_ / "out");
  view_.answers = {unit1::BoxAnswer::kNo};
  form_->MnuFileRecursiveClick();
  EXPECT_EQ(view_.status, "変換作業をキャンセルしました。");
  EXPECT_EQ(TreeFiles(data_), before);
}

}  // namespace
}  // namespace app_test
