#include "tests/gui/window_fixture.h"

#include <QTableWidget>
#include <QTreeWidget>

#include "tests/support/synthetic.h"

namespace gui_test {

namespace fs = std::filesystem;

std::optional<fs::path> TestWindow::ChooseFolder(const std::string&, const fs::path&) {
  if (folders.empty()) return std::nullopt;
  const fs::path folder = folders.front();
  folders.pop_front();
  return folder;
}

WindowTest::WindowTest() {
  fs::create_directories(program_);
  fs::create_directories(data_);
}

WindowTest::~WindowTest() {
  form2_.reset();
  form1_.reset();
}

void WindowTest::Start() {
  form1_ = std::make_unique<TestWindow>(WindowContext{program_, settings_, drawing_});
  form2_ = std::make_unique<unit1::SettingsDialog>(settings_, form1_.get());
  form1_->AttachSettingsDialog(form2_.get());
  form1_->show();
}

void WindowTest::ChooseSearchFolder(const fs::path& folder) {
  form1_->folders.push_back(folder);
  form1_->form().MnuFileSFolderClick();
}

void WindowTest::ListFolder(const fs::path& folder) {
  ChooseSearchFolder(folder);
  form1_->form().TreeSelectionChanged(0);
  form1_->form().TreeView1Click();
}

void WindowTest::WriteDrawings(const fs::path& folder, const std::vector<std::string>& names) {
  fs::create_directories(folder);
  for (const std::string& name : names) {
    jww::Drawing drawing = synthetic::MakeHeaderOnly(600);
    synthetic::SaveDrawing(drawing, folder / name);
  }
}

QTreeWidget* WindowTest::Tree() const {
  return form1_->findChild<QTreeWidget*>(QStringLiteral("TreeView1"));
}

QTableWidget* WindowTest::Grid() const {
  return form1_->findChild<QTableWidget*>(QStringLiteral("StringGrid1"));
}

}  // namespace gui_test
