// The file list: the plain files of one folder with size, kind, memo, time
// and attributes; sorting by a column header; opening a file.
#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QTableWidget>
#include <QTreeWidget>
#include <algorithm>
#include <array>
#include <system_error>

#include "app/qt_text.h"
#include "app/unit1.h"
#include "common/func.h"
#include "platform/file_attributes.h"
#include "platform/keyboard.h"

namespace fs = std::filesystem;

namespace {

constexpr int kSizeColumn = 1;
constexpr int kAttributeColumn = 5;

// The filter patterns of ComboBox1's items; letter case is ignored and "?"
// stands for one character.
bool MatchesFilter(int filterIndex, const QString& name) {
  if (filterIndex == 1 || filterIndex == 2) {
    const int dot = name.lastIndexOf(QLatin1Char('.'));
    if (dot < 0) return false;
    const QString ext = name.mid(dot + 1).toLower();
    return filterIndex == 1 ? ext.size() == 3 && ext.startsWith(QLatin1String("jw"))
                            : ext == QLatin1String("jww");
  }
  return true;
}

QString Padded(qint64 number, int width) {
  return QString::number(number).rightJustified(width, QLatin1Char(' '));
}

// Last-write time, local, in the two-second steps of the DOS date format.
QString TimeText(const QString& file) {
  QDateTime time = QFileInfo(file).lastModified();
  time = time.addSecs(-(time.time().second() % 2));
  return time.toString(QStringLiteral("yyyy/MM/dd HH:mm:ss"));
}

QString AttributeText(const platform::FileAttributes& attributes) {
  QString text;
  if (attributes.archive) text += QStringLiteral("A ");
  if (attributes.readOnly) text += QStringLiteral("R ");
  return text;
}

QTableWidgetItem* Cell(const QString& text, Qt::Alignment alignment = Qt::AlignLeft) {
  auto* item = new QTableWidgetItem(text);
  item->setTextAlignment(alignment | Qt::AlignVCenter);
  return item;
}

// Upper-cased (ASCII letters, as code page 932 does) and compared as
// unsigned bytes.
QByteArray SortKey(const QTableWidgetItem* cell) {
  QByteArray key = cell ? cell->text().toUtf8() : QByteArray();
  for (char& c : key) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return key;
}

}  // namespace

void TForm1::ClearList() {
  listReady_ = false;
  StringGrid1->clearContents();
  StringGrid1->setRowCount(1);
}

void TForm1::ListFolder(const QString& folder) {
  busy_ = true;
  SetStatus(QStringLiteral("フォルダ「%1」を検索中(ESC:中断)").arg(folder));
  ClearList();
  const int fieldWidth = std::max(3, StringGrid1->columnWidth(kSizeColumn) / 8);
  const int filter = ComboBox1->currentIndex();
  std::error_code ec;
  int n = 0;
  bool stopped = false;
  for (fs::directory_iterator it(unit1::ToPath(folder), ec), end; !ec && it != end;
       it.increment(ec)) {
    std::error_code typeError;
    // Only plain files: a device or pipe named like a drawing must not be opened.
    if (!it->is_regular_file(typeError)) continue;
    const QString name = unit1::FromPath(it->path().filename());
    const platform::FileAttributes attributes = platform::AttributesOf(it->path());
    if (attributes.hidden || attributes.system || !MatchesFilter(filter, name)) continue;
    if (platform::EscapePressed()) {
      stopped = true;
      break;
    }
    ++n;
    StringGrid1->setRowCount(n);
    const int row = n - 1;
    const auto size = static_cast<qint64>(it->file_size(typeError));
    StringGrid1->setItem(row, 0, Cell(name));
    StringGrid1->setItem(row, 1, Cell(Padded(size, fieldWidth), Qt::AlignRight));
    StringGrid1->setItem(row, 2,
                         Cell(QString::fromStdString(unit1::UpperExtension(name.toStdString()))));
    StringGrid1->setItem(row, 3, Cell(unit1::FromUtf8(memoLookup_.Memo(it->path()))));
    StringGrid1->setItem(row, 4, Cell(TimeText(unit1::FromPath(it->path()))));
    StringGrid1->setItem(row, 5, Cell(AttributeText(attributes)));
  }
  SetStatus(stopped ? QStringLiteral("検索を中断しました。")
                    : QStringLiteral("%1 Files  パス名「%2」").arg(n).arg(folder));
  listReady_ = n > 0;
  StringGrid1->setCurrentCell(0, 0);
  StringGrid1->selectRow(0);
  StringGrid1DrawCell();
  busy_ = false;
}

void TForm1::StringGrid1DrawCell() {
  if (!listReady_) return;
  const int digit =
      std::max(3, QFontMetrics(StringGrid1->font()).horizontalAdvance(QLatin1Char('0')));
  const int width = std::max(3, StringGrid1->columnWidth(kSizeColumn) / digit);
  for (int row = 0; row < StringGrid1->rowCount(); ++row) {
    QTableWidgetItem* cell = StringGrid1->item(row, kSizeColumn);
    if (!cell || cell->text().isEmpty()) continue;
    bool ok = false;
    const qint64 size = cell->text().trimmed().toLongLong(&ok);
    const QString text = Padded(ok ? size : 0, width);
    if (cell->text() != text) cell->setText(text);
  }
}

void TForm1::ListSelectedFolder() {
  if (!treeReady_) return;
  if (QTreeWidgetItem* node = TreeView1->currentItem()) ListFolder(NodePath(node));
}

void TForm1::SelectFileType(int index) {
  if (busy_) return;
  ComboBox1->setCurrentIndex(index);
  ListSelectedFolder();
}

void TForm1::ComboBox1Change() {
  if (busy_) return;
  ListSelectedFolder();
}

void TForm1::StringGrid1MouseDown(const QPoint& position) {
  if (busy_ || !listReady_) return;
  const QHeaderView* header = StringGrid1->horizontalHeader();
  const int column = header->logicalIndexAt(position.x());
  if (column < 0) return;
  const int left = header->sectionViewportPosition(column);
  // A press on a boundary finds no column (there the header is resized).
  constexpr int kBoundary = 3;
  if (position.x() <= left + kBoundary ||
      position.x() >= left + header->sectionSize(column) - kBoundary) {
    return;
  }
  if (column == kAttributeColumn) {
    ListSelectedFolder();
    return;
  }
  SortByColumn(column);
}

void TForm1::SortByColumn(int column) {
  StringGrid1->setUpdatesEnabled(false);
  const int rows = StringGrid1->rowCount();
  for (int i = 0; i + 1 < rows; ++i) {
    QByteArray key = SortKey(StringGrid1->item(i, column));
    int best = -1;
    for (int j = i + 1; j < rows; ++j) {
      const QByteArray candidate = SortKey(StringGrid1->item(j, column));
      if (sortDescending_ ? candidate > key : candidate < key) {
        best = j;
        key = candidate;
      }
    }
    if (best < 0) continue;
    for (int c = 0; c < StringGrid1->columnCount(); ++c) {
      QTableWidgetItem* upper = StringGrid1->takeItem(i, c);
      QTableWidgetItem* lower = StringGrid1->takeItem(best, c);
      StringGrid1->setItem(i, c, lower);
      StringGrid1->setItem(best, c, upper);
    }
  }
  StringGrid1->setUpdatesEnabled(true);
  sortDescending_ = !sortDescending_;
}

void TForm1::StringGrid1DblClick() {
  if (busy_) return;
  if (!SearchFolderChosen()) return;
  if (!listReady_) {
    context_.dialogs.Beep();
    SetStatus(QStringLiteral("図面の格納されているフォルダを指定して下さい。"));
    return;
  }
  const QTableWidgetItem* cell = StringGrid1->item(StringGrid1->currentRow(), 0);
  if (!cell || cell->text().isEmpty()) return;
  context_.dialogs.OpenWithAssociatedProgram(
      unit1::ToPath(NodePath(TreeView1->currentItem()) + cell->text()));
}
