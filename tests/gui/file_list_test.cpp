// The file list: filters, memos, sizes, sorting, opening a file.
#include <QComboBox>
#include <QHeaderView>
#include <QRegularExpression>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>
#include <algorithm>

#include "platform/keyboard.h"
#include "tests/gui/window_fixture.h"

namespace gui_test {
namespace {

namespace fs = std::filesystem;

std::vector<QString> Sorted(std::vector<QString> texts) {
  std::sort(texts.begin(), texts.end());
  return texts;
}

class FileListTest : public WindowTest {
 protected:
  void ListData() {
    Start();
    ChooseSearchFolder(data_);
    ClickNode(Root());
  }
  // A press on the header of a column, with the mouse.
  void ClickHeader(int column) {
    QHeaderView* header = Grid()->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mousePress(header->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseRelease(header->viewport(), Qt::LeftButton, {}, at);
  }
  QString Cell(const QString& name, int column) const {
    const std::vector<QString> names = Column(0);
    const auto at = std::find(names.begin(), names.end(), name);
    return at == names.end() ? "(no row)" : Grid()->item(int(at - names.begin()), column)->text();
  }
};

TEST_F(FileListTest, TheThreeFiltersAndHiddenFiles) {
  for (const char* name : {"A.JWW", "B.jww", "C.JWC", "D.txt", ".E.JWW"}) {
    testing_support::WriteFileBytes(data_ / name, "x");
  }
  fs::create_directory(data_ / "F.JWW");
  ListData();
  EXPECT_EQ(Sorted(Column(0)), (std::vector<QString>{"A.JWW", "B.jww", "C.JWC", "D.txt"}));
  EXPECT_TRUE(form1_->statusText().startsWith("4 Files  パス名「" + Folder(data_)));
  form1_->MnuFileType2Click();
  EXPECT_EQ(Sorted(Column(0)), (std::vector<QString>{"A.JWW", "B.jww"}));
  auto* combo = form1_->findChild<QComboBox*>("ComboBox1");
  EXPECT_EQ(combo->currentIndex(), 2);
  combo->setCurrentIndex(1);
  form1_->ComboBox1Change();
  EXPECT_EQ(Sorted(Column(0)), (std::vector<QString>{"A.JWW", "B.jww", "C.JWC"}));
  EXPECT_EQ(Cell("B.jww", 2), ".JWW");
  platform::SetEscapeState(true);
  form1_->ComboBox1Change();
  platform::SetEscapeState(false);
  EXPECT_EQ(form1_->statusText(), "検索を中断しました。");
  EXPECT_FALSE(form1_->listReady());
}

TEST_F(FileListTest, MemosOfEveryDrawingKind) {
  WriteJww(data_ / "S.JWW", 600, "\x90\x7d\x96\xca\r\nA");  // 図面, a line break, A
  WriteJww(data_ / "W.JWW", 700, std::string("\xf3\x56\x62\x97\x0a\x00\x42\x00", 8));  // 図面\nB
  WriteJww(data_ / "X.BK1", 600, "backup");
  WriteHeaderFile(data_ / "C.JWC", true, "\x95\xbd\x96\xca", "jwc");  // 平面
  WriteHeaderFile(data_ / "Y.BAK", true, "old", "jwc");
  WriteHeaderFile(data_ / "K.JWK", false, "figure", "");
  WriteJww(data_ / "N.JWS", 600, "never");
  testing_support::WriteFileBytes(data_ / "T.JWW", "JwwData.");  // the probe cannot read it
  ListData();
  EXPECT_EQ(Cell("S.JWW", 3), "図面A");
  EXPECT_EQ(Cell("W.JWW", 3), "図面B");
  EXPECT_EQ(Cell("X.BK1", 3), "backup");
  EXPECT_EQ(Cell("C.JWC", 3), "平面 jwc");
  EXPECT_EQ(Cell("Y.BAK", 3), "old jwc");
  EXPECT_EQ(Cell("K.JWK", 3), "figure ");
  EXPECT_EQ(Cell("N.JWS", 3), "");
  EXPECT_EQ(Cell("T.JWW", 3), "");
  EXPECT_EQ(Cell("T.JWW", 1).trimmed(), "8");
}

TEST_F(FileListTest, SizesInFullRightAlignedAfterAColumnResize) {
  // A sparse file of 3 GiB: its size does not fit 32 bits.
  testing_support::WriteFileBytes(data_ / "big.dat", "");
  fs::resize_file(data_ / "big.dat", 3221225472);
  testing_support::WriteFileBytes(data_ / "small.dat", std::string(12345, 'x'));
  fs::permissions(data_ / "small.dat",
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  ListData();
  EXPECT_EQ(Cell("big.dat", 1).trimmed(), "3221225472");
  EXPECT_EQ(Cell("small.dat", 5), "R ");
  EXPECT_EQ(Cell("big.dat", 5), "");
  EXPECT_TRUE(Cell("small.dat", 4)
                  .contains(QRegularExpression(R"(^\d{4}/\d\d/\d\d \d\d:\d\d:\d[02468]$)")));
  Grid()->setColumnWidth(1, 300);
  const QString widened = Cell("small.dat", 1);
  EXPECT_TRUE(widened.endsWith(" 12345"));
  EXPECT_GT(widened.size(), Cell("big.dat", 1).trimmed().size() + 10);
  EXPECT_EQ(Cell("big.dat", 1).size(), widened.size());
}

TEST_F(FileListTest, OneDirectionFlagForEveryHeaderAndTheAttributeColumnRelists) {
  for (const char* name : {"b.JWW", "C.JWW", "a.JWW"}) {
    testing_support::WriteFileBytes(data_ / name, std::string(name[0] == 'a' ? 30 : 10, 'x'));
  }
  ListData();
  const std::vector<QString> fileSystemOrder = Column(0);
  ClickHeader(0);
  EXPECT_EQ(Column(0), (std::vector<QString>{"a.JWW", "b.JWW", "C.JWW"}));
  ClickHeader(0);
  EXPECT_EQ(Column(0), (std::vector<QString>{"C.JWW", "b.JWW", "a.JWW"}));
  EXPECT_FALSE(form1_->sortDescending());
  ClickHeader(1);  // ascending again, by size
  EXPECT_EQ(Column(0).back(), "a.JWW");
  EXPECT_TRUE(form1_->sortDescending());
  ClickHeader(5);
  EXPECT_EQ(Column(0), fileSystemOrder);
  EXPECT_TRUE(form1_->sortDescending());
}

TEST_F(FileListTest, DoubleClickOpensTheFileOrSaysWhatIsMissing) {
  fs::create_directory(data_ / "empty");
  testing_support::WriteFileBytes(data_ / "PLAN.JWW", "x");
  Start();
  QTest::mouseDClick(Grid()->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_EQ(BoxTexts(), std::vector<QString>{"検索フォルダを指定して下さい。"});
  ChooseSearchFolder(data_);
  ClickNode(Child(Root(), "empty"));
  EXPECT_TRUE(form1_->statusText().startsWith("0 Files"));
  QTest::mouseDClick(Grid()->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_EQ(form1_->statusText(), "図面の格納されているフォルダを指定して下さい。");
  EXPECT_EQ(dialogs_.beeps, 2);
  ClickNode(Root());
  QTest::mouseDClick(Grid()->viewport(), Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_EQ(dialogs_.opened, std::vector<fs::path>{data_ / "PLAN.JWW"});
}

}  // namespace
}  // namespace gui_test
