// The work off the window's thread: the "変換対象" column and the preview of
// the highlighted drawing. Results come back through the fake view's queue,
// which each test runs itself.
#include "app/message_texts.h"
#include "conversion/retype_marks.h"
#include "tests/app/fake_views.h"

namespace app_test {
namespace {

namespace fs = std::filesystem;

class RetypePreviewTest : public MainWindowTest {
 protected:
  // A.JWW: 3 texts to retype (types 2, 2, 5); B.jww: none of its texts;
  // C.JWW: damaged; D.txt: no drawing.
  void WriteFolder(const fs::path& folder) {
    fs::create_directories(folder);
    WriteDrawingWithTexts(folder / "A.JWW", {2, 2, 5, 0});
    WriteDrawingWithTexts(folder / "B.jww", {0});
    testing_support::WriteFileBytes(folder / "C.JWW", "JwwData.");
    testing_support::WriteFileBytes(folder / "D.txt", "text");
  }
  void List(const fs::path& folder) {
    Start();
    view_.columns.assign(7, 64);
    ChooseSearchFolder(data_);
    ClickFolder(folder);
  }
  const unit1::FileRow& Row(const std::string& name) const {
    for (const unit1::FileRow& row : form_->rows()) {
      if (row.nameText == name) return row;
    }
    throw std::out_of_range("no row " + name);
  }
  std::size_t RowIndex(const std::string& name) const {
    return static_cast<std::size_t>(&Row(name) - form_->rows().data());
  }
  bool Counted() const {
    for (const unit1::FileRow& row : form_->rows()) {
      if (row.kind == ".JWW" && row.retypeText.empty()) return false;
    }
    return true;
  }
  std::vector<std::string> Counts() const {
    return {Row("A.JWW").retypeText, Row("B.jww").retypeText, Row("C.JWW").retypeText,
            Row("D.txt").retypeText};
  }
  void ClickHeader(int column) { form_->StringGrid1MouseDown(64 * column + 32, 5); }
  void Highlight(const std::vector<std::string>& names) {
    unit1::RowSet rows;
    for (const std::string& name : names) rows.push_back(RowIndex(name));
    std::sort(rows.begin(), rows.end());
    form_->ListHighlightChanged(rows);
  }
};

TEST_F(RetypePreviewTest, TheColumnFillsInAfterTheListingAndSortsByCount) {
  WriteFolder(data_);
  testing_support::WriteFileBytes(data_ / "N.JWW", "not a drawing");
  List(data_);
  // The listing shows the rows before any drawing is counted.
  EXPECT_EQ(Counts(), (std::vector<std::string>{"", "", "", ""}));
  ASSERT_TRUE(view_.RunPostedUntil([this] { return Counted(); }));
  EXPECT_EQ(Counts(), (std::vector<std::string>{"3", "0", "×", ""}));
  EXPECT_EQ(Row("C.JWW").tooltip, "図面データが壊れています。");
  EXPECT_EQ(Row("N.JWW").retypeText, "×");
  EXPECT_EQ(Row("N.JWW").tooltip, "JWW 図面ではありません。");
  EXPECT_EQ(Row("A.JWW").tooltip, "");
  EXPECT_GT(view_.refreshes, 0);

  auto counts = [this] {
    std::vector<int> sorted;
    for (const unit1::FileRow& row : *view_.rows) sorted.push_back(row.retypeCount);
    return sorted;
  };
  ClickHeader(6);
  EXPECT_EQ(counts(), (std::vector<int>{-1, -1, -1, 0, 3}));
  ClickHeader(6);
  EXPECT_EQ(counts(), (std::vector<int>{3, 0, -1, -1, -1}));
}

// Counts computed for rows that were sorted meanwhile land on their files;
// counts of an earlier listing never land on the rows of a later one.
TEST_F(RetypePreviewTest, CountsLandByNameAndOnlyForTheLatestListing) {
  WriteFolder(data_ / "one");
  fs::create_directories(data_ / "two");
  WriteDrawingWithTexts(data_ / "two" / "A.JWW", {7});
  List(data_ / "one");
  ASSERT_TRUE(view_.WaitForPosted(1));
  ClickHeader(0);  // names descending: D, C, B, A
  ClickHeader(0);
  ASSERT_EQ(view_.Column(0).front(), "D.txt");
  ASSERT_TRUE(view_.RunPostedUntil([this] { return Counted(); }));
  EXPECT_EQ(Counts(), (std::vector<std::string>{"3", "0", "×", ""}));

  ClickFolder(data_ / "two");
  ASSERT_TRUE(view_.WaitForPosted(1));  // A.JWW of "two" counted
  ClickFolder(data_ / "one");
  ASSERT_TRUE(view_.WaitForPosted(2));
  EXPECT_EQ(view_.RunPosted(1), 1u);
  EXPECT_EQ(Row("A.JWW").retypeText, "") << "the count of the other folder's A.JWW";
  ASSERT_TRUE(view_.RunPostedUntil([this] { return Counted(); }));
  EXPECT_EQ(Row("A.JWW").retypeText, "3");
}

TEST_F(RetypePreviewTest, SettingsClosedWithOkRecountAndRebuildThePreview) {
  WriteFolder(data_);
  List(data_);
  ASSERT_TRUE(view_.RunPostedUntil([this] { return Counted(); }));
  Highlight({"A.JWW"});
  ASSERT_TRUE(view_.RunPostedUntil([this] { return view_.previewShows == 1; }));
  EXPECT_EQ(view_.previewCaption, "変換対象 3 件 (文字種2: 2, 文字種5: 1)");

  form_->MnuSetConvClick();  // closed unchanged (Cancel): nothing is counted again
  EXPECT_EQ(Row("A.JWW").retypeText, "3");

  view_.onSettingsDialog = [this] { settings_.Flag(2) = 2; };  // type 2 takes no colour
  form_->MnuSetConvClick();
  EXPECT_EQ(Row("A.JWW").retypeText, "");
  ASSERT_TRUE(view_.RunPostedUntil([this] { return Counted() && view_.previewShows == 2; }));
  EXPECT_EQ(Counts(), (std::vector<std::string>{"1", "0", "×", ""}));
  EXPECT_EQ(view_.previewCaption, "変換対象 1 件 (文字種5: 1)");
  ASSERT_NE(view_.preview, nullptr);
  EXPECT_EQ(view_.preview->retypedByType[4], 1);
}

TEST_F(RetypePreviewTest, ThePreviewFollowsTheRowJustHighlighted) {
  WriteFolder(data_);
  List(data_);
  ASSERT_TRUE(view_.RunPostedUntil([this] { return Counted(); }));
  auto shown = [this](int shows) {
    return view_.RunPostedUntil([this, shows] { return view_.previewShows == shows; });
  };
  Highlight({"B.jww"});
  ASSERT_TRUE(shown(1));
  EXPECT_NE(view_.preview, nullptr);
  EXPECT_EQ(view_.previewCaption, "変換対象 0 件");
  Highlight({"A.JWW", "B.jww"});  // A joins the highlight
  ASSERT_TRUE(shown(2));
  EXPECT_EQ(view_.previewCaption, "変換対象 3 件 (文字種2: 2, 文字種5: 1)");
  Highlight({"A.JWW", "B.jww", "C.JWW"});
  ASSERT_TRUE(shown(3));
  EXPECT_EQ(view_.preview, nullptr);
  EXPECT_EQ(view_.previewCaption, "図面データが壊れています。");
  Highlight({"A.JWW", "B.jww", "C.JWW", "D.txt"});  // no drawing
  EXPECT_EQ(view_.previewShows, 4);
  EXPECT_EQ(view_.previewCaption, "");
  Highlight({"A.JWW", "B.jww"});  // several, none of them new
  EXPECT_EQ(view_.previewShows, 5);
  EXPECT_EQ(view_.preview, nullptr);
  Highlight({});  // the pane is empty already
  EXPECT_EQ(view_.previewShows, 5);
  EXPECT_EQ(view_.RunPosted(), 0u);
}

// A load that ends after the user has moved on must not show its drawing.
TEST_F(RetypePreviewTest, AnOlderHighlightsResultPostedLateIsDropped) {
  WriteFolder(data_);
  List(data_);
  ASSERT_TRUE(view_.RunPostedUntil([this] { return Counted(); }));
  Highlight({"A.JWW"});
  ASSERT_TRUE(view_.WaitForPosted(1));
  Highlight({"B.jww"});
  ASSERT_TRUE(view_.WaitForPosted(2));
  EXPECT_EQ(view_.RunPosted(), 2u);
  EXPECT_EQ(view_.previewShows, 1);
  EXPECT_EQ(view_.previewCaption, "変換対象 0 件");

  Highlight({"A.JWW"});
  ASSERT_TRUE(view_.WaitForPosted(1));
  Highlight({"D.txt"});
  view_.RunPosted();
  EXPECT_EQ(view_.preview, nullptr);
  EXPECT_EQ(view_.previewCaption, "");
}

TEST_F(RetypePreviewTest, ClosingStopsTheWork) {
  WriteDrawingWithTexts(data_ / "F0.JWW", {1, 2, 3});
  for (int n = 1; n < 300; ++n) {
    fs::copy_file(data_ / "F0.JWW", data_ / ("F" + std::to_string(n) + ".JWW"));
  }
  List(data_);
  Close();
  view_.RunPosted();
  EXPECT_FALSE(view_.WaitForPosted(1, std::chrono::milliseconds(300)))
      << "the counting went on after the close";
}

TEST_F(RetypePreviewTest, ResultsPostedBeforeTheWindowWentFindItGone) {
  WriteDrawingWithTexts(data_ / "A.JWW", {1});
  List(data_);
  form_->ListHighlightChanged({0});
  ASSERT_TRUE(view_.WaitForPosted(2));  // its count and its preview
  const int refreshes = view_.refreshes;
  form_.reset();
  EXPECT_EQ(view_.RunPosted(), 2u);
  EXPECT_EQ(view_.previewShows, 0);
  EXPECT_EQ(view_.refreshes, refreshes);
}

TEST(PreviewCaption, CountsEachTypeThatTakesATextInOrder) {
  std::array<int, 10> retyped{};
  EXPECT_EQ(unit_val::RetypeLegend(retyped), "変換対象 0 件");
  retyped[1] = 3;
  retyped[4] = 2;
  retyped[9] = 1;
  EXPECT_EQ(unit_val::RetypeLegend(retyped), "変換対象 6 件 (文字種2: 3, 文字種5: 2, 文字種10: 1)");
  EXPECT_EQ(unit_val::RetypeLegend(retyped, 2),
            "変換対象 6 件 (文字種2: 3, 文字種5: 2, 文字種10: 1)　うち非表示レイヤ 2 件");
}

}  // namespace
}  // namespace app_test
