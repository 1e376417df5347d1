// Where the preview shows the paper: paper millimetres (y up) mapped onto
// the widget's pixels (y down) by one scale and a shift. Starts fitted; the
// wheel zooms about the pointer, dragging pans, fitting again undoes both.
#pragma once

#include <QPointF>
#include <QSizeF>
#include <QTransform>

#include "render/display_list.h"

namespace unit1 {

class PreviewView {
 public:
  // The whole of `area` (paper millimetres) centred in `size` pixels with a
  // small margin.
  void Fit(const render::Rect& area, QSizeF size);
  // Zooms by `factor` about `at` (pixels): the paper point under it stays.
  void ZoomAt(QPointF at, double factor);
  void PanBy(QPointF delta);
  // Keeps the paper point at the widget's centre where it was when the
  // widget changes its size from `before` to `after`.
  void Resize(QSizeF before, QSizeF after);

  double scale() const { return scale_; }  // pixels per paper millimetre
  bool fitted() const { return fitted_; }
  QPointF ToPixels(render::Point p) const { return {scale_ * p.x + dx_, -scale_ * p.y + dy_}; }
  render::Point ToPaper(QPointF p) const {
    return {(p.x() - dx_) / scale_, (dy_ - p.y()) / scale_};
  }
  QTransform Transform() const { return {scale_, 0, 0, -scale_, dx_, dy_}; }
  friend bool operator==(const PreviewView&, const PreviewView&) = default;

 private:
  double scale_ = 1, dx_ = 0, dy_ = 0;
  double fitScale_ = 1;
  bool fitted_ = true;
};

}  // namespace unit1
