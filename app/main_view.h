// What the main window's logic asks of a front end: the controls to show,
// the boxes, the choosers, the desktop. Texts are UTF-8; paths are the
// system's own. A front end implements this with its widgets and forwards
// its events to TForm1's handlers; it holds no behaviour of its own.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/file_rows.h"
#include "app/folder_tree.h"
#include "render/display_list.h"

namespace unit1 {

// A folder highlighted in the tree by the keyboard is listed once the
// highlight has rested this long, so holding an arrow key lists no folder
// on the way.
inline constexpr int kKeyListingDelayMs = 300;

enum class BoxIcon { kError, kInformation, kQuestion, kWarning };
enum class BoxButtons { kOk, kYesNo };  // Yes/No: Yes is the default, Escape answers No
enum class BoxAnswer { kOk, kYes, kNo };

// One line of the failure list: file, stage, reason (Japanese), and whether
// the file failed, was converted with a warning, or was skipped.
enum class FailureKind { kFailed, kWarning, kSkipped };
struct FailureLine {
  std::string file;
  std::string stage;
  std::string reason;
  FailureKind kind = FailureKind::kFailed;
};

// The failure list's icon: an error when a file failed, else a warning when
// a file was converted with one, else information.
inline BoxIcon FailureIcon(const std::vector<FailureLine>& lines) {
  BoxIcon icon = BoxIcon::kInformation;
  for (const FailureLine& line : lines) {
    if (line.kind == FailureKind::kFailed) return BoxIcon::kError;
    if (line.kind == FailureKind::kWarning) icon = BoxIcon::kWarning;
  }
  return icon;
}

// Outer position and size in screen pixels: the normal place, also while
// the window is maximised.
struct WindowGeometry {
  int x = 0, y = 0, width = 0, height = 0;
  bool maximised = false;
};
enum class WindowId { kMain, kSettings };

class MainView {
 public:
  virtual ~MainView() = default;

  // Controls. Long texts are cut with an ellipsis; no text widens a window.
  virtual void ShowSearchFolder(const std::string& text) = 0;       // Edit1
  virtual void ShowDestinationFolder(const std::string& text) = 0;  // Edit2
  virtual void ShowFileType(int index) = 0;  // ComboBox1 and the menu; -1: no item selected
  virtual void ShowHeaders(const std::vector<std::string>& headers) = 0;  // StringGrid1's seven
  // The whole tree, every level in the given order, root expanded, nothing
  // selected; an empty tree removes every node.
  virtual void ShowTree(const FolderTree& tree) = 0;
  virtual void EnableTree(bool enabled) = 0;
  // The menu item "変換を元に戻す": enabled while the destination folder
  // holds the journal of a run.
  virtual void EnableUndo(bool enabled) = 0;
  // Makes `node` (by its index in the tree last shown) the tree's selected
  // node, scrolled into view, without running TreeView1Click.
  virtual void SelectTreeNode(int node) = 0;
  // The list shows these rows (at least one, maybe empty) and highlights
  // exactly `highlight` (empty: nothing highlighted, no row marked current).
  // Rows are read through the reference until the next call.
  virtual void ShowRows(const std::vector<FileRow>& rows, const RowSet& highlight) = 0;
  // Cells changed in the rows last shown (the sizes re-aligned, the
  // "変換対象" cells and the rows' tooltips filled in); the rows, their
  // order and the highlight are as before.
  virtual void RefreshRows() = 0;
  virtual void SetStatusText(const std::string& text) = 0;  // painted at once
  // The progress bar and the stop command ("中止") beside it, during a run.
  virtual void ShowProgress(std::size_t done, std::size_t total) = 0;
  virtual void HideProgress() = 0;

  // Boxes: modal, caption "Quillon". The beep is the system's default one.
  virtual void Beep() = 0;
  virtual BoxAnswer ShowBox(BoxIcon icon, const std::string& text, BoxButtons buttons) = 0;
  // A resizable, copyable list of the files that failed, were converted
  // with a warning or were skipped, under `summary`, with the icon
  // FailureIcon(lines), fitting the screen however long the list.
  virtual void ShowFailures(const std::string& summary, const std::vector<FailureLine>& lines) = 0;
  // A folder chooser titled `title`, opening at `start`; nothing when cancelled.
  virtual std::optional<std::filesystem::path> ChooseFolder(const std::string& title,
                                                            const std::filesystem::path& start) = 0;
  virtual void OpenWithAssociatedProgram(const std::filesystem::path& file) = 0;
  // Shows the settings dialog modally and returns when it is closed.
  virtual void ShowSettingsDialog() = 0;
  // Closes the main window (its close then runs TForm1::FormClose).
  virtual void CloseWindow() = 0;

  // Long loops: let the window repaint and take the stop command, and read
  // the Escape key: true when it is down now or was pressed since the last
  // call (a press between two calls is never missed).
  virtual void ProcessPendingEvents() = 0;
  virtual bool EscapePressed() = 0;

  // The preview pane beside the list: the drawing drawn to fit (none: the
  // pane is empty) and the line under it. The view keeps the list for as
  // long as it shows it; its zoom and pan are its own and start fitted.
  virtual void ShowPreview(std::shared_ptr<const render::DisplayList> drawing,
                           const std::string& caption) = 0;
  // Runs `task` on the window's thread once the events before it are done.
  // Safe to call from any thread; a task posted while the window closes may
  // never run.
  virtual void PostToWindow(std::function<void()> task) = 0;

  // Geometry the settings file keeps.
  virtual WindowGeometry Geometry(WindowId window) = 0;
  virtual void SetGeometry(WindowId window, const WindowGeometry& geometry) = 0;
  virtual int PaneWidth() = 0;  // Panel1
  virtual void SetPaneWidth(int width) = 0;
  virtual int PreviewWidth() = 0;  // the preview pane, right of the list
  virtual void SetPreviewWidth(int width) = 0;
  virtual int ColumnWidth(int column) = 0;  // StringGrid1's columns 0..6
  virtual void SetColumnWidth(int column, int width) = 0;
  // The height in pixels of the list's header row.
  virtual int HeaderRowHeight() = 0;
  // The width in pixels of "0" in the list's font.
  virtual int DigitWidth() = 0;
};

}  // namespace unit1
