// What the main window shows for TForm1: the MainView of the Qt window.
#include <QApplication>
#include <QComboBox>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFontMetrics>
#include <QHeaderView>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QUrl>

#include "app/message_texts.h"
#include "app/qt/elided_text.h"
#include "app/qt/failure_dialog.h"
#include "app/qt/folder_icon.h"
#include "app/qt/main_window.h"
#include "app/qt/preview_pane.h"
#include "app/qt/qt_text.h"
#include "app/qt/settings_dialog.h"
#include "platform/shell_open.h"

namespace unit1 {

namespace {

// The sizes (column 1) and the counts of texts to retype (column 6) are
// right-aligned; a row's tooltip (why a drawing cannot be read) stands on
// every cell of it.
QTableWidgetItem* Cell(const FileRow& row, int column) {
  auto* item = new QTableWidgetItem(FromUtf8(row.Cell(column)));
  const bool right = column == 1 || column == kRetypeColumn;
  item->setTextAlignment((right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
  if (!row.tooltip.empty()) item->setToolTip(FromUtf8(row.tooltip));
  return item;
}

// Outer position and size of the normal place, frame included, also while
// the window is maximised.
WindowGeometry OuterGeometry(const QWidget* window) {
  const QRect frame = window->frameGeometry();
  if (!window->isMaximized()) return {frame.x(), frame.y(), frame.width(), frame.height(), false};
  const QRect inner = window->geometry();
  const QRect normal = window->normalGeometry().marginsAdded(
      {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
       frame.bottom() - inner.bottom()});
  return {normal.x(), normal.y(), normal.width(), normal.height(), true};
}

void SetOuterGeometry(QWidget* window, const WindowGeometry& g) {
  window->setWindowState(window->windowState() & ~Qt::WindowMaximized);
  const QSize frame = window->frameGeometry().size() - window->size();
  window->move(g.x, g.y);
  window->resize(g.width - frame.width(), g.height - frame.height());
  if (g.maximised) window->setWindowState(window->windowState() | Qt::WindowMaximized);
}

// How often the window shows the state of its work, and takes its events,
// while it works.
constexpr int kShowIntervalMs = 50;
constexpr int kEventsIntervalMs = 20;

}  // namespace

QString MainWindow::statusText() const {
  return pendingStatus_ ? FromUtf8(*pendingStatus_) : statusLabel_->fullText();
}

void MainWindow::ShowSearchFolder(const std::string& text) {
  Edit1->SetFullText(FromUtf8(text));
}

void MainWindow::ShowDestinationFolder(const std::string& text) {
  Edit2->SetFullText(FromUtf8(text));
}

void MainWindow::ShowFileType(int index) {
  ComboBox1->setCurrentIndex(index);
}

void MainWindow::ShowHeaders(const std::vector<std::string>& headers) {
  QStringList labels;
  for (const std::string& header : headers) labels << FromUtf8(header);
  StringGrid1->setHorizontalHeaderLabels(labels);
}

void MainWindow::ShowTree(const FolderTree& tree) {
  showing_ = true;
  TreeView1->clear();
  if (!tree.empty()) {
    auto* root = new QTreeWidgetItem(TreeView1, {FromUtf8(tree.nodes()[0].text)});
    AddTreeItems(tree, 0, root);
    root->setExpanded(true);
  }
  TreeView1->setCurrentItem(nullptr);
  showing_ = false;
}

void MainWindow::AddTreeItems(const FolderTree& tree, int node, QTreeWidgetItem* item) {
  item->setIcon(0, YellowFolder());
  item->setData(0, Qt::UserRole, node);
  for (int child : tree.nodes()[static_cast<std::size_t>(node)].children) {
    AddTreeItems(
        tree, child,
        new QTreeWidgetItem(item, {FromUtf8(tree.nodes()[static_cast<std::size_t>(child)].text)}));
  }
}

void MainWindow::EnableUndo(bool enabled) {
  MnuFileUndo->setEnabled(enabled);
}

void MainWindow::SelectTreeNode(int node) {
  showing_ = true;
  for (QTreeWidgetItemIterator it(TreeView1); *it; ++it) {
    if ((*it)->data(0, Qt::UserRole).toInt() == node) {
      TreeView1->setCurrentItem(*it);
      TreeView1->scrollToItem(*it);
      break;
    }
  }
  showing_ = false;
}

// A scan disables the tree, which hands the focus on to the list; the
// focus comes back with the new tree, where the keyboard user works next.
void MainWindow::EnableTree(bool enabled) {
  if (!enabled && TreeView1->isEnabled()) treeHadFocus_ = focusWidget() == TreeView1;
  TreeView1->setEnabled(enabled);
  if (enabled && treeHadFocus_) TreeView1->setFocus();
}

void MainWindow::ShowRows(const std::vector<FileRow>& rows, const RowSet& highlight) {
  showing_ = true;
  rows_ = &rows;
  StringGrid1->setUpdatesEnabled(false);
  StringGrid1->clearSelection();
  StringGrid1->setRowCount(static_cast<int>(rows.size()));
  for (int r = 0; r < static_cast<int>(rows.size()); ++r) {
    for (int c = 0; c < kColumnCount; ++c) {
      StringGrid1->setItem(r, c, Cell(rows[static_cast<std::size_t>(r)], c));
    }
  }
  QItemSelectionModel* selection = StringGrid1->selectionModel();
  if (highlight.empty()) {
    selection->clearCurrentIndex();
  } else {
    // One selection of runs of neighbouring rows: row by row, highlighting
    // thousands of rows took seconds.
    const QAbstractItemModel* model = StringGrid1->model();
    QItemSelection rowsShown;
    for (std::size_t i = 0; i < highlight.size();) {
      std::size_t last = i;
      while (last + 1 < highlight.size() && highlight[last + 1] == highlight[last] + 1) ++last;
      rowsShown.select(model->index(static_cast<int>(highlight[i]), 0),
                       model->index(static_cast<int>(highlight[last]), kColumnCount - 1));
      i = last + 1;
    }
    selection->setCurrentIndex(model->index(static_cast<int>(highlight.front()), 0),
                               QItemSelectionModel::NoUpdate);
    selection->select(rowsShown, QItemSelectionModel::ClearAndSelect);
  }
  StringGrid1->setUpdatesEnabled(true);
  showing_ = false;
}

void MainWindow::RefreshRows() {
  if (!rows_) return;
  showing_ = true;
  for (int r = 0; r < StringGrid1->rowCount() && r < static_cast<int>(rows_->size()); ++r) {
    const FileRow& row = (*rows_)[static_cast<std::size_t>(r)];
    if (QTableWidgetItem* cell = StringGrid1->item(r, 1)) cell->setText(FromUtf8(row.sizeText));
    if (QTableWidgetItem* cell = StringGrid1->item(r, kRetypeColumn)) {
      cell->setText(FromUtf8(row.retypeText));
    }
    const QString tooltip = FromUtf8(row.tooltip);
    for (int c = 0; c < kColumnCount; ++c) {
      QTableWidgetItem* cell = StringGrid1->item(r, c);
      if (cell && cell->toolTip() != tooltip) cell->setToolTip(tooltip);
    }
  }
  showing_ = false;
}

// The text is painted the next time the window takes its events, which the
// long loops let it do between their items: a synchronous repaint per file
// made a run many times slower than the command. While the window works,
// the status text and the progress bar take a new state at most every
// kShowIntervalMs (QProgressBar repaints synchronously on every new value
// its text shows); the last state follows by a timer.
void MainWindow::SetStatusText(const std::string& text) {
  if (!form_.busy()) {
    pendingStatus_.reset();
    statusLabel_->SetFullText(FromUtf8(text));
    statusLabel_->update();
    return;
  }
  pendingStatus_ = text;
  ShowWorkSoon();
}

void MainWindow::ShowProgress(std::size_t done, std::size_t total) {
  pendingProgress_ = {static_cast<int>(done), static_cast<int>(total)};
  if (!progress_->isVisible()) {
    progress_->show();
    stopButton_->show();
    ShowWork();
  } else {
    ShowWorkSoon();
  }
}

void MainWindow::ShowWorkSoon() {
  if (!workShown_.isValid() || workShown_.elapsed() >= kShowIntervalMs) {
    ShowWork();
  } else if (!showTimer_->isActive()) {
    showTimer_->start(kShowIntervalMs - static_cast<int>(workShown_.elapsed()));
  }
}

void MainWindow::ShowWork() {
  if (pendingStatus_) {
    statusLabel_->SetFullText(FromUtf8(*pendingStatus_));
    statusLabel_->update();
    pendingStatus_.reset();
  }
  if (pendingProgress_) {
    progress_->setRange(0, pendingProgress_->second);
    progress_->setValue(pendingProgress_->first);
    pendingProgress_.reset();
  }
  workShown_.restart();
}

void MainWindow::HideProgress() {
  pendingProgress_.reset();
  progress_->hide();
  stopButton_->hide();
}

void MainWindow::Beep() {
  QApplication::beep();
}

BoxAnswer MainWindow::ShowBox(BoxIcon icon, const std::string& text, BoxButtons buttons) {
  const QMessageBox::Icon shown = icon == BoxIcon::kError         ? QMessageBox::Critical
                                  : icon == BoxIcon::kInformation ? QMessageBox::Information
                                  : icon == BoxIcon::kWarning     ? QMessageBox::Warning
                                                                  : QMessageBox::Question;
  QMessageBox box(shown, FromUtf8(texts::kApplicationTitle), FromUtf8(text), QMessageBox::NoButton,
                  this);
  if (buttons == BoxButtons::kYesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
  }
  const int answer = box.exec();
  if (buttons == BoxButtons::kOk) return BoxAnswer::kOk;
  return answer == QMessageBox::Yes ? BoxAnswer::kYes : BoxAnswer::kNo;
}

void MainWindow::ShowFailures(const std::string& summary, const std::vector<FailureLine>& lines) {
  FailureDialog dialog(summary, lines, this);
  dialog.exec();
}

std::optional<std::filesystem::path> MainWindow::ChooseFolder(const std::string& title,
                                                              const std::filesystem::path& start) {
  QFileDialog dialog(this, FromUtf8(title), FromPath(start));
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  dialog.setOption(QFileDialog::ReadOnly, false);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return ToPath(dialog.selectedFiles().front());
}

void MainWindow::OpenWithAssociatedProgram(const std::filesystem::path& file) {
  if (platform::OpenWithAssociatedProgram(file)) return;
  QDesktopServices::openUrl(QUrl::fromLocalFile(FromPath(file)));
}

void MainWindow::ShowSettingsDialog() {
  if (settingsDialog_) settingsDialog_->exec();
}

// Asked while a scan or a run is still going (to close once it has
// stopped), the window closes as soon as it is no longer busy.
void MainWindow::CloseWindow() {
  if (form_.busy()) {
    closeWhenIdle_->start();
  } else {
    close();
  }
}

// Often enough to paint, to take the stop command and to answer the system;
// each look at the display costs, and a loop asks between every two items.
void MainWindow::ProcessPendingEvents() {
  if (eventsTaken_.isValid() && eventsTaken_.elapsed() < kEventsIntervalMs) return;
  QCoreApplication::processEvents();
  eventsTaken_.restart();
}

bool MainWindow::EscapePressed() {
  // A press waits in the queue until the window takes its events.
  ProcessPendingEvents();
  return escape_.TakePress();
}

WindowGeometry MainWindow::Geometry(WindowId window) {
  if (window == WindowId::kMain) return OuterGeometry(this);
  return settingsDialog_ ? OuterGeometry(settingsDialog_) : WindowGeometry{};
}

void MainWindow::SetGeometry(WindowId window, const WindowGeometry& geometry) {
  if (window == WindowId::kMain) {
    SetOuterGeometry(this, geometry);
  } else if (settingsDialog_) {
    SetOuterGeometry(settingsDialog_, geometry);
  }
}

int MainWindow::PaneWidth() {
  return Panel1->width();
}

void MainWindow::SetPaneWidth(int width) {
  const QList<int> sizes = Splitter1->sizes();
  const int total = sizes.value(0) + sizes.value(1);
  Splitter1->setSizes({width, std::max(0, total - width)});
}

int MainWindow::PreviewWidth() {
  return Splitter2->sizes().value(1);
}

void MainWindow::SetPreviewWidth(int width) {
  const QList<int> sizes = Splitter2->sizes();
  const int total = sizes.value(0) + sizes.value(1);
  Splitter2->setSizes({std::max(0, total - width), width});
}

void MainWindow::ShowPreview(std::shared_ptr<const render::DisplayList> drawing,
                             const std::string& caption) {
  preview_->Show(std::move(drawing), FromUtf8(caption));
}

// Queued on the window object: the task runs on its thread, and not at all
// once the window is gone.
void MainWindow::PostToWindow(std::function<void()> task) {
  QMetaObject::invokeMethod(this, std::move(task), Qt::QueuedConnection);
}

int MainWindow::ColumnWidth(int column) {
  return StringGrid1->columnWidth(column);
}

void MainWindow::SetColumnWidth(int column, int width) {
  StringGrid1->setColumnWidth(column, width);
}

int MainWindow::HeaderRowHeight() {
  return StringGrid1->horizontalHeader()->height();
}

int MainWindow::DigitWidth() {
  return QFontMetrics(StringGrid1->font()).horizontalAdvance(QLatin1Char('0'));
}

}  // namespace unit1
