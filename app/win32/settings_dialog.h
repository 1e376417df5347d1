// TForm2's window: the conversion settings dialog, modal, with its scroll box
// of 60 range boxes and the check boxes. It shows what the logic sets
// (unit2::SettingsView) and passes every event on (SettingsEvents).
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "app/settings_view.h"
#include "app/win32/form_events.h"
#include "app/win32/object_window.h"

namespace win32 {

class SettingsDialog final : public unit2::SettingsView {
 public:
  // Created hidden, owned by `owner`, and kept until the program ends.
  SettingsDialog(HINSTANCE instance, HWND owner);
  ~SettingsDialog() override;
  SettingsDialog(const SettingsDialog&) = delete;
  SettingsDialog& operator=(const SettingsDialog&) = delete;

  void SetEvents(SettingsEvents* events) { events_ = events; }
  HWND hwnd() const { return window_; }
  // The control named `name` ("Edit12", "CheckBox3", "ButtonA1", …), or null.
  HWND Control(const std::string& name) const;
  // Shows the dialog and returns when it is closed; true when OK stored.
  bool ShowModal();
  // Its first showing is maximised (the place the settings file kept).
  void SetStartMaximised(bool maximised) { startMaximised_ = maximised; }

  // unit2::SettingsView
  std::string RangeText(int n) override;
  void SetRangeText(int n, const std::string& text) override;
  bool FlagChecked(int n) override;
  void SetFlagChecked(int n, bool checked) override;
  void FocusRangeBox(int n) override;
  void MessageBeep() override;
  void ShowErrorBox(const std::string& text) override;
  void CloseDialog(bool stored) override;

 private:
  struct Placed {
    HWND control;
    RECT logical;  // at 96 dpi, in its parent
  };
  template <typename T>
  friend LRESULT CALLBACK ObjectWindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Handle(UINT message, WPARAM wparam, LPARAM lparam);
  void CreateControls();
  HWND Add(HWND parent, const wchar_t* kind, const wchar_t* text, DWORD style, int id,
           RECT logical);
  void ApplyDpi(UINT dpi);
  void LayOut();
  void UpdateScrollBars();
  void Scroll(int bar, int code);
  void ScrollIntoView(HWND control);
  void OnCommand(int id, int code, HWND control);
  void Forward(void (SettingsEvents::*event)());
  void PressDefault();

  HWND window_ = nullptr;
  HWND scrollBox_ = nullptr;
  HWND panel_ = nullptr;
  SettingsEvents* events_ = nullptr;
  std::vector<Placed> panelControls_;
  std::vector<HWND> notes_;
  UINT dpi_ = 96;
  HFONT font_ = nullptr;      // "ＭＳ ゴシック", 13 px
  HFONT noteFont_ = nullptr;  // the notes, 16 px
  HFONT statusFont_ = nullptr;
  POINT scrolled_{0, 0};
  HWND lastFocus_ = nullptr;
  bool startMaximised_ = false;
  bool closed_ = false;
  bool stored_ = false;
};

}  // namespace win32
