// The "変換対象" column on the real drawings, against the command's dry run
// with the same settings file.
#include <cstdio>
#include <map>
#include <regex>

#include "platform/path_text.h"
#include "tests/app/fake_views.h"

namespace app_test {
namespace {

namespace fs = std::filesystem;

// What `quillon-cli convert --dry-run --json` retypes, by file name.
std::map<std::string, int> DryRunCounts(const fs::path& settings, const fs::path& folder,
                                        const fs::path& destination) {
  std::map<std::string, int> counts;
#if defined(QUILLON_CLI) && !defined(_WIN32)
  std::string command = std::string("'") + QUILLON_CLI + "' convert --dry-run --json --settings '" +
                        settings.string() + "' --dest '" + destination.string() + "'";
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    if (entry.path().extension() == ".jww") command += " '" + entry.path().string() + "'";
  }
  std::FILE* out = ::popen(command.c_str(), "r");
  if (!out) return counts;
  std::string text;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, out)) > 0;) text.append(buffer, n);
  ::pclose(out);
  const std::regex line(R"re("source": "([^"]*)".*"retyped_total": (\d+))re");
  for (std::sregex_iterator it(text.begin(), text.end(), line), end; it != end; ++it) {
    counts[fs::path((*it)[1].str()).filename().string()] = std::stoi((*it)[2].str());
  }
#else
  (void)settings, (void)folder, (void)destination;
#endif
  return counts;
}

TEST_F(MainWindowTest, TheColumnCountsTheRealDrawingsAsTheDryRunDoes) {
  QUILLON_REQUIRE_SAMPLES();
  std::string ini = "[JWW]\n";
  for (int n = 1; n <= 60; ++n) ini += "C" + std::to_string(n) + "=0.5\n";
  ini += "[JWC]\n";
  for (int n = 1; n <= 12; ++n) ini += "C" + std::to_string(n) + "=1\n";
  testing_support::WriteFileBytes(IniFile(), ini);
  const fs::path samples = testing_support::SamplesDir();
  const std::map<std::string, int> expected = DryRunCounts(IniFile(), samples, data_);
  if (expected.empty()) GTEST_SKIP() << "no dry run of quillon-cli here";

  Start();
  ChooseSearchFolder(samples);
  ClickFolder(samples);
  ASSERT_TRUE(view_.RunPostedUntil([this] {
    for (const unit1::FileRow& row : form_->rows()) {
      if (row.kind == ".JWW" && row.retypeText.empty()) return false;
    }
    return true;
  }));
  std::map<std::string, int> shown;
  int total = 0;
  for (const unit1::FileRow& row : form_->rows()) {
    if (row.kind != ".JWW") continue;
    EXPECT_EQ(row.tooltip, "") << row.nameText;
    shown[platform::PathToUtf8(row.name)] = row.retypeCount;
    total += row.retypeCount;
  }
  EXPECT_EQ(shown, expected);
  EXPECT_GT(total, 0) << "settings that retype nothing prove nothing";
}

}  // namespace
}  // namespace app_test
