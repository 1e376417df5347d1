// Paints pictures of display lists on a thread of its own, so that no
// drawing, however large, holds up the window: each new request abandons
// the one being painted, which stops at its next item.
#pragma once

#include <QImage>
#include <QSize>
#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "app/qt/preview_view.h"
#include "render/display_list.h"

namespace unit1 {

class PreviewRenderer {
 public:
  // `done` receives each picture painted whole with its request's number,
  // on the renderer's thread.
  using Done = std::function<void(QImage picture, std::uint64_t request)>;
  explicit PreviewRenderer(Done done);
  ~PreviewRenderer();
  PreviewRenderer(const PreviewRenderer&) = delete;
  PreviewRenderer& operator=(const PreviewRenderer&) = delete;

  // Asks for `list` through `view` on white, `size` pixels at
  // `pixelRatio` device pixels each; returns the request's number.
  std::uint64_t Request(std::shared_ptr<const render::DisplayList> list, const PreviewView& view,
                        QSize size, double pixelRatio);
  // Abandons the picture being painted, if any.
  void Cancel();
  // Lets go of `list` on the renderer's thread: freeing a huge list takes
  // longer than the window may stand still.
  void Release(std::shared_ptr<const render::DisplayList> list);

 private:
  struct Job {
    std::shared_ptr<const render::DisplayList> list;
    PreviewView view;
    QSize size;
    double pixelRatio = 1;
    std::uint64_t number = 0;
  };
  void Run();

  Done done_;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::optional<Job> next_;
  std::vector<std::shared_ptr<const render::DisplayList>> released_;
  bool ending_ = false;
  std::atomic<std::uint64_t> latest_{0};
  std::thread thread_;
};

}  // namespace unit1
