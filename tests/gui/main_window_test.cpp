// What only the main window's widgets show: layout, long texts, the list's
// highlight under the mouse, the failure list, the stop button.
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

#include "app/qt/elided_text.h"
#include "app/qt/failure_dialog.h"
#include "platform/private_profile.h"
#include "tests/gui/window_fixture.h"

namespace gui_test {
namespace {

namespace fs = std::filesystem;

std::string IniValue(const fs::path& ini, const char* section, const char* key) {
  return platform::ProfileDocument(testing_support::ReadFileBytes(ini))
      .Find(section, key)
      .value_or("(missing)");
}

TEST_F(WindowTest, TheBuiltInLayoutAndItsGeometrySaved) {
  Start();
  EXPECT_EQ(form1_->frameGeometry(), QRect(192, 107, 696, 478));
  EXPECT_EQ(form1_->findChild<QPushButton*>("Button4")->size(), QSize(75, 44));
  EXPECT_EQ(form1_->findChild<QPushButton*>("Button4")->text(), "変換");
  EXPECT_EQ(form1_->findChild<QComboBox*>("ComboBox1")->itemText(1), "*.JW?");
  EXPECT_EQ(Grid()->rowCount(), 4);
  EXPECT_EQ(Grid()->horizontalHeaderItem(3)->text(), "図面メモ");
  EXPECT_EQ(form1_->statusText(), "検索フォルダを指定して下さい。");
  form1_->close();
  EXPECT_EQ(IniValue(IniFile(), "Form", "F1_W"), "696");
  EXPECT_EQ(IniValue(IniFile(), "Form", "F2_W"), "748");
}

// A folder path of about 420 bytes made the status text drive the window's
// minimum width (1,200 px became 1,691), and that width was saved.
TEST_F(WindowTest, LongTextsAreCutWithAnEllipsisAndNeverWidenTheWindow) {
  fs::path deep = data_;
  for (int i = 0; i < 8; ++i) deep /= std::string(48, static_cast<char>('a' + i));
  fs::create_directories(deep);
  testing_support::WriteFileBytes(deep / "PLAN.JWW", "x");
  Start();
  ChooseSearchFolder(deep);
  form1_->form().TreeSelectionChanged(0);
  form1_->form().TreeView1Click();
  QApplication::processEvents();
  ASSERT_TRUE(form1_->statusText().endsWith(QString::fromStdString(deep.string()) + "/」"));
  EXPECT_EQ(form1_->frameGeometry().width(), 696);
  EXPECT_LT(form1_->minimumSizeHint().width(), 696);
  const auto* status = form1_->findChild<unit1::ElidedLabel*>("StatusText");
  EXPECT_TRUE(status->text().contains(QChar(0x2026)));
  EXPECT_LE(status->width(), form1_->width());
  const auto* edit1 = form1_->findChild<unit1::ElidedLineEdit*>("Edit1");
  EXPECT_TRUE(edit1->text().contains(QChar(0x2026)));
  EXPECT_EQ(edit1->toolTip(), edit1->fullText());
  form1_->close();
  EXPECT_EQ(IniValue(IniFile(), "Form", "F1_W"), "696");
}

// A click on the empty part of the list cleared the highlight, yet the run
// converted the current row.
TEST_F(WindowTest, AClickOnTheEmptyPartOfTheListClearsTheHighlight) {
  for (const char* name : {"A.JWW", "B.JWW"}) testing_support::WriteFileBytes(data_ / name, "x");
  Start();
  ChooseSearchFolder(data_);
  QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {},
                    Tree()->visualItemRect(Tree()->topLevelItem(0)).center());
  ASSERT_EQ(Grid()->rowCount(), 2);
  ASSERT_TRUE(form1_->form().highlight().empty());
  QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {},
                    Grid()->visualItemRect(Grid()->item(1, 0)).center());
  EXPECT_EQ(form1_->form().highlight(), (unit1::RowSet{1}));
  QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, {},
                    QPoint(10, Grid()->viewport()->height() - 5));
  EXPECT_TRUE(form1_->form().highlight().empty());
  EXPECT_TRUE(Grid()->selectedRanges().isEmpty());
}

// 2,000 failed files made a box 32,767 px tall, its OK button off the screen.
TEST(FailureList, TwoThousandFailuresFitTheScreenAndCopy) {
  std::vector<unit1::FailureLine> lines;
  for (int i = 0; i < 2000; ++i) {
    lines.push_back(
        {"/data/F" + std::to_string(i) + ".JWW", "読み込み", "図面データが壊れています。"});
  }
  unit1::FailureDialog dialog("変換できなかったファイルがあります（2000 件）。", lines, nullptr);
  dialog.show();
  QApplication::processEvents();
  const QRect screen = QApplication::primaryScreen()->availableGeometry();
  EXPECT_LE(dialog.frameGeometry().height(), screen.height());
  EXPECT_LE(dialog.frameGeometry().width(), screen.width());
  EXPECT_TRUE(dialog.findChild<QPushButton*>("CloseButton")->isVisible());
  ASSERT_EQ(dialog.list()->topLevelItemCount(), 2000);
  dialog.list()->topLevelItem(5)->setSelected(true);
  EXPECT_EQ(dialog.CopiedText(), "/data/F5.JWW\t読み込み\t図面データが壊れています。\n");
}

TEST_F(WindowTest, TheStopButtonStandsBesideTheProgressBarDuringARun) {
  Start();
  auto* stop = form1_->findChild<QPushButton*>("StopButton");
  EXPECT_FALSE(stop->isVisible());
  form1_->ShowProgress(3, 10);
  EXPECT_TRUE(stop->isVisible());
  EXPECT_EQ(stop->text(), "中止");
  EXPECT_EQ(form1_->findChild<QProgressBar*>("RunProgress")->value(), 3);
  form1_->HideProgress();
  EXPECT_FALSE(stop->isVisible());
}

}  // namespace
}  // namespace gui_test
