// The controls' names and their identifiers. The logic and the tests name
// controls as the forms do ("Edit12", "CheckBox3", "StringGrid1"); the
// windows know them by identifier.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace win32 {

// The main window's controls and menu commands.
enum MainId : int {
  kPanel1 = 100,
  kEdit1,
  kTreeView1,
  kSplitter1,
  kLabel1,
  kComboBox1,
  kButton1,
  kLabel2,
  kEdit2,
  kButton3,
  kButton4,
  kStringGrid1,
  kStatusBar1,
  kProgressBar1,
  kButtonStop,
  kSplitter2,
  kPreview1,
  kMnuFileSFolder = 200,
  kMnuFileType0,
  kMnuFileType1,
  kMnuFileType2,
  kMnuFileDFolder,
  kMnuFileExit,
  kMnuSetConv,
  kMnuFileConvert,
  kMnuFileRecursive,
  kMnuFileUndo,
};

// The settings dialog's numbered controls: "Edit" 1..60, "CheckBox" 1..12,
// "Button" 1..21 (the presets); "ButtonA1" is OK and "ButtonA2" Cancel, so
// that Enter and Escape reach them as they reach any dialog's.
inline constexpr int kEditBase = 1000;
inline constexpr int kCheckBoxBase = 1100;
inline constexpr int kButtonBase = 1200;
inline constexpr int kScrollBox1 = 1300;
inline constexpr int kStatusBar2 = 1301;

// 0 for a name the window does not have.
int MainControlId(std::string_view name);
int DialogControlId(std::string_view name);
std::string MainControlName(int id);
std::string DialogControlName(int id);

// The control with this identifier anywhere below `root`, or null.
HWND FindControl(HWND root, int id);

}  // namespace win32
