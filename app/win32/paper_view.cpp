#include "app/win32/paper_view.h"

#include <algorithm>

namespace win32 {

render::Rect PaperView::Seen(int width, int height) const {
  const render::Point topLeft = ToPaper(0, 0), bottomRight = ToPaper(width, height);
  return {topLeft.x, bottomRight.y, bottomRight.x, topLeft.y};
}

PaperView PaperView::Fit(const render::Rect& area, int width, int height, int margin) {
  const double w = std::max(1, width - 2 * margin), h = std::max(1, height - 2 * margin);
  // A single point or a straight line still gets a scale.
  const double across = std::max(area.right - area.left, 1e-6);
  const double up = std::max(area.top - area.bottom, 1e-6);
  PaperView view;
  view.scale = std::min(w / across, h / up);
  view.dx = width / 2.0 - (area.left + area.right) / 2 * view.scale;
  view.dy = height / 2.0 + (area.bottom + area.top) / 2 * view.scale;
  return view;
}

PaperView PaperView::ZoomedAt(double factor, double x, double y, double minimum,
                              double maximum) const {
  const render::Point at = ToPaper(x, y);
  PaperView view;
  view.scale = std::clamp(scale * factor, minimum, maximum);
  view.dx = x - at.x * view.scale;
  view.dy = y + at.y * view.scale;
  return view;
}

}  // namespace win32
