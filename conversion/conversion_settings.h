// The conversion settings: for each of the ten text types how far a free-size
// text's width, height and spacing may lie from the type's own and still take
// the type, whether its pen colour must match, and whether dimension value
// texts and block definition texts are converted too.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace platform {
class SettingsReader;
}  // namespace platform

namespace unit_val {

// The settings file beside the program, which the window and the command
// line both read.
inline constexpr char kSettingsFileName[] = "quillon.ini";

inline constexpr int kRangeValueCount = 60;
inline constexpr int kFlagCount = 12;
inline constexpr int kConvertibleTypeCount = 10;  // text types 1..10

// Flags past the ten per-type "全色置換" flags.
inline constexpr int kDimensionFlag = 11;
inline constexpr int kBlockFlag = 12;

enum class Measure { kWidth = 0, kHeight = 1, kSpacing = 2 };

class ConversionSettings {
 public:
  // Range value n (1..60) and conversion flag n (1..12); other numbers throw
  // std::out_of_range.
  double& RangeValue(int n) { return rangeValues_.at(Index(n)); }
  double RangeValue(int n) const { return rangeValues_.at(Index(n)); }
  std::int32_t& Flag(int n) { return flags_.at(Index(n)); }
  std::int32_t Flag(int n) const { return flags_.at(Index(n)); }

  // Every range value and flag 0.
  void Reset();

  // Reads section "JWW" keys C1..C60 and section "JWC" keys C1..C12. A
  // missing key or an empty value leaves the number as it is; any other value
  // is converted, and text that is not a number (a number too large for a
  // double included) gives 0.
  void Load(const std::filesystem::path& settingsFile);
  // The same from a settings file already read.
  void Load(const platform::SettingsReader& settingsFile);

  // The tolerances of text type 1..10 as stored (the plus tolerance without
  // the floor applied by the classification).
  double MinusTolerance(int type, Measure measure) const;
  double PlusTolerance(int type, Measure measure) const;

  // Whether a text of pen colour `penColour` may take text type `type`, whose
  // colour is `typeColour`: flag 1 lets any colour through, flag 0 needs the
  // colours to be equal, any other flag value lets nothing through.
  bool ColourAccepted(int type, std::uint32_t typeColour, std::uint16_t penColour) const;

  // Only the value 1 switches these on.
  bool DimensionSwitch() const { return flags_[kDimensionFlag - 1] == 1; }
  bool BlockSwitch() const { return flags_[kBlockFlag - 1] == 1; }

  friend bool operator==(const ConversionSettings&, const ConversionSettings&) = default;

 private:
  static std::size_t Index(int n) { return static_cast<std::size_t>(n - 1); }
  // The range value number of a type's minus tolerance for a measure.
  static int MinusNumber(int type, Measure measure);

  std::array<double, kRangeValueCount> rangeValues_{};
  std::array<std::int32_t, kFlagCount> flags_{};
};

// One conversion key of the settings file: range value `number` in section
// "JWW" or flag `number` in section "JWC", each named "C<number>".
struct ConversionKey {
  const char* section;
  std::string name;
  int number;
  bool flag;
};

// Each value is read into a buffer of this many bytes, so at most its first
// 21 characters count.
inline constexpr std::size_t kConversionValueBuffer = 22;

// Every conversion key, in the order the file is written: "JWW" C1..C60,
// then "JWC" C1..C12.
const std::vector<ConversionKey>& ConversionKeys();

// Applies a present, non-empty value of `key`. A range value too large for a
// number throws func::FloatOverflow; text that is no number gives 0.
void ReadConversionKey(ConversionSettings& settings, const ConversionKey& key,
                       std::string_view text);

// The value of `key` as written: range values in the general number format,
// flags as decimal integers.
std::string ConversionKeyText(const ConversionSettings& settings, const ConversionKey& key);

}  // namespace unit_val
