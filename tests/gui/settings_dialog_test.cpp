// The conversion settings dialog: fill, presets, OK's checks, Cancel.
#include <QApplication>
#include <QCheckBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "tests/gui/window_fixture.h"

namespace gui_test {
namespace {

class SettingsDialogTest : public WindowTest {
 protected:
  void SetUp() override {
    Start();
    Open();
  }
  void Open() { form2_->show(); }
  void Press(const char* button) {
    QTest::mouseClick(form2_->findChild<QPushButton*>(button), Qt::LeftButton);
  }
  QString Box(int n) const { return form2_->RangeBox(n)->text(); }
  void Type(int n, const QString& text) {
    form2_->RangeBox(n)->clear();
    QTest::keyClicks(form2_->RangeBox(n), text);
  }
};

TEST_F(SettingsDialogTest, EveryShowingFillsTheBoxesFromTheSettings) {
  form2_->hide();
  settings_.RangeValue(2) = 0.2;
  settings_.RangeValue(21) = 10;
  settings_.RangeValue(60) = 0.333333333333333;
  settings_.Flag(12) = 2;
  Open();
  EXPECT_EQ(Box(1), "0");
  EXPECT_EQ(Box(2), "0.2");
  EXPECT_EQ(Box(21), "10");
  EXPECT_EQ(Box(60), "0.333333333333333");  // longer than a user may type, shown in full
  EXPECT_TRUE(form2_->FlagBox(12)->isChecked());
  EXPECT_FALSE(form2_->FlagBox(11)->isChecked());
  Type(3, "1234567");
  EXPECT_EQ(Box(3), "123456");
}

TEST_F(SettingsDialogTest, PresetsFillTheirTwentyBoxesAndCancelStoresNothing) {
  Press("Button2");
  Press("Button12");
  Press("Button19");
  Press("Button21");
  EXPECT_EQ(Box(1), "0.2");
  EXPECT_EQ(Box(20), "0.2");
  EXPECT_EQ(Box(21), "1");
  EXPECT_EQ(Box(40), "1");
  EXPECT_EQ(Box(41), "10");
  EXPECT_EQ(Box(60), "10");
  EXPECT_TRUE(form2_->FlagBox(10)->isChecked());
  EXPECT_FALSE(form2_->FlagBox(11)->isChecked());
  Press("ButtonA2");
  EXPECT_FALSE(form2_->isVisible());
  EXPECT_EQ(settings_, unit_val::ConversionSettings());
  Open();
  EXPECT_EQ(Box(1), "0");
  EXPECT_FALSE(form2_->FlagBox(10)->isChecked());
}

TEST_F(SettingsDialogTest, OffAndOnLeaveTheDimensionAndBlockSwitches) {
  form2_->FlagBox(11)->setChecked(true);
  Press("Button21");
  Press("Button20");
  Press("ButtonA1");
  EXPECT_EQ(settings_.Flag(10), 0);
  EXPECT_EQ(settings_.Flag(11), 1);
}

TEST_F(SettingsDialogTest, ANegativeValueBeepsAndFocusesTheFirstOneStoringNothing) {
  QApplication::setActiveWindow(form2_.get());
  Type(45, "-0.1");
  Type(3, "-1");
  Type(1, "0.5");
  Press("ButtonA1");
  EXPECT_TRUE(form2_->isVisible());
  EXPECT_EQ(dialogs_.beeps, 1);
  EXPECT_TRUE(dialogs_.boxes.empty());
  EXPECT_EQ(QApplication::focusWidget(), form2_->RangeBox(3));
  EXPECT_EQ(settings_.RangeValue(1), 0);
}

TEST_F(SettingsDialogTest, TextThatIsNoNumberIsStoredAsZeroAndTypedValuesComeBack) {
  settings_.RangeValue(4) = 7;
  settings_.RangeValue(5) = 7;
  Type(4, "abc");
  // Full-width digits, as an input method would commit them.
  form2_->RangeBox(5)->clear();
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("０．２"));
  QApplication::sendEvent(form2_->RangeBox(5), &commit);
  EXPECT_EQ(Box(5), "０．２");
  Type(2, "0.2");
  Type(22, "1.5e1");
  form2_->FlagBox(12)->setChecked(true);
  QTest::keyClick(form2_.get(), Qt::Key_Return);  // OK is the default button
  EXPECT_FALSE(form2_->isVisible());
  EXPECT_EQ(settings_.RangeValue(4), 0);
  EXPECT_EQ(settings_.RangeValue(5), 0);
  EXPECT_EQ(settings_.RangeValue(2), 0.2);
  EXPECT_EQ(settings_.RangeValue(22), 15);
  EXPECT_EQ(settings_.Flag(12), 1);
  Open();
  EXPECT_EQ(Box(2), "0.2");
  EXPECT_EQ(Box(4), "0");
}

TEST_F(SettingsDialogTest, AnOverflowingValueShowsTheErrorBoxAndStoresNothing) {
  Type(7, "0.5");
  Type(30, "1e400");
  Press("ButtonA1");
  ASSERT_EQ(BoxTexts(), std::vector<QString>{"浮動小数点数のオーバーフロー"});
  EXPECT_EQ(dialogs_.boxes[0].icon, unit1::BoxIcon::kError);
  EXPECT_TRUE(form2_->isVisible());
  EXPECT_EQ(settings_.RangeValue(7), 0);
}

}  // namespace
}  // namespace gui_test
