// The folder tree: scan, order, hidden folders, Escape, a missing folder.
#include <QApplication>
#include <QKeyEvent>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>

#include "platform/keyboard.h"
#include "tests/gui/window_fixture.h"

namespace gui_test {
namespace {

namespace fs = std::filesystem;

std::vector<QString> ChildNames(const QTreeWidgetItem* node) {
  std::vector<QString> names;
  for (int i = 0; i < node->childCount(); ++i) names.push_back(node->child(i)->text(0));
  return names;
}

TEST_F(WindowTest, TheScanReadsEveryLevelSortedWithoutHiddenFolders) {
  for (const char* folder : {"gamma", "Beta/zz/deep", "Beta/aa", "alpha", ".hidden/inner"}) {
    fs::create_directories(data_ / folder);
  }
  testing_support::WriteFileBytes(data_ / "file.JWW", "x");
  fs::create_directory_symlink(data_, data_ / "alpha" / "loop");  // leads back up: left out
  Start();
  ChooseSearchFolder(data_);
  ASSERT_TRUE(form1_->treeReady());
  QTreeWidgetItem* root = Root();
  EXPECT_EQ(root->text(0), Folder(data_));
  // Locale-aware order, not byte order (which puts "Beta" first).
  EXPECT_EQ(ChildNames(root), (std::vector<QString>{"alpha", "Beta", "gamma"}));
  QTreeWidgetItem* beta = Child(root, "Beta");
  EXPECT_EQ(ChildNames(beta), (std::vector<QString>{"aa", "zz"}));
  EXPECT_EQ(ChildNames(Child(beta, "zz")), std::vector<QString>{"deep"});
  EXPECT_EQ(ChildNames(Child(root, "alpha")), std::vector<QString>{});
  EXPECT_EQ(form1_->NodePath(Child(Child(beta, "zz"), "deep")),
            Folder(data_ / "Beta" / "zz" / "deep"));
  EXPECT_EQ(form1_->statusText(), "");
  EXPECT_EQ(Grid()->rowCount(), 1);  // every scan empties the list
}

TEST_F(WindowTest, EscapeLeavesAPartialTreeThatStillLists) {
  for (const char* folder : {"a/1", "b/2", "c/3", "d/4"}) fs::create_directories(data_ / folder);
  testing_support::WriteFileBytes(data_ / "a" / "PLAN.JWW", "x");
  Start();
  // Escape goes down while the scan lets the window handle its messages.
  QTimer::singleShot(0, form1_.get(), [this] {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(form1_.get(), &press);
  });
  ChooseSearchFolder(data_);
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(form1_.get(), &release);
  EXPECT_FALSE(platform::EscapePressed());

  EXPECT_TRUE(form1_->scanCancelled());
  EXPECT_EQ(form1_->statusText(), "フォルダ検索を中断しました。");
  ASSERT_TRUE(form1_->treeReady());
  ASSERT_GE(Root()->childCount(), 1);
  EXPECT_LT(Root()->childCount(), 4);
  EXPECT_EQ(Root()->child(0)->childCount(), 0);  // the walk below the root never ran
  ClickNode(Root()->child(0));
  EXPECT_TRUE(
      form1_->statusText().endsWith("パス名「" + form1_->NodePath(Root()->child(0)) + "」"));
}

TEST_F(WindowTest, AMissingSearchFolderKeepsThePreviousTree) {
  fs::create_directories(data_ / "kept");
  Start();
  form1_->TreeView1Click();  // before any scan
  EXPECT_EQ(BoxTexts(), std::vector<QString>{"検索フォルダを指定して下さい。"});
  EXPECT_EQ(dialogs_.boxes[0].icon, unit1::BoxIcon::kError);
  EXPECT_EQ(dialogs_.beeps, 1);

  ChooseSearchFolder(data_);
  ChooseSearchFolder(data_ / "gone");
  EXPECT_EQ(BoxTexts().back(), "検索フォルダのディスクドライブの準備が出来ていません。");
  EXPECT_EQ(dialogs_.boxes.back().icon, unit1::BoxIcon::kInformation);
  EXPECT_EQ(form1_->statusText(), "検索フォルダを指定して下さい。");
  EXPECT_EQ(Root()->text(0), Folder(data_));
  EXPECT_NE(Child(Root(), "kept"), nullptr);
  EXPECT_TRUE(form1_->treeReady());
  EXPECT_EQ(form1_->searchFolder(), Folder(data_ / "gone"));

  dialogs_.folders.clear();  // the chooser cancelled: the status text stays empty
  form1_->MnuFileSFolderClick();
  EXPECT_EQ(form1_->statusText(), "");
  EXPECT_EQ(form1_->searchFolder(), Folder(data_ / "gone"));
}

}  // namespace
}  // namespace gui_test
