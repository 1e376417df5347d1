#include "app/win32/control_names.h"

#include <array>
#include <charconv>
#include <utility>

namespace win32 {

namespace {

constexpr std::array<std::pair<std::string_view, int>, 17> kMainNames{{
    {"Panel1", kPanel1},
    {"Edit1", kEdit1},
    {"TreeView1", kTreeView1},
    {"Splitter1", kSplitter1},
    {"Label1", kLabel1},
    {"ComboBox1", kComboBox1},
    {"Button1", kButton1},
    {"Label2", kLabel2},
    {"Edit2", kEdit2},
    {"Button3", kButton3},
    {"Button4", kButton4},
    {"StringGrid1", kStringGrid1},
    {"StatusBar1", kStatusBar1},
    {"ProgressBar1", kProgressBar1},
    {"ButtonStop", kButtonStop},
    {"Splitter2", kSplitter2},
    {"Preview1", kPreview1},
}};

struct Numbered {
  std::string_view prefix;
  int base;
  int count;
};
constexpr std::array<Numbered, 3> kDialogNumbered{{
    {"Edit", kEditBase, 60},
    {"CheckBox", kCheckBoxBase, 12},
    {"Button", kButtonBase, 21},
}};
constexpr std::array<std::pair<std::string_view, int>, 4> kDialogNames{{
    {"ButtonA1", IDOK},
    {"ButtonA2", IDCANCEL},
    {"ScrollBox1", kScrollBox1},
    {"StatusBar1", kStatusBar2},
}};

BOOL CALLBACK MatchId(HWND window, LPARAM found) {
  auto* result = reinterpret_cast<std::pair<int, HWND>*>(found);
  if (::GetDlgCtrlID(window) != result->first) return TRUE;
  result->second = window;
  return FALSE;
}

}  // namespace

int MainControlId(std::string_view name) {
  for (const auto& [n, id] : kMainNames) {
    if (n == name) return id;
  }
  return 0;
}

std::string MainControlName(int id) {
  for (const auto& [n, i] : kMainNames) {
    if (i == id) return std::string(n);
  }
  return {};
}

int DialogControlId(std::string_view name) {
  for (const auto& [n, id] : kDialogNames) {
    if (n == name) return id;
  }
  for (const Numbered& kind : kDialogNumbered) {
    if (!name.starts_with(kind.prefix)) continue;
    const std::string_view digits = name.substr(kind.prefix.size());
    int number = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    if (error == std::errc() && end == digits.data() + digits.size() && !digits.empty() &&
        digits[0] != '0' && number >= 1 && number <= kind.count) {
      return kind.base + number;
    }
  }
  return 0;
}

std::string DialogControlName(int id) {
  for (const auto& [n, i] : kDialogNames) {
    if (i == id) return std::string(n);
  }
  for (const Numbered& kind : kDialogNumbered) {
    if (id > kind.base && id <= kind.base + kind.count) {
      return std::string(kind.prefix) + std::to_string(id - kind.base);
    }
  }
  return {};
}

HWND FindControl(HWND root, int id) {
  std::pair<int, HWND> result{id, nullptr};
  ::EnumChildWindows(root, MatchId, reinterpret_cast<LPARAM>(&result));
  return result.second;
}

}  // namespace win32
