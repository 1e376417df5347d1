// What a test script reads of the running quillon.exe that X cannot see.
//
//   window_probe text NAME   the text of the main window's control NAME (UTF-8)
//   window_probe rect NAME   its left, top, width and height on the screen
//   window_probe rows        the file list's rows, cells separated by tabs
//   window_probe painted     milliseconds from the last highlight to its
//                            preview painted (exit 1 while not painted)
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cstdio>
#include <string>

#include "app/file_rows.h"
#include "app/win32/control_names.h"
#include "app/win32/preview_pane.h"
#include "app/win32/wide_text.h"

namespace {

// The list's cells live in the other process: the request and the text
// travel through memory allocated there.
void PrintRows(HWND list) {
  DWORD id = 0;
  ::GetWindowThreadProcessId(list, &id);
  HANDLE process =
      ::OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id);
  if (process == nullptr) return;
  constexpr int kChars = 1024;
  auto* remote = static_cast<char*>(
      ::VirtualAllocEx(process, nullptr, sizeof(LVITEMW) + kChars * 2, MEM_COMMIT, PAGE_READWRITE));
  const int rows = static_cast<int>(::SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
  for (int row = 0; row < rows; ++row) {
    std::string line;
    for (int column = 0; column < unit1::kColumnCount; ++column) {
      LVITEMW item{};
      item.iSubItem = column;
      item.cchTextMax = kChars;
      item.pszText = reinterpret_cast<wchar_t*>(remote + sizeof(LVITEMW));
      ::WriteProcessMemory(process, remote, &item, sizeof(item), nullptr);
      ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                     reinterpret_cast<LPARAM>(remote));
      wchar_t text[kChars] = L"";
      ::ReadProcessMemory(process, remote + sizeof(LVITEMW), text, sizeof(text) - 2, nullptr);
      line += (column > 0 ? "\t" : "") + win32::Utf8(text);
    }
    std::printf("%s\n", line.c_str());
  }
  ::VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  ::CloseHandle(process);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  const std::string what = argv[1];
  HWND main = ::FindWindowW(L"QuillonTForm1", nullptr);
  const int id = win32::MainControlId(what == "rows"      ? "StringGrid1"
                                      : what == "painted" ? "Preview1"
                                      : argc > 2          ? argv[2]
                                                          : "");
  HWND control = main == nullptr || id == 0 ? nullptr : win32::FindControl(main, id);
  if (control == nullptr) return 1;
  if (what == "text") {
    wchar_t text[2048] = L"";
    ::SendMessageW(control, WM_GETTEXT, 2048, reinterpret_cast<LPARAM>(text));
    std::printf("%s\n", win32::Utf8(text).c_str());
  } else if (what == "rect") {
    RECT r;
    ::GetWindowRect(control, &r);
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
  } else if (what == "rows") {
    PrintRows(control);
  } else if (what == "painted") {
    const auto ms = reinterpret_cast<INT_PTR>(::GetPropW(control, win32::PreviewPane::kPaintedMs));
    if (ms == 0) return 1;
    std::printf("%lld\n", static_cast<long long>(ms - 1));
  } else {
    return 2;
  }
  return 0;
}
