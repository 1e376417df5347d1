// What the logic shows through the main window.
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <algorithm>

#include "app/win32/boxes.h"
#include "app/win32/control_names.h"
#include "app/win32/failure_list.h"
#include "app/win32/folder_chooser.h"
#include "app/win32/main_window.h"
#include "app/win32/screen_scale.h"
#include "app/win32/settings_dialog.h"
#include "app/win32/wide_text.h"
#include "platform/keyboard.h"

namespace win32 {

unit1::RowSet MainWindow::Highlight() const {
  HWND list = Control(kStringGrid1);
  unit1::RowSet rows;
  for (int row = ListView_GetNextItem(list, -1, LVNI_SELECTED); row >= 0;
       row = ListView_GetNextItem(list, row, LVNI_SELECTED)) {
    rows.push_back(static_cast<std::size_t>(row));
  }
  return rows;
}

int MainWindow::SelectedNode() const {
  HWND tree = Control(kTreeView1);
  HTREEITEM item = TreeView_GetSelection(tree);
  if (item == nullptr) return -1;
  TVITEMW data{};
  data.mask = TVIF_PARAM | TVIF_HANDLE;
  data.hItem = item;
  TreeView_GetItem(tree, &data);
  return static_cast<int>(data.lParam);
}

void MainWindow::ShowSearchFolder(const std::string& text) {
  ::SetWindowTextW(Control(kEdit1), Wide(text).c_str());
}

void MainWindow::ShowDestinationFolder(const std::string& text) {
  ::SetWindowTextW(Control(kEdit2), Wide(text).c_str());
}

void MainWindow::ShowFileType(int index) {
  ::SendMessageW(Control(kComboBox1), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  HMENU menu = ::GetMenu(window_);
  for (int item = 0; item < 3; ++item) {
    ::CheckMenuItem(menu, kMnuFileType0 + item,
                    MF_BYCOMMAND | (item == index ? MF_CHECKED : MF_UNCHECKED));
  }
}

void MainWindow::ShowHeaders(const std::vector<std::string>& headers) {
  for (int column = 0; column < unit1::kColumnCount; ++column) {
    std::wstring text =
        static_cast<std::size_t>(column) < headers.size() ? Wide(headers[column]) : L"";
    LVCOLUMNW header{};
    header.mask = LVCF_TEXT;
    header.pszText = text.data();
    ListView_SetColumn(Control(kStringGrid1), column, &header);
  }
}

void MainWindow::ShowTree(const unit1::FolderTree& tree) {
  HWND view = Control(kTreeView1);
  settingRows_ = true;
  ::SendMessageW(view, WM_SETREDRAW, FALSE, 0);
  TreeView_DeleteAllItems(view);
  nodes_.clear();
  const auto& nodes = tree.nodes();
  nodes_.assign(nodes.size(), nullptr);
  // Parents before children, each level in the order of `children`.
  std::vector<int> pending;
  if (!nodes.empty()) pending.push_back(0);
  while (!pending.empty()) {
    const int index = pending.back();
    pending.pop_back();
    const unit1::FolderNode& node = nodes[static_cast<std::size_t>(index)];
    std::wstring text = Wide(node.text);
    TVINSERTSTRUCTW insert{};
    insert.hParent = node.parent < 0 ? TVI_ROOT : nodes_[static_cast<std::size_t>(node.parent)];
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = text.data();
    insert.item.lParam = static_cast<LPARAM>(index);
    nodes_[static_cast<std::size_t>(index)] = TreeView_InsertItem(view, &insert);
    pending.insert(pending.end(), node.children.rbegin(), node.children.rend());
  }
  if (!nodes_.empty()) TreeView_Expand(view, nodes_[0], TVE_EXPAND);
  TreeView_SelectItem(view, nullptr);
  ::SendMessageW(view, WM_SETREDRAW, TRUE, 0);
  ::InvalidateRect(view, nullptr, TRUE);
  settingRows_ = false;
}

void MainWindow::SelectTreeNode(int node) {
  if (node < 0 || static_cast<std::size_t>(node) >= nodes_.size()) return;
  HWND view = Control(kTreeView1);
  settingRows_ = true;
  TreeView_SelectItem(view, nodes_[static_cast<std::size_t>(node)]);
  TreeView_EnsureVisible(view, nodes_[static_cast<std::size_t>(node)]);
  settingRows_ = false;
}

void MainWindow::EnableTree(bool enabled) {
  ::EnableWindow(Control(kTreeView1), enabled ? TRUE : FALSE);
}

void MainWindow::EnableUndo(bool enabled) {
  // By command: the item is found in the "ファイル" menu below the bar.
  ::EnableMenuItem(::GetMenu(window_), kMnuFileUndo,
                   MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

void MainWindow::ShowRows(const std::vector<unit1::FileRow>& rows, const unit1::RowSet& highlight) {
  HWND list = Control(kStringGrid1);
  settingRows_ = true;
  rows_ = &rows;
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
  ListView_SetItemCountEx(list, static_cast<int>(rows.size()), 0);
  if (!highlight.empty() && highlight.back() < rows.size()) {
    for (std::size_t row : highlight) {
      ListView_SetItemState(list, static_cast<int>(row), LVIS_SELECTED, LVIS_SELECTED);
    }
    const int top = static_cast<int>(highlight.front());
    ListView_SetItemState(list, top, LVIS_FOCUSED, LVIS_FOCUSED);
    ListView_SetSelectionMark(list, top);
    ListView_EnsureVisible(list, top, FALSE);
  } else if (!rows.empty()) {
    ListView_EnsureVisible(list, 0, FALSE);
  }
  ::InvalidateRect(list, nullptr, TRUE);
  settingRows_ = false;
}

void MainWindow::RefreshRows() {
  ::InvalidateRect(Control(kStringGrid1), nullptr, TRUE);
}

// During a run the status bar and the progress bar are painted at most
// every kRunPaintMs: a synchronous paint per file would take longer than
// many a file's conversion. The last text is painted when the run ends.
bool MainWindow::PaintDue() {
  if (!progressShown_) return true;
  const DWORD now = ::GetTickCount();
  if (now - lastRunPaint_ < kRunPaintMs) return false;
  lastRunPaint_ = now;
  return true;
}

void MainWindow::SetStatusText(const std::string& text) {
  status_ = text;
  statusWide_ = Wide(text);
  if (!PaintDue()) return;
  ShowStatusText();
  ::UpdateWindow(Control(kStatusBar1));
}

void MainWindow::ShowProgress(std::size_t done, std::size_t total) {
  if (!progressShown_) {
    progressShown_ = true;
    lastRunPaint_ = ::GetTickCount();
    LayOutStatusBar();
  } else if (!PaintDue()) {
    return;
  }
  ShowStatusText();
  HWND progress = ::GetDlgItem(Control(kStatusBar1), kProgressBar1);
  ::SendMessageW(progress, PBM_SETRANGE32, 0, static_cast<LPARAM>(std::max<std::size_t>(total, 1)));
  ::SendMessageW(progress, PBM_SETPOS, static_cast<WPARAM>(done), 0);
  ::UpdateWindow(Control(kStatusBar1));
}

void MainWindow::HideProgress() {
  if (!progressShown_) return;
  progressShown_ = false;
  LayOutStatusBar();
}

void MainWindow::Beep() {
  ::MessageBeep(MB_OK);
}

unit1::BoxAnswer MainWindow::ShowBox(unit1::BoxIcon icon, const std::string& text,
                                     unit1::BoxButtons buttons) {
  return ShowMessageBox(ModalOwner(), icon, text, buttons);
}

void MainWindow::ShowFailures(const std::string& summary,
                              const std::vector<unit1::FailureLine>& lines) {
  ShowFailureList(ModalOwner(), summary, lines);
}

std::optional<std::filesystem::path> MainWindow::ChooseFolder(const std::string& title,
                                                              const std::filesystem::path& start) {
  return win32::ChooseFolder(window_, title, start);
}

void MainWindow::OpenWithAssociatedProgram(const std::filesystem::path& file) {
  ::ShellExecuteW(window_, L"open", file.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

void MainWindow::ShowSettingsDialog() {
  if (dialog_ != nullptr) dialog_->ShowModal();
}

void MainWindow::CloseWindow() {
  ::PostMessageW(window_, WM_CLOSE, 0, 0);
}

// During a run only the stop button and the close box (or Alt+F4) take
// input; everything else the user does then is dropped, while the window
// still repaints. An Escape press is noted before it is dropped.
void MainWindow::ProcessPendingEvents() {
  // During a run the messages are taken at most every kRunPumpMs: each look
  // asks the display server, which costs more than a small file's
  // conversion. A press in between waits in the queue for the next look.
  if (progressShown_) {
    const DWORD now = ::GetTickCount();
    if (now - lastRunPump_ < kRunPumpMs) return;
    lastRunPump_ = now;
  }
  MSG message;
  HWND stop = ::GetDlgItem(Control(kStatusBar1), kButtonStop);
  const bool outer = pumping_;
  pumping_ = true;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      ::PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    const bool input = (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST) ||
                       (message.message >= WM_MOUSEFIRST && message.message <= WM_MOUSELAST) ||
                       (message.message >= WM_NCMOUSEMOVE && message.message <= WM_NCXBUTTONDBLCLK);
    const bool closing =
        (message.message == WM_NCLBUTTONDOWN || message.message == WM_NCLBUTTONUP) &&
        message.wParam == HTCLOSE;
    const bool altF4 = message.message == WM_SYSKEYDOWN && message.wParam == VK_F4;
    if (progressShown_ && input && message.hwnd != stop && !closing && !altF4) {
      if (message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) escapeSeen_ = true;
      continue;
    }
    if (PreTranslate(message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  pumping_ = outer;
}

bool MainWindow::EscapePressed() {
  const bool seen = escapeSeen_;
  escapeSeen_ = false;
  return seen || (::GetForegroundWindow() == window_ && platform::EscapePressed());
}

namespace {

// The offset of the work area in its monitor: the system keeps a window's
// normal place relative to the work area (beside a taskbar at the top or
// left), the settings file in the screen's pixels.
POINT WorkAreaOffset(HWND window) {
  MONITORINFO screen{};
  screen.cbSize = sizeof(screen);
  ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &screen);
  return {screen.rcWork.left - screen.rcMonitor.left, screen.rcWork.top - screen.rcMonitor.top};
}

}  // namespace

// Positions are the screen's pixels; sizes are kept at 96 dpi, so that the
// settings file means the same size on every monitor. A maximised or
// minimised window reports the place it returns to, and whether it is
// maximised.
unit1::WindowGeometry MainWindow::Geometry(unit1::WindowId which) {
  HWND window = which == unit1::WindowId::kMain ? window_
                : dialog_ != nullptr            ? dialog_->hwnd()
                                                : nullptr;
  if (window == nullptr) return {};
  WINDOWPLACEMENT place{};
  place.length = sizeof(place);
  ::GetWindowPlacement(window, &place);
  RECT r = place.rcNormalPosition;
  const POINT offset = WorkAreaOffset(window);
  ::OffsetRect(&r, offset.x, offset.y);
  const bool maximised =
      ::IsZoomed(window) || (::IsIconic(window) && (place.flags & WPF_RESTORETOMAXIMIZED) != 0);
  const UINT dpi = WindowDpi(window);
  return {r.left, r.top, Unscale(r.right - r.left, dpi), Unscale(r.bottom - r.top, dpi), maximised};
}

void MainWindow::SetGeometry(unit1::WindowId which, const unit1::WindowGeometry& geometry) {
  HWND window = which == unit1::WindowId::kMain ? window_
                : dialog_ != nullptr            ? dialog_->hwnd()
                                                : nullptr;
  if (window == nullptr) return;
  const UINT dpi = WindowDpi(window);
  const POINT offset = WorkAreaOffset(window);
  WINDOWPLACEMENT place{};
  place.length = sizeof(place);
  ::GetWindowPlacement(window, &place);
  place.rcNormalPosition = RECT{geometry.x, geometry.y, geometry.x + Scale(geometry.width, dpi),
                                geometry.y + Scale(geometry.height, dpi)};
  ::OffsetRect(&place.rcNormalPosition, -offset.x, -offset.y);
  place.flags = 0;
  const bool visible = ::IsWindowVisible(window) != FALSE;
  // A hidden window stays hidden: it comes up maximised when it is shown.
  if (!visible) {
    place.showCmd = SW_HIDE;
  } else {
    place.showCmd = geometry.maximised ? SW_SHOWMAXIMIZED : SW_SHOWNORMAL;
  }
  ::SetWindowPlacement(window, &place);
  if (which == unit1::WindowId::kMain) {
    startMaximised_ = geometry.maximised;
  } else if (dialog_ != nullptr) {
    dialog_->SetStartMaximised(geometry.maximised);
  }
}

int MainWindow::PaneWidth() {
  return paneWidth_;
}

void MainWindow::SetPaneWidth(int width) {
  paneWidth_ = std::max(0, width);
  LayOut();
}

int MainWindow::PreviewWidth() {
  return previewWidth_;
}

void MainWindow::SetPreviewWidth(int width) {
  previewWidth_ = std::max(0, width);
  LayOut();
}

void MainWindow::ShowPreview(std::shared_ptr<const render::DisplayList> drawing,
                             const std::string& caption) {
  if (preview_ != nullptr) preview_->Show(std::move(drawing), caption);
}

// The task travels on the heap with a message of the window's own; a task
// the window never ran is freed when the window goes.
void MainWindow::PostToWindow(std::function<void()> task) {
  auto posted = std::make_unique<std::function<void()>>(std::move(task));
  const std::lock_guard<std::mutex> lock(taskLock_);
  if (taskTarget_ != nullptr &&
      ::PostMessageW(taskTarget_, kRunTask, 0, reinterpret_cast<LPARAM>(posted.get()))) {
    posted.release();
  }
}

void MainWindow::DropPostedTasks() {
  {
    const std::lock_guard<std::mutex> lock(taskLock_);
    taskTarget_ = nullptr;
  }
  MSG message;
  while (::PeekMessageW(&message, window_, kRunTask, kRunTask, PM_REMOVE)) {
    delete reinterpret_cast<std::function<void()>*>(message.lParam);
  }
}

int MainWindow::ColumnWidth(int column) {
  return Unscale(ListView_GetColumnWidth(Control(kStringGrid1), column), dpi_);
}

void MainWindow::SetColumnWidth(int column, int width) {
  settingRows_ = true;
  ListView_SetColumnWidth(Control(kStringGrid1), column, Scale(std::max(0, width), dpi_));
  settingRows_ = false;
}

int MainWindow::HeaderRowHeight() {
  RECT header;
  ::GetWindowRect(ListView_GetHeader(Control(kStringGrid1)), &header);
  return Unscale(header.bottom - header.top, dpi_);
}

int MainWindow::DigitWidth() {
  HWND list = Control(kStringGrid1);
  HDC dc = ::GetDC(list);
  HGDIOBJ old = ::SelectObject(dc, listFont_);
  SIZE size{};
  ::GetTextExtentPoint32W(dc, L"0", 1, &size);
  ::SelectObject(dc, old);
  ::ReleaseDC(list, dc);
  return std::max(1, Unscale(size.cx, dpi_));
}

}  // namespace win32
