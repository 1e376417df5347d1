// Unit1: the main window TForm1, with the folder tree, the file list, the
// preview, the commands that start a conversion or take one back (the run
// itself is the core's, conversion/batch_run.h and undo_run.h, shared with
// the command line), and the start-up and shut-down of the program. Its
// state and handlers are plain C++; a front end shows them through MainView
// and forwards its events to the handlers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "app/background_queue.h"
#include "app/file_rows.h"
#include "app/folder_tree.h"
#include "app/main_view.h"
#include "app/memo_lookup.h"
#include "app/retype_counts.h"
#include "conversion/batch_run.h"
#include "conversion/conversion_settings.h"
#include "drawing/jwwunit.h"

// What the main window works with; owned by the program, passed along.
struct WindowContext {
  std::filesystem::path programFolder;  // the settings file "quillon.ini" lives here
  unit_val::ConversionSettings& settings;
  jww::Drawing& drawing;  // the drawing tables: the memo probes use them
};

class TForm1 {
 public:
  TForm1(WindowContext context, unit1::MainView& view);
  // Stops the work off the window's thread and waits for it.
  ~TForm1();
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  // Start-up (the first show; later calls do nothing) and shut-down (once;
  // the work off the window's thread stops at once).
  void FormShow();
  void FormClose();
  // Whether the window may close now. While a run goes it asks whether to
  // stop it; on Yes the run is stopped as by "中止". A scan or a listing is
  // stopped without a question. Either way the window closes once the work
  // has stopped.
  bool FormCloseQuery();

  // The window's commands, as the controls and menu items run them. Each
  // shows what escapes it in the generic error box.
  void MnuFileSFolderClick();  // also a click on Edit1
  void MnuFileType0Click() { SelectFileType(0); }
  void MnuFileType1Click() { SelectFileType(1); }
  void MnuFileType2Click() { SelectFileType(2); }
  void MnuFileExitClick();
  void MnuSetConvClick();  // also Button1
  void Button3Click();     // also the menu's destination folder command
  void Button4Click();
  // "フォルダごと変換": the listed folder and every folder below it, mirrored
  // into the destination folder, as the command line's recursive convert.
  void MnuFileRecursiveClick();
  // "変換を元に戻す": the last run into the destination folder taken back,
  // after a question naming how many files its journal holds.
  void MnuFileUndoClick();
  void TreeView1Click();
  void ComboBox1Change(int index);  // the item the user picked; -1 for none
  // Re-aligns the size column to its width (after a listing, after column 1
  // was resized).
  void StringGrid1DrawCell();
  // A press at (x, y) on the list: x from the left edge of column 0, y from
  // the top of the header row.
  void StringGrid1MouseDown(int x, int y);
  // A double click on a row of the list (none: not on a row).
  void StringGrid1DblClick(std::optional<std::size_t> row);

  // Events the view forwards.
  void TreeSelectionChanged(std::optional<int> node);
  // The rows the list highlights now, by their place in rows(). The preview
  // shows the drawing highlighted alone, or else the one that has just
  // joined the highlight; it stays on its drawing while that stays
  // highlighted, and is empty otherwise.
  void ListHighlightChanged(const unit1::RowSet& highlight);
  void StopCommand();  // the "中止" button, or Escape during a run

  // State, as the window holds it.
  bool treeReady() const { return treeReady_; }
  bool listReady() const { return listReady_; }
  bool sortDescending() const { return sortDescending_; }
  bool scanCancelled() const { return scanCancelled_; }
  bool busy() const { return busy_; }
  const std::string& searchFolder() const { return searchFolder_; }
  const std::string& destinationFolder() const { return destinationFolder_; }
  int fileType() const { return fileType_; }
  const unit1::FolderTree& tree() const { return tree_; }
  const std::vector<unit1::FileRow>& rows() const { return rows_; }
  // The highlighted rows by their place in rows(): the same files whatever
  // the order.
  unit1::RowSet highlight() const;
  std::optional<int> selectedNode() const { return selectedNode_; }
  const std::filesystem::path& settingsFile() const { return settingsFile_; }

 private:
  void Guarded(const std::function<void()>& command);
  void ErrorBox(std::string_view text);
  // Unless a search folder has been chosen, says so in an error box and the
  // status bar and answers false.
  bool SearchFolderChosen();

  // Start-up and shut-down (unit1_settings.cpp).
  void StartUp();
  void ShutDown();
  // The tree of the saved search folder and the listing of the folder the
  // list showed, as they were at the last close.
  void RestoreFolders(const std::string& listedFolder);

  // Folder tree (unit1_tree.cpp).
  void ScanTree();
  void AddSubfolders(int node);

  // File list (unit1_list.cpp).
  void ShowRows();
  void ClearList();
  void ListFolder(const std::string& folder);
  void ListSelectedFolder();
  void SelectFileType(int index);

  // Work off the window's thread (unit1_preview.cpp): the "変換対象" column
  // and the preview. Results come back through the view's PostToWindow and
  // are taken only when they are of the latest request.
  void StartRetypeCounts();
  void CancelRetypeCounts();
  void TakeRetypeCounts(std::uint64_t generation, const std::vector<unit1::RetypeCount>& counts);
  // The preview for a highlight that was `before`.
  void FollowHighlight(const std::set<std::filesystem::path>& before);
  // Shows `name` of the listed folder in the preview (empty: nothing),
  // loading it again when `reload` or when it is not shown already.
  void PreviewFile(const std::filesystem::path& name, bool reload);
  // A function safe to call from any thread that runs a task on the window's
  // thread while this window lives.
  std::function<void(std::function<void(TForm1&)>)> WindowPoster();

  // Batch run (unit1_run.cpp, unit1_batch.cpp, unit1_tree_run.cpp).
  bool RunGuardsPass();
  // The destination's guards: chosen, not the listed folder, and with
  // `wholeTree` not below it either.
  bool DestinationGuardsPass(bool wholeTree);
  // The guards of "フォルダごと変換"; the files it takes when they pass.
  std::optional<unit_val::Selection> TreeRunGuardsPass();
  // Asks the question `confirm`; on Yes runs the selection into the
  // destination folder with progress, stop, status text and failure list.
  void ConfirmAndRun(const std::string& confirm, unit_val::Selection selection);
  // Runs a conversion or an undo as the window's one busy job, then shows
  // whether the destination can be taken back.
  void RunBusy(const std::function<void()>& work);
  void RunSelection(unit_val::Selection selection);

  // Undo (unit1_undo.cpp). Enables "変換を元に戻す" when the destination
  // folder holds a journal, else disables it.
  void ShowUndoState();
  // Takes back the run into `folder`, whose journal names `files` files.
  void UndoInto(const std::filesystem::path& folder, std::size_t files);

  WindowContext context_;
  unit1::MainView& view_;
  unit1::MemoLookup memoLookup_;
  unit_val::StopToken stop_;

  bool treeReady_ = false;
  bool listReady_ = false;
  bool sortDescending_ = false;
  bool scanCancelled_ = false;
  bool emptyFolderListed_ = false;  // the last listing went through a folder without files
  // Set for as long as an object lives, also when an error escapes.
  class Flagged {
   public:
    explicit Flagged(bool& flag) : flag_(flag) { flag_ = true; }
    Flagged(const Flagged&) = delete;
    Flagged& operator=(const Flagged&) = delete;
    ~Flagged() { flag_ = false; }

   private:
    bool& flag_;
  };

  bool busy_ = false;            // a scan, a listing or a run is going: other commands are refused
  bool running_ = false;         // a batch run is going
  bool closeRequested_ = false;  // the window closes once the work going has stopped
  int commandDepth_ = 0;         // commands running, one inside another
  bool startedUp_ = false;
  bool shutDown_ = false;
  std::string programFolder_;  // UTF-8, ending in the separator, as every folder text
  std::filesystem::path settingsFile_;
  std::string searchFolder_;
  std::string destinationFolder_;
  std::string listedFolder_;  // the folder the rows were read from
  int fileType_ = 0;

  unit1::FolderTree tree_;
  std::optional<int> selectedNode_;
  std::vector<unit1::FileRow> rows_;
  // The highlighted files of the listed folder, by name: a sort or a new
  // listing of the same folder keeps them on the same files.
  std::set<std::filesystem::path> highlighted_;

  std::shared_ptr<int> alive_ = std::make_shared<int>(0);  // gone with the window
  std::uint64_t countGeneration_ = 0;
  std::uint64_t previewGeneration_ = 0;
  std::filesystem::path previewed_;  // the drawing the preview shows or loads; empty: none
  // Last, so that they stop first.
  unit1::BackgroundQueue counting_;
  unit1::BackgroundQueue previewing_;
};
