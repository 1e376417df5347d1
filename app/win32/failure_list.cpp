#include "app/win32/failure_list.h"

#include <commctrl.h>

#include <algorithm>
#include <array>

#include "app/message_texts.h"
#include "app/win32/screen_scale.h"
#include "app/win32/wide_text.h"
#include "app/win32/window_class.h"

namespace win32 {

namespace {

constexpr int kColumns = 3;

struct FailureWindow {
  const std::vector<unit1::FailureLine>* lines = nullptr;
  std::vector<const unit1::FailureLine*> shown;  // in the order shown
  int sortColumn = -1;
  bool descending = false;
  std::wstring cell;  // the text a cell is being drawn with
  HFONT font = nullptr;
  bool closed = false;
};

std::string_view Cell(const unit1::FailureLine& line, int column) {
  return column == 0 ? line.file : column == 1 ? line.stage : line.reason;
}

HWND List(HWND window) {
  return ::GetDlgItem(window, kFailureLines);
}

// The lines the filter lets through, in the order of the column clicked
// last (failures before skipped files while no column was clicked).
void Refill(HWND window, FailureWindow& state) {
  const bool skipped =
      ::SendMessageW(::GetDlgItem(window, kFailureShowSkipped), BM_GETCHECK, 0, 0) == BST_CHECKED;
  state.shown.clear();
  for (const unit1::FailureLine& line : *state.lines) {
    if (skipped || line.kind != unit1::FailureKind::kSkipped) state.shown.push_back(&line);
  }
  if (state.sortColumn >= 0) {
    const int column = state.sortColumn;
    const bool descending = state.descending;
    std::stable_sort(
        state.shown.begin(), state.shown.end(),
        [column, descending](const unit1::FailureLine* a, const unit1::FailureLine* b) {
          const std::string_view x = Cell(*a, column), y = Cell(*b, column);
          return descending ? y < x : x < y;
        });
  } else {
    std::stable_partition(state.shown.begin(), state.shown.end(), [](const unit1::FailureLine* l) {
      return l->kind != unit1::FailureKind::kSkipped;
    });
  }
  HWND list = List(window);
  ListView_SetItemState(list, -1, 0, LVIS_SELECTED);
  ListView_SetItemCountEx(list, static_cast<int>(state.shown.size()), 0);
  ::InvalidateRect(list, nullptr, TRUE);
}

// The highlighted lines, or every line shown when none is highlighted.
void Copy(HWND window, const FailureWindow& state) {
  HWND list = List(window);
  std::vector<const unit1::FailureLine*> picked;
  for (int row = ListView_GetNextItem(list, -1, LVNI_SELECTED); row >= 0;
       row = ListView_GetNextItem(list, row, LVNI_SELECTED)) {
    picked.push_back(state.shown[static_cast<std::size_t>(row)]);
  }
  const std::wstring text = FailureText(picked.empty() ? state.shown : picked);
  if (!::OpenClipboard(window)) return;
  ::EmptyClipboard();
  const std::size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  if (HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, bytes)) {
    std::copy_n(text.c_str(), text.size() + 1, static_cast<wchar_t*>(::GlobalLock(memory)));
    ::GlobalUnlock(memory);
    if (::SetClipboardData(CF_UNICODETEXT, memory) == nullptr) ::GlobalFree(memory);
  }
  ::CloseClipboard();
}

// Ctrl+C and Ctrl+A in the list.
LRESULT CALLBACK ListKeys(HWND list, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                          DWORD_PTR) {
  if (message == WM_KEYDOWN && (::GetKeyState(VK_CONTROL) & 0x8000) != 0) {
    if (wparam == 'C') {
      ::SendMessageW(::GetParent(list), WM_COMMAND, kFailureCopy, 0);
      return 0;
    }
    if (wparam == 'A') {
      ListView_SetItemState(list, -1, LVIS_SELECTED, LVIS_SELECTED);
      return 0;
    }
  }
  return ::DefSubclassProc(list, message, wparam, lparam);
}

void LayOut(HWND window) {
  RECT client;
  ::GetClientRect(window, &client);
  const UINT dpi = WindowDpi(window);
  auto s = [dpi](int logical) { return Scale(logical, dpi); };
  const int m = s(10), icon = s(32), button = s(26), w = client.right, h = client.bottom;
  ::MoveWindow(::GetDlgItem(window, kFailureIcon), m, m, icon, icon, TRUE);
  ::MoveWindow(::GetDlgItem(window, kFailureSummary), 2 * m + icon, m, w - 3 * m - icon, icon,
               TRUE);
  ::MoveWindow(List(window), m, 2 * m + icon, w - 2 * m, h - 4 * m - icon - button, TRUE);
  const int top = h - m - button;
  ::MoveWindow(::GetDlgItem(window, kFailureShowSkipped), m, top, s(220), button, TRUE);
  ::MoveWindow(::GetDlgItem(window, kFailureCopy), w - m - s(190), top, s(90), button, TRUE);
  ::MoveWindow(::GetDlgItem(window, IDOK), w - m - s(90), top, s(90), button, TRUE);
}

LRESULT OnNotify(HWND window, FailureWindow& state, NMHDR& header) {
  if (header.idFrom != kFailureLines) return 0;
  if (header.code == LVN_GETDISPINFOW) {
    auto& info = reinterpret_cast<NMLVDISPINFOW&>(header);
    if ((info.item.mask & LVIF_TEXT) == 0 || info.item.cchTextMax <= 0) return 0;
    info.item.pszText[0] = L'\0';
    const auto row = static_cast<std::size_t>(info.item.iItem);
    if (info.item.iItem < 0 || row >= state.shown.size()) return 0;
    state.cell = Wide(Cell(*state.shown[row], info.item.iSubItem));
    ::lstrcpynW(info.item.pszText, state.cell.c_str(), info.item.cchTextMax);
  } else if (header.code == LVN_COLUMNCLICK) {
    const int column = reinterpret_cast<NMLISTVIEW&>(header).iSubItem;
    state.descending = column == state.sortColumn && !state.descending;
    state.sortColumn = column;
    Refill(window, state);
  }
  return 0;
}

LRESULT CALLBACK FailureProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* state = reinterpret_cast<FailureWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (state == nullptr) return ::DefWindowProcW(window, message, wparam, lparam);
  switch (message) {
    case WM_SIZE:
      LayOut(window);
      return 0;
    case WM_NOTIFY:
      return OnNotify(window, *state, *reinterpret_cast<NMHDR*>(lparam));
    case WM_COMMAND:
      switch (LOWORD(wparam)) {
        case IDOK:
        case IDCANCEL:
          state->closed = true;
          break;
        case kFailureCopy:
          Copy(window, *state);
          break;
        case kFailureShowSkipped:
          if (HIWORD(wparam) == BN_CLICKED) Refill(window, *state);
          break;
        default:
          break;
      }
      return 0;
    case WM_CLOSE:
      state->closed = true;
      return 0;
    default:
      return ::DefWindowProcW(window, message, wparam, lparam);
  }
}

HWND Add(HWND window, const wchar_t* kind, std::string_view text, DWORD style, int id,
         DWORD exStyle = 0) {
  return ::CreateWindowExW(exStyle, kind, Wide(text).c_str(), WS_CHILD | WS_VISIBLE | style, 0, 0,
                           0, 0, window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           ::GetModuleHandleW(nullptr), nullptr);
}

// Each column as wide as its widest text (of the first thousand lines),
// within a third of the screen's width.
void FitColumns(HWND list, const std::vector<unit1::FailureLine>& lines, HFONT font, int limit) {
  HDC dc = ::GetDC(list);
  HGDIOBJ old = ::SelectObject(dc, font);
  const UINT dpi = WindowDpi(list);
  for (int column = 0; column < kColumns; ++column) {
    auto width = [dc](std::string_view text) {
      const std::wstring wide = Wide(text);
      SIZE size{};
      ::GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
      return static_cast<int>(size.cx);
    };
    int widest = width(texts::kFailureHeaders[static_cast<std::size_t>(column)]);
    for (std::size_t i = 0; i < std::min<std::size_t>(lines.size(), 1000); ++i) {
      widest = std::max(widest, width(Cell(lines[i], column)));
    }
    ListView_SetColumnWidth(list, column, std::min(widest + Scale(16, dpi), limit));
  }
  ::SelectObject(dc, old);
  ::ReleaseDC(list, dc);
}

}  // namespace

std::wstring FailureText(const std::vector<const unit1::FailureLine*>& lines) {
  std::wstring text;
  for (const unit1::FailureLine* line : lines) {
    text += Wide(line->file) + L"\t" + Wide(line->stage) + L"\t" + Wide(line->reason) + L"\r\n";
  }
  return text;
}

void ShowFailureList(HWND owner, const std::string& summary,
                     const std::vector<unit1::FailureLine>& lines) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  RegisterWindowClass(instance, kFailureListClass, FailureProc, nullptr);
  // As large as the list needs, but never past the owner's screen.
  MONITORINFO screen{};
  screen.cbSize = sizeof(screen);
  ::GetMonitorInfoW(::MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST), &screen);
  const UINT dpi = WindowDpi(owner);
  const RECT& area = screen.rcWork;
  const int width = std::min<int>(Scale(760, dpi), area.right - area.left);
  const int rows = static_cast<int>(std::min<std::size_t>(lines.size(), 20));
  const int height = std::min<int>(Scale(170 + 20 * rows, dpi), area.bottom - area.top);
  FailureWindow state;
  state.lines = &lines;
  HWND window = ::CreateWindowExW(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, kFailureListClass,
                                  Wide(texts::kFailuresCaption).c_str(),
                                  WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
                                  area.left + (area.right - area.left - width) / 2,
                                  area.top + (area.bottom - area.top - height) / 2, width, height,
                                  owner, nullptr, instance, nullptr);
  ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&state));
  state.font = CreateProportionalGothic(12, WindowDpi(window));
  HWND icon = Add(window, L"STATIC", "", SS_ICON, kFailureIcon);
  const bool failed = std::any_of(lines.begin(), lines.end(), [](const unit1::FailureLine& line) {
    return line.kind == unit1::FailureKind::kFailed;
  });
  ::SendMessageW(icon, STM_SETICON,
                 reinterpret_cast<WPARAM>(::LoadIconW(nullptr, failed ? IDI_ERROR : IDI_WARNING)),
                 0);
  HWND label = Add(window, L"STATIC", summary, SS_LEFT | SS_NOPREFIX, kFailureSummary);
  HWND list =
      Add(window, WC_LISTVIEWW, "", WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS,
          kFailureLines, WS_EX_CLIENTEDGE);
  ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER);
  ::SetWindowSubclass(list, ListKeys, 1, 0);
  for (int column = 0; column < kColumns; ++column) {
    std::wstring text = Wide(texts::kFailureHeaders[static_cast<std::size_t>(column)]);
    LVCOLUMNW header{};
    header.mask = LVCF_TEXT | LVCF_WIDTH;
    header.cx = Scale(100, dpi);
    header.pszText = text.data();
    ListView_InsertColumn(list, column, &header);
  }
  HWND skipped = Add(window, L"BUTTON", texts::kShowSkipped, WS_TABSTOP | BS_AUTOCHECKBOX,
                     kFailureShowSkipped);
  ::SendMessageW(skipped, BM_SETCHECK, BST_CHECKED, 0);
  HWND copy = Add(window, L"BUTTON", texts::kCopyButton, WS_TABSTOP | BS_PUSHBUTTON, kFailureCopy);
  HWND ok = Add(window, L"BUTTON", texts::kCloseButton, WS_TABSTOP | BS_DEFPUSHBUTTON, IDOK);
  for (HWND control : {label, list, skipped, copy, ok}) SetFont(control, state.font);
  FitColumns(list, lines, state.font, width / 2);
  Refill(window, state);
  LayOut(window);
  ::EnableWindow(owner, FALSE);
  ::ShowWindow(window, SW_SHOW);
  ::SetFocus(list);
  MSG message;
  while (!state.closed && ::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (::IsDialogMessageW(window, &message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  if (!state.closed) ::PostQuitMessage(0);
  ::EnableWindow(owner, TRUE);
  ::DestroyWindow(window);
  ::DeleteObject(state.font);
  ::SetActiveWindow(owner);
}

}  // namespace win32
