// TForm1's window: the folder tree, the file list, the buttons, the menu and
// the status bar, with the system's common controls. It shows what the logic
// gives it (unit1::MainView) and passes every event on (MainEvents).
#pragma once

#include <windows.h>

#include <array>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <type_traits>
#include <vector>
// After windows.h, which it needs.
#include <commctrl.h>

#include "app/main_view.h"
#include "app/win32/form_events.h"
#include "app/win32/object_window.h"
#include "app/win32/preview_pane.h"

namespace win32 {

class SettingsDialog;

class MainWindow final : public unit1::MainView {
 public:
  explicit MainWindow(HINSTANCE instance);
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  void SetEvents(MainEvents* events) { events_ = events; }
  void SetSettingsDialog(SettingsDialog* dialog) { dialog_ = dialog; }
  HWND hwnd() const { return window_; }
  HWND Control(int id) const { return ::GetDlgItem(window_, id); }
  PreviewPane& Preview() const { return *preview_; }
  // Shows the window; its first show runs the start-up sequence.
  void Show(int how);
  // The message loop's look at each message before it is dispatched: notes
  // an Escape press for EscapePressed. True when the message was handled.
  bool PreTranslate(MSG& message);

  // What the logic reads back: the rows highlighted, the node selected (-1:
  // none), the status text as set.
  unit1::RowSet Highlight() const;
  int SelectedNode() const;
  const std::string& StatusText() const { return status_; }
  bool ProgressShown() const { return progressShown_; }

  // unit1::MainView
  void ShowSearchFolder(const std::string& text) override;
  void ShowDestinationFolder(const std::string& text) override;
  void ShowFileType(int index) override;
  void ShowHeaders(const std::vector<std::string>& headers) override;
  void ShowTree(const unit1::FolderTree& tree) override;
  void EnableTree(bool enabled) override;
  void EnableUndo(bool enabled) override;
  void SelectTreeNode(int node) override;
  void ShowRows(const std::vector<unit1::FileRow>& rows, const unit1::RowSet& highlight) override;
  void RefreshRows() override;
  void SetStatusText(const std::string& text) override;
  void ShowProgress(std::size_t done, std::size_t total) override;
  void HideProgress() override;
  void Beep() override;
  unit1::BoxAnswer ShowBox(unit1::BoxIcon icon, const std::string& text,
                           unit1::BoxButtons buttons) override;
  void ShowFailures(const std::string& summary,
                    const std::vector<unit1::FailureLine>& lines) override;
  std::optional<std::filesystem::path> ChooseFolder(const std::string& title,
                                                    const std::filesystem::path& start) override;
  void OpenWithAssociatedProgram(const std::filesystem::path& file) override;
  void ShowSettingsDialog() override;
  void CloseWindow() override;
  void ProcessPendingEvents() override;
  bool EscapePressed() override;
  void ShowPreview(std::shared_ptr<const render::DisplayList> drawing,
                   const std::string& caption) override;
  void PostToWindow(std::function<void()> task) override;
  unit1::WindowGeometry Geometry(unit1::WindowId window) override;
  void SetGeometry(unit1::WindowId window, const unit1::WindowGeometry& geometry) override;
  int PaneWidth() override;
  void SetPaneWidth(int width) override;
  int PreviewWidth() override;
  void SetPreviewWidth(int width) override;
  int ColumnWidth(int column) override;
  void SetColumnWidth(int column, int width) override;
  int HeaderRowHeight() override;
  int DigitWidth() override;

 private:
  template <typename T>
  friend LRESULT CALLBACK ObjectWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void CreateMenuBar();
  void CreateControls();
  void ApplyDpi(UINT dpi);
  void LayOut();
  POINT MinimumSize() const;
  void LayOutStatusBar();
  void OnCommand(int id, int code);
  void OnEnter();
  LRESULT OnNotify(const NMHDR& header);
  void OnListDisplayInfo(NMHDR& header);
  void DragSplitter(int id, int x);
  void DropPostedTasks();
  void ShowStatusText();
  bool PaintDue();
  void Forward(void (MainEvents::*event)());
  template <typename Argument>
  void Forward(void (MainEvents::*event)(Argument), std::type_identity_t<Argument> argument);
  HWND ModalOwner() const;

  // PostToWindow's message; lparam: a std::function<void()> on the heap,
  // the message's to free.
  static constexpr UINT kRunTask = WM_APP + 32;

  HWND window_ = nullptr;
  MainEvents* events_ = nullptr;
  SettingsDialog* dialog_ = nullptr;
  UINT dpi_ = 96;
  HFONT font_ = nullptr;      // "ＭＳ Ｐゴシック", 12 px: the window's controls
  HFONT listFont_ = nullptr;  // "ＭＳ ゴシック", 13 px: the file list
  HFONT bigFont_ = nullptr;   // 19 px: "変換"
  HIMAGELIST folderImages_ = nullptr;
  HIMAGELIST rowHeight_ = nullptr;
  HACCEL shortcuts_ = nullptr;  // Ctrl+Enter: 変換
  int paneWidth_ = 0;           // at 96 dpi
  int previewWidth_ = 0;        // at 96 dpi
  std::unique_ptr<PreviewPane> preview_;
  // Where PostToWindow sends its tasks; null once the window is going.
  std::mutex taskLock_;
  HWND taskTarget_ = nullptr;
  std::array<int, unit1::kColumnCount> columnWidths_{};  // the built-in ones, at 96 dpi
  const std::vector<unit1::FileRow>* rows_ = nullptr;
  std::vector<HTREEITEM> nodes_;  // tree items by node index
  std::wstring cell_;             // the text a list cell is being drawn with
  std::string status_;
  std::wstring statusWide_;
  bool progressShown_ = false;
  bool shown_ = false;
  bool settingRows_ = false;
  bool selectionPending_ = false;
  bool escapeSeen_ = false;  // Escape went down since EscapePressed last answered
  static constexpr DWORD kRunPaintMs = 50;
  DWORD lastRunPaint_ = 0;
  static constexpr DWORD kRunPumpMs = 15;
  DWORD lastRunPump_ = 0;
  bool startMaximised_ = false;  // the settings file's place was maximised
  bool pumping_ = false;         // ProcessPendingEvents takes the messages
  POINT headerPress_{0, 0};
};

}  // namespace win32
