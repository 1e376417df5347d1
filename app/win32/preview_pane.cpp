#include "app/win32/preview_pane.h"

#include <windowsx.h>

#include <algorithm>
#include <cmath>

#include "app/win32/object_window.h"
#include "app/win32/screen_scale.h"
#include "app/win32/wide_text.h"

namespace win32 {

namespace {

constexpr wchar_t kPreviewClass[] = L"QuillonPreview";
constexpr int kMargin = 8;           // around the fitted picture, at 96 dpi
constexpr double kWheelStep = 1.25;  // one notch of the wheel
constexpr double kMostPixelsPerMm = 2000;

LONGLONG Now() {
  LARGE_INTEGER at;
  ::QueryPerformanceCounter(&at);
  return at.QuadPart;
}

}  // namespace

PreviewPane::PreviewPane(HWND parent, int id) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW kind{};
  kind.cbSize = sizeof(kind);
  if (!::GetClassInfoExW(instance, kPreviewClass, &kind)) {
    kind.style = CS_DBLCLKS;
    kind.lpfnWndProc = ObjectWindowProc<PreviewPane>;
    kind.hInstance = instance;
    kind.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    kind.lpszClassName = kPreviewClass;
    ::RegisterClassExW(&kind);
  }
  ::CreateWindowExW(WS_EX_CLIENTEDGE, kPreviewClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0, parent,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, this);
}

void PreviewPane::Show(std::shared_ptr<const render::DisplayList> drawing,
                       const std::string& caption) {
  drawing_ = std::move(drawing);
  caption_ = Wide(caption);
  fitted_ = true;
  shownSinceHighlight_ = highlightAt_ != 0;
  ::InvalidateRect(window_, nullptr, FALSE);
}

void PreviewPane::NoteHighlight() {
  highlightAt_ = Now();
  shownSinceHighlight_ = false;
  ::RemovePropW(window_, kPaintedMs);
}

int PreviewPane::CaptionHeight() const {
  HDC dc = ::GetDC(window_);
  HGDIOBJ old = ::SelectObject(dc, font_ != nullptr ? font_ : ::GetStockObject(DEFAULT_GUI_FONT));
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(dc, &metrics);
  ::SelectObject(dc, old);
  ::ReleaseDC(window_, dc);
  return metrics.tmHeight + Scale(6, WindowDpi(window_));
}

RECT PreviewPane::Picture() const {
  RECT client;
  ::GetClientRect(window_, &client);
  client.bottom = std::max(client.top, client.bottom - CaptionHeight());
  return client;
}

PaperView PreviewPane::View() const {
  if (!fitted_ || drawing_ == nullptr) return view_;
  const RECT picture = Picture();
  const render::Rect area = drawing_->bounds.empty() ? drawing_->paper : drawing_->bounds;
  if (area.empty()) return view_;
  return PaperView::Fit(area, picture.right, picture.bottom, Scale(kMargin, WindowDpi(window_)));
}

bool PreviewPane::Paint(HDC target) {
  RECT client;
  ::GetClientRect(window_, &client);
  if (client.right <= 0 || client.bottom <= 0) return true;
  const RECT picture = Picture();
  HDC dc = ::CreateCompatibleDC(target);
  HBITMAP bitmap = ::CreateCompatibleBitmap(target, client.right, client.bottom);
  HGDIOBJ oldBitmap = ::SelectObject(dc, bitmap);
  ::FillRect(dc, &picture, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  RECT line = client;
  line.top = picture.bottom;
  ::FillRect(dc, &line, ::GetSysColorBrush(COLOR_BTNFACE));
  if (drawing_ != nullptr) {
    const UINT dpi = WindowDpi(window_);
    const HRGN clip = ::CreateRectRgnIndirect(&picture);
    ::SelectClipRgn(dc, clip);
    // Keys and clicks (and the pointer's moves while dragging) waiting in
    // the queue stop the paint.
    const UINT input = QS_KEY | QS_MOUSEBUTTON | (dragging_ ? QS_MOUSEMOVE : 0);
    const bool done =
        PaintDisplayList(dc, *drawing_, View(), picture.right, picture.bottom, dpi, fonts_,
                         [input] { return HIWORD(::GetQueueStatus(input)) == 0; });
    ::SelectClipRgn(dc, nullptr);
    ::DeleteObject(clip);
    if (!done) {
      ::SelectObject(dc, oldBitmap);
      ::DeleteObject(bitmap);
      ::DeleteDC(dc);
      return false;
    }
    HGDIOBJ oldFont =
        ::SelectObject(dc, font_ != nullptr ? font_ : ::GetStockObject(DEFAULT_GUI_FONT));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, ::GetSysColor(COLOR_BTNTEXT));
    line.left += Scale(4, dpi);
    line.right -= Scale(4, dpi);
    ::DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &line,
                DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
    ::SelectObject(dc, oldFont);
  }
  ::BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
  ::SelectObject(dc, oldBitmap);
  ::DeleteObject(bitmap);
  ::DeleteDC(dc);
  if (drawing_ != nullptr && shownSinceHighlight_) {
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    const LONGLONG ms = (Now() - highlightAt_) * 1000 / frequency.QuadPart;
    ::SetPropW(window_, kPaintedMs, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(ms + 1)));
    highlightAt_ = 0;
    shownSinceHighlight_ = false;
  }
  return true;
}

LRESULT PreviewPane::Handle(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = ::BeginPaint(window_, &paint);
      const bool done = Paint(dc);
      ::EndPaint(window_, &paint);
      if (!done) ::InvalidateRect(window_, nullptr, FALSE);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      ::InvalidateRect(window_, nullptr, FALSE);
      return 0;
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wparam);
      if (LOWORD(lparam) != 0) ::InvalidateRect(window_, nullptr, FALSE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_LBUTTONDOWN:
      ::SetFocus(window_);
      view_ = View();
      dragging_ = true;
      dragFrom_ = {GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
      ::SetCapture(window_);
      return 0;
    case WM_MOUSEMOVE:
      if (dragging_ && drawing_ != nullptr) {
        const POINT at{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
        view_ = view_.Moved(at.x - dragFrom_.x, at.y - dragFrom_.y);
        fitted_ = false;
        dragFrom_ = at;
        ::InvalidateRect(window_, nullptr, FALSE);
      }
      return 0;
    case WM_LBUTTONUP:
      if (dragging_) ::ReleaseCapture();
      return 0;
    case WM_CAPTURECHANGED:
      dragging_ = false;
      return 0;
    case WM_LBUTTONDBLCLK:
      fitted_ = true;
      ::InvalidateRect(window_, nullptr, FALSE);
      return 0;
    case WM_MOUSEWHEEL: {
      if (drawing_ == nullptr) return 0;
      POINT at{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
      ::ScreenToClient(window_, &at);
      const PaperView fit = [this] {
        const bool was = fitted_;
        fitted_ = true;
        const PaperView view = View();
        fitted_ = was;
        return view;
      }();
      const double notches = GET_WHEEL_DELTA_WPARAM(wparam) / static_cast<double>(WHEEL_DELTA);
      view_ = View().ZoomedAt(std::pow(kWheelStep, notches), at.x, at.y, fit.scale / 10,
                              std::max(fit.scale, kMostPixelsPerMm));
      fitted_ = false;
      ::InvalidateRect(window_, nullptr, FALSE);
      return 0;
    }
    case WM_NCDESTROY: {
      ::RemovePropW(window_, kPaintedMs);
      const LRESULT result = ::DefWindowProcW(window_, message, wparam, lparam);
      window_ = nullptr;
      return result;
    }
    default:
      break;
  }
  return ::DefWindowProcW(window_, message, wparam, lparam);
}

}  // namespace win32
