#include "app/qt/failure_dialog.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "app/message_texts.h"
#include "app/qt/qt_text.h"

namespace unit1 {

namespace {

// A group's line: the failed files first, then the skipped ones, whichever
// column the list is sorted by and in which direction.
class GroupItem : public QTreeWidgetItem {
 public:
  GroupItem(QTreeWidget* list, int place, const QString& caption)
      : QTreeWidgetItem(list), place_(place) {
    setText(0, caption);
    setFlags(Qt::ItemIsEnabled);
    setFirstColumnSpanned(true);
    QFont bold = font(0);
    bold.setBold(true);
    setFont(0, bold);
  }
  bool operator<(const QTreeWidgetItem& other) const override {
    const auto* group = dynamic_cast<const GroupItem*>(&other);
    if (!group) return QTreeWidgetItem::operator<(other);
    const bool descending = treeWidget()->header()->sortIndicatorOrder() == Qt::DescendingOrder;
    return descending ? place_ > group->place_ : place_ < group->place_;
  }

 private:
  int place_;
};

void AddGroup(QTreeWidget* list, int place, std::string_view caption,
              const std::vector<const FailureLine*>& lines) {
  if (lines.empty()) return;
  auto* group =
      new GroupItem(list, place, FromUtf8(texts::FailureGroupCaption(caption, lines.size())));
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<qsizetype>(lines.size()));
  for (const FailureLine* line : lines) {
    auto* item = new QTreeWidgetItem(
        QStringList{FromUtf8(line->file), FromUtf8(line->stage), FromUtf8(line->reason)});
    item->setToolTip(0, item->text(0));  // the whole path where the column cuts it
    items << item;
  }
  group->addChildren(items);
  group->setExpanded(true);
}

}  // namespace

FailureDialog::FailureDialog(const std::string& summary, const std::vector<FailureLine>& lines,
                             QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("FailureList"));
  setWindowTitle(FromUtf8(texts::kApplicationTitle));
  setSizeGripEnabled(true);
  auto* layout = new QVBoxLayout(this);

  auto* top = new QHBoxLayout;
  auto* icon = new QLabel(this);
  const int iconSize = style()->pixelMetric(QStyle::PM_MessageBoxIconSize, nullptr, this);
  icon->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxCritical).pixmap(iconSize));
  icon->setAlignment(Qt::AlignTop);
  top->addWidget(icon);
  auto* text = new QLabel(FromUtf8(summary), this);
  text->setWordWrap(true);
  top->addWidget(text, 1);
  layout->addLayout(top);

  list_ = new QTreeWidget(this);
  list_->setObjectName(QStringLiteral("FailureLines"));
  list_->setColumnCount(3);
  list_->setHeaderLabels({FromUtf8(texts::kFailureHeaders[0]), FromUtf8(texts::kFailureHeaders[1]),
                          FromUtf8(texts::kFailureHeaders[2])});
  list_->setUniformRowHeights(true);
  list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list_->setTextElideMode(Qt::ElideMiddle);
  std::vector<const FailureLine*> failed, skipped;
  for (const FailureLine& line : lines) {
    (line.kind == FailureKind::kSkipped ? skipped : failed).push_back(&line);
  }
  AddGroup(list_, 0, texts::kFailuresCaption, failed);
  AddGroup(list_, 1, texts::kSkippedCaption, skipped);
  // Sortable by a click on a column's header; shown first in the run's order.
  list_->header()->setSortIndicator(-1, Qt::AscendingOrder);
  list_->setSortingEnabled(true);
  list_->header()->setSortIndicatorShown(true);
  list_->header()->setSectionResizeMode(QHeaderView::Interactive);
  list_->header()->setStretchLastSection(true);
  layout->addWidget(list_, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  auto* copy = new QPushButton(FromUtf8(texts::kCopyButton), this);
  copy->setObjectName(QStringLiteral("CopyButton"));
  auto* close = new QPushButton(FromUtf8(texts::kCloseButton), this);
  close->setObjectName(QStringLiteral("CloseButton"));
  close->setDefault(true);
  buttons->addWidget(copy);
  buttons->addWidget(close);
  layout->addLayout(buttons);
  connect(copy, &QPushButton::clicked, this,
          [this] { QApplication::clipboard()->setText(CopiedText()); });
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  // Ctrl+C copies the lines, not the list's one cell.
  list_->installEventFilter(this);

  // However long the list, the box keeps within the screen.
  const QScreen* screen =
      parent && parent->screen() ? parent->screen() : QApplication::primaryScreen();
  const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
  resize(std::min(900, available.width() * 9 / 10), std::min(520, available.height() * 8 / 10));
  setMaximumSize(available.size());
  // The stage in full; the file as long as it is but at most about half the
  // box (cut in the middle), so that the reason shows at any scale.
  list_->resizeColumnToContents(1);
  list_->resizeColumnToContents(0);
  list_->setColumnWidth(0, std::min(list_->columnWidth(0), width() * 45 / 100));
}

bool FailureDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == list_ && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
    QApplication::clipboard()->setText(CopiedText());
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

void FailureDialog::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Copy)) {
    QApplication::clipboard()->setText(CopiedText());
    return;
  }
  QDialog::keyPressEvent(event);
}

QString FailureDialog::CopiedText() const {
  const bool all = list_->selectedItems().isEmpty();
  QString text;
  for (int g = 0; g < list_->topLevelItemCount(); ++g) {
    const QTreeWidgetItem* group = list_->topLevelItem(g);
    for (int i = 0; i < group->childCount(); ++i) {
      const QTreeWidgetItem* item = group->child(i);
      if (!all && !item->isSelected()) continue;
      text += item->text(0) + '\t' + item->text(1) + '\t' + item->text(2) + '\n';
    }
  }
  return text;
}

}  // namespace unit1
