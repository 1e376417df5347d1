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
  virtual void FormShow() = 0;   // first show: the start-up sequence
  virtual void FormClose() = 0;  // the window closes: the shut-down sequence
  virtual void MnuFileSFolderClick() = 0;  // also a click on Edit1
  virtual void MnuFileTypeClick(int index) = 0;
  virtual void MnuFileExitClick() = 0;
  virtual void MnuSetConvClick() = 0;  // also Button1
  virtual void Button3Click() = 0;     // also the menu's destination folder item
  virtual void Button4Click() = 0;
  virtual void ComboBox1Change(int index) = 0;
  virtual void TreeView1Click(int node) = 0;   // the node clicked, now selected
  virtual void TreeView1Change(int node) = 0;  // the selection moved (-1: none)
  virtual void StringGrid1SelectCell(std::optional<unit1::RowRange> highlight) = 0;
  virtual void StringGrid1MouseDown(int column) = 0;  // a click on a column's header
  virtual void StringGrid1DblClick() = 0;
  virtual void StringGrid1DrawCell() = 0;  // the size column changed width
  virtual void ButtonStopClick() = 0;      // "中止" beside the progress bar
};

class SettingsEvents {
 public:
  virtual ~SettingsEvents() = default;
  virtual void FormShow() = 0;
  virtual void ButtonClick(int n) = 0;  // the presets Button1..Button21
  virtual void ButtonA1Click() = 0;     // OK
  virtual void ButtonA2Click() = 0;     // Cancel, Escape, the close box
};

}  // namespace win32
