// The preview pane: the Qt painter of display lists (colours, layers,
// transforms of block uses, arcs), the view's mapping, the pane's picture
// and caption, and its place in the main window.
#include <QApplication>
#include <QImage>
#include <QLabel>
#include <QPainter>
#include <QSplitter>
#include <QTableWidget>
#include <QTest>
#include <QThread>
#include <numbers>
#include <thread>

#include "app/qt/preview_painter.h"
#include "app/qt/preview_pane.h"
#include "tests/gui/window_fixture.h"

namespace gui_test {
namespace {

using render::Point;

// Display lists built by hand, one part per item.
struct ListMaker {
  render::DisplayList list;
  ListMaker() {
    list.styles.push_back({{0, 0, 0}, 0, {}});
    list.layers.assign(256, {});
    list.layerGroups.assign(16, {});
    list.paper = {-100, -100, 100, 100};
  }
  std::uint32_t StyleOf(render::Rgb colour, double widthMm = 0) {
    list.styles.push_back({colour, widthMm, {}});
    return static_cast<std::uint32_t>(list.styles.size() - 1);
  }
  void Add(std::vector<render::Item>& items, render::ShapeKind shape, std::uint32_t index,
           std::uint16_t layer = 0, std::uint32_t style = 0) {
    list.parts.push_back({shape, style, index});
    items.push_back(
        {render::ItemKind::kLine, 0, layer, static_cast<std::uint32_t>(list.parts.size() - 1), 1});
  }
  void Line(Point a, Point b, std::uint16_t layer = 0, std::uint32_t style = 0,
            std::vector<render::Item>* items = nullptr) {
    list.lines.push_back({a, b});
    Add(items ? *items : list.items, render::ShapeKind::kLine,
        static_cast<std::uint32_t>(list.lines.size() - 1), layer, style);
  }
  void Arc(const render::ArcShape& arc) {
    list.arcs.push_back(arc);
    Add(list.items, render::ShapeKind::kArc, static_cast<std::uint32_t>(list.arcs.size() - 1));
  }
  void Text(const char* utf8, Point start, double size, int newType, std::uint32_t style = 0) {
    render::TextShape text;
    text.start = start;
    text.height = size;
    text.utf8 = utf8;
    text.glyphs.push_back({utf8, 0, size, false});
    text.newType = newType;
    list.texts.push_back(text);
    Add(list.items, render::ShapeKind::kText, static_cast<std::uint32_t>(list.texts.size() - 1), 0,
        style);
  }
  void Use(const render::UseShape& use) {
    list.uses.push_back(use);
    Add(list.items, render::ShapeKind::kUse, static_cast<std::uint32_t>(list.uses.size() - 1));
  }
};

// The list painted fitted to the paper -100..100 on a white image.
struct Painted {
  Painted(const render::DisplayList& list, int size = 200)
      : image(size, size, QImage::Format_RGB32) {
    image.fill(Qt::white);
    view.Fit({-100, -100, 100, 100}, QSizeF(size, size));
    QPainter painter(&image);
    unit1::PaintDisplayList(list, painter, view, image.rect());
  }
  QColor At(Point p) const { return image.pixelColor(view.ToPixels(p).toPoint()); }
  // Pixels of exactly `colour` within `radius` pixels of the paper point.
  int CountNear(Point p, QColor colour, int radius = 6) const {
    const QPoint centre = view.ToPixels(p).toPoint();
    int count = 0;
    for (int y = centre.y() - radius; y <= centre.y() + radius; ++y) {
      for (int x = centre.x() - radius; x <= centre.x() + radius; ++x) {
        if (image.valid(x, y) && image.pixelColor(x, y) == colour) ++count;
      }
    }
    return count;
  }
  bool InkNear(Point p, int radius = 2) const {
    const QPoint centre = view.ToPixels(p).toPoint();
    for (int y = centre.y() - radius; y <= centre.y() + radius; ++y) {
      for (int x = centre.x() - radius; x <= centre.x() + radius; ++x) {
        if (image.valid(x, y) && qGray(image.pixel(x, y)) < 160) return true;
      }
    }
    return false;
  }
  QImage image;
  unit1::PreviewView view;
};

QColor Qt(render::Rgb rgb) {
  return QColor(rgb.r, rgb.g, rgb.b);
}

TEST(PreviewViewTest, FitZoomAndPanMapPaperOntoPixels) {
  unit1::PreviewView view;
  view.Fit({0, 0, 100, 50}, QSizeF(200, 200));
  EXPECT_DOUBLE_EQ(view.scale(), 1.88);  // the wider side across 94 % of the pane
  EXPECT_EQ(view.ToPixels({50, 25}), QPointF(100, 100));
  EXPECT_EQ(view.ToPixels({0, 50}), QPointF(6, 53));  // paper y up, pixels y down
  EXPECT_TRUE(view.fitted());

  const QPointF pointer(30, 40);
  const Point under = view.ToPaper(pointer);
  view.ZoomAt(pointer, 2);
  EXPECT_DOUBLE_EQ(view.scale(), 3.76);
  EXPECT_NEAR(view.ToPixels(under).x(), 30, 1e-9);
  EXPECT_NEAR(view.ToPixels(under).y(), 40, 1e-9);
  view.PanBy({5, -7});
  EXPECT_NEAR(view.ToPixels(under).x(), 35, 1e-9);
  EXPECT_NEAR(view.ToPixels(under).y(), 33, 1e-9);
  EXPECT_FALSE(view.fitted());
  EXPECT_EQ(view.Transform().map(QPointF(under.x, under.y)), view.ToPixels(under));
}

TEST(PreviewPainterTest, LayersColoursAndMarkedTexts) {
  ListMaker make;
  make.list.layers[1].state = render::LayerState::kHidden;
  make.list.layers[2].state = render::LayerState::kShownOnly;
  const std::uint32_t thick = make.StyleOf({0, 0, 0}, 4);
  make.Line({-90, 60}, {90, 60}, 0, thick);
  make.Line({-90, 40}, {90, 40}, 1, thick);
  make.Line({-90, 20}, {90, 20}, 2, thick);
  make.list.styles.push_back({{0, 0, 0}, 4, {10, 10}});  // dashes of 10 mm
  make.Line({-90, 80}, {90, 80}, 0, static_cast<std::uint32_t>(make.list.styles.size() - 1));
  const std::uint32_t blue = make.StyleOf({0, 0, 255});
  make.Text("田", {-80, -60}, 40, 0, blue);
  make.Text("田", {20, -60}, 40, 3, blue);
  const Painted painted(make.list);

  EXPECT_TRUE(painted.InkNear({0, 60}));
  int dashes = 0;  // dark runs along the dashed line, 20 mm apart
  for (double x = -90, inked = 0; x <= 90; x += 1) {
    const bool dark = painted.InkNear({x, 80}, 0);
    dashes += dark && !inked;
    inked = dark;
  }
  EXPECT_GE(dashes, 8);
  EXPECT_LE(dashes, 10);
  EXPECT_FALSE(painted.InkNear({0, 40}, 4));  // the hidden layer
  EXPECT_GT(painted.CountNear({0, 20}, Qt(render::kGreyedColour), 2), 0);
  EXPECT_EQ(painted.CountNear({0, 60}, Qt(render::kGreyedColour), 2), 0);
  // The plain text in its pen's colour, the retyped one in the marking
  // colour with its new type after it.
  EXPECT_GT(painted.CountNear({-60, -40}, QColor(0, 0, 255), 20), 20);
  EXPECT_EQ(painted.CountNear({-60, -40}, Qt(render::kMarkColour), 20), 0);
  EXPECT_GT(painted.CountNear({40, -40}, Qt(render::kMarkColour), 20), 20);
  EXPECT_EQ(painted.CountNear({40, -40}, QColor(0, 0, 255), 20), 0);
  EXPECT_GT(painted.CountNear({80, -50}, Qt(render::kMarkColour), 10), 0);
}

TEST(PreviewPainterTest, BlockUsesAndArcsLandWhereTheyBelong) {
  ListMaker make;
  make.list.symbols.push_back({});
  make.Line({0, 0}, {10, 0}, 0, 0, &make.list.symbols[0].items);
  // Scaled by 3 and turned a quarter: the line goes up from (-50, 0).
  make.Use({0, {-50, 0}, 3, 3, std::numbers::pi / 2});
  // Flattened to half, tilted a quarter: 40 tall, 20 wide around (50, 0);
  // only its upper half (start 0, span a half turn in its own frame,
  // which the tilt turns to the left half).
  render::ArcShape arc;
  arc.centre = {50, 0};
  arc.radius = 40;
  arc.flatness = 0.5;
  arc.tilt = std::numbers::pi / 2;
  arc.start = 0;
  arc.span = std::numbers::pi;
  make.Arc(arc);
  const Painted painted(make.list, 400);

  EXPECT_TRUE(painted.InkNear({-50, 25}));
  EXPECT_FALSE(painted.InkNear({-35, 0}, 4));  // where the untransformed line would lie
  EXPECT_FALSE(painted.InkNear({-50, -5}, 3));
  EXPECT_TRUE(painted.InkNear({50, 40}));
  EXPECT_TRUE(painted.InkNear({30, 0}));      // the left end of the flat axis
  EXPECT_FALSE(painted.InkNear({70, 0}, 4));  // the right half is not part of the arc
  EXPECT_TRUE(painted.InkNear({50, -40}));
  EXPECT_FALSE(painted.InkNear({10, 0}, 4));  // not drawn round at its full radius
}

// Waits until the canvas has painted its finished picture and grabs it.
QImage ShownPicture(unit1::PreviewCanvas* canvas) {
  EXPECT_TRUE(QTest::qWaitFor(
      [&] {
        canvas->repaint();
        return canvas->PictureShown();
      },
      5000));
  return canvas->grab().toImage();
}

TEST(PreviewPaneTest, ShowsThePictureOffTheWindowsThreadWithItsCaption) {
  unit1::PreviewPane pane;
  pane.resize(300, 240);
  pane.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&pane));
  ListMaker make;
  make.Text("田", {-20, -20}, 40, 2);
  pane.Show(std::make_shared<render::DisplayList>(make.list), "変換対象 1 件 (文字種2: 1)");
  EXPECT_EQ(pane.findChild<QLabel*>("PreviewCaption")->text(), "変換対象 1 件 (文字種2: 1)");
  auto marked = [](const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x)
        count += image.pixelColor(x, y) == Qt(render::kMarkColour);
    }
    return count;
  };
  unit1::PreviewCanvas* canvas = pane.canvas();
  EXPECT_GT(marked(ShownPicture(canvas)), 50);
  // A double click fits again after the wheel and a drag.
  const unit1::PreviewView fitted = canvas->view();
  QWheelEvent wheel(QPointF(40, 40), canvas->mapToGlobal(QPointF(40, 40)), {}, {0, 240},
                    ::Qt::NoButton, ::Qt::NoModifier, ::Qt::NoScrollPhase, false);
  QApplication::sendEvent(canvas, &wheel);
  EXPECT_DOUBLE_EQ(canvas->view().scale(), fitted.scale() * 1.5625);
  QTest::mousePress(canvas, ::Qt::LeftButton, {}, {100, 100});
  QTest::mouseMove(canvas, {140, 90});
  QTest::mouseRelease(canvas, ::Qt::LeftButton, {}, {140, 90});
  EXPECT_FALSE(canvas->view().fitted());
  QTest::mouseDClick(canvas, ::Qt::LeftButton, {}, {140, 90});
  EXPECT_EQ(canvas->view(), fitted);

  pane.Show(nullptr, "");
  EXPECT_EQ(marked(ShownPicture(canvas)), 0);
}

TEST_F(WindowTest, PreviewWidthRoundTripsAndTasksPostedFromAnyThreadRunOnTheWindows) {
  Start();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(form1_.get()));
  form1_->SetPreviewWidth(180);
  EXPECT_EQ(form1_->PreviewWidth(), 180);
  EXPECT_EQ(form1_->findChild<QWidget*>("PreviewPane")->width(), 180);
  form1_->SetPreviewWidth(240);
  EXPECT_EQ(form1_->PreviewWidth(), 240);

  QThread* ranOn = nullptr;
  std::thread poster([&] { form1_->PostToWindow([&] { ranOn = QThread::currentThread(); }); });
  poster.join();
  EXPECT_EQ(ranOn, nullptr);  // queued, not run on the posting thread
  EXPECT_TRUE(QTest::qWaitFor([&] { return ranOn != nullptr; }, 2000));
  EXPECT_EQ(ranOn, QApplication::instance()->thread());
}

// The count column filled in after the listing, a drawing that cannot be
// read marked with its reason, and the highlighted drawing in the preview.
TEST_F(WindowTest, RetypeColumnAndThePreviewOfTheHighlightedDrawing) {
  WriteDrawings(data_, {"GOOD.JWW"});
  testing_support::WriteFileBytes(data_ / "BAD.JWW", "not a drawing");
  Start();
  ListFolder(data_);
  ASSERT_EQ(Grid()->rowCount(), 2);
  ASSERT_EQ(Grid()->columnCount(), 7);
  EXPECT_EQ(Grid()->horizontalHeaderItem(6)->text(), "変換対象");
  const int bad = Grid()->item(0, 0)->text() == "BAD.JWW" ? 0 : 1;
  const int good = 1 - bad;
  ASSERT_TRUE(QTest::qWaitFor([&] { return !Grid()->item(bad, 6)->text().isEmpty(); }, 5000));
  EXPECT_EQ(Grid()->item(bad, 6)->text(), "×");
  EXPECT_FALSE(Grid()->item(bad, 0)->toolTip().isEmpty());
  EXPECT_EQ(Grid()->item(bad, 6)->toolTip(), Grid()->item(bad, 0)->toolTip());
  EXPECT_EQ(Grid()->item(good, 6)->text(), "0");
  EXPECT_TRUE(Grid()->item(good, 6)->toolTip().isEmpty());
  EXPECT_EQ(Grid()->item(good, 6)->textAlignment() & ::Qt::AlignHorizontal_Mask, ::Qt::AlignRight);

  form1_->form().ListHighlightChanged({static_cast<std::size_t>(good)});
  auto* canvas = static_cast<unit1::PreviewCanvas*>(form1_->findChild<QWidget*>("PreviewCanvas"));
  EXPECT_TRUE(QTest::qWaitFor([&] { return canvas->list() != nullptr; }, 5000));
  EXPECT_EQ(form1_->findChild<QLabel*>("PreviewCaption")->text(), "変換対象 0 件");
  form1_->form().ListHighlightChanged({static_cast<std::size_t>(bad)});
  EXPECT_TRUE(QTest::qWaitFor([&] { return canvas->list() == nullptr; }, 5000));
  EXPECT_EQ(form1_->findChild<QLabel*>("PreviewCaption")->text().toStdString(),
            Grid()->item(bad, 0)->toolTip().toStdString());
}

}  // namespace
}  // namespace gui_test
