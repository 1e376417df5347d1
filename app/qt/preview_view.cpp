#include "app/qt/preview_view.h"

#include <algorithm>

namespace unit1 {

namespace {

// The margin left around a fitted drawing, as a share of the pane.
constexpr double kFitMargin = 0.03;
// How far in and out the wheel goes, from the fitted scale.
constexpr double kMostZoomIn = 5000, kMostZoomOut = 0.05;

}  // namespace

void PreviewView::Fit(const render::Rect& area, QSizeF size) {
  const double width = std::max(area.right - area.left, 1e-6);
  const double height = std::max(area.top - area.bottom, 1e-6);
  const double usableW = std::max(size.width() * (1 - 2 * kFitMargin), 1.0);
  const double usableH = std::max(size.height() * (1 - 2 * kFitMargin), 1.0);
  scale_ = area.empty() ? 1 : std::min(usableW / width, usableH / height);
  fitScale_ = scale_;
  const double cx = area.empty() ? 0 : (area.left + area.right) / 2;
  const double cy = area.empty() ? 0 : (area.bottom + area.top) / 2;
  dx_ = size.width() / 2 - scale_ * cx;
  dy_ = size.height() / 2 + scale_ * cy;
  fitted_ = true;
}

void PreviewView::ZoomAt(QPointF at, double factor) {
  const double wanted =
      std::clamp(scale_ * factor, fitScale_ * kMostZoomOut, fitScale_ * kMostZoomIn);
  const double k = wanted / scale_;
  if (k == 1) return;
  scale_ = wanted;
  dx_ = at.x() - k * (at.x() - dx_);
  dy_ = at.y() - k * (at.y() - dy_);
  fitted_ = false;
}

void PreviewView::PanBy(QPointF delta) {
  if (delta.isNull()) return;
  dx_ += delta.x();
  dy_ += delta.y();
  fitted_ = false;
}

void PreviewView::Resize(QSizeF before, QSizeF after) {
  dx_ += (after.width() - before.width()) / 2;
  dy_ += (after.height() - before.height()) / 2;
}

}  // namespace unit1
