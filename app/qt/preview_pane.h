// The preview pane right of the file list: the highlighted drawing on
// white, drawn to fit, and the line under it. The wheel zooms about the
// pointer, dragging pans, a double click fits again. Pictures are painted
// off the window's thread; until the new one is ready the last one stands
// in, moved and scaled to where the new one goes.
#pragma once

#include <QImage>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <optional>

#include "app/qt/preview_renderer.h"
#include "app/qt/preview_view.h"
#include "render/display_list.h"

namespace unit1 {

class ElidedLabel;

class PreviewCanvas : public QWidget {
 public:
  explicit PreviewCanvas(QWidget* parent = nullptr);
  ~PreviewCanvas() override;

  // Shows `list` fitted (none: the canvas is empty).
  void Show(std::shared_ptr<const render::DisplayList> list);
  void FitAgain();
  const PreviewView& view() const { return view_; }
  const std::shared_ptr<const render::DisplayList>& list() const { return list_; }
  // The whole picture of the list shown, as the view now is, is on the screen.
  bool PictureShown() const { return pictureShown_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void Fit();
  void Repaint();
  void Accept(const QImage& picture, std::uint64_t request);

  std::shared_ptr<const render::DisplayList> list_;
  PreviewView view_;
  // The last picture painted whole, and the view it was painted through.
  QImage picture_;
  PreviewView pictureView_;
  std::uint64_t wanted_ = 0, pictureRequest_ = 0;
  bool pictureShown_ = true;
  std::optional<QPointF> dragFrom_;
  PreviewRenderer renderer_;
};

class PreviewPane : public QWidget {
 public:
  explicit PreviewPane(QWidget* parent = nullptr);
  void Show(std::shared_ptr<const render::DisplayList> list, const QString& caption);
  PreviewCanvas* canvas() const { return canvas_; }
  QString caption() const;

 private:
  PreviewCanvas* canvas_;
  ElidedLabel* caption_;
};

}  // namespace unit1
