// The file list: filters, memos, sizes, sorting, the highlight, opening a file.
#include <algorithm>
#include <regex>

#include "platform/path_text.h"
#include "tests/app/fake_views.h"

namespace app_test {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Sorted(std::vector<std::string> texts) {
  std::sort(texts.begin(), texts.end());
  return texts;
}

class FileListTest : public MainWindowTest {
 protected:
  void ListData() {
    Start();
    view_.columns.assign(7, 64);  // the widths the cases are worked out for
    ChooseSearchFolder(data_);
    ClickFolder(data_);
  }
  // A press in the middle of a column's header.
  void ClickHeader(int column) {
    int x = 0;
    for (int c = 0; c < column; ++c) x += view_.columns[static_cast<std::size_t>(c)];
    form_->StringGrid1MouseDown(x + view_.columns[static_cast<std::size_t>(column)] / 2, 5);
  }
  std::string Cell(const std::string& name, int column) const {
    for (const unit1::FileRow& row : *view_.rows) {
      if (row.nameText == name) return row.Cell(column);
    }
    return "(no row)";
  }
};

TEST_F(FileListTest, TheThreeFiltersHiddenFilesAndEscape) {
  for (const char* name : {"A.JWW", "B.jww", "C.JWC", "D.txt", ".E.JWW"}) {
    testing_support::WriteFileBytes(data_ / name, "x");
  }
  MakeHidden(data_ / ".E.JWW");
  fs::create_directory(data_ / "F.JWW");
  ListData();
  EXPECT_EQ(Sorted(view_.Column(0)),
            (std::vector<std::string>{"A.JWW", "B.jww", "C.JWC", "D.txt"}));
  EXPECT_EQ(view_.status, "4 Files  パス名「" + Folder(data_) + "」");
  form_->MnuFileType2Click();
  EXPECT_EQ(Sorted(view_.Column(0)), (std::vector<std::string>{"A.JWW", "B.jww"}));
  EXPECT_EQ(view_.fileType, 2);
  form_->ComboBox1Change(1);
  EXPECT_EQ(Sorted(view_.Column(0)), (std::vector<std::string>{"A.JWW", "B.jww", "C.JWC"}));
  EXPECT_EQ(Cell("B.jww", 2), ".JWW");
  view_.escape = true;
  form_->ComboBox1Change(1);
  EXPECT_EQ(view_.status, "検索を中断しました。");
  EXPECT_FALSE(form_->listReady());
}

TEST_F(FileListTest, MemosOfEveryDrawingKind) {
  WriteJww(data_ / "S.JWW", 600, "\x90\x7d\x96\xca\r\nA");  // 図面, a line break, A
  WriteJww(data_ / "W.JWW", 700, std::string("\xf3\x56\x62\x97\x0a\x00\x42\x00", 8));  // 図面\nB
  WriteJww(data_ / "X.BK1", 600, "backup");
  WriteHeaderFile(data_ / "C.JWC", true, "\x95\xbd\x96\xca", "jwc");  // 平面
  WriteHeaderFile(data_ / "Y.BAK", true, "old", "jwc");
  WriteHeaderFile(data_ / "K.JWK", false, "figure", "");
  WriteHeaderFile(data_ / "P.JWC", true, "\x95\xbd\x96\xca" + std::string(26, ' '),
                  "\x81\x40jwc\x81\x40\x81\x40     ");
  WriteHeaderFile(data_ / "Q.JWK", false, std::string(32, ' '), "second");
  WriteJww(data_ / "N.JWS", 600, "never");
  testing_support::WriteFileBytes(data_ / "T.JWW", "JwwData.");  // the probe cannot read it
  ListData();
  EXPECT_EQ(Cell("S.JWW", 3), "図面A");
  EXPECT_EQ(Cell("W.JWW", 3), "図面B");
  EXPECT_EQ(Cell("X.BK1", 3), "backup");
  EXPECT_EQ(Cell("C.JWC", 3), "平面 jwc");
  EXPECT_EQ(Cell("Y.BAK", 3), "old jwc");
  // Blank padding, ASCII or full-width, is not shown.
  EXPECT_EQ(Cell("K.JWK", 3), "figure");
  EXPECT_EQ(Cell("P.JWC", 3), "平面 jwc");
  EXPECT_EQ(Cell("Q.JWK", 3), "second");
  EXPECT_EQ(Cell("N.JWS", 3), "");
  EXPECT_EQ(Cell("T.JWW", 3), "");
  EXPECT_EQ(Cell("T.JWW", 1), "       8");  // 64 pixels of 8-pixel digits
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
  EXPECT_EQ(Cell("big.dat", 1), "3221225472");
  EXPECT_EQ(Cell("small.dat", 1), "   12345");
#ifdef _WIN32
  EXPECT_EQ(Cell("small.dat", 5), "A R ");
  EXPECT_EQ(Cell("big.dat", 5), "A ");
#else
  EXPECT_EQ(Cell("small.dat", 5), "R ");
  EXPECT_EQ(Cell("big.dat", 5), "");
#endif
  EXPECT_TRUE(
      std::regex_match(Cell("small.dat", 4), std::regex(R"(\d{4}/\d\d/\d\d \d\d:\d\d:\d[02468])")));
  view_.columns[1] = 120;
  const int refreshes = view_.refreshes;
  form_->StringGrid1DrawCell();
  EXPECT_EQ(view_.refreshes, refreshes + 1);
  EXPECT_EQ(Cell("small.dat", 1), "          12345");
  EXPECT_EQ(Cell("big.dat", 1), "     3221225472");
}

TEST_F(FileListTest, OneDirectionFlagForEveryHeaderAndTheAttributeColumnRelists) {
  for (const char* name : {"b.JWW", "C.JWW", "a.JWW"}) {
    testing_support::WriteFileBytes(data_ / name, std::string(name[0] == 'a' ? 30 : 10, 'x'));
  }
  ListData();
  const std::vector<std::string> fileSystemOrder = view_.Column(0);
  ClickHeader(0);
  EXPECT_EQ(view_.Column(0), (std::vector<std::string>{"a.JWW", "b.JWW", "C.JWW"}));
  ClickHeader(0);
  EXPECT_EQ(view_.Column(0), (std::vector<std::string>{"C.JWW", "b.JWW", "a.JWW"}));
  EXPECT_FALSE(form_->sortDescending());
  ClickHeader(1);  // ascending again, by size
  EXPECT_EQ(view_.Column(0).back(), "a.JWW");
  EXPECT_TRUE(form_->sortDescending());
  form_->StringGrid1MouseDown(64, 5);   // on the boundary of columns 0 and 1: nothing
  form_->StringGrid1MouseDown(10, 30);  // below the header: nothing
  EXPECT_EQ(view_.Column(0).back(), "a.JWW");
  ClickHeader(5);
  EXPECT_EQ(view_.Column(0), fileSystemOrder);
  EXPECT_TRUE(form_->sortDescending());
}

// Compared as Unicode, the full-width "Ａ" came after every kanji.
TEST_F(FileListTest, NamesSortByTheirShiftJisBytes) {
  for (const char* name : {"平面.JWW", "Ａマンション.JWW", "住宅.JWW", "b.JWW", "ｱ.JWW"}) {
    testing_support::WriteFileBytes(data_ / platform::PathFromUtf8(name), "x");
  }
  ListData();
  ClickHeader(0);
  // 0x42 "B", 0x82 0x60 "Ａ", 0x8F 0x5A "住", 0x95 0xBD "平", 0xB1 "ｱ".
  EXPECT_EQ(view_.Column(0), (std::vector<std::string>{"b.JWW", "Ａマンション.JWW", "住宅.JWW",
                                                       "平面.JWW", "ｱ.JWW"}));
}

TEST_F(FileListTest, DoubleClickOpensTheFileOrSaysWhatIsMissing) {
  fs::create_directory(data_ / "empty");
  testing_support::WriteFileBytes(data_ / "PLAN.JWW", "x");
  Start();
  form_->StringGrid1DblClick(0);
  EXPECT_EQ(view_.BoxTexts(), std::vector<std::string>{"検索フォルダを指定して下さい。"});
  ChooseSearchFolder(data_);
  ClickFolder(data_ / "empty");
  EXPECT_EQ(view_.status.substr(0, 7), "0 Files");
  form_->StringGrid1DblClick(0);
  EXPECT_EQ(view_.status, "図面の格納されているフォルダを指定して下さい。");
  EXPECT_EQ(view_.beeps, 2);
  ClickFolder(data_);
  form_->StringGrid1DblClick(0);
  EXPECT_EQ(view_.opened, std::vector<fs::path>{data_ / "PLAN.JWW"});
}

}  // namespace
}  // namespace app_test
