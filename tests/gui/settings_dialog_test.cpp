// What only the settings dialog's widgets show: the typing limit, input
// method text, the default and cancel buttons, the focus, the wiring.
#include <QApplication>
#include <QCheckBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "tests/gui/window_fixture.h"

namespace gui_test {
namespace {

class SettingsDialogTest : public WindowTest {
 protected:
  void SetUp() override {
    Start();
    form2_->show();
  }
  void Press(const char* button) {
    QTest::mouseClick(form2_->findChild<QPushButton*>(button), Qt::LeftButton);
  }
  QString Box(int n) const { return form2_->RangeBox(n)->text(); }
  void Type(int n, const QString& text) {
    form2_->RangeBox(n)->clear();
    QTest::keyClicks(form2_->RangeBox(n), text);
  }
};

TEST_F(SettingsDialogTest, TypingStopsAtSixCharactersButLongerValuesShowInFull) {
  form2_->hide();
  settings_.RangeValue(60) = 0.333333333333333;
  form2_->show();
  EXPECT_EQ(Box(60), "0.333333333333333");
  Type(3, "1234567");
  EXPECT_EQ(Box(3), "123456");
}

TEST_F(SettingsDialogTest, PresetButtonsAndCancelAreWired) {
  Press("Button2");
  Press("Button21");
  EXPECT_EQ(Box(20), "0.2");
  EXPECT_TRUE(form2_->FlagBox(10)->isChecked());
  QTest::keyClick(form2_.get(), Qt::Key_Escape);
  EXPECT_FALSE(form2_->isVisible());
  EXPECT_EQ(settings_, unit_val::ConversionSettings());
}

TEST_F(SettingsDialogTest, ANegativeValueFocusesItsBox) {
  QApplication::setActiveWindow(form2_.get());
  Type(45, "-0.1");
  Type(3, "-1");
  QString shown;  // the box naming the box refused
  QTimer::singleShot(0, [&shown] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      shown = box->text();
      box->accept();
    }
  });
  Press("ButtonA1");
  EXPECT_TRUE(shown.startsWith(QStringLiteral("文字種2 横 －"))) << shown.toStdString();
  EXPECT_TRUE(form2_->isVisible());
  // The dialog's focus, which it takes back as the box closes.
  EXPECT_EQ(form2_->focusWidget(), form2_->RangeBox(3));
}

TEST_F(SettingsDialogTest, InputMethodTextAndEnterForOk) {
  settings_.RangeValue(5) = 7;
  // Full-width digits, as an input method would commit them.
  form2_->RangeBox(5)->clear();
  QInputMethodEvent commit;
  commit.setCommitString(QStringLiteral("０．２"));
  QApplication::sendEvent(form2_->RangeBox(5), &commit);
  EXPECT_EQ(Box(5), "０．２");
  Type(2, "0.2");
  QTest::keyClick(form2_.get(), Qt::Key_Return);  // OK is the default button
  EXPECT_FALSE(form2_->isVisible());
  EXPECT_EQ(settings_.RangeValue(5), 0.2);  // taken as "0.2"
  EXPECT_EQ(settings_.RangeValue(2), 0.2);
}

}  // namespace
}  // namespace gui_test
