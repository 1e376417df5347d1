// The file list: the plain files of one folder with size, kind, memo, time
// and attributes; sorting by a column header; opening a file.
#include <algorithm>

#include "app/file_list.h"
#include "app/message_texts.h"
#include "app/unit1.h"
#include "app/window_observer.h"
#include "common/ascii_case.h"
#include "platform/folder_listing.h"
#include "platform/path_text.h"

namespace fs = std::filesystem;

namespace {

constexpr int kSizeColumn = 1;
constexpr int kAttributeColumn = 5;

std::string AttributeText(const platform::FileAttributes& attributes) {
  std::string text;
  if (attributes.archive) text += "A ";
  if (attributes.readOnly) text += "R ";
  return text;
}

}  // namespace

void TForm1::ShowRows() {
  view_.ShowRows(rows_, highlight());
}

void TForm1::ClearList() {
  listReady_ = emptyFolderListed_ = false;
  listedFolder_.clear();
  rows_.assign(1, unit1::FileRow{});
  highlighted_.clear();
  CancelRetypeCounts();
  ShowRows();
  PreviewFile({}, false);
}

void TForm1::ListFolder(const std::string& folder) {
  const Flagged busy(busy_);
  CancelRetypeCounts();  // the listing goes first
  view_.SetStatusText(texts::ListingFolder(folder));
  listReady_ = emptyFolderListed_ = false;
  // A new listing of the same folder (a filter, "属性") keeps the files
  // highlighted that it lists again; another folder starts with none.
  if (folder != listedFolder_) highlighted_.clear();
  listedFolder_ = folder;
  const int fieldWidth = std::max(3, view_.ColumnWidth(kSizeColumn) / 8);
  // The list keeps showing the rows it has while the window repaints.
  std::vector<unit1::FileRow> rows;
  unit1::Throttle events(unit1::kPollInterval, std::chrono::steady_clock::now);
  bool stopped = false;
  const fs::path folderPath = platform::PathFromUtf8(folder);
  for (const platform::FolderEntry& entry : platform::ListFolder(folderPath).entries) {
    // Only plain files: a device or pipe named like a drawing must not be opened.
    if (!entry.regularFile) continue;
    unit1::FileRow row;
    row.name = entry.name;
    row.nameText = platform::PathToUtf8(row.name);
    if (entry.attributes.hidden || entry.attributes.system ||
        !unit1::MatchesFileType(fileType_, row.nameText)) {
      continue;
    }
    if (events.Due()) view_.ProcessPendingEvents();
    if (view_.EscapePressed() || closeRequested_) {
      stopped = true;
      break;
    }
    row.size = static_cast<std::int64_t>(entry.size);
    row.sizeText = unit1::PaddedNumber(row.size, fieldWidth);
    row.kind = func::UpperExtension(row.nameText);
    row.memo = memoLookup_.Memo(folderPath / entry.name);
    row.time = unit1::TimeText(entry.lastWrite);
    row.attributes = AttributeText(entry.attributes);
    row.nameSortKey = unit1::SortKey(row.nameText);
    row.memoSortKey = unit1::SortKey(row.memo);
    rows.push_back(std::move(row));
  }
  rows_ = std::move(rows);
  const std::size_t n = rows_.size();
  view_.SetStatusText(stopped ? std::string(texts::kListingStopped)
                              : texts::ListedFiles(n, folder));
  listReady_ = n > 0;
  emptyFolderListed_ = !stopped && n == 0;
  if (rows_.empty()) rows_.emplace_back();
  std::erase_if(highlighted_, [this](const fs::path& name) {
    return std::none_of(rows_.begin(), rows_.end(),
                        [&name](const unit1::FileRow& row) { return row.name == name; });
  });
  StartRetypeCounts();
  ShowRows();
  FollowHighlight(highlighted_);
  StringGrid1DrawCell();
}

void TForm1::StringGrid1DrawCell() {
  Guarded([this] {
    if (!listReady_) return;
    const int digit = std::max(3, view_.DigitWidth());
    const int width = std::max(3, view_.ColumnWidth(kSizeColumn) / digit);
    bool changed = false;
    for (unit1::FileRow& row : rows_) {
      if (row.sizeText.empty()) continue;
      std::string text = unit1::PaddedNumber(row.size, width);
      if (text == row.sizeText) continue;
      row.sizeText = std::move(text);
      changed = true;
    }
    if (changed) view_.RefreshRows();
  });
}

void TForm1::ListSelectedFolder() {
  if (treeReady_ && selectedNode_) ListFolder(unit1::FolderText(tree_.NodePath(*selectedNode_)));
}

void TForm1::SelectFileType(int index) {
  Guarded([this, index] {
    if (busy_) {
      view_.ShowFileType(fileType_);  // the filter stays as it was
      return;
    }
    fileType_ = index;
    view_.ShowFileType(index);
    ListSelectedFolder();
  });
}

void TForm1::ComboBox1Change(int index) {
  SelectFileType(index >= 0 && index <= 2 ? index : -1);
}

void TForm1::StringGrid1MouseDown(int x, int y) {
  Guarded([this, x, y] {
    if (busy_ || !listReady_ || y >= view_.HeaderRowHeight()) return;
    std::vector<int> widths;
    for (int c = 0; c < unit1::kColumnCount; ++c) widths.push_back(view_.ColumnWidth(c));
    const std::optional<int> column = unit1::ColumnAt(x, widths);
    if (!column) return;
    if (*column == kAttributeColumn) {
      ListSelectedFolder();
      return;
    }
    unit1::SortRows(rows_, *column, sortDescending_);
    sortDescending_ = !sortDescending_;
    ShowRows();
  });
}

void TForm1::StringGrid1DblClick(std::optional<std::size_t> row) {
  Guarded([this, row] {
    if (busy_) return;
    if (!SearchFolderChosen()) return;
    if (!listReady_) {
      view_.Beep();
      view_.SetStatusText(std::string(texts::kChooseDrawingFolder));
      return;
    }
    if (!row || *row >= rows_.size() || rows_[*row].name.empty()) return;
    view_.OpenWithAssociatedProgram(platform::PathFromUtf8(listedFolder_) / rows_[*row].name);
  });
}
