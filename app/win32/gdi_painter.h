// A display list painted with GDI: GDI's coordinates are sixteenths of a
// pixel (the world transform scales them onto the pixels), texts go through
// fonts turned by their escapement with each character placed in its cell,
// and what lies outside the picture is left out before GDI sees it.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "app/win32/paper_view.h"
#include "render/walk.h"

namespace win32 {

// The fonts texts are drawn with, kept from one paint to the next.
class FontCache {
 public:
  FontCache() = default;
  ~FontCache();
  FontCache(const FontCache&) = delete;
  FontCache& operator=(const FontCache&) = delete;
  // `name` (UTF-8, as the drawing names it), else a Japanese gothic face;
  // `height` and `width` (the half-width advance) in pixels; `escapement`
  // in tenths of a degree.
  HFONT Get(const std::string& name, int height, int width, int escapement);

 private:
  const std::wstring& Face(const std::string& name);
  std::unordered_map<std::string, std::wstring> faces_;
  std::map<std::tuple<std::wstring, int, int, int>, HFONT> fonts_;
};

class GdiPainter final : public render::PartPainter {
 public:
  // Paints into `dc` over `width` x `height` pixels through `view`; `dpi`
  // sizes what is drawn in pixels (points, the new type of a marked text).
  // `keepGoing`, asked every kItemsPerAsk items, stops the paint by false.
  GdiPainter(HDC dc, const PaperView& view, int width, int height, UINT dpi, FontCache& fonts,
             std::function<bool()> keepGoing = {});
  ~GdiPainter() override;
  GdiPainter(const GdiPainter&) = delete;
  GdiPainter& operator=(const GdiPainter&) = delete;

  void Line(const render::LineShape& line, const render::Style& style, const render::Affine& to,
            bool greyed) override;
  void Arc(const render::ArcShape& arc, const render::Style& style, const render::Affine& to,
           bool greyed) override;
  void Dot(const render::PointShape& point, const render::Style& style, const render::Affine& to,
           bool greyed) override;
  void Text(const render::TextShape& text, const render::Style& style, const render::Affine& to,
            bool greyed) override;
  void Fill(const render::FillShape& fill, const render::Style& style, const render::Affine& to,
            bool greyed) override;
  void Image(const render::ImageShape& image, const render::Style& style, const render::Affine& to,
             bool greyed) override;
  bool KeepGoing() override;
  bool Stopped() const { return stopped_; }

  static constexpr int kItemsPerAsk = 1024;

 private:
  struct Pixel {
    double x = 0, y = 0;
  };
  Pixel ToPixel(const render::Affine& to, render::Point p) const;
  void Stroke(const render::Style& style, bool greyed, const std::vector<Pixel>& points,
              bool closed);
  void UsePen(HPEN pen, COLORREF colour);
  void Flush();
  void TextMode(bool on);
  void DrawString(const std::wstring& text, const std::vector<INT>& advances, Pixel at, HFONT font,
                  COLORREF colour);

  HDC dc_;
  PaperView view_;
  int width_, height_;
  UINT dpi_;
  FontCache& fonts_;
  std::function<bool()> keepGoing_;
  int untilAsk_ = kItemsPerAsk;
  bool stopped_ = false;
  int savedDc_ = 0;
  bool textMode_ = false;
  std::unordered_map<const render::Style*, HPEN> pens_[2];  // by greyed
  HPEN pen_ = nullptr;
  COLORREF penColour_ = 0;
  std::vector<POINT> strokes_;
  std::vector<DWORD> strokeCounts_;
  std::vector<Pixel> scratch_;
};

// Paints every visible item of `list` (onto what is already in `dc`);
// false when `keepGoing` stopped it first.
bool PaintDisplayList(HDC dc, const render::DisplayList& list, const PaperView& view, int width,
                      int height, UINT dpi, FontCache& fonts, std::function<bool()> keepGoing = {});

}  // namespace win32
