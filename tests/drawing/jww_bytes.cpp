#include "tests/drawing/jww_bytes.h"

#include <stdexcept>

#include "drawing/jww_writer.h"

namespace drawing_test {

std::uint32_t Le32(const std::string& b, std::uint64_t at) {
  std::uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b.at(at + i));
  return v;
}

std::uint16_t Le16(const std::string& b, std::uint64_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(b.at(at)) |
                                    (static_cast<unsigned char>(b.at(at + 1)) << 8));
}

double LeF64(const std::string& b, std::uint64_t at) {
  std::uint64_t bits = 0;
  for (int i = 7; i >= 0; --i) bits = (bits << 8) | static_cast<unsigned char>(b.at(at + i));
  double d;
  std::memcpy(&d, &bits, sizeof d);
  return d;
}

HeaderOffsets OffsetsWithEmptyStrings(std::int32_t v) {
  const std::uint64_t group15 = v >= 230 ? 144 : v >= 225 ? 136 : v >= 223 ? 104 : 44;
  // Group 16: colours (8 each), colour names and printer values (1 + 16),
  // line types (16), line type names, counts and ten segments (1 + 84).
  const std::uint64_t group16 = v >= 420 ? 257 * 8 + 257 * 17 + 33 * 16 + 33 * 85 : 0;
  const std::array<std::uint64_t, 19> sizes = {0,
                                               8,
                                               16 * 148,
                                               56,
                                               28,
                                               72,
                                               256,
                                               16,
                                               v > 230 ? 44u : 28u,
                                               52,
                                               v > 230 ? 280u : 96u,
                                               168,
                                               160,
                                               128,
                                               164,
                                               group15,
                                               group16,
                                               280,
                                               100};
  HeaderOffsets o;
  std::uint64_t at = 8 + 4 + 1;  // signature, version, empty memo
  for (int g = 1; g <= 18; ++g) {
    o.group[g] = at;
    at += sizes[g];
  }
  o.entityList = at;
  return o;
}

jww::Drawing EmptyDrawing(std::int32_t version) {
  jww::Drawing d;
  d.SizeHeaderTables();
  d.header.signature = "JwwData.";
  d.header.version = version;
  // From 600 the writer turns tens of 0 into 1; start where a load would.
  if (version >= 600) d.header.flag11Tens = 1;
  return d;
}

std::string HeaderBytes(jww::Drawing& d, std::int32_t version) {
  std::string out;
  const auto images = d.images;
  d.images.clear();
  const auto order = d.top.order;
  const auto defs = std::move(d.blockDefs);
  d.top.order.clear();
  d.blockDefs.clear();
  const bool ok = jww::SaveJwwToMemory(d, version, out).ok;
  d.top.order = order;
  d.blockDefs = defs;
  d.images = images;
  if (!ok) throw std::runtime_error("cannot write the header");
  // Without entities the file ends in two zero counts and, from 700, a zero
  // image count.
  out.resize(out.size() - (version >= 700 ? 8 : 4));
  return out;
}

}  // namespace drawing_test
