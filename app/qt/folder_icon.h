// The pictures of the folder tree's image list: a yellow folder (used for
// every node) and a red one.
#pragma once

#include <QColor>
#include <QIcon>

namespace unit1 {

QIcon FolderIcon(const QColor& colour);

inline QIcon YellowFolder() {
  return FolderIcon(QColor(0xF2, 0xC8, 0x3C));
}

}  // namespace unit1
