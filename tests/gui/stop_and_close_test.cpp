// Stopping and closing the main window while it works: Escape pressed
// between two looks at it, the close button during a run.
#include <QApplication>
#include <QKeyEvent>
#include <QTableWidget>
#include <QTest>

#include "app/message_texts.h"
#include "tests/gui/window_fixture.h"

namespace gui_test {
namespace {

namespace fs = std::filesystem;

// A press and release of Escape, waiting in the queue as a quick press
// does while a loop works (the window takes its events at most every few
// milliseconds: it has not taken them for a while).
void QueueQuickEscape(QWidget* target) {
  QTest::qWait(50);
  QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, {}));
  QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, Qt::Key_Escape, {}));
}

// The files in a destination folder, but for the journal a run keeps there
// for undo.
std::size_t FilesIn(const fs::path& folder) {
  return static_cast<std::size_t>(
      std::distance(fs::directory_iterator(folder), fs::directory_iterator()) -
      (fs::exists(folder / ".quillon.undo") ? 1 : 0));
}

TEST_F(WindowTest, AQuickEscapeStopsAFolderListingButAnEarlierOneDoesNot) {
  for (int i = 0; i < 50; ++i) {
    testing_support::WriteFileBytes(data_ / ("F" + std::to_string(i) + ".JWW"), "x");
  }
  Start();
  // An Escape that closed something before the listing stops nothing.
  QTest::keyClick(Grid(), Qt::Key_Escape);
  ListFolder(data_);
  EXPECT_EQ(form1_->form().rows().size(), 50u);

  QueueQuickEscape(Grid());
  form1_->form().TreeView1Click();
  EXPECT_EQ(form1_->statusText().toStdString(), texts::kListingStopped);
}

TEST_F(WindowTest, AQuickEscapeStopsARun) {
  WriteDrawings(data_, {"A.JWW", "B.JWW", "C.JWW"});
  const fs::path out = scratch_ / "out";
  fs::create_directories(out);
  Start();
  ListFolder(data_);
  form1_->folders.push_back(out);
  form1_->form().Button3Click();
  form1_->form().ListHighlightChanged({0, 1, 2});
  QueueQuickEscape(Grid());
  form1_->form().Button4Click();
  EXPECT_TRUE(form1_->statusText().startsWith("変換作業を中止しました。"))
      << form1_->statusText().toStdString();
  EXPECT_LT(FilesIn(out), 3u);
}

// The close button during a run asks first and is refused while the run
// goes; answered Yes, the run stops and the window closes once it has.
TEST_F(WindowTest, ACloseDuringARunWaitsForTheRunToEnd) {
  WriteDrawings(data_, {"A.JWW", "B.JWW"});
  const fs::path out = scratch_ / "out";
  fs::create_directories(out);
  Start();
  ListFolder(data_);
  form1_->folders.push_back(out);
  form1_->form().Button3Click();
  form1_->form().ListHighlightChanged({0, 1});
  bool closedDuringRun = true;
  form1_->onProgress = [this, &closedDuringRun] {
    form1_->onProgress = nullptr;
    closedDuringRun = form1_->close();
    form1_->CloseWindow();
  };
  form1_->form().Button4Click();
  EXPECT_FALSE(closedDuringRun);
  ASSERT_FALSE(form1_->boxes.empty());
  EXPECT_EQ(form1_->boxes.back(), texts::kConfirmCloseDuringRun);
  EXPECT_LT(FilesIn(out), 2u);
  EXPECT_TRUE(QTest::qWaitFor([this] { return !form1_->isVisible(); }, 2000));
  EXPECT_TRUE(fs::exists(IniFile()));  // the close ran its shut-down
}

}  // namespace
}  // namespace gui_test
