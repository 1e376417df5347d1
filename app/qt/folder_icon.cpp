#include "app/qt/folder_icon.h"

#include <QPainter>
#include <QPixmap>

namespace unit1 {

QIcon FolderIcon(const QColor& colour) {
  QPixmap picture(16, 16);
  picture.fill(Qt::transparent);
  QPainter painter(&picture);
  painter.setPen(colour.darker(160));
  painter.setBrush(colour);
  painter.drawRect(1, 2, 6, 3);   // tab
  painter.drawRect(1, 4, 13, 9);  // body
  painter.setPen(colour.lighter(130));
  painter.drawLine(2, 6, 13, 6);
  return QIcon(picture);
}

}  // namespace unit1
