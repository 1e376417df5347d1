#include "tests/app/fake_views.h"

#include <chrono>

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

void FakeMainView::PostToWindow(std::function<void()> task) {
  const std::lock_guard lock(posted_->mutex);
  posted_->tasks.push_back(std::move(task));
  posted_->arrived.notify_all();
}

bool FakeMainView::WaitForPosted(std::size_t count, std::chrono::milliseconds timeout) {
  std::unique_lock lock(posted_->mutex);
  return posted_->arrived.wait_for(lock, timeout, [&] { return posted_->tasks.size() >= count; });
}

std::size_t FakeMainView::RunPosted(std::size_t most) {
  std::deque<std::function<void()>> tasks;
  {
    const std::lock_guard lock(posted_->mutex);
    while (tasks.size() < most && !posted_->tasks.empty()) {
      tasks.push_back(std::move(posted_->tasks.front()));
      posted_->tasks.pop_front();
    }
  }
  for (const std::function<void()>& task : tasks) task();
  return tasks.size();
}

bool FakeMainView::RunPostedUntil(const std::function<bool()>& done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done()) {
    {
      std::unique_lock lock(posted_->mutex);
      if (!posted_->arrived.wait_until(lock, deadline, [&] { return !posted_->tasks.empty(); })) {
        return false;
      }
    }
    RunPosted();
  }
  return true;
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

void WriteDrawingWithTexts(const fs::path& file, const std::vector<int>& types) {
  jww::Drawing d;
  d.Reset();
  d.SizeHeaderTables();
  d.header.version = 700;
  for (int n = 0; n < jww::kTextTypeCount; ++n) {
    d.header.textTypes[n] = {n + 1.0, n + 1.0, 0, static_cast<std::uint32_t>(n % 9 + 1)};
  }
  for (int type : types) {
    jww::TEntMoji text;
    text.attr.penStyle = 1;
    text.attr.penColour = static_cast<std::uint16_t>(type > 0 ? (type - 1) % 9 + 1 : 1);
    text.width = text.height = type > 0 ? type : 99;
    text.endX = 10;
    text.fontName = jww::JwwString::fromUtf16(u"Font");
    text.text = jww::JwwString::fromUtf16(u"文字");
    synthetic::Add(d.top, text);
  }
  synthetic::UpdateCounts(d);
  synthetic::SaveDrawing(d, file);
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
