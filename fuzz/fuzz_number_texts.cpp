// The number texts of the settings file against the C library: text to
// integer against strtoull, text to double against strtod (both in the "C"
// locale the fuzzer runs in), and the general number format round trip: a
// double written and read back is the double rounded to 15 significant
// digits, and writing that again gives the same text. The whole input is
// the text; when it has 8 bytes or more, the first 8 are also a double.
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "common/func.h"

namespace {

constexpr std::string_view kDecimalDigits = "0123456789";
constexpr std::string_view kHexDigits = "0123456789abcdefABCDEF";

std::int32_t ReferenceTextToInt(std::string_view text) {
  const std::size_t start = text.find_first_not_of(' ');
  if (start == std::string_view::npos) return 0;
  text.remove_prefix(start);
  const bool negative = text.front() == '-';
  if (text.front() == '-' || text.front() == '+') text.remove_prefix(1);
  bool hex = false;
  for (std::string_view prefix : {"0x", "0X", "$", "x", "X"}) {
    if (text.starts_with(prefix)) {
      text.remove_prefix(prefix.size());
      hex = true;
      break;
    }
  }
  if (text.empty() || text.find_first_not_of(hex ? kHexDigits : kDecimalDigits) != text.npos) {
    return 0;
  }
  const std::size_t significant = std::min(text.find_first_not_of('0'), text.size());
  text.remove_prefix(significant);
  if (text.size() > (hex ? 8u : 10u)) return 0;
  const unsigned long long value = std::strtoull(std::string(text).c_str(), nullptr, hex ? 16 : 10);
  if (hex) {
    const auto pattern = static_cast<std::uint32_t>(value);
    return static_cast<std::int32_t>(negative ? 0u - pattern : pattern);
  }
  if (value > (negative ? 2147483648ull : 2147483647ull)) return 0;
  return static_cast<std::int32_t>(negative ? -static_cast<long long>(value)
                                            : static_cast<long long>(value));
}

bool SameDouble(double a, double b) {
  return std::memcmp(&a, &b, sizeof a) == 0;
}

void CheckTextToDouble(std::string_view text) {
  double got = 0;
  bool overflow = false;
  try {
    got = func::TextToDouble(text);
  } catch (const func::FloatOverflow&) {
    overflow = true;
  }
  const std::size_t start = text.find_first_not_of(' ');
  const std::string number(start == text.npos ? std::string_view() : text.substr(start));
  // Characters strtod reads beyond the decimal form (hexadecimal, "inf",
  // "nan", other blanks) are left out here.
  if (number.empty() || number.find_first_not_of("0123456789+-.eE") != number.npos) {
    if (overflow || !SameDouble(got, 0.0)) std::abort();
    return;
  }
  char* end = nullptr;
  errno = 0;
  const double expected = std::strtod(number.c_str(), &end);
  const bool outOfRange = errno == ERANGE;
  if (end != number.c_str() + number.size()) {
    if (overflow || !SameDouble(got, 0.0)) std::abort();
  } else if (std::isinf(expected)) {
    if (!overflow) std::abort();
  } else if (overflow) {
    std::abort();
  } else if (!SameDouble(got, expected)) {
    // Below the normal range the result may also be zero.
    if (!outOfRange || got != 0.0) std::abort();
  }
}

// The double rounded to 15 significant digits, by the C library; the few
// that round past the largest double give the largest 15-digit number below.
double RoundedTo15Digits(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%.14e", value);
  const double rounded = std::strtod(text, nullptr);
  return std::isinf(rounded) ? std::copysign(1.79769313486231e308, value) : rounded;
}

void CheckGeneralFormat(double value) {
  if (!std::isfinite(value)) return;
  const std::string text = func::FormatGeneral(value);
  double back = 0;
  try {
    back = func::TextToDouble(text);
  } catch (const func::FloatOverflow&) {
    std::abort();  // a written value must read back
  }
  const double rounded = RoundedTo15Digits(value);
  // Zero is written "0", whatever its sign.
  if (back != rounded && !(std::fpclassify(rounded) == FP_SUBNORMAL && back == 0.0)) std::abort();
  if (func::FormatGeneral(back) != text && back != 0.0) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  if (func::TextToInt(text) != ReferenceTextToInt(text)) std::abort();
  CheckTextToDouble(text);
  const double parsed = func::TextToDoubleOrZero(text);
  CheckGeneralFormat(parsed);
  if (size >= sizeof(double)) {
    double bits = 0;
    std::memcpy(&bits, data, sizeof bits);
    CheckGeneralFormat(bits);
  }
  return 0;
}
