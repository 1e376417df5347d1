// The file list's rows: what a listing writes in each column, and the
// sorting by a column header.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/file_rows.h"
#include "platform/file_time.h"

namespace unit1 {

// Whether a file name matches the pattern of ComboBox1's item: 0 "*.*",
// 1 "*.jw?", 2 "*.jww" (letter case ignored); any other index "*.*".
bool MatchesFileType(int fileType, std::string_view name);

// `number` in decimal, with leading blanks up to `width` characters.
std::string PaddedNumber(std::int64_t number, int width);

// "yyyy/mm/dd hh:mm:ss", local, the seconds rounded down to an even number;
// empty when the time cannot be read.
std::string TimeText(const std::optional<platform::LocalTime>& time);

// The sort key of a text: its code page 932 bytes with the ASCII letters at
// single-byte positions upper-cased.
std::string SortKey(std::string_view utf8);

// Selection sort of the rows by a column's key, ascending or descending:
// columns 0..4 by their texts, upper-cased and compared as unsigned bytes;
// "変換対象" by the number of texts (rows without one first).
void SortRows(std::vector<FileRow>& rows, int column, bool descending);

// The column that covers position x (from the left edge of column 0): each
// column c covers the positions strictly between its left edge and its left
// edge plus its width. None on a boundary or right of the last column.
std::optional<int> ColumnAt(int x, const std::vector<int>& widths);

}  // namespace unit1
