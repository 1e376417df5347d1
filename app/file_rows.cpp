#include "app/file_rows.h"

#include <stdexcept>

namespace unit1 {

const std::string& FileRow::Cell(int column) const {
  switch (column) {
    case 0:
      return nameText;
    case 1:
      return sizeText;
    case 2:
      return kind;
    case 3:
      return memo;
    case 4:
      return time;
    case 5:
      return attributes;
    case 6:
      return retypeText;
    default:
      throw std::out_of_range("no such column");
  }
}

}  // namespace unit1
