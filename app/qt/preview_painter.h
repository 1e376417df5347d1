// The preview's painter: every part the walk of a display list hands over,
// drawn with a QPainter in pixels. Parts far outside the pixels painted, and
// lines and arcs smaller than a pixel, are left out; lines of one pen are
// drawn together.
#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QLineF>
#include <QPainter>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/qt/preview_view.h"
#include "render/walk.h"

namespace unit1 {

class QtPartPainter : public render::PartPainter {
 public:
  // Paints onto `painter` through `view`; `area` is the part of the device
  // worth painting (pixels); `keepGoing` is asked between top-level items.
  QtPartPainter(QPainter& painter, const PreviewView& view, QRectF area,
                std::function<bool()> keepGoing = {});
  ~QtPartPainter() override;

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
  // Draws the lines still held back; the destructor does it too.
  void Flush();

 private:
  struct FontFace;
  render::Affine ToPixels(const render::Affine& to) const;
  void UsePen(const render::Style& style, bool greyed);
  bool Outside(const QRectF& box) const;
  FontFace& Face(const std::string& name);
  void Glyphs(const render::TextShape& text, const QTransform& toPixels, double pixelHeight,
              const QColor& colour);
  void MarkTag(const render::TextShape& text, const QTransform& toPixels, double pixelHeight);

  QPainter& painter_;
  render::Affine view_;
  double scale_;
  QRectF area_;
  std::function<bool()> keepGoing_;
  std::vector<QLineF> lines_;
  const render::Style* penStyle_ = nullptr;
  bool penGreyed_ = false;
  std::map<std::string, std::unique_ptr<FontFace>> faces_;
};

// Paints `list` through `view` onto `painter` (white is the caller's), the
// whole of it unless `keepGoing` says stop; true when it was painted whole.
bool PaintDisplayList(const render::DisplayList& list, QPainter& painter, const PreviewView& view,
                      QRectF area, const std::function<bool()>& keepGoing = {});

}  // namespace unit1
