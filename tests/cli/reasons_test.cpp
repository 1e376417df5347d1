// What quillon-cli says about a file agrees with what happened to it: a
// failed file retyped nothing, a file name reaches the terminal escaped in
// every report, and `info --json` goes out as it is made.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "cli/convert_report.h"
#include "cli/info_json.h"
#include "tests/cli/mini_json.h"
#include "tests/cli/run_cli.h"
#include "tests/cli/test_drawings.h"
#include "tests/support/paths.h"
#include "tests/support/synthetic.h"

namespace {

namespace fs = std::filesystem;

TEST(Reasons, AFailedFileRetypedNothingInItsRecordAsInTheSummary) {
  unit_val::FileResult failed{"in/A.jww", "out/A.jww"};
  failed.stage = unit_val::ConvertStage::kSave;
  failed.failure = {unit_val::Reason::kCannotWriteOutput, {}};
  failed.failure.detail = "cannot write the output";
  failed.counts.retyped[2] = 18;  // counted by the sweep before the save failed
  failed.counts.retypedIn[0] = 18;
  failed.counts.leftFreeSize = 3;

  std::ostringstream out;
  cli::ConvertReport report(out, true, false);
  report.Add(failed);
  report.Summary(unit_val::BatchTotals{0, 1, 0, {}});
  const std::vector<std::string> lines = cli_test::Lines(out.str());
  ASSERT_EQ(lines.size(), 2u);
  const auto record = mini_json::Parse(lines[0]);
  EXPECT_EQ(record["status"].string, "failed");
  EXPECT_EQ(record["retyped_total"].integer(), 0);
  for (std::size_t k = 0; k < record["retyped"].size(); ++k) {
    EXPECT_EQ(record["retyped"][k].integer(), 0) << "type " << k + 1;
  }
  EXPECT_EQ(record["retyped_in"]["top_level"].integer(), 0);
  EXPECT_EQ(record["left_free_size"].integer(), 0);
  EXPECT_EQ(mini_json::Parse(lines[1])["retyped"].integer(), 0);
}

#ifndef _WIN32  // Windows allows no control characters in names
TEST(Reasons, InfoEscapesTheFileNameInItsHeading) {
  testing_support::ScratchDir dir;
  const fs::path file = dir / "a\x1b[31m\nb.jww";
  fs::copy_file(fs::path(QUILLON_SOURCE_DIR) / "examples/PLAN.jww", file);
  const auto run = cli_test::RunCli({"info", file.string()});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(run.out.find('\x1b'), std::string::npos) << run.out;
  EXPECT_EQ(run.out.rfind((dir / "a\\x1B[31m\\x0Ab.jww").string() + "\n", 0), 0u) << run.out;
}
#endif

// Counts what reaches the stream and the largest piece handed over at once.
class PieceCounter : public std::streambuf {
 public:
  std::size_t largest = 0;
  std::string text;

 protected:
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    largest = std::max(largest, static_cast<std::size_t>(n));
    text.append(s, static_cast<std::size_t>(n));
    return n;
  }
  int_type overflow(int_type c) override {
    if (c == traits_type::eof()) return c;
    const char byte = traits_type::to_char_type(c);
    xsputn(&byte, 1);
    return c;
  }
};

// A drawing's JSON is never held whole: it is handed over in pieces far
// smaller than itself, and reads back as one value.
TEST(Reasons, InfoJsonGoesOutInPieces) {
  jww::Drawing d = cli_test::EmptyDrawing(600);
  for (int i = 0; i < 20000; ++i) {
    synthetic::Add(
        d.top, cli_test::MakeText(synthetic::Text(600, "text " + std::to_string(i)), 3, 3, 0, 2));
  }
  synthetic::UpdateCounts(d);
  PieceCounter counter;
  std::ostream out(&counter);
  cli::WriteInfoJson(out, "big.jww", d);
  ASSERT_GT(counter.text.size(), std::size_t{2} << 20);
  EXPECT_LT(counter.largest, std::size_t{256} << 10);
  const auto info = mini_json::Parse(counter.text);
  EXPECT_EQ(info["texts"].size(), 20000u);
  EXPECT_EQ(info["texts"][19999]["content"].string, "text 19999");
}

}  // namespace
