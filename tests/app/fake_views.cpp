#include "tests/app/fake_views.h"

#ifdef _WIN32
#include <windows.h>
#endif

#include "app/folder_tree.h"
#include "probes/jwcunit.h"
#include "tests/support/synthetic.h"

namespace app_test {

namespace fs = std::filesystem;

unit1::BoxAnswer FakeMainView::ShowBox(unit1::BoxIcon icon, const std::string& text,
                                       unit1::BoxButtons buttons) {
  boxes.push_back({icon, text, buttons});
  if (buttons == unit1::BoxButtons::kOk) return unit1::BoxAnswer::kOk;
  const unit1::BoxAnswer answer = answers.empty() ? unit1::BoxAnswer::kYes : answers.front();
  if (!answers.empty()) answers.pop_front();
  return answer;
}

std::optional<fs::path> FakeMainView::ChooseFolder(const std::string&, const fs::path& start) {
  folderStarts.push_back(start);
  if (folders.empty()) return std::nullopt;
  const fs::path folder = folders.front();
  folders.pop_front();
  return folder;
}

std::vector<std::string> FakeMainView::BoxTexts() const {
  std::vector<std::string> texts;
  for (const AskedBox& box : boxes) texts.push_back(box.text);
  return texts;
}

std::vector<std::string> FakeMainView::Column(int column) const {
  std::vector<std::string> texts;
  if (rows) {
    for (const unit1::FileRow& row : *rows) texts.push_back(row.Cell(column));
  }
  return texts;
}

MainWindowTest::MainWindowTest() {
  fs::create_directories(program_);
  fs::create_directories(data_);
  form_ = std::make_unique<TForm1>(WindowContext{program_, settings_, drawing_}, view_);
}

void MainWindowTest::Start() {
  form_->FormShow();
}

void MainWindowTest::Close() {
  form_->FormClose();
}

void MainWindowTest::Restart() {
  form_.reset();
  view_ = FakeMainView();
  form_ = std::make_unique<TForm1>(WindowContext{program_, settings_, drawing_}, view_);
  Start();
}

std::string MainWindowTest::Folder(const fs::path& folder) {
  return unit1::FolderText(folder);
}

void MainWindowTest::ChooseSearchFolder(const fs::path& folder) {
  view_.folders.push_back(folder);
  form_->MnuFileSFolderClick();
}

void MainWindowTest::ChooseDestination(const fs::path& folder) {
  view_.folders.push_back(folder);
  form_->Button3Click();
}

void MainWindowTest::ClickFolder(const fs::path& folder) {
  const unit1::FolderTree& tree = form_->tree();
  for (int node = 0; node >= 0 && !tree.empty(); node = tree.NextInTreeOrder(node)) {
    if (Folder(tree.NodePath(node)) == Folder(folder)) {
      form_->TreeSelectionChanged(node);
      form_->TreeView1Click();
      return;
    }
  }
  ADD_FAILURE() << "no node for " << folder;
}

void MakeHidden(const fs::path& entry) {
#ifdef _WIN32
  ::SetFileAttributesW(entry.c_str(), ::GetFileAttributesW(entry.c_str()) | FILE_ATTRIBUTE_HIDDEN);
#else
  (void)entry;
#endif
}

void WriteJww(const fs::path& file, int version, const std::string& memo) {
  jww::Drawing drawing = synthetic::MakeHeaderOnly(version);
  drawing.header.memo = jww::JwwString(memo, version >= 700);
  synthetic::SaveDrawing(drawing, file);
}

void WriteHeaderFile(const fs::path& file, bool jwc, const std::string& field1,
                     const std::string& field2) {
  std::string bytes(800, '\0');
  if (jwc) bytes.replace(0, 20, jwc::kSignature);
  bytes.replace(40, field1.size(), field1);
  bytes.replace(72, field2.size(), field2);
  testing_support::WriteFileBytes(file, bytes);
}

}  // namespace app_test
