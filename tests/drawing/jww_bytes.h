// Hand-made JWW bytes for tests: little-endian primitives, the offsets of the
// header groups as the file format gives them, and the header of a drawing
// with empty strings, to which a test appends its own entity lists.
#pragma once

#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "drawing/jwwunit.h"

namespace drawing_test {

class Bytes {
 public:
  Bytes& u8(std::uint8_t v) {
    s_.push_back(static_cast<char>(v));
    return *this;
  }
  Bytes& u16(std::uint16_t v) { return u8(v & 0xFF).u8(v >> 8); }
  Bytes& u32(std::uint32_t v) { return u16(v & 0xFFFF).u16(v >> 16); }
  Bytes& f64(double d) {
    std::uint64_t bits;
    std::memcpy(&bits, &d, sizeof bits);
    for (int i = 0; i < 8; ++i) u8(static_cast<std::uint8_t>(bits >> (8 * i)));
    return *this;
  }
  Bytes& raw(std::string_view b) {
    s_.append(b);
    return *this;
  }
  // A short single-byte string (length below 255).
  Bytes& str(std::string_view b) { return u8(static_cast<std::uint8_t>(b.size())).raw(b); }
  // An attribute block: 15 bytes from version 351, 13 before.
  Bytes& attr(std::int32_t version, std::uint8_t style, std::uint16_t colour,
              std::uint32_t group = 0) {
    u32(group).u8(style).u16(colour);
    if (version > 350) u16(0);
    return u16(0).u16(0).u16(0);
  }
  Bytes& newClass(std::uint16_t schema, std::string_view name) {
    return u16(0xFFFF).u16(schema).u16(static_cast<std::uint16_t>(name.size())).raw(name);
  }
  // A line body after its tag.
  Bytes& line(std::int32_t version, double x) {
    return attr(version, 1, 1).f64(x).f64(x + 1).f64(x + 2).f64(x + 3);
  }
  // A text body after its tag.
  Bytes& text(std::int32_t version, std::string_view content) {
    attr(version, 1, 1).f64(1).f64(2).f64(3).f64(4).u32(0).f64(2.5).f64(2.5).f64(0).f64(0);
    return str("font").str(content);
  }
  const std::string& data() const { return s_; }
  std::size_t size() const { return s_.size(); }

 private:
  std::string s_;
};

std::uint32_t Le32(const std::string& bytes, std::uint64_t at);
std::uint16_t Le16(const std::string& bytes, std::uint64_t at);
double LeF64(const std::string& bytes, std::uint64_t at);

// First byte of header groups 1 to 18 and of the entity list in a file whose
// memo and names are all empty (each a single length byte), from the file
// format's group sizes.
struct HeaderOffsets {
  std::array<std::uint64_t, 19> group{};  // [1..18]
  std::uint64_t entityList = 0;
};
HeaderOffsets OffsetsWithEmptyStrings(std::int32_t version);

// A drawing with sized header tables, every string empty, no entities, as
// a load of what the writer makes of it gives it back.
jww::Drawing EmptyDrawing(std::int32_t version);

// The bytes the writer makes of `d` up to the entity list (its header).
std::string HeaderBytes(jww::Drawing& d, std::int32_t version);

}  // namespace drawing_test
