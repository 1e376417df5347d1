// The bundled example drawing: it is what its generator makes, and its texts
// take every path of the retyping rule.
#include <gtest/gtest.h>

#include <map>

#include "tests/cli/mini_json.h"
#include "tests/cli/run_cli.h"
#include "tests/support/paths.h"

namespace {

const std::filesystem::path kPlan = std::filesystem::path(QUILLON_SOURCE_DIR) / "examples/PLAN.jww";

#ifdef QUILLON_MAKE_EXAMPLES
TEST(Examples, RegeneratingGivesTheCommittedBytes) {
  testing_support::ScratchDir scratch;
  const auto run = cli_test::Run(QUILLON_MAKE_EXAMPLES, {scratch.path().string()});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_TRUE(testing_support::ReadFileBytes(scratch / "PLAN.jww") ==
              testing_support::ReadFileBytes(kPlan))
      << "examples/PLAN.jww is stale: run make-examples examples";
}
#endif

// How a free-size text fares against the text types under zero tolerances.
enum class Match { kConverts, kOtherColour, kNoSizes };

Match Classify(const mini_json::Value& text, const mini_json::Value& types) {
  bool sizes = false;
  for (const auto& type : types.items) {
    if (type["width"].number != text["width"].number ||
        type["height"].number != text["height"].number ||
        type["spacing"].number != text["spacing"].number) {
      continue;
    }
    if (type["colour"].integer() == text["pen_colour"].integer()) return Match::kConverts;
    sizes = true;
  }
  return sizes ? Match::kOtherColour : Match::kNoSizes;
}

TEST(Examples, PlanTakesEveryPathOfTheRule) {
  const auto run = cli_test::RunCli({"info", "--json", kPlan.string()});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const auto info = mini_json::Parse(run.out);
  EXPECT_EQ(info["version"].integer(), 600);
  EXPECT_NE(info["memo"].string.find("平面図"), std::string::npos);
  EXPECT_EQ(run.out.find("\xEF\xBF\xBD"), std::string::npos) << "a text does not decode";

  // The ten types differ, so that each converting text has one answer.
  const auto& types = info["text_types"];
  for (std::size_t a = 0; a < types.size(); ++a) {
    for (std::size_t b = a + 1; b < types.size(); ++b) {
      EXPECT_FALSE(types[a]["width"].number == types[b]["width"].number &&
                   types[a]["height"].number == types[b]["height"].number &&
                   types[a]["spacing"].number == types[b]["spacing"].number);
    }
  }

  std::map<std::string, std::map<Match, int>> free;
  int typed = 0;
  int withQ = 0;
  for (const auto& t : info["texts"].items) {
    EXPECT_FALSE(t["content"].string.empty());
    const long long field = t["text_type"].integer();
    if (field % 10000 != 0) {
      ++typed;
      continue;
    }
    withQ += field != 0 ? 1 : 0;
    ++free[t["where"].string][Classify(t, types)];
  }
  EXPECT_GE(typed, 1);
  EXPECT_GE(withQ, 1);
  EXPECT_GE(free["top"][Match::kConverts], 1);
  EXPECT_GE(free["top"][Match::kOtherColour], 1);
  EXPECT_GE(free["top"][Match::kNoSizes], 1);
  EXPECT_GE(free["dimension"][Match::kConverts], 1);
  EXPECT_GE(free["dimension"][Match::kNoSizes], 1);
  EXPECT_GE(free["block"][Match::kConverts], 1);
  EXPECT_GE(free["block"][Match::kNoSizes], 1);
  EXPECT_GE(free["block_dimension"][Match::kConverts], 1);
  EXPECT_GE(info["counts"]["lines"].integer(), 1);
  EXPECT_GE(info["counts"]["block_inserts"].integer(), 1);
}

}  // namespace
