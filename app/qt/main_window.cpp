// The main window's widgets, their layout and their wiring to TForm1.
#include "app/qt/main_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/message_texts.h"
#include "app/qt/elided_text.h"
#include "app/qt/preview_pane.h"
#include "app/qt/qt_text.h"
#include "app/qt/settings_dialog.h"
#include "app/qt/window_fonts.h"
#include "app/settings_file.h"

namespace unit1 {

namespace {

QWidget* NamedPanel(const char* name, QWidget* parent) {
  auto* panel = new QWidget(parent);
  panel->setObjectName(QString::fromLatin1(name));
  return panel;
}

// A column filling the panel edge to edge, its rows touching.
QVBoxLayout* TightColumn(QWidget* panel) {
  auto* column = new QVBoxLayout(panel);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  return column;
}

QString Text(std::string_view text) {
  return FromUtf8(text);
}

// The file list. Coming into it by the keyboard marks no row: a current row
// nobody picked showed a faint highlight, and the first arrow key then
// passed over the first row.
class FileGrid : public QTableWidget {
 public:
  using QTableWidget::QTableWidget;

 protected:
  void focusInEvent(QFocusEvent* event) override {
    QTableWidget::focusInEvent(event);
    if (!selectionModel()->hasSelection()) selectionModel()->clearCurrentIndex();
  }
};

// The header's resize handle: presses this close to a section edge resize
// the column and sort nothing.
constexpr int kResizeHandle = 3;

// How often a close asked during a run looks whether the run has ended.
constexpr int kCloseRetryMs = 50;

}  // namespace

MainWindow::MainWindow(WindowContext context)
    : form_(std::move(context), *this),
      escape_([this] { return form_.busy() && !QApplication::activeModalWidget(); }) {
  QCoreApplication::instance()->installEventFilter(&escape_);
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(Text(texts::kMainCaption));
  setFont(ProportionalGothic(12));
  CreateControls();
  CreateStatusBar();
  CreateMenu();
  ConnectControls();
  const SessionSettings builtIn = BuiltInSettings({});
  SetGeometry(WindowId::kMain, builtIn.mainWindow);
}

void MainWindow::AttachSettingsDialog(SettingsDialog* dialog) {
  settingsDialog_ = dialog;
}

void MainWindow::CreateControls() {
  Splitter1 = new QSplitter(Qt::Horizontal, this);
  Splitter1->setObjectName(QStringLiteral("Splitter1"));
  Splitter1->setHandleWidth(3);
  Splitter1->setChildrenCollapsible(false);
  setCentralWidget(Splitter1);

  Panel1 = NamedPanel("Panel1", Splitter1);
  QVBoxLayout* left = TightColumn(Panel1);
  Panel2 = NamedPanel("Panel2", Panel1);
  Panel2->setFixedHeight(19);
  auto* top = new QVBoxLayout(Panel2);
  top->setContentsMargins(0, 0, 0, 0);
  Edit1 = new ElidedLineEdit(Panel2);
  Edit1->setObjectName(QStringLiteral("Edit1"));
  Edit1->setReadOnly(true);
  top->addWidget(Edit1);
  left->addWidget(Panel2);
  TreeView1 = new QTreeWidget(Panel1);
  TreeView1->setObjectName(QStringLiteral("TreeView1"));
  TreeView1->setHeaderHidden(true);
  TreeView1->setIndentation(19);
  TreeView1->setIconSize(QSize(16, 16));
  TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  left->addWidget(TreeView1);

  Panel3 = NamedPanel("Panel3", Splitter1);
  QVBoxLayout* right = TightColumn(Panel3);
  Panel4 = NamedPanel("Panel4", Panel3);
  Panel4->setFixedHeight(48);
  auto* bar = new QGridLayout(Panel4);
  bar->setContentsMargins(4, 2, 4, 2);
  bar->setHorizontalSpacing(6);
  bar->setVerticalSpacing(2);
  bar->addWidget(new QLabel(Text(texts::kFileTypeLabel), Panel4), 0, 0);
  ComboBox1 = new QComboBox(Panel4);
  ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
  for (std::string_view item : texts::kFileTypeItems) ComboBox1->addItem(Text(item));
  bar->addWidget(ComboBox1, 0, 1);
  Button1 = new QPushButton(Text(texts::kSettingsButton), Panel4);
  Button1->setObjectName(QStringLiteral("Button1"));
  bar->addWidget(Button1, 0, 2, 1, 2);
  bar->addWidget(new QLabel(Text(texts::kDestinationLabel), Panel4), 1, 0);
  Edit2 = new ElidedLineEdit(Panel4);
  Edit2->setObjectName(QStringLiteral("Edit2"));
  Edit2->setReadOnly(true);
  bar->addWidget(Edit2, 1, 1, 1, 2);
  Button3 = new QPushButton(Text(texts::kBrowseButton), Panel4);
  Button3->setObjectName(QStringLiteral("Button3"));
  Button3->setFixedWidth(40);
  bar->addWidget(Button3, 1, 3);
  Button4 = new QPushButton(Text(texts::kConvertButton), Panel4);
  Button4->setObjectName(QStringLiteral("Button4"));
  Button4->setFixedSize(75, 44);
  QFont big = font();
  big.setPixelSize(19);
  Button4->setFont(big);
  bar->addWidget(Button4, 0, 4, 2, 1);
  bar->setColumnStretch(1, 1);
  right->addWidget(Panel4);

  Splitter2 = new QSplitter(Qt::Horizontal, Panel3);
  Splitter2->setObjectName(QStringLiteral("Splitter2"));
  Splitter2->setHandleWidth(3);
  Splitter2->setChildrenCollapsible(false);
  StringGrid1 = new FileGrid(4, kColumnCount, Splitter2);
  StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
  StringGrid1->setFont(FixedGothic(13));
  StringGrid1->setShowGrid(false);
  StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
  StringGrid1->setSelectionMode(QAbstractItemView::ExtendedSelection);
  StringGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  StringGrid1->setWordWrap(false);
  StringGrid1->setTextElideMode(Qt::ElideNone);  // cells clip, sizes keep their last digits
  StringGrid1->verticalHeader()->hide();
  StringGrid1->verticalHeader()->setDefaultSectionSize(24);
  StringGrid1->horizontalHeader()->setDefaultSectionSize(64);
  StringGrid1->horizontalHeader()->setMinimumSectionSize(8);
  StringGrid1->horizontalHeader()->setSectionsClickable(false);
  StringGrid1->horizontalHeader()->setHighlightSections(false);
  StringGrid1->horizontalHeader()->setStretchLastSection(false);
  StringGrid1->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  StringGrid1->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  StringGrid1->setHorizontalHeaderLabels(QStringList(kColumnCount, QString()));
  preview_ = new PreviewPane(Splitter2);
  Splitter2->addWidget(StringGrid1);
  Splitter2->addWidget(preview_);
  // A wider window widens the list; the preview keeps the width it was given.
  Splitter2->setStretchFactor(0, 1);
  Splitter2->setStretchFactor(1, 0);
  Splitter2->setSizes({333, 200});
  Splitter2->handle(1)->setCursor(Qt::SplitHCursor);
  right->addWidget(Splitter2);

  Splitter1->addWidget(Panel1);
  Splitter1->addWidget(Panel3);
  Splitter1->setStretchFactor(0, 0);
  Splitter1->setStretchFactor(1, 1);
  Splitter1->setSizes({160, 533});
  Splitter1->handle(1)->setCursor(Qt::SplitHCursor);

  // Tab and Shift+Tab cycle through the controls a user works with, in the
  // order they are worked; Edit1 is clicked, never typed in. Inside the tree
  // and the list, Tab leaves the control rather than moving between cells.
  Edit1->setFocusPolicy(Qt::NoFocus);
  TreeView1->setTabKeyNavigation(false);
  StringGrid1->setTabKeyNavigation(false);
  QWidget* const cycle[] = {TreeView1, StringGrid1, ComboBox1, Button1, Edit2, Button3, Button4};
  for (std::size_t i = 0; i + 1 < std::size(cycle); ++i) setTabOrder(cycle[i], cycle[i + 1]);
  TreeView1->setFocus();  // where the work starts
}

void MainWindow::CreateStatusBar() {
  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setSizeGripEnabled(true);
  statusLabel_ = new ElidedLabel(StatusBar1);
  statusLabel_->setObjectName(QStringLiteral("StatusText"));
  statusLabel_->setTextFormat(Qt::PlainText);
  StatusBar1->addWidget(statusLabel_, 1);
  progress_ = new QProgressBar(StatusBar1);
  progress_->setObjectName(QStringLiteral("RunProgress"));
  progress_->setMaximumWidth(160);
  progress_->setFormat(QStringLiteral("%v / %m"));
  progress_->hide();
  StatusBar1->addPermanentWidget(progress_);
  stopButton_ = new QPushButton(Text(texts::kStopButton), StatusBar1);
  stopButton_->setObjectName(QStringLiteral("StopButton"));
  stopButton_->setFocusPolicy(Qt::NoFocus);  // Escape stops a run from the keyboard
  stopButton_->hide();
  StatusBar1->addPermanentWidget(stopButton_);
  showTimer_ = new QTimer(this);
  showTimer_->setSingleShot(true);
  connect(showTimer_, &QTimer::timeout, this, [this] { ShowWork(); });
  setStatusBar(StatusBar1);
}

void MainWindow::CreateMenu() {
  auto command = [this](QMenu* menu, std::string_view text, const char* name,
                        const std::function<void()>& run) {
    QAction* action = menu->addAction(Text(text));
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, run);
    return action;
  };
  QMenu* file = menuBar()->addMenu(Text(texts::kMenuFile));
  command(file, texts::kMenuSearchFolder, "MnuFileSFolder",
          [this] { form_.MnuFileSFolderClick(); });
  QMenu* types = file->addMenu(Text(texts::kMenuFileType));
  command(types, texts::kMenuFileTypes[0], "MnuFileType0", [this] { form_.MnuFileType0Click(); });
  command(types, texts::kMenuFileTypes[1], "MnuFileType1", [this] { form_.MnuFileType1Click(); });
  command(types, texts::kMenuFileTypes[2], "MnuFileType2", [this] { form_.MnuFileType2Click(); });
  command(file, texts::kMenuDestination, "MnuFileHFolder", [this] { form_.Button3Click(); });
  QAction* convert =
      command(file, texts::kMenuConvert, "MnuFileConvert", [this] { form_.Button4Click(); });
  convert->setShortcuts(
      {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
  command(file, texts::kMenuConvertTree, "MnuFileRecursive",
          [this] { form_.MnuFileRecursiveClick(); });
  MnuFileUndo =
      command(file, texts::kMenuUndo, "MnuFileUndo", [this] { form_.MnuFileUndoClick(); });
  MnuFileUndo->setEnabled(false);  // until the destination folder is known to hold a journal
  file->addSeparator();
  command(file, texts::kMenuExit, "MnuFileExit", [this] { form_.MnuFileExitClick(); });
  QMenu* set = menuBar()->addMenu(Text(texts::kMenuSettings));
  command(set, texts::kMenuConversionSettings, "MnuSetConv", [this] { form_.MnuSetConvClick(); });
}

void MainWindow::ConnectControls() {
  connect(ComboBox1, &QComboBox::activated, this,
          [this](int index) { form_.ComboBox1Change(index); });
  connect(Button1, &QPushButton::clicked, this, [this] { form_.MnuSetConvClick(); });
  connect(Button3, &QPushButton::clicked, this, [this] { form_.Button3Click(); });
  connect(Button4, &QPushButton::clicked, this, [this] { form_.Button4Click(); });
  connect(stopButton_, &QPushButton::clicked, this, [this] { form_.StopCommand(); });
  connect(StringGrid1->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column) {
    if (column == 1 && !showing_) form_.StringGrid1DrawCell();
  });
  connect(StringGrid1, &QTableWidget::itemSelectionChanged, this, [this] { ForwardHighlight(); });
  connect(TreeView1, &QTreeWidget::itemSelectionChanged, this, [this] {
    if (showing_) return;
    const QList<QTreeWidgetItem*> selected = TreeView1->selectedItems();
    form_.TreeSelectionChanged(
        selected.isEmpty() ? std::nullopt
                           : std::optional<int>(selected.front()->data(0, Qt::UserRole).toInt()));
    keyListing_->start();  // a click lists at once and stops it
  });
  closeWhenIdle_ = new QTimer(this);
  closeWhenIdle_->setInterval(kCloseRetryMs);
  connect(closeWhenIdle_, &QTimer::timeout, this, [this] {
    if (form_.busy()) return;
    closeWhenIdle_->stop();
    close();
  });
  // A folder highlighted by the keyboard is listed once the highlight rests.
  keyListing_ = new QTimer(this);
  keyListing_->setSingleShot(true);
  keyListing_->setInterval(kKeyListingDelayMs);
  connect(keyListing_, &QTimer::timeout, this, [this] { form_.TreeView1Click(); });

  // Clicks the controls' own signals do not report (on empty places, on the
  // header, double clicks anywhere).
  for (QObject* watched :
       {static_cast<QObject*>(Edit1), static_cast<QObject*>(TreeView1->viewport()),
        static_cast<QObject*>(StringGrid1->horizontalHeader()->viewport()),
        static_cast<QObject*>(StringGrid1->viewport()), static_cast<QObject*>(StringGrid1)}) {
    watched->installEventFilter(this);
  }
}

void MainWindow::ForwardHighlight() {
  if (showing_) return;
  RowSet rows;
  for (const QModelIndex& index : StringGrid1->selectionModel()->selectedRows()) {
    rows.push_back(static_cast<std::size_t>(index.row()));
  }
  std::sort(rows.begin(), rows.end());
  form_.ListHighlightChanged(rows);
}

void MainWindow::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  form_.FormShow();
}

void MainWindow::closeEvent(QCloseEvent* event) {
  if (!form_.FormCloseQuery()) {
    event->ignore();
    return;
  }
  form_.FormClose();
  QMainWindow::closeEvent(event);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (watched == Edit1 && type == QEvent::MouseButtonRelease) {
    form_.MnuFileSFolderClick();
    return true;
  }
  if (watched == TreeView1->viewport() && type == QEvent::MouseButtonRelease) {
    keyListing_->stop();
    form_.TreeView1Click();
  } else if (watched == StringGrid1 && type == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
      form_.Button4Click();
      return true;
    }
  } else if (watched == StringGrid1->horizontalHeader()->viewport() &&
             type == QEvent::MouseButtonPress) {
    const QPoint at = static_cast<QMouseEvent*>(event)->position().toPoint();
    const QHeaderView* header = StringGrid1->horizontalHeader();
    const int column = header->logicalIndexAt(at.x());
    const int left = column < 0 ? 0 : header->sectionViewportPosition(column);
    const bool onHandle =
        column >= 0 && (at.x() <= left + kResizeHandle ||
                        at.x() >= left + header->sectionSize(column) - kResizeHandle);
    if (!onHandle) form_.StringGrid1MouseDown(at.x() + header->offset(), at.y());
  } else if (watched == StringGrid1->viewport() && type == QEvent::MouseButtonDblClick) {
    const QModelIndex index =
        StringGrid1->indexAt(static_cast<QMouseEvent*>(event)->position().toPoint());
    form_.StringGrid1DblClick(index.isValid() ? std::optional<std::size_t>(index.row())
                                              : std::nullopt);
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace unit1
