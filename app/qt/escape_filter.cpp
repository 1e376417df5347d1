#include "app/qt/escape_filter.h"

#include <QEvent>
#include <QKeyEvent>

#include "platform/keyboard.h"

namespace unit1 {

bool EscapeFilter::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape && !key->isAutoRepeat()) {
      platform::SetEscapeState(type == QEvent::KeyPress);
    }
  } else if (type == QEvent::ApplicationDeactivate) {
    platform::SetEscapeState(false);  // a release while another program has the keyboard
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace unit1
