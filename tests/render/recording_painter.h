// A painter that keeps the lines the walk hands it, in paper coordinates.
#pragma once

#include <vector>

#include "render/walk.h"

namespace render_test {

struct PaintedLine {
  render::Point a, b;
  bool greyed = false;
};

class RecordingPainter : public render::PartPainter {
 public:
  std::vector<PaintedLine> lines;

  void Line(const render::LineShape& l, const render::Style&, const render::Affine& to,
            bool greyed) override {
    lines.push_back({to.Apply(l.a), to.Apply(l.b), greyed});
  }
  void Arc(const render::ArcShape&, const render::Style&, const render::Affine&, bool) override {}
  void Dot(const render::PointShape&, const render::Style&, const render::Affine&, bool) override {}
  void Text(const render::TextShape&, const render::Style&, const render::Affine&, bool) override {}
  void Fill(const render::FillShape&, const render::Style&, const render::Affine&, bool) override {}
  void Image(const render::ImageShape&, const render::Style&, const render::Affine&,
             bool) override {}
};

}  // namespace render_test
