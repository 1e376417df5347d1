#include "platform/cp932.h"

#include <cstddef>
#include <cstdint>
#include <optional>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace platform {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Single bytes that code page 932 leaves unassigned. Windows decodes some of
// them anyway (0x80 as U+0080, and on some versions 0xA0 and 0xFD to 0xFF as
// private-use characters) where other systems see none: they are decided
// here, so that a text reads the same on every system.
constexpr bool IsUnassignedSingleByte(unsigned char b) {
  return b == 0x80 || b == 0xA0 || b >= 0xFD;
}

// The bytes that start a double-byte character in code page 932.
constexpr bool IsCp932LeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Decodes one character of one or two bytes, appending its UTF-8 form.
// False when the bytes form no character; nothing is appended then.
#ifdef _WIN32
class CharacterDecoder {
 public:
  bool Append(const char* p, std::size_t n, std::string& out) {
    wchar_t w[2];
    const int got = ::MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, p, static_cast<int>(n), w, 2);
    if (got <= 0) return false;
    out += Utf16ToUtf8(
        std::u16string_view(reinterpret_cast<const char16_t*>(w), static_cast<std::size_t>(got)));
    return true;
  }
};
#else
// One character through the system's conversion tables, when it has them.
class Iconv {
 public:
  Iconv(const char* to, const char* from) : cd_(::iconv_open(to, from)) {}
  ~Iconv() {
    if (Available()) ::iconv_close(cd_);
  }
  Iconv(const Iconv&) = delete;
  Iconv& operator=(const Iconv&) = delete;

  bool Available() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Converts the whole of p[0..n) and appends it; false (nothing appended)
  // when the bytes form no character there.
  bool Append(const char* p, std::size_t n, std::string& out) {
    char buffer[8];
    char* in = const_cast<char*>(p);
    std::size_t inLeft = n;
    char* dst = buffer;
    std::size_t dstLeft = sizeof buffer;
    const std::size_t result = ::iconv(cd_, &in, &inLeft, &dst, &dstLeft);
    if (result == static_cast<std::size_t>(-1) || inLeft != 0) {
      ::iconv(cd_, nullptr, nullptr, nullptr, nullptr);
      return false;
    }
    out.append(buffer, static_cast<std::size_t>(dst - buffer));
    return true;
  }

 private:
  iconv_t cd_;
};

class CharacterDecoder {
 public:
  bool Append(const char* p, std::size_t n, std::string& out) {
    if (!iconv_.Available()) return AppendWithoutTables(p, n, out);
    return iconv_.Append(p, n, out);
  }

 private:
  // Without the system's conversion tables only the half-width katakana can
  // be told; every double-byte character becomes U+FFFD.
  static bool AppendWithoutTables(const char* p, std::size_t n, std::string& out) {
    const auto b = static_cast<unsigned char>(p[0]);
    if (n != 1 || b < 0xA1 || b > 0xDF) return false;
    AppendUtf8(out, static_cast<char32_t>(0xFF61 + (b - 0xA1)));
    return true;
  }

  Iconv iconv_{"UTF-8", "CP932"};
};
#endif

}  // namespace

std::string Cp932ToUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 3 / 2);
  // Opened at the first byte outside ASCII only.
  std::optional<CharacterDecoder> decoder;
  for (std::size_t i = 0; i < bytes.size();) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) {
      out.push_back(static_cast<char>(b));
      ++i;
      continue;
    }
    if (!decoder) decoder.emplace();
    const std::size_t n = IsCp932LeadByte(b) && i + 1 < bytes.size() ? 2 : 1;
    if (!IsUnassignedSingleByte(b) && decoder->Append(bytes.data() + i, n, out)) {
      i += n;
      continue;
    }
    AppendUtf8(out, kReplacement);
    // An ASCII byte after a lead byte is a character of its own.
    const bool asciiTrail = n == 2 && static_cast<unsigned char>(bytes[i + 1]) < 0x80;
    i += asciiTrail ? 1 : n;
  }
  return out;
}

namespace {

// The code point starting at text[i], advancing i; nothing for bytes that
// are no UTF-8 (i still advances).
std::optional<char32_t> NextCodePoint(std::string_view text, std::size_t& i) {
  const auto b = static_cast<unsigned char>(text[i++]);
  if (b < 0x80) return b;
  const int length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC2 ? 2 : 0;
  if (length == 0 || b > 0xF4) return std::nullopt;
  char32_t c = b & (0x3F >> (length - 1));
  for (int k = 1; k < length; ++k) {
    if (i >= text.size()) return std::nullopt;
    const auto t = static_cast<unsigned char>(text[i]);
    if ((t & 0xC0) != 0x80) return std::nullopt;
    c = (c << 6) | (t & 0x3F);
    ++i;
  }
  return c;
}

// Encodes one character in code page 932, appending its bytes. False when
// code page 932 has none for it.
#ifdef _WIN32
class CharacterEncoder {
 public:
  bool Append(char32_t c, std::string& out) {
    wchar_t w[2];
    int units = 1;
    if (c >= 0x10000) {
      w[0] = static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
      w[1] = static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
      units = 2;
    } else {
      w[0] = static_cast<wchar_t>(c);
    }
    char bytes[4];
    BOOL defaulted = FALSE;
    const int got = ::WideCharToMultiByte(932, WC_NO_BEST_FIT_CHARS, w, units, bytes, sizeof bytes,
                                          nullptr, &defaulted);
    if (got <= 0 || defaulted) return false;
    out.append(bytes, static_cast<std::size_t>(got));
    return true;
  }
};
#else
class CharacterEncoder {
 public:
  bool Append(char32_t c, std::string& out) {
    if (!iconv_.Available()) return AppendWithoutTables(c, out);
    std::string utf8;
    AppendUtf8(utf8, c);
    return iconv_.Append(utf8.data(), utf8.size(), out);
  }

 private:
  static bool AppendWithoutTables(char32_t c, std::string& out) {
    if (c < 0xFF61 || c > 0xFF9F) return false;
    out.push_back(static_cast<char>(0xA1 + (c - 0xFF61)));
    return true;
  }

  Iconv iconv_{"CP932", "UTF-8"};
};
#endif

}  // namespace

std::string Utf8ToCp932(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  std::optional<CharacterEncoder> encoder;
  for (std::size_t i = 0; i < text.size();) {
    const std::optional<char32_t> c = NextCodePoint(text, i);
    if (c && *c < 0x80) {
      out.push_back(static_cast<char>(*c));
      continue;
    }
    if (!encoder) encoder.emplace();
    if (!c || !encoder->Append(*c, out)) out.push_back('?');
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view units) {
  std::string out;
  out.reserve(units.size() * 3);
  for (std::size_t i = 0; i < units.size(); ++i) {
    const char32_t u = units[i];
    if (u >= 0xD800 && u <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
        units[i + 1] <= 0xDFFF) {
      AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (units[i + 1] - 0xDC00));
      ++i;
    } else if (u >= 0xD800 && u <= 0xDFFF) {
      AppendUtf8(out, kReplacement);
    } else {
      AppendUtf8(out, u);
    }
  }
  return out;
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

}  // namespace platform
