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
class CharacterDecoder {
 public:
  CharacterDecoder() : cd_(::iconv_open("UTF-8", "CP932")) {}
  ~CharacterDecoder() {
    if (Available()) ::iconv_close(cd_);
  }
  CharacterDecoder(const CharacterDecoder&) = delete;
  CharacterDecoder& operator=(const CharacterDecoder&) = delete;

  bool Append(const char* p, std::size_t n, std::string& out) {
    if (!Available()) return AppendWithoutTables(p, n, out);
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
  bool Available() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

  // Without the system's conversion tables only the half-width katakana can
  // be told; every double-byte character becomes U+FFFD.
  static bool AppendWithoutTables(const char* p, std::size_t n, std::string& out) {
    const auto b = static_cast<unsigned char>(p[0]);
    if (n != 1 || b < 0xA1 || b > 0xDF) return false;
    AppendUtf8(out, static_cast<char32_t>(0xFF61 + (b - 0xA1)));
    return true;
  }

  iconv_t cd_;
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
