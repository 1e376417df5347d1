// Converting the real drawings: with every colour accepted and zero
// tolerances, exactly the free-size texts whose sizes are a type's own are
// retyped, and nothing else of the written drawing differs from what the
// plain round trip of the drawing writes.
#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "conversion/convert_file.h"
#include "drawing/jww_loader.h"
#include "drawing/jww_writer.h"
#include "tests/support/paths.h"

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFileBytes;

// The first type whose three sizes the text has, up to 0.000001 above, by a
// plain formulation: near the nominal value the difference is exact.
int ExpectedType(const jww::TEntMoji& text, const std::vector<jww::TTextType>& types) {
  auto fits = [](double value, double nominal) {
    return value >= nominal && value - nominal < 0.000001;
  };
  for (int k = 1; k <= 10; ++k) {
    const jww::TTextType& t = types[static_cast<std::size_t>(k - 1)];
    if (t.colour > 65535) continue;
    if (fits(text.width, t.width) && fits(text.height, t.height) && fits(text.spacing, t.spacing)) {
      return k;
    }
  }
  return 0;
}

struct Expectation {
  int retyped = 0;
  int freeSize = 0;
};

// Applies the expected retyping to every text in scope and counts it.
void Retype(jww::TEntMoji& text, const std::vector<jww::TTextType>& types, Expectation& e) {
  if (text.textType % 10000 != 0) return;
  ++e.freeSize;
  const int k = ExpectedType(text, types);
  if (k == 0) return;
  ++e.retyped;
  const jww::TTextType& t = types[static_cast<std::size_t>(k - 1)];
  text.attr.penColour = static_cast<std::uint16_t>(t.colour);
  text.width = t.width;
  text.height = t.height;
  text.spacing = t.spacing;
  text.textType += static_cast<std::uint32_t>(k);
}

void RetypeAll(jww::EntityTables& tables, const std::vector<jww::TTextType>& types,
               Expectation& e) {
  for (jww::TEntMoji& t : tables.texts) Retype(t, types, e);
  for (jww::TEntSunpo& s : tables.dimensions) Retype(s.valueText, types, e);
}

template <class Record>
void ExpectSameRecords(const std::vector<Record>& got, const std::vector<Record>& want,
                       const char* table) {
  ASSERT_EQ(got.size(), want.size()) << table;
  for (std::size_t i = 0; i < got.size(); ++i) {
    EXPECT_TRUE(got[i] == want[i]) << table << " record " << i;
  }
}

void ExpectSameTables(const jww::EntityTables& got, const jww::EntityTables& want) {
  ExpectSameRecords(got.lines, want.lines, "lines");
  ExpectSameRecords(got.arcs, want.arcs, "arcs");
  ExpectSameRecords(got.points, want.points, "points");
  ExpectSameRecords(got.texts, want.texts, "texts");
  ExpectSameRecords(got.dimensions, want.dimensions, "dimensions");
  ExpectSameRecords(got.solids, want.solids, "solids");
  ExpectSameRecords(got.blockInserts, want.blockInserts, "block inserts");
  ExpectSameRecords(got.order, want.order, "order");
}

// Free-size texts of the real drawings, counted by an independent reader.
const std::map<std::string, int> kFreeSizeTexts = {
    {"Test1.jww", 2},  {"Test2.jww", 0},  {"Test3.jww", 0}, {"Test4.jww", 0},
    {"Test5.jww", 21}, {"Test6.jww", 41}, {"Test7.jww", 7},
};

TEST(SampleConversion, RetypesExactlyTheTextsOfATypesSizesAndNothingElse) {
  QUILLON_REQUIRE_SAMPLES();
  const std::vector<fs::path> samples = testing_support::SampleDrawings();
  ASSERT_FALSE(samples.empty());
  testing_support::ScratchDir out;
  unit_val::TempFolder temp;
  ASSERT_TRUE(temp.ok()) << temp.error();
  unit_val::ConversionSettings settings;
  for (int n = 1; n <= 12; ++n) settings.Flag(n) = 1;
  jww::Drawing tables;
  const unit_val::ConvertContext context{tables, &temp, false};
  int retypedOverall = 0;

  for (const fs::path& sample : samples) {
    SCOPED_TRACE(sample.string());
    const std::string sourceBytes = ReadFileBytes(sample);
    const fs::path destination = out / sample.filename();
    const unit_val::ConvertOutcome outcome =
        unit_val::ConvertFile(sample, destination, settings, context);
    ASSERT_TRUE(outcome.converted()) << unit_val::EnglishText(outcome.failure);
    EXPECT_EQ(ReadFileBytes(sample), sourceBytes);

    // The plain round trip, with the expected retyping applied.
    unit_val::TempFolder images;
    jww::Drawing expected;
    expected.imageOptions.tempFolder = images.path();
    ASSERT_TRUE(jww::LoadJww(expected, sample));
    const fs::path roundTrip = out / "round-trip.jww";
    ASSERT_TRUE(jww::SaveJww(expected, roundTrip, expected.header.version));
    expected.DeleteImageFiles();
    ASSERT_TRUE(jww::LoadJww(expected, roundTrip));
    unit_val::SweepCounts listedCounts;
    const std::vector<unit_val::RetypedText> listed =
        unit_val::ListRetypedTexts(expected, settings, &listedCounts);
    Expectation e;
    RetypeAll(expected.top, expected.header.textTypes, e);
    for (jww::TEntBlockDef& def : expected.blockDefs) {
      RetypeAll(def.entities, expected.header.textTypes, e);
    }

    EXPECT_EQ(outcome.counts.TotalRetyped(), e.retyped);
    EXPECT_EQ(outcome.counts.TotalRetyped() + outcome.counts.leftFreeSize, e.freeSize);
    const auto known = kFreeSizeTexts.find(sample.filename().string());
    if (known != kFreeSizeTexts.end()) {
      EXPECT_EQ(e.freeSize, known->second);
    }
    retypedOverall += e.retyped;

    jww::Drawing converted;
    converted.imageOptions.tempFolder = images.path();
    ASSERT_TRUE(jww::LoadJww(converted, destination));
    EXPECT_TRUE(converted.header == expected.header);
    ExpectSameTables(converted.top, expected.top);
    ASSERT_EQ(converted.blockDefs.size(), expected.blockDefs.size());
    for (std::size_t i = 0; i < converted.blockDefs.size(); ++i) {
      ExpectSameTables(converted.blockDefs[i].entities, expected.blockDefs[i].entities);
      jww::TEntBlockDef gotHead = converted.blockDefs[i];
      jww::TEntBlockDef wantHead = expected.blockDefs[i];
      gotHead.entities.clear();
      wantHead.entities.clear();
      EXPECT_TRUE(gotHead == wantHead) << "block definition " << i;
    }
    EXPECT_EQ(converted.images, expected.images);
    // Listed without writing: the same counts, and each text listed is one
    // the conversion gave that type.
    EXPECT_EQ(listedCounts, outcome.counts);
    ASSERT_EQ(static_cast<int>(listed.size()), e.retyped);
    for (const unit_val::RetypedText& r : listed) {
      const jww::EntityTables& tables =
          r.place.blockDef < 0
              ? converted.top
              : converted.blockDefs.at(static_cast<std::size_t>(r.place.blockDef)).entities;
      const jww::TEntMoji& text = r.place.dimensionValue
                                      ? tables.dimensions.at(r.place.index).valueText
                                      : tables.texts.at(r.place.index);
      EXPECT_EQ(static_cast<int>(text.textType % 10000), r.newType);
    }
    // Written again, the expected drawing gives the converted file's bytes.
    std::string expectedBytes;
    ASSERT_TRUE(jww::SaveJwwToMemory(expected, expected.header.version, expectedBytes));
    EXPECT_TRUE(expectedBytes == ReadFileBytes(destination));
    converted.DeleteImageFiles();
    expected.DeleteImageFiles();
  }
  EXPECT_TRUE(fs::is_empty(temp.path()));
  RecordProperty("retyped", retypedOverall);
}

}  // namespace
