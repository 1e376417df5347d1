// A string as the JWW archive stores it: its bytes exactly as read, and the
// form it was stored in. Single-byte strings hold code page 932 (Shift-JIS)
// bytes; wide strings hold UTF-16LE code units, two bytes each. Nothing is
// ever converted: a string is written back in the form it was read.
#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace jww {

struct JwwString {
  std::string bytes;  // raw content; for wide strings 2 bytes per code unit
  bool wide = false;  // stored in the archive's UTF-16 form

  JwwString() = default;
  JwwString(std::string b, bool w = false) : bytes(std::move(b)), wide(w) {}

  // Number of characters in the archive's sense: bytes, or UTF-16 code units.
  std::size_t units() const { return wide ? bytes.size() / 2 : bytes.size(); }
  bool empty() const { return bytes.empty(); }
  std::uint16_t unit(std::size_t i) const {
    if (!wide) return static_cast<unsigned char>(bytes[i]);
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[2 * i]) |
                                      (static_cast<unsigned char>(bytes[2 * i + 1]) << 8));
  }

  static JwwString narrow(std::string_view s) { return JwwString(std::string(s), false); }
  // Builds a wide string from ASCII or UTF-16 code units.
  static JwwString fromUtf16(std::u16string_view s) {
    std::string b;
    b.reserve(s.size() * 2);
    for (char16_t c : s) {
      b.push_back(static_cast<char>(c & 0xFF));
      b.push_back(static_cast<char>(c >> 8));
    }
    return JwwString(std::move(b), true);
  }
  std::u16string toUtf16Units() const {
    std::u16string out;
    out.reserve(units());
    for (std::size_t i = 0; i < units(); ++i) out.push_back(static_cast<char16_t>(unit(i)));
    return out;
  }

  friend bool operator==(const JwwString&, const JwwString&) = default;
};

}  // namespace jww
