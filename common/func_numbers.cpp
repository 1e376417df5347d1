// Number texts of the settings file and the settings dialog: parsing that
// takes the whole text or nothing, and the general number format. Both use
// "." as the decimal point whatever the locale.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <system_error>

#include "common/func.h"

namespace func {

namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::size_t SkipBlanks(std::string_view text, std::size_t i) {
  while (i < text.size() && text[i] == ' ') ++i;
  return i;
}

// Hexadecimal digits up to the end of text, as a 32-bit pattern; false for
// no digits, a non-digit or a value that needs more than 32 bits.
bool ParseHexPattern(std::string_view digits, std::uint32_t& pattern) {
  if (digits.empty()) return false;
  std::uint64_t value = 0;
  for (char c : digits) {
    const int d = HexDigitValue(c);
    if (d < 0) return false;
    value = value * 16 + static_cast<unsigned>(d);
    if (value > 0xFFFFFFFFu) return false;
  }
  pattern = static_cast<std::uint32_t>(value);
  return true;
}

bool ParseDecimal(std::string_view digits, bool negative, std::int32_t& result) {
  if (digits.empty()) return false;
  const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
  std::int64_t value = 0;
  for (char c : digits) {
    if (!IsDigit(c)) return false;
    value = value * 10 + (c - '0');
    if (value > limit) return false;
  }
  result = static_cast<std::int32_t>(negative ? -value : value);
  return true;
}

// The shape of a decimal floating-point text once it has been checked.
struct DecimalShape {
  bool negative = false;
  std::size_t numberStart = 0;  // first byte after the sign
  bool allDigitsZero = true;
  // Decimal exponent of the leading non-zero digit (value ~ 10^leadExponent),
  // saturated; meaningful only when some digit is not zero.
  long long leadExponent = 0;
};

constexpr long long kExponentCap = 1'000'000'000LL;

// Blanks, sign, digits with an optional ".", optional exponent; at least
// one mantissa digit, and at least one exponent digit after "E".
bool CheckDecimalShape(std::string_view text, DecimalShape& shape) {
  std::size_t i = SkipBlanks(text, 0);
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    shape.negative = text[i] == '-';
    ++i;
  }
  shape.numberStart = i;
  std::size_t mantissaDigits = 0;
  long long integerDigitsAfterLead = -1;  // digits before "." from the lead on
  long long fractionZerosBeforeLead = 0;
  while (i < text.size() && IsDigit(text[i])) {
    if (text[i] != '0') shape.allDigitsZero = false;
    if (!shape.allDigitsZero) ++integerDigitsAfterLead;
    ++mantissaDigits;
    ++i;
  }
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && IsDigit(text[i])) {
      if (shape.allDigitsZero) {
        if (text[i] != '0') {
          shape.allDigitsZero = false;
        } else {
          ++fractionZerosBeforeLead;
        }
      }
      ++mantissaDigits;
      ++i;
    }
  }
  if (mantissaDigits == 0) return false;
  long long exponent = 0;
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    ++i;
    bool negativeExponent = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
      negativeExponent = text[i] == '-';
      ++i;
    }
    const std::size_t exponentStart = i;
    while (i < text.size() && IsDigit(text[i])) {
      if (exponent < kExponentCap) exponent = exponent * 10 + (text[i] - '0');
      ++i;
    }
    if (i == exponentStart) return false;
    if (negativeExponent) exponent = -exponent;
  }
  if (i != text.size()) return false;
  const long long lead =
      integerDigitsAfterLead >= 0 ? integerDigitsAfterLead : -(fractionZerosBeforeLead + 1);
  shape.leadExponent = lead + exponent;
  return true;
}

}  // namespace

std::int32_t TextToInt(std::string_view text) {
  std::size_t i = SkipBlanks(text, 0);
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  const std::string_view rest = text.substr(i);
  std::size_t prefix = 0;
  if (rest.starts_with("0x") || rest.starts_with("0X")) {
    prefix = 2;
  } else if (rest.starts_with('$') || rest.starts_with('x') || rest.starts_with('X')) {
    prefix = 1;
  }
  if (prefix > 0) {
    std::uint32_t pattern = 0;
    if (!ParseHexPattern(rest.substr(prefix), pattern)) return 0;
    if (negative) pattern = 0u - pattern;
    return static_cast<std::int32_t>(pattern);
  }
  std::int32_t result = 0;
  return ParseDecimal(rest, negative, result) ? result : 0;
}

double TextToDouble(std::string_view text) {
  DecimalShape shape;
  if (!CheckDecimalShape(text, shape)) return 0.0;
  const double signedZero = shape.negative ? -0.0 : 0.0;
  if (shape.allDigitsZero) return signedZero;
  const char* first = text.data() + shape.numberStart;
  const char* last = text.data() + text.size();
  double value = 0.0;
  const auto [end, error] = std::from_chars(first, last, value, std::chars_format::general);
  if (error == std::errc::result_out_of_range) {
    // The lead digit tells which way the number left the range.
    if (shape.leadExponent > 0) throw FloatOverflow{};
    return signedZero;
  }
  if (error != std::errc() || end != last) return 0.0;
  if (std::isinf(value)) throw FloatOverflow{};
  return shape.negative ? -value : value;
}

double TextToDoubleOrZero(std::string_view text) {
  try {
    return TextToDouble(text);
  } catch (const FloatOverflow&) {
    return 0.0;
  }
}

namespace {

constexpr int kGeneralPrecision = 15;

// Digits of the mantissa without trailing zeros, and the decimal exponent of
// the first digit, after rounding to 15 significant digits.
struct RoundedDecimal {
  std::string digits;
  int exponent = 0;
};

RoundedDecimal RoundTo15Digits(double magnitude) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, magnitude,
                                    std::chars_format::scientific, kGeneralPrecision - 1);
  const std::string_view text(buffer, static_cast<std::size_t>(result.ptr - buffer));
  // text is "d.dddddddddddddde[+-]xx".
  const std::size_t e = text.find('e');
  RoundedDecimal rounded;
  rounded.digits.push_back(text[0]);
  rounded.digits.append(text.substr(2, e - 2));
  while (rounded.digits.size() > 1 && rounded.digits.back() == '0') rounded.digits.pop_back();
  std::string_view exponentText = text.substr(e + 1);
  if (exponentText.starts_with('+')) exponentText.remove_prefix(1);
  std::from_chars(exponentText.data(), exponentText.data() + exponentText.size(), rounded.exponent);
  return rounded;
}

}  // namespace

std::string FormatGeneral(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
  if (value == 0.0) return "0";
  // The largest doubles round to 1.79769313486232E308, past the range: they
  // are written as the largest 15-digit number that reads back.
  constexpr double kLargestReadable = 1.79769313486231e308;
  const RoundedDecimal rounded = RoundTo15Digits(std::min(std::fabs(value), kLargestReadable));
  const std::string& digits = rounded.digits;
  const int exponent = rounded.exponent;
  std::string out = value < 0 ? "-" : "";
  if (exponent >= -4 && exponent < kGeneralPrecision) {
    if (exponent < 0) {
      out += "0.";
      out.append(static_cast<std::size_t>(-exponent - 1), '0');
      out += digits;
    } else {
      const auto integerDigits = static_cast<std::size_t>(exponent + 1);
      if (digits.size() <= integerDigits) {
        out += digits;
        out.append(integerDigits - digits.size(), '0');
      } else {
        out.append(digits, 0, integerDigits);
        out += '.';
        out.append(digits, integerDigits);
      }
    }
    return out;
  }
  out += digits[0];
  if (digits.size() > 1) {
    out += '.';
    out.append(digits, 1);
  }
  out += 'E';
  out += std::to_string(exponent);
  return out;
}

}  // namespace func
