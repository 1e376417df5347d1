// What only the main window's widgets show: layout, long texts, the list's
// highlight under the mouse, the failure list, the stop button.
#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
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

struct PaintCounter : QObject {
  int count = 0;
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++count;
    return false;
  }
};

std::string Describe(const QWidget* control, const QRect& at) {
  QString name = control->objectName();
  if (name.isEmpty()) name = control->property("text").toString();
  return QStringLiteral("%1 (%2,%3 %4x%5)")
      .arg(name)
      .arg(at.x())
      .arg(at.y())
      .arg(at.width())
      .arg(at.height())
      .toStdString();
}

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
  QTest::qWait(100);  // the last text of a listing is shown within 50 ms
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
  ASSERT_EQ(dialog.list()->topLevelItem(0)->childCount(), 2000);
  dialog.list()->topLevelItem(0)->child(5)->setSelected(true);
  EXPECT_EQ(dialog.CopiedText(), "/data/F5.JWW\t読み込み\t図面データが壊れています。\n");
}

// The failed and the skipped files in two groups, in the run's order until
// a column's header is clicked, copyable as lines with Ctrl+C.
TEST(FailureList, TwoGroupsSortableByColumnAndCopied) {
  using unit1::FailureKind;
  const std::vector<unit1::FailureLine> lines = {
      {"/d/B.JWW", "読み込み", "壊れています。", FailureKind::kFailed},
      {"/d/N.txt", "", "図面ではありません。", FailureKind::kSkipped},
      {"/d/A.JWW", "書き込み", "書けません。", FailureKind::kFailed},
      {"/d/C.JWW", "", "注意があります。", FailureKind::kWarning}};
  unit1::FailureDialog dialog("変換できなかったファイルがあります（2 件）。", lines, nullptr);
  dialog.show();
  QTreeWidget* list = dialog.list();
  ASSERT_EQ(list->topLevelItemCount(), 2);
  const auto files = [list](int group) {
    QStringList names;
    for (int i = 0; i < list->topLevelItem(group)->childCount(); ++i) {
      names << list->topLevelItem(group)->child(i)->text(0);
    }
    return names;
  };
  EXPECT_EQ(list->topLevelItem(0)->text(0), "変換できなかったファイル（3 件）");
  EXPECT_EQ(list->topLevelItem(1)->text(0), "変換しなかったファイル（1 件）");
  EXPECT_EQ(files(0), (QStringList{"/d/B.JWW", "/d/A.JWW", "/d/C.JWW"}));
  EXPECT_EQ(files(1), (QStringList{"/d/N.txt"}));

  QHeaderView* header = list->header();
  const QPoint onFile(header->sectionViewportPosition(0) + 20, header->height() / 2);
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, onFile);
  EXPECT_EQ(files(0), (QStringList{"/d/A.JWW", "/d/B.JWW", "/d/C.JWW"}));
  QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, onFile);
  EXPECT_EQ(files(0), (QStringList{"/d/C.JWW", "/d/B.JWW", "/d/A.JWW"}));
  EXPECT_EQ(list->topLevelItem(1)->text(0), "変換しなかったファイル（1 件）");  // groups stay

  list->setFocus();
  list->setCurrentItem(list->topLevelItem(1)->child(0));
  QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text(), "/d/N.txt\t\t図面ではありません。\n");
  list->clearSelection();
  QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QApplication::clipboard()->text().count('\n'), 4);
}

// A synchronous repaint per file made the window's run many times slower
// than the command: the status text and the progress bar paint when the
// window takes its events, and the bar takes at most 20 values a second.
TEST_F(WindowTest, RunProgressPaintsWithTheWindowsEventsNotPerFile) {
  Start();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form1_.get()));
  auto* status = form1_->findChild<unit1::ElidedLabel*>("StatusText");
  auto* bar = form1_->findChild<QProgressBar*>("RunProgress");
  form1_->ShowProgress(0, 200);
  QApplication::processEvents();
  PaintCounter paints;
  status->installEventFilter(&paints);
  bar->installEventFilter(&paints);
  for (std::size_t i = 1; i < 200; ++i) {
    form1_->SetStatusText("変換中 " + std::to_string(i));
    form1_->ShowProgress(i, 200);
  }
  EXPECT_LT(paints.count, 20);  // one per file before; none unless the loop stalls here
  QTest::qWait(120);
  EXPECT_GE(paints.count, 1);
  EXPECT_EQ(bar->value(), 199);  // the last value shows, late
  EXPECT_EQ(form1_->statusText(), "変換中 199");
}

// A maximised window comes back maximised over its normal place.
TEST_F(WindowTest, TheMaximisedStateAndTheNormalPlaceRoundTrip) {
  Start();
  form1_->SetGeometry(unit1::WindowId::kMain, {50, 40, 700, 500, true});
  ASSERT_TRUE(QTest::qWaitFor([this] { return form1_->isMaximized(); }, 1000));
  const unit1::WindowGeometry kept = form1_->Geometry(unit1::WindowId::kMain);
  EXPECT_TRUE(kept.maximised);
  EXPECT_EQ(kept.width, 700);
  EXPECT_EQ(kept.height, 500);
  form1_->SetGeometry(unit1::WindowId::kMain, {60, 50, 720, 510, false});
  EXPECT_FALSE(form1_->isMaximized());
  EXPECT_EQ(form1_->frameGeometry().size(), QSize(720, 510));
}

// Made as small as it goes, no control of either window covers another.
TEST_F(WindowTest, AtTheirSmallestNoControlsOverlap) {
  Start();
  form2_->show();
  for (QWidget* window :
       {static_cast<QWidget*>(form1_.get()), static_cast<QWidget*>(form2_.get())}) {
    window->resize(40, 40);
    QApplication::processEvents();
    EXPECT_GT(window->width(), 40);
    QList<QWidget*> controls;
    for (QWidget* child : window->findChildren<QWidget*>()) {
      const bool control = qobject_cast<QAbstractButton*>(child) ||
                           qobject_cast<QLineEdit*>(child) || qobject_cast<QComboBox*>(child) ||
                           qobject_cast<QLabel*>(child);
      if (control && child->window() == window && child->isVisible()) controls << child;
    }
    ASSERT_GT(controls.size(), 5);
    for (int i = 0; i < controls.size(); ++i) {
      const QRect a(controls[i]->mapTo(window, QPoint()), controls[i]->size());
      for (int j = i + 1; j < controls.size(); ++j) {
        const QRect b(controls[j]->mapTo(window, QPoint()), controls[j]->size());
        EXPECT_FALSE(a.intersects(b))
            << Describe(controls[i], a) << " covers " << Describe(controls[j], b);
      }
    }
  }
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
