// The folder tree: the search folder and every folder below it.
#include <algorithm>
#include <system_error>

#include "app/message_texts.h"
#include "app/unit1.h"
#include "platform/collate.h"
#include "platform/folder_listing.h"
#include "platform/path_text.h"

namespace fs = std::filesystem;

namespace {

// A folder link that leads back to the folder holding it, or above it,
// would make the tree endless.
bool LeadsUpward(const platform::FolderEntry& entry, const fs::path& folder) {
  if (!entry.link) return false;
  std::error_code ec;
  const fs::path target = fs::canonical(folder / entry.name, ec);
  if (ec) return true;
  const fs::path here = fs::canonical(folder, ec);
  if (ec) return true;
  auto [t, h] = std::mismatch(target.begin(), target.end(), here.begin(), here.end());
  return t == target.end();
}

}  // namespace

void TForm1::MnuFileSFolderClick() {
  Guarded([this] {
    if (busy_) return;
    view_.SetStatusText("");
    const std::optional<fs::path> chosen = view_.ChooseFolder(
        std::string(texts::kSearchFolderTitle), platform::PathFromUtf8(searchFolder_));
    if (!chosen) return;
    searchFolder_ = unit1::FolderText(*chosen);
    view_.ShowSearchFolder(searchFolder_);
    ScanTree();
  });
}

void TForm1::ScanTree() {
  view_.SetStatusText(std::string(texts::kScanningFolders));
  const fs::path folder = platform::PathFromUtf8(searchFolder_);
  if (platform::StatusOf(folder).kind != platform::PathKind::kFolder) {
    view_.Beep();
    view_.ShowBox(unit1::BoxIcon::kInformation, std::string(texts::kDriveNotReady),
                  unit1::BoxButtons::kOk);
    view_.SetStatusText(std::string(texts::kChooseSearchFolder));
    return;
  }
  busy_ = true;
  ClearList();
  treeReady_ = false;
  scanCancelled_ = false;
  view_.EnableTree(false);
  tree_.Clear();
  selectedNode_.reset();
  view_.ShowTree(tree_);
  tree_.AddRoot(folder, searchFolder_);
  AddSubfolders(0);
  for (int node = tree_.NextInTreeOrder(0); node >= 0; node = tree_.NextInTreeOrder(node)) {
    if (view_.EscapePressed()) scanCancelled_ = true;
    if (scanCancelled_) break;
    AddSubfolders(node);
  }
  view_.EnableTree(true);
  view_.SetStatusText(scanCancelled_ ? std::string(texts::kScanStopped) : std::string());
  treeReady_ = !tree_.empty();
  tree_.SortLevels([](const unit1::FolderNode& a, const unit1::FolderNode& b) {
    return platform::CompareDisplayNames(a.text, b.text) < 0;
  });
  view_.ShowTree(tree_);
  busy_ = false;
}

void TForm1::AddSubfolders(int node) {
  const fs::path folder = tree_.NodePath(node);
  bool first = true;
  for (const platform::FolderEntry& entry : platform::ListFolder(folder).entries) {
    if (!first) {
      view_.ProcessPendingEvents();
      if (view_.EscapePressed()) scanCancelled_ = true;
      if (scanCancelled_) break;
    }
    first = false;
    if (entry.attributes.hidden || entry.attributes.system) continue;
    if (!entry.folder || LeadsUpward(entry, folder)) continue;
    tree_.AddChild(node, entry.name, platform::PathToUtf8(entry.name));
  }
}

void TForm1::TreeView1Click() {
  Guarded([this] {
    if (busy_) return;
    if (!SearchFolderChosen()) return;
    if (selectedNode_) ListFolder(unit1::FolderText(tree_.NodePath(*selectedNode_)));
  });
}
