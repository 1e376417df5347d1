#include "app/qt/preview_renderer.h"

#include <QPainter>

#include "app/qt/preview_painter.h"

namespace unit1 {

PreviewRenderer::PreviewRenderer(Done done) : done_(std::move(done)), thread_([this] { Run(); }) {}

PreviewRenderer::~PreviewRenderer() {
  {
    std::lock_guard lock(mutex_);
    ending_ = true;
    next_.reset();
  }
  ++latest_;
  wake_.notify_one();
  thread_.join();
}

std::uint64_t PreviewRenderer::Request(std::shared_ptr<const render::DisplayList> list,
                                       const PreviewView& view, QSize size, double pixelRatio) {
  const std::uint64_t number = ++latest_;
  {
    std::lock_guard lock(mutex_);
    next_ = Job{std::move(list), view, size, pixelRatio, number};
  }
  wake_.notify_one();
  return number;
}

void PreviewRenderer::Cancel() {
  ++latest_;
  std::lock_guard lock(mutex_);
  next_.reset();
}

void PreviewRenderer::Release(std::shared_ptr<const render::DisplayList> list) {
  if (!list) return;
  {
    std::lock_guard lock(mutex_);
    released_.push_back(std::move(list));
  }
  wake_.notify_one();
}

void PreviewRenderer::Run() {
  for (;;) {
    Job job;
    std::vector<std::shared_ptr<const render::DisplayList>> released;
    {
      std::unique_lock lock(mutex_);
      wake_.wait(lock, [this] { return ending_ || next_ || !released_.empty(); });
      if (ending_) return;
      released.swap(released_);
      if (next_) {
        job = std::move(*next_);
        next_.reset();
      }
    }
    released.clear();
    if (job.number == 0) continue;
    QImage picture(job.size * job.pixelRatio, QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(job.pixelRatio);
    picture.fill(Qt::white);
    bool whole = true;
    if (job.list) {
      QPainter painter(&picture);
      // A margin around the pane: lines just outside still reach into it.
      const QRectF area = QRectF(QPointF(0, 0), QSizeF(job.size)).adjusted(-4, -4, 4, 4);
      whole = PaintDisplayList(*job.list, painter, job.view, area,
                               [this, &job] { return latest_.load() == job.number; });
    }
    job.list.reset();  // the window may let go of it before the next request
    if (whole && latest_.load() == job.number) done_(std::move(picture), job.number);
  }
}

}  // namespace unit1
