// The folder tree: the search folder and every folder below it.
#include <QCollator>
#include <QCoreApplication>
#include <QDir>
#include <QLineEdit>
#include <QLocale>
#include <QTreeWidget>
#include <algorithm>
#include <system_error>

#include "app/folder_icon.h"
#include "app/qt_text.h"
#include "app/unit1.h"
#include "platform/file_attributes.h"
#include "platform/keyboard.h"

namespace fs = std::filesystem;

namespace {

// The next node in tree order (a node, then its subtree, then its next
// sibling); null after the last.
QTreeWidgetItem* NextInTreeOrder(QTreeWidgetItem* node) {
  if (node->childCount() > 0) return node->child(0);
  for (QTreeWidgetItem* at = node; at; at = at->parent()) {
    QTreeWidgetItem* parent = at->parent();
    if (!parent) return nullptr;
    const int index = parent->indexOfChild(at);
    if (index + 1 < parent->childCount()) return parent->child(index + 1);
  }
  return nullptr;
}

// A folder link that leads back to the folder holding it, or above it,
// would make the tree endless.
bool LeadsUpward(const fs::directory_entry& entry, const fs::path& folder) {
  std::error_code ec;
  if (!entry.is_symlink(ec)) return false;
  const fs::path target = fs::canonical(entry.path(), ec);
  if (ec) return true;
  const fs::path here = fs::canonical(folder, ec);
  if (ec) return true;
  auto [t, h] = std::mismatch(target.begin(), target.end(), here.begin(), here.end());
  return t == target.end();
}

}  // namespace

void TForm1::MnuFileSFolderClick() {
  if (busy_) return;
  SetStatus(QString());
  const std::optional<QString> chosen =
      context_.dialogs.ChooseFolder(this, QStringLiteral("検索フォルダの指定"), searchFolder_);
  if (!chosen) return;
  SearchFolderChosen(*chosen);
}

void TForm1::SearchFolderChosen(const QString& folder) {
  searchFolder_ = unit1::FolderText(folder);
  Edit1->setText(searchFolder_);
  ScanTree();
}

QString TForm1::NodePath(const QTreeWidgetItem* node) const {
  if (!node) return QString();
  QString path = node->text(0);
  if (node->parent()) path += QDir::separator();
  for (const QTreeWidgetItem* up = node->parent(); up; up = up->parent()) {
    path.prepend(up->parent() ? up->text(0) + QDir::separator() : up->text(0));
  }
  return path;
}

void TForm1::ScanTree() {
  SetStatus(QStringLiteral("フォルダ検索中です。（ESC:中断）"));
  TreeView1->setSortingEnabled(false);
  std::error_code ec;
  if (!fs::is_directory(unit1::ToPath(searchFolder_), ec)) {
    context_.dialogs.Beep();
    context_.dialogs.ShowBox(
        this, unit1::BoxIcon::kInformation,
        QStringLiteral("検索フォルダのディスクドライブの準備が出来ていません。"),
        unit1::BoxButtons::kOk);
    SetStatus(QStringLiteral("検索フォルダを指定して下さい。"));
    return;
  }
  busy_ = true;
  ClearList();
  treeReady_ = false;
  scanCancelled_ = false;
  TreeView1->setEnabled(false);
  TreeView1->clear();
  auto* root = new QTreeWidgetItem(TreeView1, {searchFolder_});
  root->setIcon(0, unit1::YellowFolder());
  AddSubfolders(searchFolder_, root);
  for (QTreeWidgetItem* node = NextInTreeOrder(root); node; node = NextInTreeOrder(node)) {
    if (platform::EscapePressed()) scanCancelled_ = true;
    if (scanCancelled_) break;
    AddSubfolders(NodePath(node), node);
  }
  TreeView1->setEnabled(true);
  SetStatus(scanCancelled_ ? QStringLiteral("フォルダ検索を中断しました。") : QString());
  treeReady_ = TreeView1->topLevelItemCount() > 0;
  if (treeReady_) SortTree(root);
  root->setExpanded(true);
  busy_ = false;
}

void TForm1::AddSubfolders(const QString& folder, QTreeWidgetItem* parent) {
  const fs::path path = unit1::ToPath(folder);
  std::error_code ec;
  bool first = true;
  for (fs::directory_iterator it(path, ec), end; !ec && it != end; it.increment(ec)) {
    if (!first) {
      QCoreApplication::processEvents();
      if (platform::EscapePressed()) {
        scanCancelled_ = true;
        break;
      }
    }
    first = false;
    const platform::FileAttributes attributes = platform::AttributesOf(it->path());
    if (attributes.hidden || attributes.system) continue;
    std::error_code typeError;
    if (!it->is_directory(typeError) || LeadsUpward(*it, path)) continue;
    auto* node = new QTreeWidgetItem(parent, {unit1::FromPath(it->path().filename())});
    node->setIcon(0, unit1::YellowFolder());
  }
}

void TForm1::SortTree(QTreeWidgetItem* node) {
  // The user's own collation; where the system names none, the Japanese one.
  const QLocale system = QLocale::system();
  QCollator collator(system.language() == QLocale::C ? QLocale(QLocale::Japanese, QLocale::Japan)
                                                     : system);
  collator.setCaseSensitivity(Qt::CaseSensitive);
  QList<QTreeWidgetItem*> children = node->takeChildren();
  std::stable_sort(children.begin(), children.end(),
                   [&collator](const QTreeWidgetItem* a, const QTreeWidgetItem* b) {
                     return collator.compare(a->text(0), b->text(0)) < 0;
                   });
  node->addChildren(children);
  for (QTreeWidgetItem* child : children) SortTree(child);
}

void TForm1::TreeView1Click() {
  if (busy_) return;
  if (!SearchFolderChosen()) return;
  if (QTreeWidgetItem* node = TreeView1->currentItem(); node && node->isSelected()) {
    ListFolder(NodePath(node));
  }
}
