// Tracks the Escape key for the long loops of the window: an application
// event filter that remembers a press until the loop asks, so that a press
// between two looks is never missed.
#pragma once

#include <QObject>
#include <functional>

namespace unit1 {

class EscapeFilter : public QObject {
 public:
  // Presses count only while `listening` answers true (a loop is going and
  // no box is open over it), so that an Escape that closed a box earlier
  // cannot stop the next run.
  explicit EscapeFilter(std::function<bool()> listening, QObject* parent = nullptr)
      : QObject(parent), listening_(std::move(listening)) {}

  // True when Escape is down now or went down since the last call; forgets
  // the press.
  bool TakePress();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<bool()> listening_;
  bool down_ = false;
  bool pressed_ = false;
};

}  // namespace unit1
