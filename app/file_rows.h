// The file list as records: one row per file of the listed folder.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace unit1 {

inline constexpr int kColumnCount = 7;
inline constexpr int kRetypeColumn = 6;  // "変換対象"

struct FileRow {
  std::filesystem::path name;  // the file's name in the listed folder; empty for an empty row
  std::string nameText;        // UTF-8, as shown (column 0)
  std::int64_t size = 0;
  std::string sizeText;     // padded with leading blanks to the column's width (column 1)
  std::string kind;         // the extension, upper-cased (column 2)
  std::string memo;         // UTF-8, display-filtered (column 3)
  std::string time;         // "yyyy/mm/dd hh:mm:ss", local (column 4)
  std::string attributes;   // "A ", "R " (column 5)
  std::string nameSortKey;  // the name's Shift-JIS bytes, upper-cased
  std::string memoSortKey;  // the memo's likewise
  // Column 6 "変換対象": the number of texts the current settings would
  // retype, filled in after the listing; "×" for a drawing that cannot be
  // read, with the reason as the row's tooltip; empty while not yet known
  // and for files that are no JWW drawing.
  std::string retypeText;
  int retypeCount = -1;  // -1: not known (yet), not a drawing or unreadable
  std::string tooltip;   // UTF-8; empty: none
  // The text of column 0..6.
  const std::string& Cell(int column) const;
};

// Rows of the list, counted from 0 (the header is not a row), ascending and
// each once; empty: none.
using RowSet = std::vector<std::size_t>;

}  // namespace unit1
