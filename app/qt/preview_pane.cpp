#include "app/qt/preview_pane.h"

#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>

#include "app/qt/elided_text.h"

namespace unit1 {

namespace {

// One notch of the wheel (120) zooms by this factor.
constexpr double kZoomPerNotch = 1.25;

render::Rect FitArea(const render::DisplayList& list) {
  return list.bounds.empty() ? list.paper : list.bounds;
}

}  // namespace

PreviewCanvas::PreviewCanvas(QWidget* parent)
    : QWidget(parent), renderer_([this](QImage picture, std::uint64_t request) {
        QMetaObject::invokeMethod(
            this, [this, picture = std::move(picture), request] { Accept(picture, request); },
            Qt::QueuedConnection);
      }) {
  setObjectName(QStringLiteral("PreviewCanvas"));
  setAttribute(Qt::WA_OpaquePaintEvent);
  setMinimumSize(40, 40);
  setCursor(Qt::OpenHandCursor);
}

PreviewCanvas::~PreviewCanvas() {
  renderer_.Cancel();
}

void PreviewCanvas::Show(std::shared_ptr<const render::DisplayList> list) {
  renderer_.Release(std::move(list_));
  list_ = std::move(list);
  picture_ = QImage();
  Fit();
}

void PreviewCanvas::FitAgain() {
  Fit();
}

void PreviewCanvas::Fit() {
  if (list_) view_.Fit(FitArea(*list_), size());
  Repaint();
}

// Asks for the picture of the view as it now is.
void PreviewCanvas::Repaint() {
  pictureShown_ = false;
  if (!list_ || width() <= 0 || height() <= 0) {
    renderer_.Cancel();
    picture_ = QImage();
  } else {
    wanted_ = renderer_.Request(list_, view_, size(), devicePixelRatioF());
  }
  update();
}

void PreviewCanvas::Accept(const QImage& picture, std::uint64_t request) {
  if (request != wanted_) return;
  picture_ = picture;
  pictureView_ = view_;
  pictureRequest_ = request;
  update();
}

void PreviewCanvas::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (!list_) {
    pictureShown_ = true;
    return;
  }
  if (picture_.isNull()) return;
  if (pictureRequest_ == wanted_) {
    painter.drawImage(QPointF(0, 0), picture_);
    pictureShown_ = true;
    return;
  }
  // The last picture where its paper now goes, while the new one is painted.
  painter.setTransform(pictureView_.Transform().inverted() * view_.Transform());
  painter.drawImage(QPointF(0, 0), picture_);
}

void PreviewCanvas::resizeEvent(QResizeEvent* event) {
  if (view_.fitted() || !list_) {
    Fit();
    return;
  }
  view_.Resize(event->oldSize(), event->size());
  Repaint();
}

void PreviewCanvas::wheelEvent(QWheelEvent* event) {
  if (!list_) return;
  const double notches = event->angleDelta().y() / 120.0;
  if (notches == 0) return;
  view_.ZoomAt(event->position(), std::pow(kZoomPerNotch, notches));
  Repaint();
  event->accept();
}

void PreviewCanvas::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragFrom_ = event->position();
  setCursor(Qt::ClosedHandCursor);
}

void PreviewCanvas::mouseMoveEvent(QMouseEvent* event) {
  if (!dragFrom_ || !list_) return;
  view_.PanBy(event->position() - *dragFrom_);
  dragFrom_ = event->position();
  Repaint();
}

void PreviewCanvas::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragFrom_.reset();
  setCursor(Qt::OpenHandCursor);
}

void PreviewCanvas::mouseDoubleClickEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) Fit();
}

PreviewPane::PreviewPane(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("PreviewPane"));
  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(2);
  canvas_ = new PreviewCanvas(this);
  column->addWidget(canvas_, 1);
  caption_ = new ElidedLabel(this);
  caption_->setObjectName(QStringLiteral("PreviewCaption"));
  caption_->setTextFormat(Qt::PlainText);
  caption_->setContentsMargins(4, 0, 4, 2);
  column->addWidget(caption_);
}

void PreviewPane::Show(std::shared_ptr<const render::DisplayList> list, const QString& caption) {
  caption_->SetFullText(caption);
  canvas_->Show(std::move(list));
}

QString PreviewPane::caption() const {
  return caption_->fullText();
}

}  // namespace unit1
