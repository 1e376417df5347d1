// Where the paper of a drawing lands in a window: paper millimetres (y up)
// to the window's pixels (y down) by a scale and a shift, fitted to a
// rectangle, zoomed about a pixel and moved by a drag.
#pragma once

#include "render/display_list.h"

namespace win32 {

struct PaperView {
  double scale = 1;       // pixels per paper millimetre
  double dx = 0, dy = 0;  // the pixel the paper's origin lands on

  double X(double paperX) const { return paperX * scale + dx; }
  double Y(double paperY) const { return -paperY * scale + dy; }
  render::Point ToPaper(double x, double y) const { return {(x - dx) / scale, (dy - y) / scale}; }
  // The paper seen through a window `width` x `height` pixels.
  render::Rect Seen(int width, int height) const;

  // `area` (not empty) centred in `width` x `height` pixels, `margin` pixels
  // kept free on each side.
  static PaperView Fit(const render::Rect& area, int width, int height, int margin);
  // Zoomed by `factor` about pixel (x, y), which keeps its paper point; the
  // scale stays within [minimum, maximum].
  PaperView ZoomedAt(double factor, double x, double y, double minimum, double maximum) const;
  PaperView Moved(double byX, double byY) const { return {scale, dx + byX, dy + byY}; }
};

}  // namespace win32
