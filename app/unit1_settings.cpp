// Start-up and shut-down of the main window: the settings file "quillon.ini".
#include "app/message_texts.h"
#include "app/settings_file.h"
#include "app/unit1.h"
#include "platform/path_text.h"

void TForm1::FormShow() {
  if (startedUp_) return;
  startedUp_ = true;
  Guarded([this] { StartUp(); });
}

void TForm1::FormClose() {
  counting_.Close();
  previewing_.Close();
  if (!startedUp_ || shutDown_) return;
  shutDown_ = true;
  Guarded([this] { ShutDown(); });
}

void TForm1::StartUp() {
  treeReady_ = listReady_ = sortDescending_ = scanCancelled_ = false;
  fileType_ = 0;
  view_.ShowFileType(0);
  context_.settings.Reset();
  memoLookup_.Reset();
  context_.drawing.ClearImageList();
  context_.drawing.Reset();

  programFolder_ = unit1::FolderText(context_.programFolder);
  settingsFile_ = context_.programFolder / unit1::kSettingsFileName;
  unit1::SessionSettings session = unit1::BuiltInSettings(programFolder_);
  const std::vector<std::string> overflowing =
      unit1::ReadSettingsFile(unit_ini::SettingsReader(settingsFile_), session);

  view_.SetGeometry(unit1::WindowId::kMain, session.mainWindow);
  view_.SetGeometry(unit1::WindowId::kSettings, session.settingsDialog);
  view_.SetPaneWidth(session.paneWidth);
  view_.SetPreviewWidth(session.previewWidth);
  for (int c = 0; c < unit1::kColumnCount; ++c) {
    view_.SetColumnWidth(c, session.columnWidths[static_cast<std::size_t>(c)]);
  }
  searchFolder_ = session.searchFolder;
  destinationFolder_ = session.destinationFolder;
  fileType_ = session.fileType >= 0 && session.fileType <= 2 ? session.fileType : -1;
  view_.ShowFileType(fileType_);
  context_.settings = session.conversion;
  // A range value too large for a number reads as 0 and the start-up goes
  // on, so that closing does not overwrite the other settings with zeros.
  if (!overflowing.empty()) {
    view_.ShowBox(unit1::BoxIcon::kError, texts::OverflowingKeys(overflowing),
                  unit1::BoxButtons::kOk);
  }

  view_.ShowHeaders({texts::kColumnHeaders.begin(), texts::kColumnHeaders.end()});
  ShowRows();
  view_.ShowDestinationFolder(destinationFolder_);
  ShowUndoState();
  view_.SetStatusText(std::string(texts::kChooseSearchFolder));
  if (session.searchFolderSaved) RestoreFolders(session.listedFolder);
}

void TForm1::RestoreFolders(const std::string& listedFolder) {
  std::error_code ec;
  if (!std::filesystem::is_directory(platform::PathFromUtf8(searchFolder_), ec)) return;
  view_.ShowSearchFolder(searchFolder_);
  ScanTree();
  if (listedFolder.empty() || !treeReady_) return;
  for (int node = 0; node >= 0; node = tree_.NextInTreeOrder(node)) {
    if (unit1::FolderText(tree_.NodePath(node)) != listedFolder) continue;
    selectedNode_ = node;
    view_.SelectTreeNode(node);
    ListFolder(listedFolder);
    return;
  }
}

void TForm1::ShutDown() {
  context_.drawing.ClearImageList();
  memoLookup_.Reset();
  context_.drawing.Free();

  unit1::SessionSettings session;
  session.mainWindow = view_.Geometry(unit1::WindowId::kMain);
  session.settingsDialog = view_.Geometry(unit1::WindowId::kSettings);
  session.paneWidth = view_.PaneWidth();
  session.previewWidth = view_.PreviewWidth();
  for (int c = 0; c < unit1::kColumnCount; ++c) {
    session.columnWidths[static_cast<std::size_t>(c)] = view_.ColumnWidth(c);
  }
  session.searchFolder = searchFolder_;
  session.destinationFolder = destinationFolder_;
  session.fileType = fileType_;
  session.listedFolder = treeReady_ ? listedFolder_ : std::string();
  session.conversion = context_.settings;
  if (!unit1::WriteSettingsFile(settingsFile_, session)) {
    view_.Beep();
    view_.ShowBox(unit1::BoxIcon::kError, texts::SettingsNotSaved(settingsFile_),
                  unit1::BoxButtons::kOk);
  }
}
