// What the windows pass on: each control's event, named as the forms'
// handlers are, for the logic to handle. The windows do nothing else with it.
#pragma once

#include <cstddef>
#include <optional>

#include "app/file_rows.h"

namespace win32 {

class MainEvents {
 public:
  virtual ~MainEvents() = default;
  virtual void FormShow() = 0;
  virtual bool FormCloseQuery() = 0;
  virtual void FormClose() = 0;
  virtual void MnuFileSFolderClick() = 0;  // also a click on Edit1
  virtual void MnuFileType0Click() = 0;
  virtual void MnuFileType1Click() = 0;
  virtual void MnuFileType2Click() = 0;
  virtual void MnuFileExitClick() = 0;
  virtual void MnuSetConvClick() = 0;  // also Button1
  virtual void Button3Click() = 0;     // also the menu's destination folder item
  virtual void Button4Click() = 0;
  virtual void MnuFileRecursiveClick() = 0;  // "フォルダごと変換"
  virtual void MnuFileUndoClick() = 0;       // "変換を元に戻す"
  virtual void ComboBox1Change(int index) = 0;
  virtual void TreeView1Click() = 0;
  virtual void TreeSelectionChanged(std::optional<int> node) = 0;
  virtual void ListHighlightChanged(const unit1::RowSet& highlight) = 0;
  virtual void StringGrid1MouseDown(int x, int y) = 0;  // on the header, at 96 dpi
  virtual void StringGrid1DblClick(std::optional<std::size_t> row) = 0;
  virtual void StringGrid1DrawCell() = 0;  // the size column changed width
  virtual void StopCommand() = 0;          // "中止" beside the progress bar
};

class SettingsEvents {
 public:
  virtual ~SettingsEvents() = default;
  virtual void FormShow() = 0;
  virtual void PresetButtonClick(int button) = 0;  // Button1..Button21
  virtual void ButtonA1Click() = 0;                // OK, and Enter
  virtual void ButtonA2Click() = 0;                // Cancel, Escape, the close box
};

// Events passed to the forms' handlers of the same names.
template <typename Form>
class ForwardMainEvents final : public MainEvents {
 public:
  explicit ForwardMainEvents(Form& form) : f_(form) {}
  void FormShow() override { f_.FormShow(); }
  bool FormCloseQuery() override { return f_.FormCloseQuery(); }
  void FormClose() override { f_.FormClose(); }
  void MnuFileSFolderClick() override { f_.MnuFileSFolderClick(); }
  void MnuFileType0Click() override { f_.MnuFileType0Click(); }
  void MnuFileType1Click() override { f_.MnuFileType1Click(); }
  void MnuFileType2Click() override { f_.MnuFileType2Click(); }
  void MnuFileExitClick() override { f_.MnuFileExitClick(); }
  void MnuSetConvClick() override { f_.MnuSetConvClick(); }
  void Button3Click() override { f_.Button3Click(); }
  void Button4Click() override { f_.Button4Click(); }
  void MnuFileRecursiveClick() override { f_.MnuFileRecursiveClick(); }
  void MnuFileUndoClick() override { f_.MnuFileUndoClick(); }
  void ComboBox1Change(int index) override { f_.ComboBox1Change(index); }
  void TreeView1Click() override { f_.TreeView1Click(); }
  void TreeSelectionChanged(std::optional<int> node) override { f_.TreeSelectionChanged(node); }
  void ListHighlightChanged(const unit1::RowSet& highlight) override {
    f_.ListHighlightChanged(highlight);
  }
  void StringGrid1MouseDown(int x, int y) override { f_.StringGrid1MouseDown(x, y); }
  void StringGrid1DblClick(std::optional<std::size_t> row) override { f_.StringGrid1DblClick(row); }
  void StringGrid1DrawCell() override { f_.StringGrid1DrawCell(); }
  void StopCommand() override { f_.StopCommand(); }

 private:
  Form& f_;
};

template <typename Form>
class ForwardSettingsEvents final : public SettingsEvents {
 public:
  explicit ForwardSettingsEvents(Form& form) : f_(form) {}
  void FormShow() override { f_.FormShow(); }
  void PresetButtonClick(int button) override { f_.PresetButtonClick(button); }
  void ButtonA1Click() override { f_.ButtonA1Click(); }
  void ButtonA2Click() override { f_.ButtonA2Click(); }

 private:
  Form& f_;
};

}  // namespace win32
