#include <algorithm>
#include <stdexcept>

#include "common/func.h"

namespace func {

void FixedBufferCopy(char* dst, std::size_t capacity, std::string_view text, int n) {
  const std::size_t want = static_cast<std::size_t>(n < 0 ? -static_cast<long long>(n) : n);
  const std::size_t count = std::min(want, text.size());
  if (count > capacity) throw std::out_of_range("範囲チェックエラー");
  for (std::size_t i = 0; i < count; ++i) dst[i] = text[i];
}

void FixedBufferFill(char* dst, std::size_t capacity, char c, int n) {
  if (n <= 0) return;
  if (static_cast<std::size_t>(n) > capacity) throw std::out_of_range("範囲チェックエラー");
  for (int i = 0; i < n; ++i) dst[i] = c;
}

namespace {

std::string FilterSjis(std::string_view in, bool removeMarkers) {
  std::string out;
  out.reserve(in.size());
  for (std::size_t i = 0; i < in.size();) {
    const auto b = static_cast<unsigned char>(in[i]);
    if (IsLeadByte(b)) {
      out.push_back(in[i]);
      if (i + 1 < in.size()) out.push_back(in[i + 1]);
      i += 2;
    } else if (removeMarkers && b == '^' && i + 1 < in.size() && in[i + 1] == 'm') {
      i += 2;
    } else {
      if (b >= 0x20) out.push_back(in[i]);
      ++i;
    }
  }
  if (removeMarkers && out.empty() && !in.empty()) out.push_back(' ');
  return out;
}

std::u16string FilterUnits(std::u16string_view in, bool removeMarkers) {
  std::u16string out;
  out.reserve(in.size());
  for (std::size_t i = 0; i < in.size();) {
    if (removeMarkers && in[i] == u'^' && i + 1 < in.size() && in[i + 1] == u'm') {
      i += 2;
      continue;
    }
    if (in[i] >= 0x20) out.push_back(in[i]);
    ++i;
  }
  if (removeMarkers && out.empty() && !in.empty()) out.push_back(u' ');
  return out;
}

}  // namespace

std::string DisplayFilter(std::string_view sjis) {
  return FilterSjis(sjis, false);
}
std::string DisplayFilterRemovingMarkers(std::string_view sjis) {
  return FilterSjis(sjis, true);
}
std::u16string DisplayFilter(std::u16string_view units) {
  return FilterUnits(units, false);
}
std::u16string DisplayFilterRemovingMarkers(std::u16string_view units) {
  return FilterUnits(units, true);
}

}  // namespace func
