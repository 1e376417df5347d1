// Tracks the Escape key for the long loops of the windows: an application
// event filter that tells the platform whenever Escape goes down or up.
#pragma once

#include <QObject>

namespace unit1 {

class EscapeFilter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace unit1
