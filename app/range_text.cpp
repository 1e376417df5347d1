#include "app/range_text.h"

#include "common/func.h"

namespace unit2 {

namespace {

// Full-width forms an input method commits, with their ASCII forms: the
// digits, the signs, the decimal marks, "Ｅ"/"ｅ", and the ideographic blank.
std::string AsciiForm(std::string_view text) {
  struct Wide {
    std::string_view utf8;
    char ascii;
  };
  static constexpr Wide kWide[] = {{"０", '0'}, {"１", '1'}, {"２", '2'}, {"３", '3'}, {"４", '4'},
                                   {"５", '5'}, {"６", '6'}, {"７", '7'}, {"８", '8'}, {"９", '9'},
                                   {"．", '.'}, {"，", ','}, {"－", '-'}, {"＋", '+'}, {"−", '-'},
                                   {"Ｅ", 'E'}, {"ｅ", 'e'}, {"　", ' '}};
  std::string ascii;
  for (std::size_t i = 0; i < text.size();) {
    bool matched = false;
    for (const Wide& wide : kWide) {
      if (text.substr(i).starts_with(wide.utf8)) {
        ascii += wide.ascii;
        i += wide.utf8.size();
        matched = true;
        break;
      }
    }
    if (!matched) ascii += text[i++];
  }
  return ascii;
}

bool Digit(char c) {
  return c >= '0' && c <= '9';
}

// sign? digits ("." digits?)? | "." digits, then (e sign? digits)?
bool WellFormed(std::string_view text) {
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < text.size() && Digit(text[i])) ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && Digit(text[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t exponent = 0;
    while (i < text.size() && Digit(text[i])) ++i, ++exponent;
    if (exponent == 0) return false;
  }
  return i == text.size();
}

}  // namespace

RangeReading ReadRangeText(std::string_view typed) {
  std::string text = AsciiForm(typed);
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string::npos) return {0, RangeProblem::kEmpty};
  text = text.substr(first, text.find_last_not_of(' ') - first + 1);
  // A comma is a decimal mark only where no point is.
  if (text.find('.') == std::string::npos && text.find(',') == text.rfind(',')) {
    if (const std::size_t comma = text.find(','); comma != std::string::npos) text[comma] = '.';
  }
  if (!WellFormed(text)) return {0, RangeProblem::kNotNumber};
  double value = 0;
  try {
    value = func::TextToDouble(text);
  } catch (const func::FloatOverflow&) {
    return {0, RangeProblem::kTooLarge};
  }
  if (value < 0 || text.front() == '-') {
    if (value != 0) return {0, RangeProblem::kNegative};
    value = 0;  // "-0" is 0
  }
  return {value, RangeProblem::kNone};
}

}  // namespace unit2
