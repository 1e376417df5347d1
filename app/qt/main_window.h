// The main window TForm1 in Qt: its widgets, laid out as the program's
// users know them, showing what TForm1's logic asks (MainView) and
// forwarding the user's actions to its handlers.
#pragma once

#include <QElapsedTimer>
#include <QMainWindow>
#include <QPointer>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/main_view.h"
#include "app/qt/escape_filter.h"
#include "app/unit1.h"

class QAction;
class QComboBox;
class QProgressBar;
class QPushButton;
class QSplitter;
class QStatusBar;
class QTimer;
class QTableWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace unit1 {

class ElidedLabel;
class ElidedLineEdit;
class PreviewPane;
class SettingsDialog;

class MainWindow : public QMainWindow, public MainView {
 public:
  explicit MainWindow(WindowContext context);

  // The settings dialog, created after this window and kept for the whole run.
  void AttachSettingsDialog(SettingsDialog* dialog);
  TForm1& form() { return form_; }
  QString statusText() const;  // as set, before any ellipsis

  // MainView.
  void ShowSearchFolder(const std::string& text) override;
  void ShowDestinationFolder(const std::string& text) override;
  void ShowFileType(int index) override;
  void ShowHeaders(const std::vector<std::string>& headers) override;
  void ShowTree(const FolderTree& tree) override;
  void EnableTree(bool enabled) override;
  void EnableUndo(bool enabled) override;
  void SelectTreeNode(int node) override;
  void ShowRows(const std::vector<FileRow>& rows, const RowSet& highlight) override;
  void RefreshRows() override;
  void SetStatusText(const std::string& text) override;
  void ShowProgress(std::size_t done, std::size_t total) override;
  void HideProgress() override;
  void Beep() override;
  BoxAnswer ShowBox(BoxIcon icon, const std::string& text, BoxButtons buttons) override;
  void ShowFailures(const std::string& summary, const std::vector<FailureLine>& lines) override;
  std::optional<std::filesystem::path> ChooseFolder(const std::string& title,
                                                    const std::filesystem::path& start) override;
  void OpenWithAssociatedProgram(const std::filesystem::path& file) override;
  void ShowSettingsDialog() override;
  void CloseWindow() override;
  void ProcessPendingEvents() override;
  bool EscapePressed() override;
  WindowGeometry Geometry(WindowId window) override;
  void SetGeometry(WindowId window, const WindowGeometry& geometry) override;
  int PaneWidth() override;
  void SetPaneWidth(int width) override;
  int ColumnWidth(int column) override;
  void SetColumnWidth(int column, int width) override;
  int HeaderRowHeight() override;
  int DigitWidth() override;
  void ShowPreview(std::shared_ptr<const render::DisplayList> drawing,
                   const std::string& caption) override;
  void PostToWindow(std::function<void()> task) override;
  int PreviewWidth() override;
  void SetPreviewWidth(int width) override;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  void CreateStatusBar();
  void CreateMenu();
  void ConnectControls();
  void AddTreeItems(const FolderTree& tree, int node, QTreeWidgetItem* item);
  void ForwardHighlight();
  void ShowWorkSoon();
  void ShowWork();

  TForm1 form_;
  EscapeFilter escape_;
  QPointer<SettingsDialog> settingsDialog_;
  const std::vector<FileRow>* rows_ = nullptr;
  bool showing_ = false;
  bool treeHadFocus_ = false;  // before a scan disabled the tree  // the window is setting its own
                               // controls: no events forwarded

  QWidget* Panel1 = nullptr;
  QWidget* Panel2 = nullptr;
  QWidget* Panel3 = nullptr;
  QWidget* Panel4 = nullptr;
  QSplitter* Splitter1 = nullptr;
  QSplitter* Splitter2 = nullptr;  // the list | the preview
  PreviewPane* preview_ = nullptr;
  ElidedLineEdit* Edit1 = nullptr;
  ElidedLineEdit* Edit2 = nullptr;
  QTreeWidget* TreeView1 = nullptr;
  QTableWidget* StringGrid1 = nullptr;
  QComboBox* ComboBox1 = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button3 = nullptr;
  QPushButton* Button4 = nullptr;
  QAction* MnuFileUndo = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  ElidedLabel* statusLabel_ = nullptr;
  QProgressBar* progress_ = nullptr;
  QPushButton* stopButton_ = nullptr;
  QTimer* showTimer_ = nullptr;
  QTimer* keyListing_ = nullptr;
  QTimer* closeWhenIdle_ = nullptr;
  // What the status bar shows next while the window works: the text, the
  // progress (done, total); when they were last shown; when the window last
  // took its events.
  std::optional<std::string> pendingStatus_;
  std::optional<std::pair<int, int>> pendingProgress_;
  QElapsedTimer workShown_;
  QElapsedTimer eventsTaken_;
};

}  // namespace unit1
