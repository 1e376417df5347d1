#include "app/win32/main_window.h"

#include <windowsx.h>

#include <algorithm>
#include <cwchar>

#include "app/message_texts.h"
#include "app/settings_file.h"
#include "app/win32/boxes.h"
#include "app/win32/control_names.h"
#include "app/win32/resources.h"
#include "app/win32/screen_scale.h"
#include "app/win32/settings_dialog.h"
#include "app/win32/wide_text.h"
#include "app/win32/window_class.h"

namespace win32 {

namespace {

constexpr wchar_t kMainClass[] = L"QuillonTForm1";
constexpr wchar_t kSplitterClass[] = L"QuillonSplitter";

constexpr int kSizeColumn = 1;

// Messages the window posts to itself, so that a handler runs after the
// control's own handling of the click or key.
enum : UINT {
  kTreeClicked = WM_APP + 1,
  kSelectionChanged,
  kSplitterMoved,
  kSizeColumnResized,
};

// The timer that lists a folder highlighted by keys once the highlight rests.
constexpr UINT_PTR kKeyListingTimer = 1;

HWND CreateChild(HWND parent, DWORD exStyle, const wchar_t* kind, const wchar_t* text, DWORD style,
                 int id) {
  return ::CreateWindowExW(exStyle, kind, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           ::GetModuleHandleW(nullptr), nullptr);
}

LRESULT CALLBACK SplitterProc(HWND splitter, UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_LBUTTONDOWN:
      ::SetCapture(splitter);
      return 0;
    case WM_MOUSEMOVE:
      if (::GetCapture() == splitter) {
        POINT at{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
        ::MapWindowPoints(splitter, ::GetParent(splitter), &at, 1);
        ::SendMessageW(::GetParent(splitter), kSplitterMoved, static_cast<WPARAM>(at.x),
                       ::GetDlgCtrlID(splitter));
      }
      return 0;
    case WM_LBUTTONUP:
      ::ReleaseCapture();
      return 0;
    default:
      return ::DefWindowProcW(splitter, message, wparam, lparam);
  }
}

// Edit1 is read-only; a click on it chooses the search folder.
LRESULT CALLBACK Edit1Proc(HWND edit, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                           DWORD_PTR) {
  if (message == WM_LBUTTONUP) {
    ::PostMessageW(::GetAncestor(edit, GA_ROOT), WM_COMMAND, kMnuFileSFolder, 0);
  }
  return ::DefSubclassProc(edit, message, wparam, lparam);
}

// The stop button lives in the status bar, which passes its click on.
LRESULT CALLBACK StatusBarProc(HWND bar, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                               DWORD_PTR) {
  if (message == WM_COMMAND) return ::SendMessageW(::GetParent(bar), message, wparam, lparam);
  return ::DefSubclassProc(bar, message, wparam, lparam);
}

// Ctrl+A highlights every row, as in a grid.
LRESULT CALLBACK ListProc(HWND list, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                          DWORD_PTR) {
  if (message == WM_KEYDOWN && wparam == 'A' && (::GetKeyState(VK_CONTROL) & 0x8000) != 0) {
    ListView_SetItemState(list, -1, LVIS_SELECTED, LVIS_SELECTED);
    return 0;
  }
  return ::DefSubclassProc(list, message, wparam, lparam);
}

// Where a button went down on the list's header, in its own pixels.
LRESULT CALLBACK HeaderProc(HWND header, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                            DWORD_PTR press) {
  if (message == WM_LBUTTONDOWN || message == WM_RBUTTONDOWN) {
    *reinterpret_cast<POINT*>(press) = POINT{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
  }
  return ::DefSubclassProc(header, message, wparam, lparam);
}

}  // namespace

MainWindow::MainWindow(HINSTANCE instance) {
  RegisterWindowClass(instance, kSplitterClass, SplitterProc, nullptr, IDC_SIZEWE);
  WNDCLASSEXW kind{};
  kind.cbSize = sizeof(kind);
  kind.lpfnWndProc = ObjectWindowProc<MainWindow>;
  kind.hInstance = instance;
  kind.hIcon = ::LoadIconW(instance, MAKEINTRESOURCEW(kIconId));
  kind.hIconSm = static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(kIconId), IMAGE_ICON,
                                                 ::GetSystemMetrics(SM_CXSMICON),
                                                 ::GetSystemMetrics(SM_CYSMICON), 0));
  kind.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  kind.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  kind.lpszClassName = kMainClass;
  ::RegisterClassExW(&kind);
  ACCEL convert{FCONTROL | FVIRTKEY, VK_RETURN, kMnuFileConvert};
  shortcuts_ = ::CreateAcceleratorTableW(&convert, 1);
  const unit1::SessionSettings builtIn = unit1::BuiltInSettings({});
  paneWidth_ = builtIn.paneWidth;
  previewWidth_ = builtIn.previewWidth;
  columnWidths_ = builtIn.columnWidths;
  const unit1::WindowGeometry& place = builtIn.mainWindow;
  window_ = ::CreateWindowExW(0, kMainClass, Wide(texts::kMainCaption).c_str(),
                              WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, place.x, place.y, place.width,
                              place.height, nullptr, nullptr, instance, this);
  const std::lock_guard<std::mutex> lock(taskLock_);
  taskTarget_ = window_;
}

MainWindow::~MainWindow() {
  if (window_ != nullptr) ::DestroyWindow(window_);
  for (HGDIOBJ font : {font_, listFont_, bigFont_}) {
    if (font != nullptr) ::DeleteObject(font);
  }
  if (folderImages_ != nullptr) ImageList_Destroy(folderImages_);
  if (rowHeight_ != nullptr) ImageList_Destroy(rowHeight_);
  if (shortcuts_ != nullptr) ::DestroyAcceleratorTable(shortcuts_);
}

void MainWindow::Show(int how) {
  if (!shown_) {
    shown_ = true;
    Forward(&MainEvents::FormShow);
    if (startMaximised_ && how != SW_SHOWMINIMIZED && how != SW_MINIMIZE &&
        how != SW_SHOWMINNOACTIVE) {
      how = SW_SHOWMAXIMIZED;
    }
  }
  ::ShowWindow(window_, how);
  ::UpdateWindow(window_);
}

bool MainWindow::PreTranslate(MSG& message) {
  if (window_ == nullptr) return false;
  // The wheel zooms the picture under the pointer wherever the focus is,
  // and scrolls what is under the pointer while the picture has the focus.
  if (message.message == WM_MOUSEWHEEL && preview_ != nullptr) {
    const POINT at{GET_X_LPARAM(message.lParam), GET_Y_LPARAM(message.lParam)};
    HWND under = ::WindowFromPoint(at);
    HWND pane = preview_->hwnd();
    if (under != message.hwnd && (under == pane || message.hwnd == pane) &&
        (under == window_ || ::IsChild(window_, under))) {
      ::SendMessageW(under, WM_MOUSEWHEEL, message.wParam, message.lParam);
      return true;
    }
  }
  const bool ours = message.hwnd == window_ || ::IsChild(window_, message.hwnd);
  // A press counts while a long loop takes the messages; one made while the
  // window was idle would stop the next loop at once.
  if (ours && message.message == WM_KEYDOWN && message.wParam == VK_ESCAPE) escapeSeen_ = pumping_;
  if (!ours) return false;
  if (::TranslateAcceleratorW(window_, shortcuts_, &message) != 0) return true;
  // Tab and Shift+Tab move between the controls, Enter is OnEnter's.
  return ::IsDialogMessageW(window_, &message) != FALSE;
}

LRESULT MainWindow::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE:
      CreateMenuBar();
      CreateControls();
      ApplyDpi(WindowDpi(window_));
      return 0;
    case WM_SIZE:
      LayOut();
      return 0;
    case WM_GETMINMAXINFO:
      if (Control(kStatusBar1) != nullptr) {
        reinterpret_cast<MINMAXINFO*>(lparam)->ptMinTrackSize = MinimumSize();
      }
      return 0;
    case WM_DPICHANGED: {
      ApplyDpi(HIWORD(wparam));
      MoveToSuggestedPlace(window_, lparam);
      return 0;
    }
    case WM_COMMAND:
      OnCommand(LOWORD(wparam), HIWORD(wparam));
      return 0;
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<NMHDR*>(lparam));
    case kTreeClicked:
      ::KillTimer(window_, kKeyListingTimer);
      Forward(&MainEvents::TreeView1Click);
      return 0;
    case WM_TIMER:
      if (wparam != kKeyListingTimer) break;
      ::KillTimer(window_, kKeyListingTimer);
      if (SelectedNode() >= 0) Forward(&MainEvents::TreeView1Click);
      return 0;
    case kSelectionChanged:
      selectionPending_ = false;
      Forward(&MainEvents::ListHighlightChanged, Highlight());
      return 0;
    case kSplitterMoved:
      DragSplitter(static_cast<int>(lparam), static_cast<int>(wparam));
      return 0;
    case kRunTask: {
      const std::unique_ptr<std::function<void()>> task(
          reinterpret_cast<std::function<void()>*>(lparam));
      if (window_ != nullptr) RunGuarded(ModalOwner(), *task);
      return 0;
    }
    case kSizeColumnResized:
      Forward(&MainEvents::StringGrid1DrawCell);
      return 0;
    case WM_CLOSE: {
      bool mayClose = true;
      if (events_ != nullptr) RunGuarded(window_, [&] { mayClose = events_->FormCloseQuery(); });
      if (!mayClose) return 0;
      Forward(&MainEvents::FormClose);
      ::DestroyWindow(window_);
      return 0;
    }
    case WM_DESTROY:
      DropPostedTasks();
      window_ = nullptr;
      ::PostQuitMessage(0);
      return 0;
    default:
      break;
  }
  return ::DefWindowProcW(window_, message, wparam, lparam);
}

void MainWindow::CreateMenuBar() {
  HMENU types = ::CreatePopupMenu();
  ::AppendMenuW(types, MF_STRING, kMnuFileType0, Wide(texts::kMenuFileTypes[0]).c_str());
  ::AppendMenuW(types, MF_STRING, kMnuFileType1, Wide(texts::kMenuFileTypes[1]).c_str());
  ::AppendMenuW(types, MF_STRING, kMnuFileType2, Wide(texts::kMenuFileTypes[2]).c_str());
  HMENU file = ::CreatePopupMenu();
  ::AppendMenuW(file, MF_STRING, kMnuFileSFolder, Wide(texts::kMenuSearchFolder).c_str());
  ::AppendMenuW(file, MF_POPUP, reinterpret_cast<UINT_PTR>(types),
                Wide(texts::kMenuFileType).c_str());
  ::AppendMenuW(file, MF_STRING, kMnuFileDFolder, Wide(texts::kMenuDestination).c_str());
  ::AppendMenuW(file, MF_STRING, kMnuFileConvert,
                (Wide(texts::kMenuConvert) + L"\tCtrl+Enter").c_str());
  ::AppendMenuW(file, MF_STRING, kMnuFileRecursive, Wide(texts::kMenuConvertTree).c_str());
  // Greyed until the destination folder is known to hold a journal.
  ::AppendMenuW(file, MF_STRING | MF_GRAYED, kMnuFileUndo, Wide(texts::kMenuUndo).c_str());
  ::AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(file, MF_STRING, kMnuFileExit, Wide(texts::kMenuExit).c_str());
  HMENU settings = ::CreatePopupMenu();
  ::AppendMenuW(settings, MF_STRING, kMnuSetConv, Wide(texts::kMenuConversionSettings).c_str());
  HMENU bar = ::CreateMenu();
  ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), Wide(texts::kMenuFile).c_str());
  ::AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(settings),
                Wide(texts::kMenuSettings).c_str());
  ::SetMenu(window_, bar);
}

void MainWindow::CreateControls() {
  HWND edit1 =
      CreateChild(window_, WS_EX_CLIENTEDGE, L"EDIT", L"", ES_READONLY | ES_AUTOHSCROLL, kEdit1);
  ::SetWindowSubclass(edit1, Edit1Proc, 1, 0);
  CreateChild(window_, WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
              WS_TABSTOP | TVS_HASLINES | TVS_HASBUTTONS | TVS_LINESATROOT | TVS_SHOWSELALWAYS,
              kTreeView1);
  CreateChild(window_, 0, kSplitterClass, L"", 0, kSplitter1);
  CreateChild(window_, 0, kSplitterClass, L"", 0, kSplitter2);
  CreateChild(window_, 0, L"STATIC", Wide(texts::kFileTypeLabel).c_str(), SS_LEFT, kLabel1);
  HWND combo = CreateChild(window_, 0, WC_COMBOBOXW, L"",
                           WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST, kComboBox1);
  for (std::string_view item : texts::kFileTypeItems) {
    ::SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(item).c_str()));
  }
  CreateChild(window_, 0, L"BUTTON", Wide(texts::kSettingsButton).c_str(),
              WS_TABSTOP | BS_PUSHBUTTON, kButton1);
  CreateChild(window_, 0, L"STATIC", Wide(texts::kDestinationLabel).c_str(), SS_LEFT, kLabel2);
  CreateChild(window_, WS_EX_CLIENTEDGE, L"EDIT", L"", ES_READONLY | ES_AUTOHSCROLL | WS_TABSTOP,
              kEdit2);
  CreateChild(window_, 0, L"BUTTON", Wide(texts::kBrowseButton).c_str(), WS_TABSTOP | BS_PUSHBUTTON,
              kButton3);
  CreateChild(window_, 0, L"BUTTON", Wide(texts::kConvertButton).c_str(),
              WS_TABSTOP | BS_PUSHBUTTON, kButton4);
  HWND list =
      CreateChild(window_, WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                  WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SHOWSELALWAYS, kStringGrid1);
  ListView_SetExtendedListViewStyle(list,
                                    LVS_EX_FULLROWSELECT | LVS_EX_DOUBLEBUFFER | LVS_EX_INFOTIP);
  ::SetWindowSubclass(list, ListProc, 1, 0);
  // Tab goes from the tree to the list, then along the controls above it.
  ::SetWindowPos(list, Control(kTreeView1), 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  ::SetWindowSubclass(ListView_GetHeader(list), HeaderProc, 1,
                      reinterpret_cast<DWORD_PTR>(&headerPress_));
  for (int column = 0; column < unit1::kColumnCount; ++column) {
    LVCOLUMNW header{};
    header.mask = LVCF_WIDTH | LVCF_TEXT | LVCF_FMT;
    header.fmt =
        column == kSizeColumn || column == unit1::kRetypeColumn ? LVCFMT_RIGHT : LVCFMT_LEFT;
    header.cx = columnWidths_[static_cast<std::size_t>(column)];
    header.pszText = const_cast<wchar_t*>(L"");
    ListView_InsertColumn(list, column, &header);
  }
  preview_ = std::make_unique<PreviewPane>(window_, kPreview1);
  HWND status = CreateChild(window_, 0, STATUSCLASSNAMEW, L"", SBARS_SIZEGRIP, kStatusBar1);
  ::SetWindowSubclass(status, StatusBarProc, 1, 0);
  HWND progress = ::CreateWindowExW(0, PROGRESS_CLASSW, L"", WS_CHILD, 0, 0, 0, 0, status,
                                    reinterpret_cast<HMENU>(kProgressBar1),
                                    ::GetModuleHandleW(nullptr), nullptr);
  ::SendMessageW(progress, PBM_SETRANGE32, 0, 1);
  ::CreateWindowExW(0, L"BUTTON", Wide(texts::kStopButton).c_str(), WS_CHILD | BS_PUSHBUTTON, 0, 0,
                    0, 0, status, reinterpret_cast<HMENU>(kButtonStop), ::GetModuleHandleW(nullptr),
                    nullptr);
  SetStatusText("");
}

void MainWindow::ApplyDpi(UINT dpi) {
  const UINT old = dpi_;
  dpi_ = dpi;
  for (HFONT* font : {&font_, &listFont_, &bigFont_}) {
    if (*font != nullptr) ::DeleteObject(*font);
  }
  font_ = CreateProportionalGothic(12, dpi);
  listFont_ = CreateFixedGothic(13, dpi);
  bigFont_ = CreateProportionalGothic(19, dpi);
  for (int id : {kEdit1, kTreeView1, kLabel1, kComboBox1, kButton1, kLabel2, kEdit2, kButton3}) {
    SetFont(Control(id), font_);
  }
  SetFont(Control(kStatusBar1), font_);
  SetFont(::GetDlgItem(Control(kStatusBar1), kButtonStop), font_);
  SetFont(Control(kButton4), bigFont_);
  SetFont(Control(kStringGrid1), listFont_);
  SetFont(Control(kPreview1), font_);

  // The folder picture, and the rows' height of 24 pixels through a list of
  // pictures that high (a report list's rows are as high as its pictures).
  if (folderImages_ != nullptr) ImageList_Destroy(folderImages_);
  const int icon = Scale(16, dpi);
  folderImages_ = ImageList_Create(icon, icon, ILC_COLOR32 | ILC_MASK, 1, 1);
  HICON folder = static_cast<HICON>(::LoadImageW(
      ::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kIconId), IMAGE_ICON, icon, icon, 0));
  ImageList_AddIcon(folderImages_, folder);
  ::DestroyIcon(folder);
  TreeView_SetImageList(Control(kTreeView1), folderImages_, TVSIL_NORMAL);
  TreeView_SetIndent(Control(kTreeView1), Scale(19, dpi));
  if (rowHeight_ != nullptr) ImageList_Destroy(rowHeight_);
  rowHeight_ = ImageList_Create(1, Scale(24, dpi), ILC_COLOR32, 1, 1);
  ListView_SetImageList(Control(kStringGrid1), rowHeight_, LVSIL_SMALL);
  if (old != dpi) {
    for (int column = 0; column < unit1::kColumnCount; ++column) {
      const int width = ListView_GetColumnWidth(Control(kStringGrid1), column);
      ListView_SetColumnWidth(Control(kStringGrid1), column, ::MulDiv(width, dpi, old));
    }
  }
  LayOut();
}

namespace {

// The narrowest the right pane's row of controls goes without overlapping:
// the file type and "変換設定" (240), then "保存先フォルダ" over the
// destination box (96) beside "変換" (79 with its margin); and the
// narrowest tree pane left at the window's minimum size.
constexpr int kRightPaneMinimum = 240 + 96 + 83;
constexpr int kPaneMinimum = 60;
constexpr int kSplitterWidth = 3;
constexpr int kTopPanelHeight = 48;
constexpr int kListMinimumHeight = 96;
constexpr int kListMinimumWidth = 120;  // the preview gives way to the list
constexpr int kPreviewMinimum = 60;

}  // namespace

// Every change of layout moves the controls at once, without copying their
// old pictures, and repaints them all: nothing stale stays on the screen.
void MainWindow::LayOut() {
  ::SendMessageW(Control(kStatusBar1), WM_SIZE, 0, 0);
  RECT client;
  ::GetClientRect(window_, &client);
  RECT bar;
  ::GetWindowRect(Control(kStatusBar1), &bar);
  const UINT d = dpi_;
  auto s = [d](int logical) { return Scale(logical, d); };
  const int width = client.right;
  const int height =
      std::max(0, static_cast<int>(client.bottom) - static_cast<int>(bar.bottom - bar.top));
  // The pane gives way to the controls on the right when the window is narrow.
  const int pane =
      std::clamp(s(paneWidth_), 0, std::max(0, width - s(kSplitterWidth) - s(kRightPaneMinimum)));
  const int edit = s(19);
  HDWP moves = ::BeginDeferWindowPos(14);
  auto move = [&moves, this](int id, int x, int y, int w, int h) {
    if (moves != nullptr) {
      moves = ::DeferWindowPos(moves, Control(id), nullptr, x, y, std::max(0, w), std::max(0, h),
                               SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS);
    }
  };
  move(kEdit1, 0, 0, pane, edit);
  move(kTreeView1, 0, edit, pane, height - edit);
  move(kSplitter1, pane, 0, s(kSplitterWidth), height);

  const int x = pane + s(kSplitterWidth);
  const int right = width;
  const int top = s(kTopPanelHeight);
  move(kLabel1, x + s(4), s(5), s(96), s(14));
  move(kComboBox1, x + s(4), s(21), s(150), s(120));
  move(kButton1, x + s(160), s(19), s(72), s(25));
  const int left2 = x + s(240);
  move(kLabel2, left2, s(5), s(96), s(14));
  move(kButton4, right - s(79), s(2), s(75), s(44));
  const int browse = right - s(79) - s(4) - s(40);
  const int destination = std::max(s(40), browse - s(4) - left2);
  move(kEdit2, left2, s(21), destination, s(21));
  move(kButton3, left2 + destination + s(4), s(20), s(40), s(23));
  const int preview = std::clamp(s(previewWidth_), 0,
                                 std::max(0, right - x - s(kSplitterWidth) - s(kListMinimumWidth)));
  const int listRight = right - preview - s(kSplitterWidth);
  move(kStringGrid1, x, top, listRight - x, height - top);
  move(kSplitter2, listRight, top, s(kSplitterWidth), height - top);
  move(kPreview1, listRight + s(kSplitterWidth), top, preview, height - top);
  if (moves != nullptr) ::EndDeferWindowPos(moves);
  LayOutStatusBar();
  ::RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

// The smallest outer size at which nothing overlaps, at the window's scale.
POINT MainWindow::MinimumSize() const {
  RECT bar;
  ::GetWindowRect(Control(kStatusBar1), &bar);
  RECT r{0, 0, Scale(kPaneMinimum + kSplitterWidth + kRightPaneMinimum, dpi_),
         Scale(kTopPanelHeight + kListMinimumHeight, dpi_) + (bar.bottom - bar.top)};
  ::AdjustWindowRectExForDpi(&r, static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_STYLE)), TRUE,
                             static_cast<DWORD>(::GetWindowLongPtrW(window_, GWL_EXSTYLE)), dpi_);
  return {r.right - r.left, r.bottom - r.top};
}

void MainWindow::LayOutStatusBar() {
  HWND bar = Control(kStatusBar1);
  RECT client;
  ::GetClientRect(bar, &client);
  HWND progress = ::GetDlgItem(bar, kProgressBar1);
  HWND stop = ::GetDlgItem(bar, kButtonStop);
  if (!progressShown_) {
    int parts[] = {-1};
    ::SendMessageW(bar, SB_SETPARTS, 1, reinterpret_cast<LPARAM>(parts));
    ::ShowWindow(progress, SW_HIDE);
    ::ShowWindow(stop, SW_HIDE);
  } else {
    const int stopWidth = Scale(56, dpi_), progressWidth = Scale(180, dpi_);
    const int grip = Scale(18, dpi_);
    const int textEnd =
        std::max(0, static_cast<int>(client.right) - grip - stopWidth - progressWidth);
    int parts[] = {textEnd, textEnd + progressWidth, -1};
    ::SendMessageW(bar, SB_SETPARTS, 3, reinterpret_cast<LPARAM>(parts));
    RECT part;
    ::SendMessageW(bar, SB_GETRECT, 1, reinterpret_cast<LPARAM>(&part));
    ::MoveWindow(progress, part.left + 2, part.top + 2, part.right - part.left - 4,
                 part.bottom - part.top - 4, TRUE);
    ::SendMessageW(bar, SB_GETRECT, 2, reinterpret_cast<LPARAM>(&part));
    ::MoveWindow(stop, part.left + 1, part.top, stopWidth - 2, part.bottom - part.top, TRUE);
    ::ShowWindow(progress, SW_SHOW);
    ::ShowWindow(stop, SW_SHOW);
  }
  ShowStatusText();
}

// The status bar cuts nothing itself: the text is cut here to its part's
// width with an ellipsis, and the bar holds what is shown.
void MainWindow::ShowStatusText() {
  HWND bar = Control(kStatusBar1);
  RECT part{};
  ::SendMessageW(bar, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&part));
  std::wstring shown = statusWide_;
  shown.append(4, L'\0');  // room for the ellipsis
  HDC dc = ::GetDC(bar);
  HGDIOBJ old = ::SelectObject(dc, font_);
  RECT area{0, 0, std::max<LONG>(1, part.right - part.left - Scale(8, dpi_)), 100};
  ::DrawTextW(dc, shown.data(), static_cast<int>(statusWide_.size()), &area,
              DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING | DT_NOPREFIX | DT_CALCRECT);
  ::SelectObject(dc, old);
  ::ReleaseDC(bar, dc);
  shown.resize(std::wcslen(shown.c_str()));
  ::SendMessageW(bar, SB_SETTEXTW, 0 | SBT_NOTABPARSING, reinterpret_cast<LPARAM>(shown.c_str()));
}

void MainWindow::DragSplitter(int id, int x) {
  RECT client;
  ::GetClientRect(window_, &client);
  if (id == kSplitter2) {
    RECT list;
    ::GetWindowRect(Control(kStringGrid1), &list);
    ::MapWindowPoints(nullptr, window_, reinterpret_cast<POINT*>(&list), 2);
    const int most = std::max<int>(
        0, client.right - list.left - Scale(kSplitterWidth + kListMinimumWidth, dpi_));
    const int preview = std::clamp<int>(client.right - x - Scale(kSplitterWidth, dpi_),
                                        std::min(most, Scale(kPreviewMinimum, dpi_)), most);
    previewWidth_ = Unscale(preview, dpi_);
    LayOut();
    return;
  }
  const int pane =
      std::clamp(x, Scale(kPaneMinimum, dpi_),
                 std::max<int>(Scale(kPaneMinimum, dpi_),
                               client.right - Scale(kSplitterWidth + kRightPaneMinimum, dpi_)));
  paneWidth_ = Unscale(pane, dpi_);
  LayOut();
}

void MainWindow::OnCommand(int id, int code) {
  switch (id) {
    case kMnuFileSFolder:
      Forward(&MainEvents::MnuFileSFolderClick);
      break;
    case kMnuFileType0:
      Forward(&MainEvents::MnuFileType0Click);
      break;
    case kMnuFileType1:
      Forward(&MainEvents::MnuFileType1Click);
      break;
    case kMnuFileType2:
      Forward(&MainEvents::MnuFileType2Click);
      break;
    case kMnuFileDFolder:
    case kButton3:
      Forward(&MainEvents::Button3Click);
      break;
    case kMnuFileExit:
      Forward(&MainEvents::MnuFileExitClick);
      break;
    case kMnuSetConv:
    case kButton1:
      Forward(&MainEvents::MnuSetConvClick);
      break;
    case kButton4:
    case kMnuFileConvert:
      Forward(&MainEvents::Button4Click);
      break;
    case kMnuFileRecursive:
      Forward(&MainEvents::MnuFileRecursiveClick);
      break;
    case kMnuFileUndo:
      Forward(&MainEvents::MnuFileUndoClick);
      break;
    case IDOK:
      OnEnter();
      break;
    case kButtonStop:
      Forward(&MainEvents::StopCommand);
      break;
    case kComboBox1:
      if (code == CBN_SELCHANGE) {
        const int index = static_cast<int>(::SendMessageW(Control(kComboBox1), CB_GETCURSEL, 0, 0));
        Forward(&MainEvents::ComboBox1Change, index);
      }
      break;
    default:
      break;
  }
}

// Enter, which the dialog keys turn into IDOK: on a button it presses the
// button, on the list it converts (after the confirmation), on the tree it
// lists the highlighted folder without waiting for the pause.
void MainWindow::OnEnter() {
  HWND focus = ::GetFocus();
  if (focus == Control(kStringGrid1)) {
    Forward(&MainEvents::Button4Click);
  } else if (focus == Control(kTreeView1)) {
    ::KillTimer(window_, kKeyListingTimer);
    if (SelectedNode() >= 0) Forward(&MainEvents::TreeView1Click);
  } else if (focus != nullptr && ::GetParent(focus) == window_ &&
             (::SendMessageW(focus, WM_GETDLGCODE, 0, 0) &
              (DLGC_UNDEFPUSHBUTTON | DLGC_DEFPUSHBUTTON)) != 0) {
    ::SendMessageW(focus, BM_CLICK, 0, 0);
  }
}

LRESULT MainWindow::OnNotify(const NMHDR& header) {
  if (header.idFrom == kTreeView1) {
    if (header.code == NM_CLICK) {
      TVHITTESTINFO hit{};
      ::GetCursorPos(&hit.pt);
      ::ScreenToClient(header.hwndFrom, &hit.pt);
      HTREEITEM item = TreeView_HitTest(header.hwndFrom, &hit);
      if (item != nullptr && (hit.flags & TVHT_ONITEM) != 0)
        TreeView_SelectItem(header.hwndFrom, item);
      const int node = SelectedNode();
      if (node >= 0) ::PostMessageW(window_, kTreeClicked, 0, 0);
    } else if (header.code == TVN_SELCHANGEDW && !settingRows_) {
      const int node = SelectedNode();
      Forward(&MainEvents::TreeSelectionChanged,
              node < 0 ? std::nullopt : std::optional<int>(node));
      // Each move by keys starts the pause again: holding an arrow key
      // lists no folder on the way.
      if (reinterpret_cast<const NMTREEVIEWW&>(header).action == TVC_BYKEYBOARD && node >= 0) {
        ::SetTimer(window_, kKeyListingTimer, unit1::kKeyListingDelayMs, nullptr);
      }
    }
    return 0;
  }
  // The list's header sends its changes through the list.
  if (header.hwndFrom == ListView_GetHeader(Control(kStringGrid1)) &&
      (header.code == HDN_ITEMCHANGEDW || header.code == HDN_ENDTRACKW)) {
    if (reinterpret_cast<const NMHEADERW&>(header).iItem == kSizeColumn && !settingRows_) {
      ::PostMessageW(window_, kSizeColumnResized, 0, 0);
    }
    return 0;
  }
  if (header.idFrom != kStringGrid1) return 0;
  switch (header.code) {
    case LVN_GETDISPINFOW:
      OnListDisplayInfo(const_cast<NMHDR&>(header));
      break;
    case LVN_ITEMCHANGED: {
      const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
      if ((change.uChanged & LVIF_STATE) == 0 ||
          ((change.uOldState ^ change.uNewState) & LVIS_SELECTED) == 0) {
        break;
      }
      [[fallthrough]];
    }
    case LVN_ODSTATECHANGED:
      if (!settingRows_ && preview_ != nullptr) preview_->NoteHighlight();
      if (!settingRows_ && !selectionPending_) {
        selectionPending_ = true;
        ::PostMessageW(window_, kSelectionChanged, 0, 0);
      }
      break;
    case LVN_COLUMNCLICK:
      // A click, not the start of a column's resizing: the logic finds the
      // column where the button went down.
      if (events_ != nullptr) {
        RunGuarded(window_, [&] {
          events_->StringGrid1MouseDown(Unscale(headerPress_.x, dpi_),
                                        Unscale(headerPress_.y, dpi_));
        });
      }
      break;
    case LVN_GETINFOTIPW: {
      auto& tip = reinterpret_cast<NMLVGETINFOTIPW&>(const_cast<NMHDR&>(header));
      if (rows_ != nullptr && tip.iItem >= 0 &&
          static_cast<std::size_t>(tip.iItem) < rows_->size() && tip.cchTextMax > 0) {
        const std::string& text = (*rows_)[static_cast<std::size_t>(tip.iItem)].tooltip;
        if (!text.empty()) ::lstrcpynW(tip.pszText, Wide(text).c_str(), tip.cchTextMax);
      }
      break;
    }
    case NM_DBLCLK: {
      const int row = reinterpret_cast<const NMITEMACTIVATE&>(header).iItem;
      Forward(&MainEvents::StringGrid1DblClick,
              row < 0 ? std::nullopt : std::optional<std::size_t>(static_cast<std::size_t>(row)));
      break;
    }
    default:
      break;
  }
  return 0;
}

void MainWindow::OnListDisplayInfo(NMHDR& header) {
  auto& info = reinterpret_cast<NMLVDISPINFOW&>(header);
  if ((info.item.mask & LVIF_TEXT) == 0 || info.item.cchTextMax <= 0) return;
  info.item.pszText[0] = L'\0';
  if (rows_ == nullptr || info.item.iItem < 0 ||
      static_cast<std::size_t>(info.item.iItem) >= rows_->size() || info.item.iSubItem < 0 ||
      info.item.iSubItem >= unit1::kColumnCount) {
    return;
  }
  cell_ = Wide((*rows_)[static_cast<std::size_t>(info.item.iItem)].Cell(info.item.iSubItem));
  // The size column is right-aligned by the list itself; the blanks that
  // align it in a grid's cell would only push the digits out of the column.
  if (info.item.iSubItem == kSizeColumn || info.item.iSubItem == unit1::kRetypeColumn)
    cell_.erase(0, cell_.find_first_not_of(L' '));
  ::lstrcpynW(info.item.pszText, cell_.c_str(), info.item.cchTextMax);
}

template <typename Argument>
void MainWindow::Forward(void (MainEvents::*event)(Argument),
                         std::type_identity_t<Argument> argument) {
  if (events_ == nullptr) return;
  RunGuarded(ModalOwner(), [&] { (events_->*event)(argument); });
}

void MainWindow::Forward(void (MainEvents::*event)()) {
  if (events_ == nullptr) return;
  RunGuarded(ModalOwner(), [&] { (events_->*event)(); });
}

HWND MainWindow::ModalOwner() const {
  if (dialog_ != nullptr && ::IsWindowVisible(dialog_->hwnd())) return dialog_->hwnd();
  return window_;
}

}  // namespace win32
