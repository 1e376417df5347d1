#include "app/qt/escape_filter.h"

#include <QEvent>
#include <QKeyEvent>

namespace unit1 {

bool EscapeFilter::TakePress() {
  const bool answer = (down_ || pressed_) && listening_();
  pressed_ = false;
  return answer;
}

bool EscapeFilter::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape && !key->isAutoRepeat()) {
      down_ = type == QEvent::KeyPress && listening_();
      if (down_) pressed_ = true;
    }
  } else if (type == QEvent::ApplicationDeactivate) {
    down_ = false;  // a release while another program has the keyboard
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace unit1
