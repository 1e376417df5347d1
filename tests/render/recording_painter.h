// A painter that keeps what the walk hands it, in paper coordinates.
#pragma once

#include <vector>

#include "render/walk.h"

namespace render_test {

struct Painted {
  render::Point a, b;  // a line's ends; a dot's or a text's place in a
  bool greyed = false;
};

class RecordingPainter : public render::PartPainter {
 public:
  std::vector<Painted> lines, arcs, dots, texts, fills, images;

  void Line(const render::LineShape& l, const render::Style&, const render::Affine& to,
            bool greyed) override {
    lines.push_back({to.Apply(l.a), to.Apply(l.b), greyed});
  }
  void Arc(const render::ArcShape& arc, const render::Style&, const render::Affine& to,
           bool greyed) override {
    arcs.push_back({to.Apply(arc.centre), {}, greyed});
  }
  void Dot(const render::PointShape& p, const render::Style&, const render::Affine& to,
           bool greyed) override {
    dots.push_back({to.Apply(p.at), {}, greyed});
  }
  void Text(const render::TextShape& t, const render::Style&, const render::Affine& to,
            bool greyed) override {
    texts.push_back({to.Apply(t.start), {}, greyed});
  }
  void Fill(const render::FillShape& f, const render::Style&, const render::Affine& to,
            bool greyed) override {
    fills.push_back({to.Apply(f.points.front()), {}, greyed});
  }
  void Image(const render::ImageShape& image, const render::Style&, const render::Affine& to,
             bool greyed) override {
    images.push_back({to.Apply(image.corners[0]), to.Apply(image.corners[2]), greyed});
  }
};

}  // namespace render_test
