// Writes the synthetic seeds of every fuzz target into OUT/<target>/:
// drawings of each file layout version built through the test support,
// JWC and JWK headers, settings files in the forms the program reads, and
// number texts at the edges of their ranges.
//   make_fuzz_seeds OUT
#include <cstdint>
#include <cstring>
#include <exception>
#include <filesystem>
#include <iostream>
#include <limits>
#include <string>
#include <vector>

#include "drawing/jww_writer.h"
#include "fuzz/scratch_folder.h"
#include "tests/support/paths.h"
#include "tests/support/synthetic.h"

namespace {

namespace fs = std::filesystem;
using testing_support::WriteFileBytes;

// Every version at which the file layout changes, and one on each side.
constexpr std::int32_t kVersions[] = {220, 221, 223, 224, 225, 229, 230, 231,
                                      300, 350, 351, 419, 420, 600, 700};

std::string Saved(jww::Drawing& d) {
  std::string bytes;
  const jww::SaveResult saved = jww::SaveJwwToMemory(d, d.header.version, bytes);
  if (!saved.ok) throw std::runtime_error("cannot save a seed drawing: " + saved.error);
  return bytes;
}

void WriteDrawings(const fs::path& loader, const fs::path& probe) {
  for (std::int32_t v : kVersions) {
    const std::string name = "v" + std::to_string(v);
    jww::Drawing header = synthetic::MakeHeaderOnly(v);
    const std::string headerBytes = Saved(header);
    WriteFileBytes(loader / (name + "-header.jww"), headerBytes);
    WriteFileBytes(probe / (name + "-header.jww"), headerBytes);
    jww::Drawing full = synthetic::MakeFullDrawing(v);
    WriteFileBytes(loader / (name + "-full.jww"), Saved(full));
  }
  const fuzzing::ScratchFolder images;
  jww::Drawing pictured = synthetic::MakeFullDrawing(700);
  synthetic::AddImage(pictured, images.path(), synthetic::Text(700, "pic.bmp"), 96, 1);
  synthetic::AddImage(pictured, images.path(), synthetic::Text(700, "tiny.bmp"), 3, 2, false);
  WriteFileBytes(loader / "v700-images.jww", Saved(pictured));
}

// `size` bytes starting with `start`, the memo fields at bytes 40 and 72.
std::string HeaderRecords(std::size_t size, const std::string& start) {
  std::string bytes(size, ',');
  bytes.replace(0, start.size(), start);
  const std::string field1 = "\x90\x7d\x96\xca memo ABC";  // Shift-JIS, then ASCII
  const std::string field2 = std::string("DEF\0\0\t\r\n", 8) + "\x82\xa0";
  bytes.replace(40, field1.size(), field1);
  bytes.replace(72, field2.size(), field2);
  return bytes;
}

void WriteHeaders(const fs::path& jwc, const fs::path& jwk) {
  const std::string signature = "jw_cad(c)data.......";
  WriteFileBytes(jwc / "signed.jwc", HeaderRecords(800, signature));
  WriteFileBytes(jwc / "unsigned.jwc", HeaderRecords(800, "jw_cad(c)data......"));
  WriteFileBytes(jwc / "short.jwc", HeaderRecords(799, signature));
  WriteFileBytes(jwc / "signature-only.jwc", signature);
  WriteFileBytes(jwk / "figure.jwk", HeaderRecords(400, ""));
  WriteFileBytes(jwk / "short.jwk", HeaderRecords(399, ""));
}

// The settings file as the program writes it, every key in its order.
std::string SettingsFile(const std::string& ending) {
  std::string ini = "[Form]" + ending;
  for (const char* key : {"F1_X=192", "F1_Y=107", "F1_W=696", "F1_H=478", "F2_X=192", "F2_Y=111",
                          "F2_W=748", "F2_H=502"}) {
    ini += key + ending;
  }
  ini += "[Comp]" + ending + "F1P1=160" + ending;
  for (int c = 0; c <= 5; ++c) ini += "F1S" + std::to_string(c) + "=64" + ending;
  ini += "[Set]" + ending + "FLD1=C:\\\x90\x7d\x96\xca\\" + ending + "FLD2=" + ending + "FTYP=0" +
         ending;
  ini += "[JWW]" + ending;
  for (int n = 1; n <= 60; ++n) ini += "C" + std::to_string(n) + "=0.5" + ending;
  ini += "[JWC]" + ending;
  for (int n = 1; n <= 12; ++n) ini += "C" + std::to_string(n) + "=1" + ending;
  return ini;
}

void WriteSettingsFiles(const fs::path& dir) {
  // Each seed is "section\0key\0value\0file".
  const auto seed = [&](const std::string& name, const std::string& section, const std::string& key,
                        const std::string& value, const std::string& file) {
    WriteFileBytes(dir / name, section + '\0' + key + '\0' + value + '\0' + file);
  };
  seed("replace-crlf.seed", "JWW", "C3", "0.25", SettingsFile("\r\n"));
  seed("add-key-lf.seed", "jwc", "c13", " 1", SettingsFile("\n"));
  seed("add-section-bom.seed", "New", "Key", "value", "\xEF\xBB\xBF" + SettingsFile("\r\n"));
  seed("empty-file.seed", "Set", "FLD2", "D:\\out\\", "");
  seed("odd-lines.seed", " Set ", "FTYP ", "2",
       "; comment\r\n\r\n[Set\r\nFTYP=1\r\n[ set ]\r\n  ftyp = 7\t\r\nstray text\r\n"
       "=orphan\r\n[Set]\r\nFTYP=9\r\n[Last]\r\nno ending\r");
  seed("refused.seed", "JWW", "[C1", "1", SettingsFile("\r\n"));
}

void WriteNumberTexts(const fs::path& dir) {
  const char* texts[] = {"0",
                         "-17",
                         "   +2147483647",
                         "-2147483648",
                         "2147483648",
                         "$FFFFFFFF",
                         "-0x80000000",
                         "x1f",
                         "0.5",
                         "-0.5 ",
                         ".5",
                         "5.",
                         "1E-5",
                         "1.5e+3",
                         "0.0001",
                         "999999999999999.5",
                         "1E15",
                         "1e400",
                         "1e-400",
                         "2.2250738585072014e-308",
                         "4.9406564584124654e-324",
                         "1.7976931348623157e308",
                         "0.1234567890123456789",
                         "-0"};
  int n = 0;
  for (const char* text : texts) {
    WriteFileBytes(dir / ("text-" + std::to_string(n++)), text);
  }
  // Doubles as their 8 bytes (the fuzz target reads them as they lie in
  // memory).
  const double doubles[] = {0.2,
                            -1e-5,
                            123456789012345.6,
                            std::numeric_limits<double>::min(),
                            std::numeric_limits<double>::denorm_min(),
                            std::numeric_limits<double>::max()};
  for (double d : doubles) {
    std::string bytes(sizeof d, '\0');
    std::memcpy(bytes.data(), &d, sizeof d);
    WriteFileBytes(dir / ("double-" + std::to_string(n++)), bytes);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: make_fuzz_seeds OUT\n";
    return 2;
  }
  try {
    const fs::path out = argv[1];
    const auto folder = [&](const char* target) {
      fs::create_directories(out / target);
      return out / target;
    };
    WriteDrawings(folder("jww_loader"), folder("jww_probe"));
    WriteHeaders(folder("jwc_probe"), folder("jwk_probe"));
    WriteSettingsFiles(folder("private_profile"));
    WriteNumberTexts(folder("number_texts"));
  } catch (const std::exception& e) {
    std::cerr << "make_fuzz_seeds: " << e.what() << '\n';
    return 1;
  }
  return 0;
}
