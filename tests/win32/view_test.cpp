// The Windows window's widgets, created and driven by messages under the
// system (or Wine): names, captions, the dialog's tab order, the virtual
// list, status and progress. What the handlers do is tested with the forms.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which they need.
#include <commctrl.h>
#include <imm.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/message_texts.h"
#include "app/unit2.h"
#include "app/win32/boxes.h"
#include "app/win32/control_names.h"
#include "app/win32/failure_list.h"
#include "app/win32/main_window.h"
#include "app/win32/settings_dialog.h"
#include "app/win32/wide_text.h"

namespace {

using win32::MainControlId;

std::string Text(HWND window) {
  wchar_t text[1024] = L"";
  ::GetWindowTextW(window, text, 1024);
  return win32::Utf8(text);
}

struct MainRecorder final : win32::MainEvents {
  std::vector<std::string> calls;
  bool mayClose = true;
  void FormShow() override { calls.push_back("FormShow"); }
  bool FormCloseQuery() override {
    calls.push_back("FormCloseQuery");
    return mayClose;
  }
  void FormClose() override { calls.push_back("FormClose"); }
  void MnuFileSFolderClick() override { calls.push_back("MnuFileSFolderClick"); }
  void MnuFileType0Click() override { calls.push_back("MnuFileType0Click"); }
  void MnuFileType1Click() override { calls.push_back("MnuFileType1Click"); }
  void MnuFileType2Click() override { calls.push_back("MnuFileType2Click"); }
  void MnuFileExitClick() override { calls.push_back("MnuFileExitClick"); }
  void MnuSetConvClick() override { calls.push_back("MnuSetConvClick"); }
  void Button3Click() override { calls.push_back("Button3Click"); }
  void Button4Click() override { calls.push_back("Button4Click"); }
  void MnuFileRecursiveClick() override { calls.push_back("MnuFileRecursiveClick"); }
  void MnuFileUndoClick() override { calls.push_back("MnuFileUndoClick"); }
  void ComboBox1Change(int) override { calls.push_back("ComboBox1Change"); }
  void TreeView1Click() override { calls.push_back("TreeView1Click"); }
  void TreeSelectionChanged(std::optional<int> node) override {
    calls.push_back("TreeSelectionChanged " + std::to_string(node.value_or(-1)));
  }
  void ListHighlightChanged(const unit1::RowSet&) override {
    calls.push_back("ListHighlightChanged");
  }
  void StringGrid1MouseDown(int, int) override { calls.push_back("StringGrid1MouseDown"); }
  void StringGrid1DblClick(std::optional<std::size_t>) override {
    calls.push_back("StringGrid1DblClick");
  }
  void StringGrid1DrawCell() override { calls.push_back("StringGrid1DrawCell"); }
  void StopCommand() override { calls.push_back("StopCommand"); }
};

struct SettingsRecorder final : win32::SettingsEvents {
  win32::SettingsDialog* dialog = nullptr;
  std::vector<std::string> calls;
  void FormShow() override { calls.push_back("FormShow"); }
  void PresetButtonClick(int n) override { calls.push_back("Button" + std::to_string(n)); }
  void ButtonA1Click() override {
    calls.push_back("ButtonA1Click");
    dialog->CloseDialog(true);
  }
  void ButtonA2Click() override {
    calls.push_back("ButtonA2Click");
    dialog->CloseDialog(false);
  }
};

class Win32Windows : public testing::Test {
 protected:
  void SetUp() override {
    main_.SetEvents(&events_);
    main_.SetSettingsDialog(&dialog_);
    settings_.dialog = &dialog_;
    dialog_.SetEvents(&settings_);
  }
  HWND Main(const char* name) { return main_.Control(MainControlId(name)); }

  win32::MainWindow main_{::GetModuleHandleW(nullptr)};
  win32::SettingsDialog dialog_{::GetModuleHandleW(nullptr), main_.hwnd()};
  MainRecorder events_;
  SettingsRecorder settings_;
};

TEST_F(Win32Windows, MainWindowControlsCarryTheirNamesCaptionsAndMenu) {
  EXPECT_EQ(Text(main_.hwnd()), "Quillon Ver.1.02");
  const std::vector<std::pair<const char*, const char*>> captions{{"Label1", "ファイルの種類"},
                                                                  {"Button1", "変換設定"},
                                                                  {"Label2", "保存先フォルダ"},
                                                                  {"Button3", "参照"},
                                                                  {"Button4", "変換"}};
  for (const auto& [name, caption] : captions) EXPECT_EQ(Text(Main(name)), caption) << name;
  HWND combo = Main("ComboBox1");
  ASSERT_EQ(::SendMessageW(combo, CB_GETCOUNT, 0, 0), 3);
  wchar_t item[64];
  ::SendMessageW(combo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(item));
  EXPECT_EQ(win32::Utf8(item), "全てのファイル(*.*)");
  for (const char* edit : {"Edit1", "Edit2"}) {
    EXPECT_NE(::GetWindowLongW(Main(edit), GWL_STYLE) & ES_READONLY, 0) << edit;
  }
  const LONG list = ::GetWindowLongW(Main("StringGrid1"), GWL_STYLE);
  EXPECT_EQ(list & (LVS_REPORT | LVS_OWNERDATA), LVS_REPORT | LVS_OWNERDATA);
  EXPECT_NE(ListView_GetExtendedListViewStyle(Main("StringGrid1")) & LVS_EX_FULLROWSELECT, 0u);
  EXPECT_NE(Main("TreeView1"), nullptr);
  EXPECT_NE(Main("Splitter1"), nullptr);

  RECT big;
  ::GetWindowRect(Main("Button4"), &big);
  const UINT dpi = ::GetDpiForWindow(main_.hwnd());
  EXPECT_EQ(big.right - big.left, ::MulDiv(75, dpi, 96));
  EXPECT_EQ(big.bottom - big.top, ::MulDiv(44, dpi, 96));
  LOGFONTW font{};
  ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(Main("Button4"), WM_GETFONT, 0, 0)),
               sizeof(font), &font);
  EXPECT_EQ(font.lfHeight, -::MulDiv(19, dpi, 96));

  const std::vector<std::pair<int, const char*>> items{
      {win32::kMnuFileSFolder, "検索フォルダの指定 (&S)"},
      {win32::kMnuFileType0, "全てのファイル(*.*) (&0)"},
      {win32::kMnuFileType1, "(*.jw?) (&1)"},
      {win32::kMnuFileType2, "(*.jww) (&2)"},
      {win32::kMnuFileDFolder, "保存先フォルダの指定 (&H)"},
      {win32::kMnuFileExit, "終了 (&X)"},
      {win32::kMnuSetConv, "変換設定 (&1)"}};
  HMENU menu = ::GetMenu(main_.hwnd());
  for (const auto& [id, caption] : items) {
    wchar_t text[128] = L"";
    ::GetMenuStringW(menu, static_cast<UINT>(id), text, 128, MF_BYCOMMAND);
    EXPECT_EQ(win32::Utf8(text), caption);
  }
  wchar_t top[64] = L"";
  ::GetMenuStringW(menu, 0, top, 64, MF_BYPOSITION);
  EXPECT_EQ(win32::Utf8(top), "ファイル (&F)");
  ::GetMenuStringW(menu, 1, top, 64, MF_BYPOSITION);
  EXPECT_EQ(win32::Utf8(top), "設定 (&S)");
}

TEST_F(Win32Windows, ControlsPassTheirEventsOnByName) {
  for (const char* button : {"Button1", "Button3", "Button4"}) {
    ::SendMessageW(Main(button), BM_CLICK, 0, 0);
  }
  ::SendMessageW(main_.hwnd(), WM_COMMAND, win32::kMnuFileType2, 0);
  ::SendMessageW(main_.hwnd(), WM_COMMAND, win32::kMnuFileExit, 0);
  unit1::FolderTree tree;
  const int root = tree.AddRoot("C:\\drawings\\", "C:\\drawings\\");
  tree.AddChild(root, "b", "b");
  tree.AddChild(root, "a", "a");
  main_.ShowTree(tree);
  HWND view = Main("TreeView1");
  EXPECT_EQ(TreeView_GetCount(view), 3u);
  EXPECT_EQ(main_.SelectedNode(), -1);
  TreeView_SelectItem(view, TreeView_GetChild(view, TreeView_GetRoot(view)));
  EXPECT_EQ(main_.SelectedNode(), 1);  // "b": the given order, not sorted again
  EXPECT_EQ(events_.calls, (std::vector<std::string>{
                               "MnuSetConvClick", "Button3Click", "Button4Click",
                               "MnuFileType2Click", "MnuFileExitClick", "TreeSelectionChanged 1"}));
}

TEST_F(Win32Windows, DialogFindsItsBoxesByNameAndTabsInTheDescribedOrder) {
  EXPECT_EQ(Text(dialog_.hwnd()), "変換設定");
  for (int n = 1; n <= 60; ++n) {
    HWND edit = dialog_.Control("Edit" + std::to_string(n));
    ASSERT_NE(edit, nullptr) << n;
    EXPECT_EQ(::SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 6);
    EXPECT_EQ(::ImmGetContext(edit), nullptr) << "the input method is off in Edit" << n;
  }
  EXPECT_EQ(Text(dialog_.Control("CheckBox1")), "全色置換");
  EXPECT_EQ(Text(dialog_.Control("CheckBox11")), "寸法図形の寸法値を変更する");
  EXPECT_EQ(Text(dialog_.Control("CheckBox12")), "ブロック図形の文字を変更する");
  EXPECT_EQ(Text(dialog_.Control("Button19")), "10");
  EXPECT_EQ(Text(dialog_.Control("Button20")), "OFF");
  EXPECT_EQ(Text(dialog_.Control("ButtonA1")), "ＯＫ (&Y)");
  EXPECT_EQ(Text(dialog_.Control("ButtonA2")), "キャンセル (&N)");
  EXPECT_EQ(dialog_.Control("Edit61"), nullptr);

  dialog_.SetRangeText(45, "0.333333333333333");  // set by the dialog: shown in full
  EXPECT_EQ(dialog_.RangeText(45), "0.333333333333333");
  dialog_.SetFlagChecked(12, true);
  EXPECT_TRUE(dialog_.FlagChecked(12));

  std::vector<std::string> expected;
  for (int n = 1; n <= 60; ++n) expected.push_back("Edit" + std::to_string(n));
  for (int n = 1; n <= 10; ++n) expected.push_back("CheckBox" + std::to_string(n));
  for (int n = 1; n <= 18; ++n) expected.push_back("Button" + std::to_string(n));
  for (const char* name :
       {"Button20", "Button21", "Button19", "CheckBox11", "CheckBox12", "ButtonA1", "ButtonA2"}) {
    expected.push_back(name);
  }
  ::ShowWindow(dialog_.hwnd(), SW_SHOWNA);
  std::vector<std::string> order;
  HWND first = ::GetNextDlgTabItem(dialog_.hwnd(), nullptr, FALSE);
  for (HWND at = first; at != nullptr && order.size() <= expected.size();) {
    order.push_back(win32::DialogControlName(::GetDlgCtrlID(at)));
    at = ::GetNextDlgTabItem(dialog_.hwnd(), at, FALSE);
    if (at == first) break;
  }
  ::ShowWindow(dialog_.hwnd(), SW_HIDE);
  EXPECT_EQ(order, expected);
}

TEST_F(Win32Windows, DialogTakesItsWordsFromTheFormsAndDrawsItsNotesOnItsOwnGrey) {
  for (int n = 1; n <= 21; ++n) {
    EXPECT_EQ(Text(dialog_.Control("Button" + std::to_string(n))), TForm2::PresetCaption(n)) << n;
  }
  HWND panel = ::GetParent(dialog_.Control("Edit1"));
  EXPECT_NE(::FindWindowExW(panel, nullptr, L"STATIC", L"文字種１０"), nullptr);
  for (std::string_view note : texts::kSettingsNotes) {
    HWND label = ::FindWindowExW(dialog_.hwnd(), nullptr, L"STATIC", win32::Wide(note).c_str());
    ASSERT_NE(label, nullptr) << note;
    HDC dc = ::GetDC(label);
    const auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(dialog_.hwnd(), WM_CTLCOLORSTATIC,
                                                               reinterpret_cast<WPARAM>(dc),
                                                               reinterpret_cast<LPARAM>(label)));
    EXPECT_EQ(::GetTextColor(dc), RGB(0, 0, 255));
    ::ReleaseDC(label, dc);
    LOGBRUSH fill{};
    ::GetObjectW(brush, sizeof(fill), &fill);
    EXPECT_EQ(fill.lbColor, ::GetSysColor(COLOR_BTNFACE))
        << "the note's background is the dialog's";
  }
}

TEST_F(Win32Windows, EnterPressesOkAndEscapeCancelsTheModalDialog) {
  ::PostMessageW(dialog_.Control("Edit5"), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_TRUE(dialog_.ShowModal());
  ::PostMessageW(dialog_.Control("Edit5"), WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_FALSE(dialog_.ShowModal());
  ::PostMessageW(dialog_.Control("Button13"), BM_CLICK, 0, 0);
  ::PostMessageW(dialog_.hwnd(), WM_CLOSE, 0, 0);  // the close box: Cancel
  EXPECT_FALSE(dialog_.ShowModal());
  EXPECT_EQ(settings_.calls,
            (std::vector<std::string>{"FormShow", "ButtonA1Click", "FormShow", "ButtonA2Click",
                                      "FormShow", "Button13", "ButtonA2Click"}));
  EXPECT_TRUE(::IsWindowEnabled(main_.hwnd()));
  EXPECT_FALSE(::IsWindowVisible(dialog_.hwnd()));
}

TEST_F(Win32Windows, TheVirtualListShowsTheModelsRows) {
  main_.ShowHeaders({"ファイル名", "Bytes", "種類", "図面メモ", "更新日時", "属性"});
  std::vector<unit1::FileRow> rows(10000);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    rows[i].nameText = "図面" + std::to_string(i) + ".JWW";
    rows[i].memo = "メモ" + std::to_string(i);
  }
  main_.ShowRows(rows, unit1::RowSet{2, 3, 4});
  HWND list = Main("StringGrid1");
  EXPECT_EQ(ListView_GetItemCount(list), 10000);
  wchar_t cell[64] = L"";
  ListView_GetItemText(list, 9999, 3, cell, 64);
  EXPECT_EQ(win32::Utf8(cell), "メモ9999");
  ListView_GetItemText(list, 0, 0, cell, 64);
  EXPECT_EQ(win32::Utf8(cell), "図面0.JWW");
  LVCOLUMNW column{};
  column.mask = LVCF_TEXT;
  column.pszText = cell;
  column.cchTextMax = 64;
  ListView_GetColumn(list, 3, &column);
  EXPECT_EQ(win32::Utf8(cell), "図面メモ");
  EXPECT_EQ(main_.Highlight(), (unit1::RowSet{2, 3, 4}));
  main_.ShowRows(rows, {});
  EXPECT_TRUE(main_.Highlight().empty());

  main_.SetColumnWidth(1, 90);
  EXPECT_EQ(main_.ColumnWidth(1), 90);
  main_.SetGeometry(unit1::WindowId::kSettings, {10, 20, 748, 502});
  const unit1::WindowGeometry at = main_.Geometry(unit1::WindowId::kSettings);
  EXPECT_EQ(at.x, 10);
  EXPECT_EQ(at.width, 748);
  EXPECT_EQ(at.height, 502);
}

TEST_F(Win32Windows, StatusAndProgressFollowTheRun) {
  HWND bar = Main("StatusBar1");
  main_.SetStatusText("変換作業を完了しました。");
  EXPECT_EQ(Text(bar), "変換作業を完了しました。");
  RECT before;
  ::GetWindowRect(main_.hwnd(), &before);
  main_.SetStatusText("フォルダ「" + std::string(420, 'x') + "」");
  EXPECT_TRUE(Text(bar).ends_with("...")) << "a long text is cut with an ellipsis";
  RECT after;
  ::GetWindowRect(main_.hwnd(), &after);
  EXPECT_EQ(after.right - after.left, before.right - before.left);

  HWND progress = ::GetDlgItem(bar, win32::kProgressBar1);
  HWND stop = ::GetDlgItem(bar, win32::kButtonStop);
  EXPECT_FALSE(::GetWindowLongW(progress, GWL_STYLE) & WS_VISIBLE);
  main_.ShowProgress(3, 10);
  EXPECT_TRUE(::GetWindowLongW(progress, GWL_STYLE) & WS_VISIBLE);
  EXPECT_TRUE(::GetWindowLongW(stop, GWL_STYLE) & WS_VISIBLE);
  EXPECT_EQ(::SendMessageW(progress, PBM_GETPOS, 0, 0), 3);
  EXPECT_EQ(::SendMessageW(progress, PBM_GETRANGE, FALSE, 0), 10);
  EXPECT_EQ(Text(stop), "中止");
  // During a run only the stop command takes input.
  ::PostMessageW(Main("Button4"), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  ::PostMessageW(Main("Button4"), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  main_.ProcessPendingEvents();
  ::SendMessageW(stop, BM_CLICK, 0, 0);
  main_.HideProgress();
  EXPECT_FALSE(::GetWindowLongW(progress, GWL_STYLE) & WS_VISIBLE);
  EXPECT_EQ(events_.calls, std::vector<std::string>{"StopCommand"});
}

TEST_F(Win32Windows, EscapeBetweenTwoPollsIsNotMissedAndTheCloseBoxIsHeardDuringARun) {
  main_.ShowProgress(1, 10);
  // Pressed and released between two polls: the key is up when asked.
  ::PostMessageW(Main("StringGrid1"), WM_KEYDOWN, VK_ESCAPE, 0);
  ::PostMessageW(Main("StringGrid1"), WM_KEYUP, VK_ESCAPE, 0xC0000001);
  main_.ProcessPendingEvents();
  EXPECT_TRUE(main_.EscapePressed());
  EXPECT_FALSE(main_.EscapePressed()) << "one press answers once";

  // Alt+F4 and the close box reach the window during a run; while the form
  // says no, the window stays.
  events_.mayClose = false;
  ::PostMessageW(main_.hwnd(), WM_SYSKEYDOWN, VK_F4, 1 << 29);
  ::Sleep(50);  // a run takes the messages at most every few milliseconds
  main_.ProcessPendingEvents();
  ::Sleep(50);
  main_.ProcessPendingEvents();
  EXPECT_TRUE(::IsWindow(main_.hwnd()));
  EXPECT_EQ(events_.calls, std::vector<std::string>{"FormCloseQuery"});
  main_.HideProgress();
  events_.mayClose = true;
  HWND window = main_.hwnd();
  main_.CloseWindow();
  main_.ProcessPendingEvents();
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_EQ(events_.calls,
            (std::vector<std::string>{"FormCloseQuery", "FormCloseQuery", "FormClose"}));
}

TEST_F(Win32Windows, AMaximisedWindowComesBackMaximisedOverItsNormalPlace) {
  main_.SetGeometry(unit1::WindowId::kMain, {30, 40, 700, 500, true});
  main_.Show(SW_SHOWNORMAL);
  EXPECT_TRUE(::IsZoomed(main_.hwnd()));
  unit1::WindowGeometry at = main_.Geometry(unit1::WindowId::kMain);
  EXPECT_TRUE(at.maximised);
  EXPECT_EQ(at.x, 30);
  EXPECT_EQ(at.y, 40);
  EXPECT_EQ(at.width, 700);
  EXPECT_EQ(at.height, 500);
  main_.SetGeometry(unit1::WindowId::kMain, {50, 60, 640, 480, false});
  EXPECT_FALSE(::IsZoomed(main_.hwnd()));
  at = main_.Geometry(unit1::WindowId::kMain);
  EXPECT_FALSE(at.maximised);
  EXPECT_EQ(at.x, 50);
  EXPECT_EQ(at.width, 640);
}

TEST_F(Win32Windows, AtItsMinimumSizeNoControlOverlapsAnother) {
  MINMAXINFO limits{};
  ::SendMessageW(main_.hwnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  const UINT dpi = ::GetDpiForWindow(main_.hwnd());
  EXPECT_GE(limits.ptMinTrackSize.x, ::MulDiv(480, dpi, 96));
  main_.SetPaneWidth(400);  // a wide tree pane gives way to the controls
  ::SetWindowPos(main_.hwnd(), nullptr, 0, 0, limits.ptMinTrackSize.x, limits.ptMinTrackSize.y,
                 SWP_NOZORDER | SWP_NOMOVE);
  RECT client;
  ::GetClientRect(main_.hwnd(), &client);
  ::MapWindowPoints(main_.hwnd(), nullptr, reinterpret_cast<POINT*>(&client), 2);
  const std::vector<const char*> names{"Edit1",     "TreeView1", "Splitter1",   "Label1",
                                       "ComboBox1", "Button1",   "Label2",      "Edit2",
                                       "Button3",   "Button4",   "StringGrid1", "StatusBar1"};
  std::vector<RECT> boxes;
  for (const char* name : names) {
    RECT box;
    ::GetWindowRect(Main(name), &box);
    EXPECT_GT(box.right - box.left, 0) << name;
    EXPECT_GT(box.bottom - box.top, 0) << name;
    RECT inside;
    ::IntersectRect(&inside, &box, &client);
    EXPECT_TRUE(::EqualRect(&inside, &box)) << name << " lies outside the window";
    boxes.push_back(box);
  }
  for (std::size_t i = 0; i < boxes.size(); ++i) {
    for (std::size_t j = i + 1; j < boxes.size(); ++j) {
      RECT both;
      EXPECT_FALSE(::IntersectRect(&both, &boxes[i], &boxes[j])) << names[i] << " / " << names[j];
    }
  }
}

// When the timer fires: reads the failure list then open, sorts it by its
// file column, copies it, hides the skipped files, and closes it.
struct FailureListSeen {
  int columns = 0;
  std::vector<std::string> files;  // after the sort, then after hiding the skipped
  std::wstring copied;
  bool reasonFits = false;
};
FailureListSeen g_failures;
std::vector<std::string> Files(HWND list) {
  std::vector<std::string> files;
  for (int row = 0; row < ListView_GetItemCount(list); ++row) {
    wchar_t cell[256] = L"";
    ListView_GetItemText(list, row, 0, cell, 256);
    files.push_back(win32::Utf8(cell));
  }
  return files;
}
void CALLBACK ReadFailureList(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND window = ::FindWindowW(win32::kFailureListClass, nullptr);
  if (window == nullptr) return;
  ::KillTimer(nullptr, timer);
  HWND list = ::GetDlgItem(window, win32::kFailureLines);
  g_failures.columns = Header_GetItemCount(ListView_GetHeader(list));
  g_failures.reasonFits = ListView_GetColumnWidth(list, 2) >=
                          ListView_GetStringWidth(list, L"図面データが壊れています。");
  NMLISTVIEW click{};
  click.hdr = {list, static_cast<UINT_PTR>(win32::kFailureLines), LVN_COLUMNCLICK};
  click.iItem = -1;
  click.iSubItem = 0;
  ::SendMessageW(window, WM_NOTIFY, win32::kFailureLines, reinterpret_cast<LPARAM>(&click));
  g_failures.files = Files(list);
  ::SendMessageW(window, WM_COMMAND, win32::kFailureCopy, 0);
  if (::OpenClipboard(nullptr)) {
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
      g_failures.copied = static_cast<const wchar_t*>(::GlobalLock(data));
      ::GlobalUnlock(data);
    }
    ::CloseClipboard();
  }
  ::SendMessageW(::GetDlgItem(window, win32::kFailureShowSkipped), BM_CLICK, 0, 0);
  for (const std::string& file : Files(list)) g_failures.files.push_back(file);
  ::PostMessageW(window, WM_COMMAND, IDOK, 0);
}

TEST(Win32FailureList, SortsByColumnCopiesAsTextAndShowsTheSkippedFiles) {
  using unit1::FailureKind;
  const std::vector<unit1::FailureLine> lines{
      {"C.JWW", "読み込み", "図面データが壊れています。", FailureKind::kFailed},
      {"A.JWC", "", "拡張子が .JWW ではありません。", FailureKind::kSkipped},
      {"B.JWW", "保存", "ファイルを書き込めません。", FailureKind::kFailed}};
  ::SetTimer(nullptr, 0, 100, ReadFailureList);
  win32::ShowFailureList(nullptr, "変換できなかったファイルがあります（2 件）。", lines);
  EXPECT_EQ(g_failures.columns, 3);
  EXPECT_TRUE(g_failures.reasonFits);
  EXPECT_EQ(g_failures.files,
            (std::vector<std::string>{"A.JWC", "B.JWW", "C.JWW", "B.JWW", "C.JWW"}));
  EXPECT_EQ(g_failures.copied,
            L"A.JWC\t\t拡張子が .JWW ではありません。\r\n"
            L"B.JWW\t保存\tファイルを書き込めません。\r\n"
            L"C.JWW\t読み込み\t図面データが壊れています。\r\n");
}

// Lets the window take its messages for `ms` milliseconds, through the
// same look the program's message loop takes.
void Pump(win32::MainWindow& window, DWORD ms) {
  const DWORD end = ::GetTickCount() + ms;
  do {
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      if (window.PreTranslate(message)) continue;
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    ::Sleep(10);
  } while (::GetTickCount() < end);
}

TEST_F(Win32Windows, TheWindowIsWorkedByKeyboard) {
  main_.Show(SW_SHOWNORMAL);
  std::vector<std::string> order;
  HWND first = Main("TreeView1");
  for (HWND at = first; at != nullptr && order.size() < 10;) {
    order.push_back(win32::MainControlName(::GetDlgCtrlID(at)));
    at = ::GetNextDlgTabItem(main_.hwnd(), at, FALSE);
    if (at == first) break;
  }
  EXPECT_EQ(order, (std::vector<std::string>{"TreeView1", "StringGrid1", "ComboBox1", "Button1",
                                             "Edit2", "Button3", "Button4"}));
  ::SetFocus(Main("TreeView1"));
  ::PostMessageW(Main("TreeView1"), WM_KEYDOWN, VK_TAB, 0);
  Pump(main_, 50);
  EXPECT_EQ(::GetFocus(), Main("StringGrid1")) << "Tab moves from the tree to the list";

  // A folder highlighted by keys is listed once, after the highlight rested.
  unit1::FolderTree tree;
  const int root = tree.AddRoot("C:\\drawings\\", "C:\\drawings\\");
  tree.AddChild(root, "a", "a");
  tree.AddChild(root, "b", "b");
  main_.ShowTree(tree);
  HWND view = Main("TreeView1");
  TreeView_SelectItem(view, TreeView_GetRoot(view));
  ::SetFocus(view);
  events_.calls.clear();
  ::PostMessageW(view, WM_KEYDOWN, VK_DOWN, 0);
  Pump(main_, 100);
  ::PostMessageW(view, WM_KEYDOWN, VK_DOWN, 0);
  Pump(main_, unit1::kKeyListingDelayMs / 2);
  EXPECT_EQ(std::count(events_.calls.begin(), events_.calls.end(), "TreeView1Click"), 0);
  Pump(main_, unit1::kKeyListingDelayMs * 2);
  EXPECT_EQ(std::count(events_.calls.begin(), events_.calls.end(), "TreeView1Click"), 1);
  EXPECT_EQ(main_.SelectedNode(), 2);

  // Enter on the list converts; so does the menu's 変換 (Ctrl+Enter).
  std::vector<unit1::FileRow> rows(3);
  main_.ShowRows(rows, {});
  ::SetFocus(Main("StringGrid1"));
  events_.calls.clear();
  ::PostMessageW(Main("StringGrid1"), WM_KEYDOWN, VK_RETURN, 0);
  Pump(main_, 50);
  ::SendMessageW(main_.hwnd(), WM_COMMAND, win32::kMnuFileConvert, 0);
  EXPECT_EQ(events_.calls, (std::vector<std::string>{"Button4Click", "Button4Click"}));
  wchar_t text[64] = L"";
  ::GetMenuStringW(::GetMenu(main_.hwnd()), win32::kMnuFileConvert, text, 64, MF_BYCOMMAND);
  EXPECT_EQ(win32::Utf8(text), "変換 (&C)\tCtrl+Enter");
  ::GetMenuStringW(::GetMenu(main_.hwnd()), win32::kMnuFileRecursive, text, 64, MF_BYCOMMAND);
  EXPECT_EQ(win32::Utf8(text), "フォルダごと変換 (&R)");
  events_.calls.clear();
  ::SendMessageW(main_.hwnd(), WM_COMMAND, win32::kMnuFileRecursive, 0);
  EXPECT_EQ(events_.calls, std::vector<std::string>{"MnuFileRecursiveClick"});
  ::GetMenuStringW(::GetMenu(main_.hwnd()), win32::kMnuFileUndo, text, 64, MF_BYCOMMAND);
  EXPECT_EQ(win32::Utf8(text), "変換を元に戻す (&U)");
  auto undoGreyed = [this] {
    return (::GetMenuState(::GetMenu(main_.hwnd()), win32::kMnuFileUndo, MF_BYCOMMAND) &
            MF_GRAYED) != 0;
  };
  main_.EnableUndo(true);
  EXPECT_FALSE(undoGreyed());
  main_.EnableUndo(false);
  EXPECT_TRUE(undoGreyed());
  events_.calls.clear();
  ::SendMessageW(main_.hwnd(), WM_COMMAND, win32::kMnuFileUndo, 0);
  EXPECT_EQ(events_.calls, std::vector<std::string>{"MnuFileUndoClick"});
}

// When the timer fires: notes whether Yes is the default button of the box
// then open, and presses Escape in it.
bool g_yesIsDefault = false;
void CALLBACK PressEscapeInBox(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND box = ::FindWindowW(L"#32770", L"Quillon");
  if (box == nullptr) return;
  ::KillTimer(nullptr, timer);
  HWND yes = ::GetDlgItem(box, IDYES);
  g_yesIsDefault =
      yes != nullptr && (::GetWindowLongW(yes, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
  ::PostMessageW(yes != nullptr ? yes : ::GetDlgItem(box, IDOK), WM_KEYDOWN, VK_ESCAPE, 0);
}

unit1::BoxAnswer AnswerWithEscape(unit1::BoxButtons buttons) {
  ::SetTimer(nullptr, 0, 100, PressEscapeInBox);
  return win32::ShowMessageBox(nullptr, unit1::BoxIcon::kQuestion,
                               "変換を開始します。よろしいですか？", buttons);
}

TEST(Win32Boxes, YesIsTheDefaultAndEscapeAnswersNo) {
  EXPECT_EQ(AnswerWithEscape(unit1::BoxButtons::kYesNo), unit1::BoxAnswer::kNo);
  EXPECT_TRUE(g_yesIsDefault);
  EXPECT_EQ(AnswerWithEscape(unit1::BoxButtons::kOk), unit1::BoxAnswer::kOk);
}

}  // namespace

int main(int argc, char** argv) {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES;
  ::InitCommonControlsEx(&controls);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
