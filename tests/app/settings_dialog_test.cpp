// The conversion settings dialog: fill, presets, OK's checks, Cancel.
#include "tests/app/fake_views.h"

namespace app_test {
namespace {

class SettingsDialogTest : public testing::Test {
 protected:
  unit_val::ConversionSettings settings_;
  FakeSettingsView view_;
  TForm2 form_{settings_, view_};
};

TEST_F(SettingsDialogTest, EveryShowingFillsTheBoxesFromTheSettings) {
  settings_.RangeValue(2) = 0.2;
  settings_.RangeValue(21) = 10;
  settings_.RangeValue(60) = 0.333333333333333;
  settings_.Flag(12) = 2;
  form_.FormShow();
  EXPECT_EQ(view_.ranges[1], "0");
  EXPECT_EQ(view_.ranges[2], "0.2");
  EXPECT_EQ(view_.ranges[21], "10");
  EXPECT_EQ(view_.ranges[60], "0.333333333333333");
  EXPECT_TRUE(view_.flags[12]);
  EXPECT_FALSE(view_.flags[11]);
}

TEST_F(SettingsDialogTest, PresetsFillTheirTwentyBoxesAndCancelStoresNothing) {
  form_.FormShow();
  for (int button : {2, 12, 19, 21}) form_.PresetButtonClick(button);
  EXPECT_EQ(view_.ranges[1], "0.2");
  EXPECT_EQ(view_.ranges[20], "0.2");
  EXPECT_EQ(view_.ranges[21], "1");
  EXPECT_EQ(view_.ranges[40], "1");
  EXPECT_EQ(view_.ranges[41], "10");
  EXPECT_EQ(view_.ranges[60], "10");
  EXPECT_TRUE(view_.flags[10]);
  EXPECT_FALSE(view_.flags[11]);
  form_.ButtonA2Click();
  EXPECT_EQ(view_.closed, 0);
  EXPECT_EQ(settings_, unit_val::ConversionSettings());
}

TEST_F(SettingsDialogTest, OffAndOnLeaveTheDimensionAndBlockSwitches) {
  form_.FormShow();
  view_.flags[11] = true;
  form_.PresetButtonClick(21);
  form_.PresetButtonClick(20);
  form_.ButtonA1Click();
  EXPECT_EQ(view_.closed, 1);
  EXPECT_EQ(settings_.Flag(10), 0);
  EXPECT_EQ(settings_.Flag(11), 1);
}

// A negative value only beeped; letters, an empty box or "0,4" were stored
// as 0 without a word; an overflow said nothing of where it was.
TEST_F(SettingsDialogTest, OkRefusesTheFirstBoxItCannotReadNamingItAndStoringNothing) {
  struct Case {
    int box;
    std::string typed;
    std::string shown;
  };
  const std::vector<Case> cases = {
      {3, "-1", "文字種2 横 －：\n「-1」は負の数です。"},
      {24, "abc", "文字種2 縦 ＋：\n「abc」を数値として読み取れません。"},
      {40, "", "文字種10 縦 ＋：\n値が入力されていません。"},
      {41, "9e9999",
       "文字種1 間隔 －：\n「9e9999」は大きすぎます（浮動小数点数のオーバーフロー）。"},
      {2, "0.2 x", "文字種1 横 ＋：\n「0.2 x」を数値として読み取れません。"},
      {5, "1,2.5", "文字種3 横 －：\n「1,2.5」を数値として読み取れません。"},
  };
  for (const Case& c : cases) {
    view_ = FakeSettingsView();
    form_.FormShow();
    view_.ranges[45] = "-0.1";  // a later box is wrong too
    view_.ranges[1] = "0.5";
    view_.ranges[c.box] = c.typed;
    form_.ButtonA1Click();
    EXPECT_EQ(view_.closed, -1) << c.typed;
    EXPECT_EQ(view_.beeps, 1) << c.typed;
    EXPECT_EQ(view_.focused, c.box) << c.typed;
    EXPECT_EQ(view_.errors, std::vector<std::string>{c.shown + "\n0 以上の数値を入力して下さい。"});
    EXPECT_EQ(settings_, unit_val::ConversionSettings()) << c.typed;
  }
}

TEST_F(SettingsDialogTest, FullWidthDigitsAndMarksAreTakenAsTheirAsciiForms) {
  settings_.RangeValue(4) = 7;
  form_.FormShow();
  view_.ranges[4] = "０．３";  // as an input method commits it
  view_.ranges[5] = "0,4";
  view_.ranges[6] = "１，５";
  view_.ranges[2] = " 0.2 ";
  view_.ranges[22] = "1.5e1";
  view_.ranges[23] = "-0";
  view_.flags[12] = true;
  form_.ButtonA1Click();
  EXPECT_TRUE(view_.errors.empty());
  EXPECT_EQ(view_.closed, 1);
  EXPECT_EQ(settings_.RangeValue(4), 0.3);
  EXPECT_EQ(settings_.RangeValue(5), 0.4);
  EXPECT_EQ(settings_.RangeValue(6), 1.5);
  EXPECT_EQ(settings_.RangeValue(2), 0.2);
  EXPECT_EQ(settings_.RangeValue(22), 15);
  EXPECT_EQ(settings_.RangeValue(23), 0);
  EXPECT_EQ(settings_.Flag(12), 1);
}

}  // namespace
}  // namespace app_test
