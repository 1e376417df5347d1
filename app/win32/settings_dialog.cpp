#include "app/win32/settings_dialog.h"

#include <commctrl.h>
#include <imm.h>

#include <algorithm>
#include <array>

#include "app/message_texts.h"
#include "app/settings_file.h"
#include "app/unit2.h"
#include "app/win32/boxes.h"
#include "app/win32/control_names.h"
#include "app/win32/resources.h"
#include "app/win32/screen_scale.h"
#include "app/win32/wide_text.h"
#include "app/win32/window_class.h"

namespace win32 {

namespace {

constexpr wchar_t kDialogClass[] = L"QuillonTForm2";
constexpr wchar_t kScrollBoxClass[] = L"QuillonScrollBox";
constexpr wchar_t kPanelClass[] = L"QuillonScrollPanel";
constexpr int kPanelWidth = 734, kPanelHeight = 297, kScrollBoxHeight = 321;
constexpr int kGroupWidth = 177, kGroupHeight = 273, kColourWidth = 97;
constexpr std::array<int, 4> kGroupLeft{70, 251, 432, 613};
constexpr int kRowTop = 22, kRowStep = 24, kPresetTop = 278;
constexpr int kMinimumClientWidth = 520, kMinimumClientHeight = 442;

// "文字種" and the type's number in full-width digits.
std::wstring RowCaption(int type) {
  std::wstring text = Wide(texts::kTextTypeRow);
  for (wchar_t digit : std::to_wstring(type)) text += static_cast<wchar_t>(0xFF10 + (digit - L'0'));
  return text;
}

std::wstring PresetCaption(int button) {
  return Wide(TForm2::PresetCaption(button));
}

RECT At(int x, int y, int width, int height) {
  return RECT{x, y, x + width, y + height};
}

// The panel's controls report to the dialog, as if they were its own.
LRESULT CALLBACK PanelProc(HWND panel, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_COMMAND) {
    return ::SendMessageW(::GetAncestor(panel, GA_ROOT), message, wparam, lparam);
  }
  return ::DefWindowProcW(panel, message, wparam, lparam);
}

LRESULT CALLBACK ScrollBoxProc(HWND box, UINT message, WPARAM wparam, LPARAM lparam) {
  // The dialog scrolls it: the bars and the wheel are passed up.
  switch (message) {
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_MOUSEWHEEL:
      return ::SendMessageW(::GetParent(box), message, wparam, lparam);
    default:
      return ::DefWindowProcW(box, message, wparam, lparam);
  }
}

}  // namespace

SettingsDialog::SettingsDialog(HINSTANCE instance, HWND owner) {
  RegisterWindowClass(instance, kDialogClass, ObjectWindowProc<SettingsDialog>,
                      ::LoadIconW(instance, MAKEINTRESOURCEW(kIconId)));
  RegisterWindowClass(instance, kScrollBoxClass, ScrollBoxProc, nullptr);
  RegisterWindowClass(instance, kPanelClass, PanelProc, nullptr);
  const unit1::WindowGeometry place = unit1::BuiltInSettings({}).settingsDialog;
  window_ = ::CreateWindowExW(WS_EX_CONTROLPARENT | WS_EX_DLGMODALFRAME, kDialogClass,
                              Wide(texts::kSettingsCaption).c_str(),
                              WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN,
                              place.x, place.y, place.width, place.height, owner, nullptr, instance,
                              this);
}

SettingsDialog::~SettingsDialog() {
  if (window_ != nullptr) ::DestroyWindow(window_);
  for (HGDIOBJ object : {static_cast<HGDIOBJ>(font_), static_cast<HGDIOBJ>(noteFont_),
                         static_cast<HGDIOBJ>(statusFont_)}) {
    if (object != nullptr) ::DeleteObject(object);
  }
}

HWND SettingsDialog::Control(const std::string& name) const {
  const int id = DialogControlId(name);
  return id == 0 ? nullptr : FindControl(window_, id);
}

LRESULT SettingsDialog::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      CreateControls();
      ApplyDpi(WindowDpi(window_));
      return 0;
    case WM_SIZE:
      LayOut();
      return 0;
    case WM_GETMINMAXINFO: {
      // Below this the check boxes, the first note and the buttons would
      // overlap; the scroll box shows the rest.
      HWND status = ::GetDlgItem(window_, kStatusBar2);
      if (status == nullptr) break;
      RECT bar;
      ::GetWindowRect(status, &bar);
      RECT r{0, 0, Scale(kMinimumClientWidth, dpi_),
             Scale(kMinimumClientHeight, dpi_) + (bar.bottom - bar.top)};
      ::AdjustWindowRectExForDpi(
          &r, static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_STYLE)), FALSE,
          static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_EXSTYLE)), dpi_);
      reinterpret_cast<MINMAXINFO*>(lparam)->ptMinTrackSize = {r.right - r.left, r.bottom - r.top};
      return 0;
    }
    case WM_DPICHANGED: {
      ApplyDpi(HIWORD(wparam));
      MoveToSuggestedPlace(window_, lparam);
      return 0;
    }
    case DM_GETDEFID:
      return MAKELRESULT(IDOK, DC_HASDEFID);
    case WM_ACTIVATE:
      // The focus leaves and comes back with the control that had it.
      if (LOWORD(wparam) == WA_INACTIVE) {
        HWND focus = ::GetFocus();
        if (focus != nullptr && ::IsChild(window_, focus)) lastFocus_ = focus;
      } else {
        ::SetFocus(lastFocus_ != nullptr ? lastFocus_
                                         : ::GetNextDlgTabItem(window_, nullptr, FALSE));
      }
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam), reinterpret_cast<HWND>(lparam));
      return 0;
    case WM_HSCROLL:
      Scroll(SB_HORZ, LOWORD(wparam));
      return 0;
    case WM_VSCROLL:
      Scroll(SB_VERT, LOWORD(wparam));
      return 0;
    case WM_MOUSEWHEEL:
      Scroll(SB_VERT, GET_WHEEL_DELTA_WPARAM(wparam) > 0 ? SB_LINEUP : SB_LINEDOWN);
      return 0;
    case WM_CTLCOLORSTATIC: {
      const auto control = reinterpret_cast<HWND>(lparam);
      if (std::find(notes_.begin(), notes_.end(), control) == notes_.end()) break;
      auto dc = reinterpret_cast<HDC>(wparam);
      ::SetTextColor(dc, RGB(0, 0, 255));
      ::SetBkMode(dc, TRANSPARENT);
      return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    case WM_CLOSE:
      Forward(&SettingsEvents::ButtonA2Click);
      if (events_ == nullptr) CloseDialog(false);
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(window_, message, wparam, lparam);
}

HWND SettingsDialog::Add(HWND parent, const wchar_t* kind, const wchar_t* text, DWORD style, int id,
                         RECT logical) {
  HWND control = ::CreateWindowExW(kind == std::wstring_view(L"EDIT") ? WS_EX_CLIENTEDGE : 0, kind,
                                   text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   ::GetModuleHandleW(nullptr), nullptr);
  if (parent == panel_) panelControls_.push_back({control, logical});
  return control;
}

// Creation order is the tab order: the scroll box's contents (the width,
// height, spacing and colour groups, each in numbering order, then the
// presets left to right with the spacing row's "10" last), then the two
// check boxes below, OK and Cancel.
void SettingsDialog::CreateControls() {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  scrollBox_ =
      ::CreateWindowExW(WS_EX_CONTROLPARENT, kScrollBoxClass, L"",
                        WS_CHILD | WS_VISIBLE | WS_HSCROLL | WS_VSCROLL | WS_CLIPCHILDREN, 0, 0, 0,
                        0, window_, reinterpret_cast<HMENU>(kScrollBox1), instance, nullptr);
  panel_ = ::CreateWindowExW(WS_EX_CONTROLPARENT, kPanelClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0,
                             0, scrollBox_, nullptr, instance, nullptr);
  for (int row = 0; row < 10; ++row) {
    Add(panel_, L"STATIC", RowCaption(row + 1).c_str(), SS_LEFTNOWORDWRAP, -1,
        At(0, kRowTop + row * kRowStep + 3, 70, 15));
  }
  for (int group = 0; group < 3; ++group) {
    const int x = kGroupLeft[group];
    Add(panel_, L"BUTTON", Wide(texts::kRangeGroups[static_cast<std::size_t>(group)]).c_str(),
        BS_GROUPBOX, -1, At(x, 2, kGroupWidth, kGroupHeight));
    for (int row = 0; row < 10; ++row) {
      const int y = kRowTop + row * kRowStep;
      const int minus = group * 20 + 2 * row + 1;
      Add(panel_, L"STATIC", Wide(texts::kMinus).c_str(), SS_LEFT, -1, At(x + 8, y + 3, 14, 15));
      Add(panel_, L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, kEditBase + minus,
          At(x + 22, y, 49, 20));
      Add(panel_, L"STATIC", Wide(texts::kToPlus).c_str(), SS_LEFT, -1, At(x + 75, y + 3, 40, 15));
      Add(panel_, L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, kEditBase + minus + 1,
          At(x + 117, y, 49, 20));
    }
  }
  Add(panel_, L"BUTTON", Wide(texts::kColourGroup).c_str(), BS_GROUPBOX, -1,
      At(kGroupLeft[3], 2, kColourWidth, kGroupHeight));
  for (int row = 0; row < 10; ++row) {
    Add(panel_, L"BUTTON", Wide(texts::kAnyColour).c_str(), WS_TABSTOP | BS_AUTOCHECKBOX,
        kCheckBoxBase + row + 1, At(kGroupLeft[3] + 8, kRowTop + row * kRowStep + 1, 84, 18));
  }
  Add(panel_, L"STATIC", Wide(texts::kPresetRow).c_str(), SS_LEFT, -1,
      At(2, kPresetTop + 2, 60, 15));
  for (int group = 0; group < 2; ++group) {
    for (int i = 0; i < 6; ++i) {
      Add(panel_, L"BUTTON", PresetCaption(group * 6 + i + 1).c_str(), WS_TABSTOP | BS_PUSHBUTTON,
          kButtonBase + group * 6 + i + 1, At(kGroupLeft[group] + 2 + i * 29, kPresetTop, 27, 18));
    }
  }
  for (int i = 0; i < 6; ++i) {
    Add(panel_, L"BUTTON", PresetCaption(13 + i).c_str(), WS_TABSTOP | BS_PUSHBUTTON,
        kButtonBase + 13 + i, At(kGroupLeft[2] + 2 + i * 25, kPresetTop, 24, 18));
  }
  Add(panel_, L"BUTTON", PresetCaption(20).c_str(), WS_TABSTOP | BS_PUSHBUTTON, kButtonBase + 20,
      At(kGroupLeft[3] + 4, kPresetTop, 42, 18));
  Add(panel_, L"BUTTON", PresetCaption(21).c_str(), WS_TABSTOP | BS_PUSHBUTTON, kButtonBase + 21,
      At(kGroupLeft[3] + 50, kPresetTop, 42, 18));
  Add(panel_, L"BUTTON", PresetCaption(19).c_str(), WS_TABSTOP | BS_PUSHBUTTON, kButtonBase + 19,
      At(kGroupLeft[2] + 2 + 6 * 25, kPresetTop, 24, 18));

  Add(window_, L"BUTTON", Wide(texts::kDimensionSwitch).c_str(), WS_TABSTOP | BS_AUTOCHECKBOX,
      kCheckBoxBase + 11, {});
  Add(window_, L"BUTTON", Wide(texts::kBlockSwitch).c_str(), WS_TABSTOP | BS_AUTOCHECKBOX,
      kCheckBoxBase + 12, {});
  for (std::string_view note : texts::kSettingsNotes) {
    notes_.push_back(Add(window_, L"STATIC", Wide(note).c_str(), SS_LEFT | SS_NOPREFIX, -1, {}));
  }
  Add(window_, L"BUTTON", Wide(texts::kOkButton).c_str(), WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK, {});
  Add(window_, L"BUTTON", Wide(texts::kCancelButton).c_str(), WS_TABSTOP | BS_PUSHBUTTON, IDCANCEL,
      {});
  HWND status = Add(window_, STATUSCLASSNAMEW, L"", SBARS_SIZEGRIP, kStatusBar2, {});
  ::SendMessageW(status, SB_SETTEXTW, 0,
                 reinterpret_cast<LPARAM>(Wide(texts::kSettingsStatus).c_str()));

  // Six typed characters at most, and no input method: only direct input.
  for (int n = 1; n <= 60; ++n) {
    HWND edit = FindControl(window_, kEditBase + n);
    ::SendMessageW(edit, EM_SETLIMITTEXT, 6, 0);
    ::ImmAssociateContext(edit, nullptr);
  }
}

void SettingsDialog::ApplyDpi(UINT dpi) {
  dpi_ = dpi;
  for (HFONT* font : {&font_, &noteFont_, &statusFont_}) {
    if (*font != nullptr) ::DeleteObject(*font);
  }
  font_ = CreateFixedGothic(13, dpi);
  noteFont_ = CreateProportionalGothic(16, dpi);
  statusFont_ = CreateProportionalGothic(12, dpi);
  for (const Placed& placed : panelControls_) SetFont(placed.control, font_);
  for (int id : {kCheckBoxBase + 11, kCheckBoxBase + 12, IDOK, IDCANCEL}) {
    SetFont(::GetDlgItem(window_, id), font_);
  }
  for (HWND note : notes_) SetFont(note, noteFont_);
  SetFont(::GetDlgItem(window_, kStatusBar2), statusFont_);
  LayOut();
}

void SettingsDialog::LayOut() {
  if (panel_ == nullptr) return;
  const UINT d = dpi_;
  auto s = [d](int logical) { return Scale(logical, d); };
  for (const Placed& placed : panelControls_) {
    const RECT& r = placed.logical;
    ::MoveWindow(placed.control, s(r.left), s(r.top), s(r.right - r.left), s(r.bottom - r.top),
                 TRUE);
  }
  RECT client;
  ::GetClientRect(window_, &client);
  const int width = client.right;
  ::MoveWindow(scrollBox_, 0, 0, width, s(kScrollBoxHeight), TRUE);
  UpdateScrollBars();
  ::MoveWindow(::GetDlgItem(window_, kCheckBoxBase + 11), s(8), s(326), s(240), s(18), TRUE);
  ::MoveWindow(::GetDlgItem(window_, kCheckBoxBase + 12), s(8), s(347), s(240), s(18), TRUE);
  ::MoveWindow(notes_[0], s(256), s(348), std::max(0, width - s(262)), s(18), TRUE);
  ::MoveWindow(notes_[1], s(6), s(369), std::max(0, width - s(8)), s(18), TRUE);
  ::MoveWindow(notes_[2], s(6), s(389), std::max(0, width - s(8)), s(18), TRUE);
  ::MoveWindow(::GetDlgItem(window_, IDOK), width / 2 - s(118), s(412), s(112), s(26), TRUE);
  ::MoveWindow(::GetDlgItem(window_, IDCANCEL), width / 2 + s(6), s(412), s(112), s(26), TRUE);
  ::SendMessageW(::GetDlgItem(window_, kStatusBar2), WM_SIZE, 0, 0);
}

void SettingsDialog::UpdateScrollBars() {
  RECT view;
  ::GetClientRect(scrollBox_, &view);
  const int size[2] = {Scale(kPanelWidth, dpi_), Scale(kPanelHeight, dpi_)};
  const int page[2] = {view.right, view.bottom};
  LONG* offset[2] = {&scrolled_.x, &scrolled_.y};
  for (int bar : {SB_HORZ, SB_VERT}) {
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = size[bar] - 1;
    info.nPage = static_cast<UINT>(std::max(0, page[bar]));
    *offset[bar] = std::clamp<LONG>(*offset[bar], 0, std::max(0, size[bar] - page[bar]));
    info.nPos = *offset[bar];
    ::SetScrollInfo(scrollBox_, bar, &info, TRUE);
  }
  ::MoveWindow(panel_, -scrolled_.x, -scrolled_.y, size[0], size[1], TRUE);
}

void SettingsDialog::Scroll(int bar, int code) {
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  ::GetScrollInfo(scrollBox_, bar, &info);
  int position = info.nPos;
  const int line = Scale(kRowStep, dpi_);
  switch (code) {
    case SB_LINEUP:
      position -= line;
      break;
    case SB_LINEDOWN:
      position += line;
      break;
    case SB_PAGEUP:
      position -= static_cast<int>(info.nPage);
      break;
    case SB_PAGEDOWN:
      position += static_cast<int>(info.nPage);
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
      position = info.nTrackPos;
      break;
    case SB_TOP:
      position = info.nMin;
      break;
    case SB_BOTTOM:
      position = info.nMax;
      break;
    default:
      return;
  }
  (bar == SB_HORZ ? scrolled_.x : scrolled_.y) = position;
  UpdateScrollBars();
}

void SettingsDialog::ScrollIntoView(HWND control) {
  if (::GetParent(control) != panel_) return;
  RECT box, view;
  ::GetWindowRect(control, &box);
  ::GetClientRect(scrollBox_, &view);
  ::MapWindowPoints(nullptr, scrollBox_, reinterpret_cast<POINT*>(&box), 2);
  if (box.top < 0) scrolled_.y += box.top;
  if (box.bottom > view.bottom) scrolled_.y += box.bottom - view.bottom;
  if (box.left < 0) scrolled_.x += box.left;
  if (box.right > view.right) scrolled_.x += box.right - view.right;
  UpdateScrollBars();
}

void SettingsDialog::OnCommand(int id, int code, HWND control) {
  if (code == EN_SETFOCUS) {
    ScrollIntoView(control);
    return;
  }
  if (code != BN_CLICKED) return;
  if (id == IDOK) {
    Forward(&SettingsEvents::ButtonA1Click);
  } else if (id == IDCANCEL) {
    Forward(&SettingsEvents::ButtonA2Click);
    if (events_ == nullptr) CloseDialog(false);
  } else if (id > kButtonBase && id <= kButtonBase + 21 && events_ != nullptr) {
    RunGuarded(window_, [&] { events_->PresetButtonClick(id - kButtonBase); });
  }
}

void SettingsDialog::Forward(void (SettingsEvents::*event)()) {
  if (events_ == nullptr) return;
  RunGuarded(window_, [&] { (events_->*event)(); });
}

// Enter presses the focused push button, else OK.
void SettingsDialog::PressDefault() {
  HWND focus = ::GetFocus();
  const LONG_PTR style =
      focus != nullptr ? ::GetWindowLongPtrW(focus, GWL_STYLE) & BS_TYPEMASK : -1;
  const bool button = focus != nullptr && ::IsChild(window_, focus) &&
                      (::SendMessageW(focus, WM_GETDLGCODE, 0, 0) & DLGC_BUTTON) != 0 &&
                      (style == BS_PUSHBUTTON || style == BS_DEFPUSHBUTTON);
  if (button) {
    ::SendMessageW(focus, BM_CLICK, 0, 0);
  } else {
    OnCommand(IDOK, BN_CLICKED, ::GetDlgItem(window_, IDOK));
  }
}

bool SettingsDialog::ShowModal() {
  HWND owner = ::GetWindow(window_, GW_OWNER);
  closed_ = false;
  stored_ = false;
  Forward(&SettingsEvents::FormShow);
  scrolled_ = {0, 0};
  UpdateScrollBars();
  ::EnableWindow(owner, FALSE);
  ::ShowWindow(window_, startMaximised_ ? SW_SHOWMAXIMIZED : SW_SHOW);
  startMaximised_ = false;
  ::SetForegroundWindow(window_);
  lastFocus_ = ::GetNextDlgTabItem(window_, nullptr, FALSE);
  ::SetFocus(lastFocus_);
  MSG message;
  bool quit = false;
  while (!closed_) {
    if (::GetMessageW(&message, nullptr, 0, 0) <= 0) {
      quit = true;
      break;
    }
    // Keys that still reach the disabled owner (it kept the focus while the
    // menu that opened the dialog closed) belong to the dialog.
    if (message.message >= WM_KEYFIRST && message.message <= WM_KEYLAST &&
        message.hwnd != window_ && !::IsChild(window_, message.hwnd)) {
      ::SetActiveWindow(window_);
      if (!::IsChild(window_, ::GetFocus())) ::SetFocus(lastFocus_);
      message.hwnd = ::IsChild(window_, ::GetFocus()) ? ::GetFocus() : lastFocus_;
    }
    if (message.message == WM_KEYDOWN && message.wParam == VK_RETURN) {
      PressDefault();
      continue;
    }
    if (::IsDialogMessageW(window_, &message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  ::EnableWindow(owner, TRUE);
  ::ShowWindow(window_, SW_HIDE);
  ::SetActiveWindow(owner);
  if (quit) ::PostQuitMessage(static_cast<int>(message.wParam));
  return stored_;
}

std::string SettingsDialog::RangeText(int n) {
  HWND edit = Control("Edit" + std::to_string(n));
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(edit)) + 1, L'\0');
  text.resize(
      static_cast<std::size_t>(::GetWindowTextW(edit, text.data(), static_cast<int>(text.size()))));
  return Utf8(text);
}

void SettingsDialog::SetRangeText(int n, const std::string& text) {
  ::SetWindowTextW(Control("Edit" + std::to_string(n)), Wide(text).c_str());
}

bool SettingsDialog::FlagChecked(int n) {
  return ::SendMessageW(Control("CheckBox" + std::to_string(n)), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void SettingsDialog::SetFlagChecked(int n, bool checked) {
  ::SendMessageW(Control("CheckBox" + std::to_string(n)), BM_SETCHECK,
                 checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void SettingsDialog::FocusRangeBox(int n) {
  HWND edit = Control("Edit" + std::to_string(n));
  ::SetFocus(edit);
  ScrollIntoView(edit);
}

void SettingsDialog::MessageBeep() {
  ::MessageBeep(0xFFFFFFFF);
}

void SettingsDialog::ShowErrorBox(const std::string& text) {
  win32::ShowErrorBox(window_, text);
}

void SettingsDialog::CloseDialog(bool stored) {
  closed_ = true;
  stored_ = stored;
}

}  // namespace win32
