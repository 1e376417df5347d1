#include "app/file_list.h"

#include <cstdio>
#include <utility>

#include "common/ascii_case.h"
#include "common/func.h"
#include "platform/cp932.h"
#include "platform/file_time.h"

namespace unit1 {

namespace {

const std::string& ColumnKey(const FileRow& row, int column) {
  if (column == 0) return row.nameSortKey;
  if (column == 3) return row.memoSortKey;
  return row.Cell(column);
}

bool Before(const FileRow& a, const FileRow& b, int column) {
  if (column == kRetypeColumn) return a.retypeCount < b.retypeCount;
  return ColumnKey(a, column) < ColumnKey(b, column);
}

}  // namespace

bool MatchesFileType(int fileType, std::string_view name) {
  if (fileType != 1 && fileType != 2) return true;
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos) return false;
  const std::string_view ext = name.substr(dot + 1);
  return fileType == 1 ? ext.size() == 3 && func::SameIgnoringAsciiCase(ext.substr(0, 2), "jw")
                       : func::SameIgnoringAsciiCase(ext, "jww");
}

std::string PaddedNumber(std::int64_t number, int width) {
  std::string text = std::to_string(number);
  if (static_cast<int>(text.size()) < width) text.insert(0, width - text.size(), ' ');
  return text;
}

std::string TimeText(const std::optional<platform::LocalTime>& t) {
  if (!t) return {};
  char text[32];
  std::snprintf(text, sizeof text, "%04d/%02d/%02d %02d:%02d:%02d", t->year, t->month, t->day,
                t->hour, t->minute, t->second - t->second % 2);
  return text;
}

std::string SortKey(std::string_view utf8) {
  std::string key = platform::Utf8ToCp932(utf8);
  for (std::size_t i = 0; i < key.size(); ++i) {
    const auto b = static_cast<unsigned char>(key[i]);
    if (func::IsLeadByte(b)) {
      ++i;
    } else {
      key[i] = func::AsciiUpper(key[i]);
    }
  }
  return key;
}

void SortRows(std::vector<FileRow>& rows, int column, bool descending) {
  for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
    std::size_t best = i;
    for (std::size_t j = i + 1; j < rows.size(); ++j) {
      if (descending ? Before(rows[best], rows[j], column) : Before(rows[j], rows[best], column)) {
        best = j;
      }
    }
    if (best != i) std::swap(rows[i], rows[best]);
  }
}

std::optional<int> ColumnAt(int x, const std::vector<int>& widths) {
  int left = 0;
  for (std::size_t c = 0; c < widths.size(); ++c) {
    if (x > left && x < left + widths[c]) return static_cast<int>(c);
    left += widths[c];
  }
  return std::nullopt;
}

}  // namespace unit1
