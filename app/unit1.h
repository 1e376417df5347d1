// Unit1: the main window TForm1, with the folder tree, the file list and the
// batch conversion run, and the start-up and shut-down of the program.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QString>
#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "app/memo_lookup.h"
#include "app/user_dialogs.h"
#include "conversion/conversion_settings.h"
#include "conversion/temp_folder.h"
#include "drawing/jwwunit.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QSplitter;
class QStatusBar;
class QTableWidget;
class QTreeWidget;
class QTreeWidgetItem;

class TForm2;

// What the main window works with; owned by the program, passed along.
struct WindowContext {
  std::filesystem::path programFolder;  // the settings file "quillon.ini" lives here
  unit_val::ConversionSettings& settings;
  jww::Drawing& drawing;  // the drawing tables: probes and conversions take turns
  unit1::UserDialogs& dialogs;
};

class TForm1 : public QMainWindow {
 public:
  explicit TForm1(WindowContext context);
  ~TForm1() override;

  // The settings dialog, created after this window and kept for the whole run.
  void AttachSettingsDialog(TForm2* dialog);

  // The window's commands, as the controls and menu items run them.
  void MnuFileSFolderClick();
  void MnuFileType0Click() { SelectFileType(0); }
  void MnuFileType1Click() { SelectFileType(1); }
  void MnuFileType2Click() { SelectFileType(2); }
  void MnuFileExitClick();
  void MnuSetConvClick();
  void Button3Click();
  void Button4Click();
  void TreeView1Click();
  void ComboBox1Change();
  void StringGrid1DrawCell();
  void StringGrid1MouseDown(const QPoint& position);
  void StringGrid1DblClick();

  // The folder part of a full path (the folder tree's node paths).
  QString NodePath(const QTreeWidgetItem* node) const;

  // State, as the window holds it.
  bool treeReady() const { return treeReady_; }
  bool listReady() const { return listReady_; }
  bool sortDescending() const { return sortDescending_; }
  bool scanCancelled() const { return scanCancelled_; }
  const QString& searchFolder() const { return searchFolder_; }
  const QString& destinationFolder() const { return destinationFolder_; }
  QString statusText() const;
  const unit_val::TempFolder* tempFolder() const { return tempFolder_.get(); }

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Layout (unit1.cpp).
  void CreateControls();
  void CreateMenu();
  void Guarded(const std::function<void()>& command);
  void SetStatus(const QString& text);
  void ErrorBox(const QString& text);
  // Unless a search folder has been chosen, says so in an error box and the
  // status bar and answers false.
  bool SearchFolderChosen();

  // Start-up and shut-down (unit1_settings.cpp).
  void StartUp();
  void ApplyWindowKeys();
  void ApplyFolderKeys();
  void LoadConversionSettings();
  void ShutDown();
  void WriteSettingsFile();

  // Folder tree (unit1_tree.cpp).
  void SearchFolderChosen(const QString& folder);
  void ScanTree();
  void AddSubfolders(const QString& folder, QTreeWidgetItem* parent);
  void SortTree(QTreeWidgetItem* node);

  // File list (unit1_list.cpp).
  void ListFolder(const QString& folder);
  void ClearList();
  void ListSelectedFolder();
  void SelectFileType(int index);
  void SortByColumn(int column);

  // Batch run (unit1_run.cpp).
  struct RunTotals;
  bool RunGuardsPass();
  void ConvertSelectedRows();
  void ReportFailures(const RunTotals& totals);

  WindowContext context_;
  QPointer<TForm2> settingsDialog_;
  unit1::MemoLookup memoLookup_;
  std::unique_ptr<unit_val::TempFolder> tempFolder_;

  bool treeReady_ = false;
  bool listReady_ = false;
  bool sortDescending_ = false;
  bool scanCancelled_ = false;
  bool busy_ = false;  // a scan, a listing or a run is going: other commands are refused
  bool startedUp_ = false;
  bool shutDown_ = false;
  QString programFolder_;
  std::filesystem::path settingsFile_;
  QString searchFolder_;
  QString destinationFolder_;

  QWidget* Panel1 = nullptr;
  QWidget* Panel2 = nullptr;
  QWidget* Panel3 = nullptr;
  QWidget* Panel4 = nullptr;
  QSplitter* Splitter1 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QLineEdit* Edit2 = nullptr;
  QTreeWidget* TreeView1 = nullptr;
  QTableWidget* StringGrid1 = nullptr;
  QComboBox* ComboBox1 = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button3 = nullptr;
  QPushButton* Button4 = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  QLabel* statusLabel_ = nullptr;
  QProgressBar* progress_ = nullptr;
  std::vector<QAction*> fileTypeActions_;
};
