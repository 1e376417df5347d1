// The preview on Windows: the GDI painter's pixels, the pane's zoom and
// fit, the second splitter, tasks posted to the window from other threads,
// and the list's "変換対象" column.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <cmath>
#include <memory>
#include <numbers>
#include <thread>
#include <vector>

#include "app/win32/control_names.h"
#include "app/win32/gdi_painter.h"
#include "app/win32/main_window.h"
#include "app/win32/wide_text.h"
#include "render/walk.h"

namespace {

using render::Rgb;

// A white bitmap of `size` x `size` pixels to paint into, read back pixel
// by pixel.
class Canvas {
 public:
  explicit Canvas(int size) : size_(size) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), size, -size, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    dc_ = ::CreateCompatibleDC(nullptr);
    bitmap_ = ::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_),
                                 nullptr, 0);
    old_ = ::SelectObject(dc_, bitmap_);
    std::fill(bits_, bits_ + size * size, 0xFFFFFFu);
  }
  ~Canvas() {
    ::SelectObject(dc_, old_);
    ::DeleteObject(bitmap_);
    ::DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  Rgb At(int x, int y) const {
    ::GdiFlush();
    const std::uint32_t pixel = bits_[y * size_ + x];
    return {static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 8),
            static_cast<std::uint8_t>(pixel)};
  }
  // How many pixels in [left, right) x [top, bottom) match.
  template <typename Match>
  int Count(int left, int top, int right, int bottom, Match match) const {
    int count = 0;
    for (int y = top; y < bottom; ++y) {
      for (int x = left; x < right; ++x) count += match(At(x, y)) ? 1 : 0;
    }
    return count;
  }

 private:
  int size_;
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  std::uint32_t* bits_ = nullptr;
};

constexpr Rgb kWhite{255, 255, 255}, kBlack{0, 0, 0}, kBlue{0, 0, 255}, kGreen{0, 160, 0};

bool Near(Rgb a, Rgb b) {
  return std::abs(a.r - b.r) + std::abs(a.g - b.g) + std::abs(a.b - b.b) < 60;
}

// A hand-built list on the paper (-50, -50)..(50, 50): layer 1 hidden,
// layer 2 shown only.
struct Drawing {
  render::DisplayList list;
  Drawing() {
    list.layers.assign(256, {});
    list.layerGroups.assign(16, {});
    list.layers[1].state = render::LayerState::kHidden;
    list.layers[2].state = render::LayerState::kShownOnly;
    list.paper = list.bounds = {-50, -50, 50, 50};
  }
  std::uint32_t Style(Rgb colour, std::vector<double> dashes = {}) {
    list.styles.push_back({colour, 0, std::move(dashes)});
    return static_cast<std::uint32_t>(list.styles.size() - 1);
  }
  render::Item Line(render::Point a, render::Point b, std::uint32_t style, int layer = 0) {
    list.lines.push_back({a, b});
    return Add(render::ShapeKind::kLine, style, list.lines.size() - 1, layer);
  }
  render::Item Add(render::ShapeKind shape, std::uint32_t style, std::size_t index, int layer) {
    list.parts.push_back({shape, style, static_cast<std::uint32_t>(index)});
    render::Item item;
    item.layer = static_cast<std::uint16_t>(layer);
    item.firstPart = static_cast<std::uint32_t>(list.parts.size() - 1);
    item.partCount = 1;
    return item;
  }
};

TEST(Win32GdiPainter, PaintsTheListWhereItBelongs) {
  Drawing d;
  auto& items = d.list.items;
  const std::uint32_t black = d.Style(kBlack);
  items.push_back(d.Line({-50, 50}, {50, 50}, black));  // the top edge of the bounds
  items.push_back(d.Line({-50, 0}, {50, 0}, d.Style(kBlue), 1));
  items.push_back(d.Line({-50, -45}, {50, -45}, black, 2));
  items.push_back(d.Line({-50, -40}, {50, -40}, d.Style(kBlack, {5, 5})));
  d.list.styles.push_back({kBlack, 2.0, {}});  // 3.6 pixels wide
  items.push_back(
      d.Line({10, -20}, {50, -20}, static_cast<std::uint32_t>(d.list.styles.size() - 1)));
  // A definition's line along its x axis, used stretched twice along x and
  // turned a quarter: it stands up from (-30, -30) to (-30, -10).
  render::Symbol symbol;
  symbol.items.push_back(d.Line({0, 0}, {10, 0}, d.Style(kGreen)));
  d.list.symbols.push_back(symbol);
  d.list.uses.push_back({0, {-30, -30}, 2, 1, std::numbers::pi / 2});
  items.push_back(d.Add(render::ShapeKind::kUse, black, 0, 0));
  // A text a conversion would retype, 10 mm high from (0, 20).
  render::TextShape text;
  text.start = {0, 20};
  text.height = 10;
  text.glyphs = {{"変", 0, 10, false}, {"A", 10, 5, true}};
  text.utf8 = "変A";
  text.newType = 2;
  d.list.texts.push_back(text);
  items.push_back(d.Add(render::ShapeKind::kText, black, 0, 0));

  Canvas canvas(200);
  const win32::PaperView view = win32::PaperView::Fit(d.list.bounds, 200, 200, 10);
  ASSERT_DOUBLE_EQ(view.scale, 1.8);  // x = 100 + 1.8 X, y = 100 - 1.8 Y
  win32::FontCache fonts;
  win32::PaintDisplayList(canvas.dc(), d.list, view, 200, 200, 96, fonts);

  EXPECT_EQ(canvas.At(100, 10), kBlack) << "the bounds' top edge on the margin";
  EXPECT_EQ(canvas.At(100, 13), kWhite);
  EXPECT_EQ(canvas.Count(20, 98, 181, 103, [](Rgb c) { return c == kBlue; }), 0)
      << "a hidden layer is not drawn";
  EXPECT_EQ(canvas.At(100, 181), render::kGreyedColour) << "a shown-only layer is greyed";
  int inked = 0;  // columns, of 180, with the dashed line's ink
  for (int x = 10; x < 190; ++x) {
    inked += canvas.Count(x, 170, x + 1, 176, [](Rgb c) { return Near(c, kBlack); }) > 0 ? 1 : 0;
  }
  EXPECT_GT(inked, 60) << "a dashed line is drawn";
  EXPECT_LT(inked, 120) << "with its gaps";
  const int thick = canvas.Count(150, 120, 151, 152, [](Rgb c) { return Near(c, kBlack); });
  EXPECT_GE(thick, 3) << "a wide line as wide as its width on the paper";
  EXPECT_LE(thick, 5);
  EXPECT_EQ(canvas.At(46, 124), kGreen) << "the use's line, stretched and turned";
  EXPECT_EQ(canvas.At(46, 140), kGreen);
  EXPECT_EQ(canvas.Count(52, 150, 90, 158, [](Rgb c) { return c == kGreen; }), 0)
      << "nothing where the line would lie unturned";
  // The text's cells: x 100..127, y 46..64; its new type after them.
  EXPECT_GT(canvas.Count(100, 46, 128, 65, [](Rgb c) { return Near(c, render::kMarkColour); }), 10);
  EXPECT_EQ(canvas.Count(100, 46, 128, 65, [](Rgb c) { return Near(c, kBlack); }), 0);
  EXPECT_GT(canvas.Count(128, 40, 170, 66, [](Rgb c) { return Near(c, render::kMarkColour); }), 5)
      << "the new type is shown after the text";
  EXPECT_EQ(canvas.Count(0, 20, 99, 95, [](Rgb c) { return c != kWhite; }), 0)
      << "nothing left of the text's start";
}

TEST(Win32GdiPainter, TurnedTextsStandInTheirCells) {
  Drawing d;
  render::TextShape text;
  text.start = {0, 0};
  text.angle = std::numbers::pi / 2;  // reading upwards
  text.height = 10;
  text.glyphs = {{"図", 0, 10, false}, {"面", 10, 10, false}};
  d.list.texts.push_back(text);
  d.list.items.push_back(d.Add(render::ShapeKind::kText, d.Style(kBlack), 0, 0));
  Canvas canvas(200);
  win32::FontCache fonts;
  win32::PaintDisplayList(canvas.dc(), d.list, win32::PaperView::Fit(d.list.bounds, 200, 200, 10),
                          200, 200, 96, fonts);
  // Turned a quarter, the cells run from (0, 0) up to (0, 20) and left to
  // x = -10: pixels 82..100 across, 64..100 up.
  const auto ink = [](Rgb c) { return Near(c, kBlack); };
  EXPECT_GT(canvas.Count(82, 82, 101, 101, ink), 10) << "the first character";
  EXPECT_GT(canvas.Count(82, 64, 101, 82, ink), 10) << "the second above it";
  EXPECT_EQ(canvas.Count(101, 0, 200, 200, ink), 0) << "nothing right of the start";
  EXPECT_EQ(canvas.Count(0, 101, 200, 200, ink), 0) << "nothing below it";
}

TEST(Win32GdiPainter, APaintStopsWhenAskedAndSaysSo) {
  Drawing d;
  const std::uint32_t black = d.Style(kBlack);
  for (int i = 0; i < 3 * win32::GdiPainter::kItemsPerAsk; ++i) {
    d.list.items.push_back(d.Line({-50, -50}, {-40, -50}, black));
  }
  d.list.items.push_back(d.Line({-50, 0}, {50, 0}, d.Style(kGreen)));  // the last item
  const win32::PaperView view = win32::PaperView::Fit(d.list.bounds, 200, 200, 10);
  win32::FontCache fonts;
  int asked = 0;
  {
    Canvas canvas(200);
    EXPECT_FALSE(win32::PaintDisplayList(canvas.dc(), d.list, view, 200, 200, 96, fonts, [&] {
      ++asked;
      return false;
    }));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(canvas.At(100, 100), kWhite) << "nothing after the stop";
  }
  Canvas canvas(200);
  EXPECT_TRUE(win32::PaintDisplayList(canvas.dc(), d.list, view, 200, 200, 96, fonts, [&] {
    ++asked;
    return true;
  }));
  EXPECT_EQ(asked, 4);
  EXPECT_EQ(canvas.At(100, 100), kGreen);
}

// Lets the window take its messages for `ms` milliseconds.
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

class Win32Preview : public testing::Test {
 protected:
  HWND Main(const char* name) { return main_.Control(win32::MainControlId(name)); }
  win32::MainWindow main_{::GetModuleHandleW(nullptr)};
};

TEST_F(Win32Preview, TasksPostedFromAnotherThreadRunOnTheWindowsThread) {
  DWORD ranOn = 0;
  std::thread other([&] { main_.PostToWindow([&] { ranOn = ::GetCurrentThreadId(); }); });
  other.join();
  EXPECT_EQ(ranOn, 0u) << "not before the window takes its messages";
  Pump(main_, 50);
  EXPECT_EQ(ranOn, ::GetCurrentThreadId());

  // Tasks still queued when the window goes are freed, not run.
  auto token = std::make_shared<int>(0);
  const std::weak_ptr<int> watched = token;
  std::thread([&main = main_, token] { main.PostToWindow([token] { ++*token; }); }).join();
  token.reset();
  EXPECT_FALSE(watched.expired());
  ::DestroyWindow(main_.hwnd());
  EXPECT_TRUE(watched.expired());
  auto late = std::make_shared<int>(0);
  main_.PostToWindow([late] { ++*late; });
  EXPECT_EQ(late.use_count(), 1) << "a task posted after the window went is freed at once";
  MSG quit;
  while (::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

TEST_F(Win32Preview, ThePaneRightOfTheListKeepsItsWidthAndFollowsItsSplitter) {
  main_.Show(SW_SHOWNORMAL);
  ::SetWindowPos(main_.hwnd(), nullptr, 0, 0, 1100, 600, SWP_NOZORDER | SWP_NOMOVE);
  main_.SetPreviewWidth(250);
  EXPECT_EQ(main_.PreviewWidth(), 250);
  const UINT dpi = ::GetDpiForWindow(main_.hwnd());
  RECT list, splitter, pane;
  ::GetWindowRect(Main("StringGrid1"), &list);
  ::GetWindowRect(Main("Splitter2"), &splitter);
  ::GetWindowRect(Main("Preview1"), &pane);
  EXPECT_EQ(pane.right - pane.left, ::MulDiv(250, dpi, 96));
  EXPECT_EQ(splitter.left, list.right);
  EXPECT_EQ(pane.left, splitter.right);
  EXPECT_EQ(pane.top, list.top);

  // Dragged 50 pixels left, the pane widens by as much.
  HWND bar = Main("Splitter2");
  ::SendMessageW(bar, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(1, 20));
  ::SendMessageW(bar, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(static_cast<WORD>(-50), 20));
  ::SendMessageW(bar, WM_LBUTTONUP, 0, MAKELPARAM(static_cast<WORD>(-50), 20));
  EXPECT_EQ(main_.PreviewWidth(), ::MulDiv(::MulDiv(250, dpi, 96) + 50, 96, dpi));
  // Never so wide that the list goes.
  main_.SetPreviewWidth(5000);
  ::GetWindowRect(Main("StringGrid1"), &list);
  EXPECT_GE(list.right - list.left, ::MulDiv(120, dpi, 96));
}

TEST_F(Win32Preview, TheWheelZoomsAtThePointerAndADoubleClickFitsAgain) {
  Drawing d;
  d.list.items.push_back(d.Line({-50, -50}, {50, 50}, d.Style(kBlack)));
  main_.Show(SW_SHOWNORMAL);
  main_.ShowPreview(std::make_shared<const render::DisplayList>(d.list), "変換対象 0 件");
  win32::PreviewPane& pane = main_.Preview();
  const RECT picture = pane.Picture();
  const win32::PaperView fitted = pane.View();
  const win32::PaperView expected =
      win32::PaperView::Fit(d.list.bounds, picture.right, picture.bottom,
                            ::MulDiv(8, ::GetDpiForWindow(pane.hwnd()), 96));
  EXPECT_DOUBLE_EQ(fitted.scale, expected.scale);
  EXPECT_DOUBLE_EQ(fitted.dx, expected.dx);

  POINT at{picture.right / 3, picture.bottom / 4};
  const render::Point under = fitted.ToPaper(at.x, at.y);
  ::ClientToScreen(pane.hwnd(), &at);
  ::SendMessageW(pane.hwnd(), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA * 2),
                 MAKELPARAM(at.x, at.y));
  const win32::PaperView zoomed = pane.View();
  EXPECT_NEAR(zoomed.scale, fitted.scale * 1.5625, 1e-9);
  ::ScreenToClient(pane.hwnd(), &at);
  EXPECT_NEAR(zoomed.ToPaper(at.x, at.y).x, under.x, 1e-9) << "the point under the pointer stays";
  EXPECT_NEAR(zoomed.ToPaper(at.x, at.y).y, under.y, 1e-9);

  ::SendMessageW(pane.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  ::SendMessageW(pane.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(30, 5));
  ::SendMessageW(pane.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(30, 5));
  EXPECT_DOUBLE_EQ(pane.View().dx, zoomed.dx + 20) << "dragging moves the picture";
  EXPECT_DOUBLE_EQ(pane.View().dy, zoomed.dy - 5);

  ::SendMessageW(pane.hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(30, 5));
  EXPECT_DOUBLE_EQ(pane.View().scale, fitted.scale);
  EXPECT_DOUBLE_EQ(pane.View().dy, fitted.dy);

  // The wheel over the picture zooms it while the list has the focus.
  POINT centre{picture.right / 2, picture.bottom / 2};
  ::ClientToScreen(pane.hwnd(), &centre);
  ::PostMessageW(Main("StringGrid1"), WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA),
                 MAKELPARAM(centre.x, centre.y));
  Pump(main_, 50);
  EXPECT_NEAR(pane.View().scale, fitted.scale * 1.25, 1e-9);

  // A highlight's picture, once painted, records how long it took; a
  // repaint of the drawing shown before does not.
  pane.NoteHighlight();
  ::InvalidateRect(pane.hwnd(), nullptr, FALSE);
  ::UpdateWindow(pane.hwnd());
  EXPECT_EQ(::GetPropW(pane.hwnd(), win32::PreviewPane::kPaintedMs), nullptr);
  main_.ShowPreview(std::make_shared<const render::DisplayList>(d.list), "変換対象 0 件");
  ::UpdateWindow(pane.hwnd());
  EXPECT_NE(::GetPropW(pane.hwnd(), win32::PreviewPane::kPaintedMs), nullptr);
}

TEST_F(Win32Preview, TheRetypeColumnShowsTheCountAndTheRowsTooltip) {
  ASSERT_GE(unit1::kColumnCount, 7);
  std::vector<unit1::FileRow> rows(2);
  rows[0].retypeText = "12";
  rows[1].retypeText = "×";
  rows[1].tooltip = "図面データが壊れています。";
  main_.ShowRows(rows, {});
  HWND list = Main("StringGrid1");
  wchar_t cell[64] = L"";
  ListView_GetItemText(list, 0, 6, cell, 64);
  EXPECT_EQ(win32::Utf8(cell), "12");
  ListView_GetItemText(list, 1, 6, cell, 64);
  EXPECT_EQ(win32::Utf8(cell), "×");
  LVCOLUMNW column{};
  column.mask = LVCF_FMT;
  ListView_GetColumn(list, 6, &column);
  EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_RIGHT);
  EXPECT_NE(ListView_GetExtendedListViewStyle(list) & LVS_EX_INFOTIP, 0u);

  for (int row : {0, 1}) {
    wchar_t tip[128] = L"";
    NMLVGETINFOTIPW ask{};
    ask.hdr = {list, static_cast<UINT_PTR>(win32::kStringGrid1), LVN_GETINFOTIPW};
    ask.pszText = tip;
    ask.cchTextMax = 128;
    ask.iItem = row;
    ::SendMessageW(main_.hwnd(), WM_NOTIFY, win32::kStringGrid1, reinterpret_cast<LPARAM>(&ask));
    EXPECT_EQ(win32::Utf8(tip), rows[static_cast<std::size_t>(row)].tooltip) << row;
  }
}

}  // namespace
