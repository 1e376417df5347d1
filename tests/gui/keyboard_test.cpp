// The main window worked by keyboard alone: Tab order, a folder highlighted
// by arrow keys, Enter and Ctrl+Enter for "変換".
#include <QAction>
#include <QApplication>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

#include "app/main_view.h"
#include "app/message_texts.h"
#include "tests/gui/window_fixture.h"

namespace gui_test {
namespace {

namespace fs = std::filesystem;

class KeyboardTest : public WindowTest {
 protected:
  void Activate() {
    QApplication::setActiveWindow(form1_.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form1_.get()));
  }
  // The controls focused by `presses` presses of `key`, by name.
  QStringList Walk(Qt::Key key, int presses) {
    QStringList names;
    for (int i = 0; i < presses; ++i) {
      QTest::keyClick(QApplication::focusWidget(), key);
      names << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : "");
    }
    return names;
  }
};

TEST_F(KeyboardTest, TabAndShiftTabCycleThroughTheControls) {
  for (const char* name : {"A.JWW", "B.JWW"}) testing_support::WriteFileBytes(data_ / name, "x");
  Start();
  Activate();
  ListFolder(data_);
  Tree()->setFocus();
  const QStringList forward = {"StringGrid1", "ComboBox1", "Button1",  "Edit2",
                               "Button3",     "Button4",   "TreeView1"};
  EXPECT_EQ(Walk(Qt::Key_Tab, 7), forward);
  const QStringList back = {"Button4",   "Button3",     "Edit2",    "Button1",
                            "ComboBox1", "StringGrid1", "TreeView1"};
  EXPECT_EQ(Walk(Qt::Key_Backtab, 7), back);
  EXPECT_TRUE(form1_->form().highlight().empty());  // moving through the list picks nothing
}

TEST_F(KeyboardTest, AFolderHighlightedByArrowKeysIsListedOnceTheHighlightRests) {
  for (const char* folder : {"a", "b", "c"}) {
    fs::create_directories(data_ / folder);
    testing_support::WriteFileBytes(data_ / folder / (std::string(folder) + "1.JWW"), "x");
  }
  Start();
  Activate();
  ChooseSearchFolder(data_);
  ASSERT_EQ(QApplication::focusWidget(), Tree());  // also after the scan
  Tree()->setCurrentItem(Tree()->topLevelItem(0));
  QTest::qWait(unit1::kKeyListingDelayMs + 200);
  ASSERT_FALSE(form1_->statuses.empty());  // the root, listed
  form1_->statuses.clear();
  QTest::keyClick(Tree(), Qt::Key_Down);  // a
  QTest::keyClick(Tree(), Qt::Key_Down);  // b
  EXPECT_TRUE(form1_->statuses.empty());  // nothing listed while the keys move
  QTest::qWait(unit1::kKeyListingDelayMs + 200);
  ASSERT_EQ(form1_->form().rows().size(), 1u);
  EXPECT_EQ(form1_->form().rows()[0].nameText, "b1.JWW");
  for (const std::string& status : form1_->statuses) {
    EXPECT_EQ(status.find("/a/"), std::string::npos) << status;
  }
}

TEST_F(KeyboardTest, EnterOnTheListAndCtrlEnterConvertAfterTheConfirmation) {
  WriteDrawings(data_, {"A.JWW", "B.JWW"});
  const fs::path out = scratch_ / "out";
  fs::create_directories(out);
  Start();
  Activate();
  ListFolder(data_);
  form1_->folders.push_back(out);
  form1_->form().Button3Click();
  const auto* undoItem = form1_->findChild<QAction*>("MnuFileUndo");
  ASSERT_NE(undoItem, nullptr);
  EXPECT_EQ(undoItem->text(), "変換を元に戻す (&U)");
  EXPECT_FALSE(undoItem->isEnabled());  // no run into the folder yet
  Grid()->setFocus();
  QTest::keyClick(Grid(), Qt::Key_Down);  // the list's first row
  ASSERT_EQ(form1_->form().highlight().size(), 1u);
  QTest::keyClick(Grid(), Qt::Key_Return);
  ASSERT_EQ(form1_->boxes.size(), 1u);
  EXPECT_TRUE(form1_->boxes[0].starts_with(texts::kConfirmRun)) << form1_->boxes[0];
  EXPECT_EQ(fs::exists(out / "A.JWW") + fs::exists(out / "B.JWW"), 1);

  const auto* menuItem = form1_->findChild<QAction*>("MnuFileConvert");
  ASSERT_NE(menuItem, nullptr);
  EXPECT_EQ(menuItem->text(), "変換 (&C)");
  QTest::keyClick(Grid(), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(Grid(), Qt::Key_Return, Qt::ControlModifier);
  EXPECT_EQ(form1_->boxes.size(), 2u);
  EXPECT_TRUE(fs::exists(out / "A.JWW") && fs::exists(out / "B.JWW"));
  EXPECT_TRUE(undoItem->isEnabled());  // the run left its journal
}

}  // namespace
}  // namespace gui_test
