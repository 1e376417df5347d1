#include "tests/gui/window_fixture.h"

#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

#include "app/qt_text.h"
#include "probes/jwcunit.h"
#include "tests/support/synthetic.h"

namespace gui_test {

namespace fs = std::filesystem;

unit1::BoxAnswer FakeDialogs::ShowBox(QWidget*, unit1::BoxIcon icon, const QString& text,
                                      unit1::BoxButtons buttons) {
  boxes.push_back({icon, text, buttons});
  if (buttons == unit1::BoxButtons::kOk) return unit1::BoxAnswer::kOk;
  const unit1::BoxAnswer answer = answers.empty() ? unit1::BoxAnswer::kYes : answers.front();
  if (!answers.empty()) answers.pop_front();
  return answer;
}

std::optional<QString> FakeDialogs::ChooseFolder(QWidget*, const QString&, const QString& start) {
  folderStarts.push_back(start);
  if (folders.empty()) return std::nullopt;
  const QString folder = folders.front();
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
  form1_ = std::make_unique<TForm1>(WindowContext{program_, settings_, drawing_, dialogs_});
  form2_ = std::make_unique<TForm2>(settings_, dialogs_, form1_.get());
  form1_->AttachSettingsDialog(form2_.get());
  form1_->show();
}

void WindowTest::Close() {
  form1_->close();
}

QString WindowTest::Folder(const fs::path& folder) {
  return unit1::FolderText(unit1::FromPath(folder));
}

void WindowTest::ChooseSearchFolder(const fs::path& folder) {
  dialogs_.folders.push_back(unit1::FromPath(folder));
  form1_->MnuFileSFolderClick();
}

void WindowTest::ChooseDestination(const fs::path& folder) {
  dialogs_.folders.push_back(unit1::FromPath(folder));
  form1_->Button3Click();
}

QTreeWidget* WindowTest::Tree() const {
  return form1_->findChild<QTreeWidget*>(QStringLiteral("TreeView1"));
}

QTableWidget* WindowTest::Grid() const {
  return form1_->findChild<QTableWidget*>(QStringLiteral("StringGrid1"));
}

QTreeWidgetItem* WindowTest::Root() const {
  return Tree()->topLevelItem(0);
}

QTreeWidgetItem* WindowTest::Child(QTreeWidgetItem* node, const QString& name) const {
  for (int i = 0; i < node->childCount(); ++i) {
    if (node->child(i)->text(0) == name) return node->child(i);
  }
  return nullptr;
}

void WindowTest::ClickNode(QTreeWidgetItem* node) {
  QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {}, Tree()->visualItemRect(node).center());
}

std::vector<QString> WindowTest::Column(int column) const {
  std::vector<QString> texts;
  for (int row = 0; row < Grid()->rowCount(); ++row) {
    texts.push_back(Grid()->item(row, column) ? Grid()->item(row, column)->text() : QString());
  }
  return texts;
}

std::vector<QString> WindowTest::BoxTexts() const {
  std::vector<QString> texts;
  for (const AskedBox& box : dialogs_.boxes) texts.push_back(box.text);
  return texts;
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

}  // namespace gui_test
