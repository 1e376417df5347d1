// What the settings dialog's logic asks of a front end: its boxes by
// number ("Edit" and "CheckBox" followed by the number), the focus, the beep
// and closing. Texts are UTF-8.
#pragma once

#include <string>

namespace unit2 {

class SettingsView {
 public:
  virtual ~SettingsView() = default;
  virtual std::string RangeText(int n) = 0;  // Edit1..Edit60
  virtual void SetRangeText(int n, const std::string& text) = 0;
  virtual bool FlagChecked(int n) = 0;  // CheckBox1..CheckBox12
  virtual void SetFlagChecked(int n, bool checked) = 0;
  virtual void FocusRangeBox(int n) = 0;
  virtual void MessageBeep() = 0;  // MessageBeep(0xFFFF)
  // The generic error box: caption "Quillon", error icon, OK.
  virtual void ShowErrorBox(const std::string& text) = 0;
  // Closes the dialog; `stored` tells OK (settings written) from Cancel.
  virtual void CloseDialog(bool stored) = 0;
};

}  // namespace unit2
