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

TEST_F(SettingsDialogTest, ANegativeValueBeepsAndFocusesTheFirstOneStoringNothing) {
  form_.FormShow();
  view_.ranges[45] = "-0.1";
  view_.ranges[3] = "-1";
  view_.ranges[1] = "0.5";
  form_.ButtonA1Click();
  EXPECT_EQ(view_.closed, -1);
  EXPECT_EQ(view_.beeps, 1);
  EXPECT_EQ(view_.focused, 3);
  EXPECT_TRUE(view_.errors.empty());
  EXPECT_EQ(settings_.RangeValue(1), 0);
}

TEST_F(SettingsDialogTest, TextThatIsNoNumberIsStoredAsZero) {
  settings_.RangeValue(4) = 7;
  settings_.RangeValue(5) = 7;
  form_.FormShow();
  view_.ranges[4] = "abc";
  view_.ranges[5] = "０．２";  // full-width digits, as an input method would commit them
  view_.ranges[2] = "0.2";
  view_.ranges[22] = "1.5e1";
  view_.ranges[7] = "";
  view_.flags[12] = true;
  form_.ButtonA1Click();
  EXPECT_EQ(view_.closed, 1);
  EXPECT_EQ(settings_.RangeValue(4), 0);
  EXPECT_EQ(settings_.RangeValue(5), 0);
  EXPECT_EQ(settings_.RangeValue(2), 0.2);
  EXPECT_EQ(settings_.RangeValue(22), 15);
  EXPECT_EQ(settings_.Flag(12), 1);
}

TEST_F(SettingsDialogTest, AnOverflowingValueShowsTheErrorBoxAndStoresNothing) {
  form_.FormShow();
  view_.ranges[7] = "0.5";
  view_.ranges[30] = "1e400";
  form_.ButtonA1Click();
  EXPECT_EQ(view_.errors, std::vector<std::string>{"浮動小数点数のオーバーフロー"});
  EXPECT_EQ(view_.closed, -1);
  EXPECT_EQ(settings_.RangeValue(7), 0);
}

}  // namespace
}  // namespace app_test
