#include "app/unit1.h"

#include <QAction>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMouseEvent>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QStatusBar>
#include <QTableWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/generic_error.h"
#include "app/unit2.h"
#include "app/window_fonts.h"

namespace {

constexpr int kColumnCount = 6;
constexpr int kInitialRows = 4;

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

}  // namespace

TForm1::TForm1(WindowContext context)
    : context_(std::move(context)), memoLookup_(context_.drawing) {
  setObjectName(QStringLiteral("Form1"));
  setWindowTitle(QStringLiteral("Quillon Ver.1.02"));
  setFont(unit1::ProportionalGothic(12));
  CreateControls();
  CreateMenu();
  move(192, 107);
  resize(696, 478);
}

TForm1::~TForm1() {
  ShutDown();
}

void TForm1::AttachSettingsDialog(TForm2* dialog) {
  settingsDialog_ = dialog;
}

void TForm1::CreateControls() {
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
  Edit1 = new QLineEdit(Panel2);
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
  bar->addWidget(new QLabel(QStringLiteral("ファイルの種類"), Panel4), 0, 0);
  ComboBox1 = new QComboBox(Panel4);
  ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
  ComboBox1->addItems(
      {QStringLiteral("全てのファイル(*.*)"), QStringLiteral("*.JW?"), QStringLiteral("*.JWW")});
  bar->addWidget(ComboBox1, 0, 1);
  Button1 = new QPushButton(QStringLiteral("変換設定"), Panel4);
  Button1->setObjectName(QStringLiteral("Button1"));
  bar->addWidget(Button1, 0, 2, 1, 2);
  bar->addWidget(new QLabel(QStringLiteral("保存先フォルダ"), Panel4), 1, 0);
  Edit2 = new QLineEdit(Panel4);
  Edit2->setObjectName(QStringLiteral("Edit2"));
  Edit2->setReadOnly(true);
  bar->addWidget(Edit2, 1, 1, 1, 2);
  Button3 = new QPushButton(QStringLiteral("参照"), Panel4);
  Button3->setObjectName(QStringLiteral("Button3"));
  Button3->setFixedWidth(40);
  bar->addWidget(Button3, 1, 3);
  Button4 = new QPushButton(QStringLiteral("変換"), Panel4);
  Button4->setObjectName(QStringLiteral("Button4"));
  Button4->setFixedSize(75, 44);
  QFont big = font();
  big.setPixelSize(19);
  Button4->setFont(big);
  bar->addWidget(Button4, 0, 4, 2, 1);
  bar->setColumnStretch(1, 1);
  right->addWidget(Panel4);

  StringGrid1 = new QTableWidget(kInitialRows, kColumnCount, Panel3);
  StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
  StringGrid1->setFont(unit1::FixedGothic(13));
  StringGrid1->setShowGrid(false);
  StringGrid1->setSelectionBehavior(QAbstractItemView::SelectRows);
  StringGrid1->setSelectionMode(QAbstractItemView::ContiguousSelection);
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
  right->addWidget(StringGrid1);

  Splitter1->addWidget(Panel1);
  Splitter1->addWidget(Panel3);
  Splitter1->setStretchFactor(0, 0);
  Splitter1->setStretchFactor(1, 1);
  Splitter1->setSizes({160, 533});
  Splitter1->handle(1)->setCursor(Qt::SplitHCursor);

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
  StatusBar1->setSizeGripEnabled(true);
  statusLabel_ = new QLabel(StatusBar1);
  statusLabel_->setObjectName(QStringLiteral("StatusText"));
  statusLabel_->setTextFormat(Qt::PlainText);
  StatusBar1->addWidget(statusLabel_, 1);
  progress_ = new QProgressBar(StatusBar1);
  progress_->setObjectName(QStringLiteral("RunProgress"));
  progress_->setMaximumWidth(160);
  progress_->setFormat(QStringLiteral("%v / %m"));
  progress_->hide();
  StatusBar1->addPermanentWidget(progress_);
  setStatusBar(StatusBar1);

  // Clicks the controls' own signals do not report (on empty places, on the
  // header, double clicks anywhere).
  for (QObject* watched :
       {static_cast<QObject*>(Edit1), static_cast<QObject*>(TreeView1->viewport()),
        static_cast<QObject*>(StringGrid1->horizontalHeader()->viewport()),
        static_cast<QObject*>(StringGrid1->viewport())}) {
    watched->installEventFilter(this);
  }

  setTabOrder(Edit1, TreeView1);
  setTabOrder(TreeView1, ComboBox1);
  setTabOrder(ComboBox1, Button1);
  setTabOrder(Button1, Button3);
  setTabOrder(Button3, Button4);
  setTabOrder(Button4, StringGrid1);

  connect(ComboBox1, &QComboBox::activated, this,
          [this] { Guarded([this] { ComboBox1Change(); }); });
  connect(Button1, &QPushButton::clicked, this, [this] { Guarded([this] { MnuSetConvClick(); }); });
  connect(Button3, &QPushButton::clicked, this, [this] { Guarded([this] { Button3Click(); }); });
  connect(Button4, &QPushButton::clicked, this, [this] { Guarded([this] { Button4Click(); }); });
  connect(StringGrid1->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int column) {
    if (column == 1) Guarded([this] { StringGrid1DrawCell(); });
  });
}

void TForm1::CreateMenu() {
  auto command = [this](QMenu* menu, const QString& text, const char* name, void (TForm1::*run)()) {
    QAction* action = menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this,
            [this, run] { Guarded([this, run] { (this->*run)(); }); });
    return action;
  };
  QMenu* file = menuBar()->addMenu(QStringLiteral("ファイル (&F)"));
  command(file, QStringLiteral("検索フォルダの指定 (&S)"), "MnuFileSFolder",
          &TForm1::MnuFileSFolderClick);
  QMenu* types = file->addMenu(QStringLiteral("ファイルの種類 (&T)"));
  fileTypeActions_ = {
      command(types, QStringLiteral("全てのファイル(*.*) (&0)"), "MnuFileType0",
              &TForm1::MnuFileType0Click),
      command(types, QStringLiteral("(*.jw?) (&1)"), "MnuFileType1", &TForm1::MnuFileType1Click),
      command(types, QStringLiteral("(*.jww) (&2)"), "MnuFileType2", &TForm1::MnuFileType2Click)};
  command(file, QStringLiteral("保存先フォルダの指定 (&H)"), "MnuFileHFolder",
          &TForm1::Button3Click);
  file->addSeparator();
  command(file, QStringLiteral("終了 (&X)"), "MnuFileExit", &TForm1::MnuFileExitClick);
  QMenu* set = menuBar()->addMenu(QStringLiteral("設定 (&S)"));
  command(set, QStringLiteral("変換設定 (&1)"), "MnuSetConv", &TForm1::MnuSetConvClick);
}

void TForm1::Guarded(const std::function<void()>& command) {
  unit1::RunGuarded(context_.dialogs, this, command);
}

QString TForm1::statusText() const {
  return statusLabel_->text();
}

void TForm1::SetStatus(const QString& text) {
  statusLabel_->setText(text);
  statusLabel_->repaint();
}

void TForm1::ErrorBox(const QString& text) {
  context_.dialogs.Beep();
  context_.dialogs.ShowBox(this, unit1::BoxIcon::kError, text, unit1::BoxButtons::kOk);
}

bool TForm1::SearchFolderChosen() {
  if (treeReady_) return true;
  const QString text = QStringLiteral("検索フォルダを指定して下さい。");
  ErrorBox(text);
  SetStatus(text);
  return false;
}

void TForm1::MnuFileExitClick() {
  if (busy_) return;
  const unit1::BoxAnswer answer = context_.dialogs.ShowBox(
      this, unit1::BoxIcon::kQuestion, QStringLiteral("終了します。よろしいですか？"),
      unit1::BoxButtons::kYesNo);
  if (answer == unit1::BoxAnswer::kYes) close();
}

void TForm1::MnuSetConvClick() {
  if (busy_ || !settingsDialog_) return;
  settingsDialog_->exec();
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (watched == Edit1 && type == QEvent::MouseButtonRelease) {
    Guarded([this] { MnuFileSFolderClick(); });
    return true;
  }
  if (watched == TreeView1->viewport() && type == QEvent::MouseButtonRelease) {
    Guarded([this] { TreeView1Click(); });
  } else if (watched == StringGrid1->horizontalHeader()->viewport() &&
             type == QEvent::MouseButtonPress) {
    const QPoint position = static_cast<QMouseEvent*>(event)->position().toPoint();
    Guarded([this, position] { StringGrid1MouseDown(position); });
  } else if (watched == StringGrid1->viewport() && type == QEvent::MouseButtonDblClick) {
    Guarded([this] { StringGrid1DblClick(); });
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}
