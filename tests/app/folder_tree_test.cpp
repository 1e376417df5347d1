// The folder tree: scan, order, hidden folders, Escape, a missing folder, very
// long paths.
#include "platform/path_text.h"
#include "tests/app/fake_views.h"

namespace app_test {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> ChildNames(const unit1::FolderTree& tree, int node) {
  std::vector<std::string> names;
  for (int child : tree.nodes().at(static_cast<std::size_t>(node)).children) {
    names.push_back(tree.nodes()[static_cast<std::size_t>(child)].text);
  }
  return names;
}

int Child(const unit1::FolderTree& tree, int node, const std::string& name) {
  for (int child : tree.nodes().at(static_cast<std::size_t>(node)).children) {
    if (tree.nodes()[static_cast<std::size_t>(child)].text == name) return child;
  }
  return -1;
}

TEST_F(MainWindowTest, TheScanReadsEveryLevelSortedWithoutHiddenFolders) {
  for (const char* folder : {"gamma", "Beta/zz/deep", "Beta/aa", "alpha", ".hidden/inner"}) {
    fs::create_directories(data_ / folder);
  }
  MakeHidden(data_ / ".hidden");
  testing_support::WriteFileBytes(data_ / "file.JWW", "x");
  testing_support::LinkFolder(data_, data_ / "alpha" / "loop");  // leads back up: left out
  Start();
  ChooseSearchFolder(data_);
  ASSERT_TRUE(form_->treeReady());
  const unit1::FolderTree& tree = view_.treeShown;
  EXPECT_EQ(tree.nodes().at(0).text, Folder(data_));
  EXPECT_EQ(view_.searchFolder, Folder(data_));
  // Locale-aware order, not byte order (which puts "Beta" first).
  EXPECT_EQ(ChildNames(tree, 0), (std::vector<std::string>{"alpha", "Beta", "gamma"}));
  const int beta = Child(tree, 0, "Beta");
  EXPECT_EQ(ChildNames(tree, beta), (std::vector<std::string>{"aa", "zz"}));
  EXPECT_EQ(ChildNames(tree, Child(tree, beta, "zz")), std::vector<std::string>{"deep"});
  EXPECT_EQ(ChildNames(tree, Child(tree, 0, "alpha")), std::vector<std::string>{});
  EXPECT_EQ(Folder(tree.NodePath(Child(tree, Child(tree, beta, "zz"), "deep"))),
            Folder(data_ / "Beta" / "zz" / "deep"));
  EXPECT_EQ(view_.status, "");
  EXPECT_TRUE(view_.treeEnabled);
  EXPECT_EQ(view_.Column(0).size(), 1u);  // every scan empties the list
}

TEST_F(MainWindowTest, EscapeLeavesAPartialTreeThatStillLists) {
  for (const char* folder : {"a/1", "b/2", "c/3", "d/4"}) fs::create_directories(data_ / folder);
  for (const char* folder : {"a", "b", "c", "d"}) {
    testing_support::WriteFileBytes(data_ / folder / "PLAN.JWW", "x");
  }
  Start();
  // Escape goes down while the scan lets the window handle its messages.
  view_.onEvents = [this] { view_.escape = true; };
  ChooseSearchFolder(data_);
  view_.escape = false;
  EXPECT_TRUE(form_->scanCancelled());
  EXPECT_EQ(view_.status, "フォルダ検索を中断しました。");
  ASSERT_TRUE(form_->treeReady());
  const unit1::FolderTree& tree = form_->tree();
  ASSERT_GE(tree.nodes()[0].children.size(), 1u);
  EXPECT_LT(tree.nodes()[0].children.size(), 4u);
  const int first = tree.nodes()[0].children[0];
  EXPECT_TRUE(tree.nodes()[static_cast<std::size_t>(first)].children.empty());
  ClickFolder(tree.NodePath(first));
  EXPECT_EQ(view_.status, "1 Files  パス名「" + Folder(tree.NodePath(first)) + "」");
}

TEST_F(MainWindowTest, AMissingSearchFolderKeepsThePreviousTree) {
  fs::create_directories(data_ / "kept");
  Start();
  form_->TreeView1Click();  // before any scan
  EXPECT_EQ(view_.BoxTexts(), std::vector<std::string>{"検索フォルダを指定して下さい。"});
  EXPECT_EQ(view_.boxes[0].icon, unit1::BoxIcon::kError);
  EXPECT_EQ(view_.beeps, 1);

  ChooseSearchFolder(data_);
  ChooseSearchFolder(data_ / "gone");
  EXPECT_EQ(view_.BoxTexts().back(), "検索フォルダのディスクドライブの準備が出来ていません。");
  EXPECT_EQ(view_.boxes.back().icon, unit1::BoxIcon::kInformation);
  EXPECT_EQ(view_.status, "検索フォルダを指定して下さい。");
  EXPECT_EQ(form_->tree().nodes().at(0).text, Folder(data_));
  EXPECT_NE(Child(form_->tree(), 0, "kept"), -1);
  EXPECT_TRUE(form_->treeReady());
  EXPECT_EQ(form_->searchFolder(), Folder(data_ / "gone"));

  form_->MnuFileSFolderClick();  // the chooser cancelled: the status text stays empty
  EXPECT_EQ(view_.status, "");
  EXPECT_EQ(form_->searchFolder(), Folder(data_ / "gone"));
}

TEST_F(MainWindowTest, FoldersBeyond260CharactersAreScannedAndListed) {
  const fs::path deep = testing_support::MakeDeepFolder(data_ / "tree", 300);
  WriteJww(deep / "PLAN.JWW", 600, "deep");
  Start();
  ChooseSearchFolder(data_);
  ASSERT_TRUE(form_->treeReady());
  const unit1::FolderTree& tree = form_->tree();
  int node = 0;
  for (const fs::path& name : deep.lexically_relative(data_)) {
    ASSERT_EQ(ChildNames(tree, node), std::vector<std::string>{platform::PathToUtf8(name)})
        << "below " << tree.NodePath(node);
    node = tree.nodes()[static_cast<std::size_t>(node)].children[0];
  }
  EXPECT_TRUE(tree.nodes()[static_cast<std::size_t>(node)].children.empty());
  ClickFolder(deep);
  EXPECT_EQ(view_.Column(0), std::vector<std::string>{"PLAN.JWW"});
  EXPECT_EQ(view_.Column(3), std::vector<std::string>{"deep"});  // its memo
  EXPECT_EQ(view_.Column(4).at(0).size(), 19u);                  // its time
  EXPECT_EQ(view_.status, "1 Files  パス名「" + Folder(deep) + "」");
}

}  // namespace
}  // namespace app_test
