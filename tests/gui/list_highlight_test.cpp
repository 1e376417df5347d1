// The list's highlight is a set of files, picked as in Explorer (click,
// Ctrl+click, Shift+click, Ctrl+A) and kept on the same files when the list
// is sorted.
#include <QApplication>
#include <QHeaderView>
#include <QTableWidget>
#include <QTest>
#include <QTreeWidget>

#include "tests/gui/window_fixture.h"

namespace gui_test {
namespace {

class ListHighlightTest : public WindowTest {
 protected:
  void ClickRow(int row, Qt::KeyboardModifiers keys = {}) {
    QTest::mouseClick(Grid()->viewport(), Qt::LeftButton, keys,
                      Grid()->visualItemRect(Grid()->item(row, 0)).center());
  }
  void ClickHeader(int column) {
    QHeaderView* header = Grid()->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                      {header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                       header->height() / 2});
  }
  // The files the window's logic holds highlighted, and those the grid shows.
  QStringList Highlighted() const {
    QStringList names;
    for (std::size_t row : form1_->form().highlight()) {
      names << QString::fromStdString(form1_->form().rows()[row].nameText);
    }
    return names;
  }
  QStringList Shown() const {
    QStringList names;
    for (int row = 0; row < Grid()->rowCount(); ++row) {
      if (Grid()->selectionModel()->isRowSelected(row, {})) names << Grid()->item(row, 0)->text();
    }
    return names;
  }
};

TEST_F(ListHighlightTest, PickedByMouseAndKeysAndKeptOnTheSameFilesAcrossASort) {
  // Larger files first by name, so that a sort by size turns the order over.
  const char* names[] = {"T1.JWW", "T2.JWW", "T3.JWW", "T4.JWW", "T5.JWW", "T6.JWW"};
  for (int i = 0; i < 6; ++i) {
    testing_support::WriteFileBytes(data_ / names[i],
                                    std::string(static_cast<std::size_t>(60 - i * 10), 'x'));
  }
  Start();
  ListFolder(data_);
  ASSERT_EQ(Grid()->rowCount(), 6);
  // Nothing highlighted after a listing, and no row marked current.
  EXPECT_TRUE(Highlighted().isEmpty());
  EXPECT_TRUE(Shown().isEmpty());
  EXPECT_FALSE(Grid()->currentIndex().isValid());
  // Nor when the keyboard comes into the list: the first arrow key picks the first row.
  QApplication::setActiveWindow(form1_.get());
  Tree()->setFocus();
  QTest::keyClick(Tree(), Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), Grid());
  EXPECT_FALSE(Grid()->currentIndex().isValid());
  QTest::keyClick(Grid(), Qt::Key_Down);
  EXPECT_EQ(Shown(), (QStringList{Grid()->item(0, 0)->text()}));
  ClickHeader(1);  // "Bytes": the smallest first
  ASSERT_EQ(Grid()->item(0, 0)->text(), "T6.JWW");

  ClickRow(1);
  ClickRow(3, Qt::ShiftModifier);
  EXPECT_EQ(Highlighted(), (QStringList{"T5.JWW", "T4.JWW", "T3.JWW"}));
  ClickRow(5, Qt::ControlModifier);
  ClickRow(2, Qt::ControlModifier);
  EXPECT_EQ(Highlighted(), (QStringList{"T5.JWW", "T3.JWW", "T1.JWW"}));
  EXPECT_EQ(Shown(), Highlighted());
  Grid()->setFocus();
  QTest::keyClick(Grid(), Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(Highlighted().size(), 6);

  ClickRow(1);
  ClickRow(4, Qt::ShiftModifier);
  const QStringList picked = {"T2.JWW", "T3.JWW", "T4.JWW", "T5.JWW"};
  ClickHeader(1);  // "Bytes" again: the largest first
  ASSERT_EQ(Grid()->item(0, 0)->text(), "T1.JWW");
  EXPECT_EQ(Highlighted(), picked);
  EXPECT_EQ(Shown(), picked);

  // A new listing of another folder starts with nothing highlighted.
  const auto other = data_ / "other";
  std::filesystem::create_directories(other);
  testing_support::WriteFileBytes(other / "X.JWW", "x");
  ListFolder(other);
  EXPECT_TRUE(Highlighted().isEmpty());
  EXPECT_TRUE(Shown().isEmpty());
  EXPECT_FALSE(Grid()->currentIndex().isValid());
}

}  // namespace
}  // namespace gui_test
