#include "app/unit_ini.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/private_profile.h"
#include "tests/platform/read_only_folder.h"
#include "tests/support/paths.h"

namespace {

using testing_support::ReadFileBytes;
using testing_support::ScratchDir;
using testing_support::WriteFileBytes;
using unit_ini::SettingsWriter;

unit_ini::Setting ReadSetting(std::string_view section, std::string_view key,
                              std::size_t bufferSize, const std::filesystem::path& file) {
  return unit_ini::SettingsReader(file).Read(section, key, bufferSize);
}

bool WriteSetting(std::string_view section, std::string_view key, std::string_view text,
                  const std::filesystem::path& file) {
  return platform::WritePrivateProfile(section, key, text, file);
}

TEST(UnitIniRead, FoundOnlyWhenSomethingCameBack) {
  ScratchDir dir;
  const auto ini = dir / "quillon.ini";
  EXPECT_FALSE(ReadSetting("Form", "F1_X", 22, ini).found);
  WriteFileBytes(ini, "[Form]\r\nF1_X=\r\nF1_Y=0\r\nF1_W= \r\n[JWW]\r\nC3=0.5 \r\n");
  EXPECT_FALSE(ReadSetting("Form", "F1_X", 22, ini).found);
  EXPECT_FALSE(ReadSetting("Form", "F1_H", 22, ini).found);
  EXPECT_FALSE(ReadSetting("Comp", "F1_Y", 22, ini).found);
  const auto zero = ReadSetting("form", "f1_y", 22, ini);
  EXPECT_TRUE(zero.found);
  EXPECT_EQ(zero.text, "0");
  // A value of blanks only has nothing after the leading blanks go.
  EXPECT_FALSE(ReadSetting("Form", "F1_W", 22, ini).found);
  EXPECT_EQ(ReadSetting("JWW", "C3", 22, ini).text, "0.5 ");
  EXPECT_FALSE(ReadSetting("JWW", "C3", 1, ini).found);
}

TEST(UnitIniRead, CutsAtBufferSizeLessOne) {
  ScratchDir dir;
  const auto ini = dir / "quillon.ini";
  const std::string folder = "/" + std::string(520, 'f') + "/";
  WriteFileBytes(ini, "[JWW]\nC1=1234567890123456789012345\n[Set]\nFLD1=" + folder + "\n");
  EXPECT_EQ(ReadSetting("JWW", "C1", 22, ini).text, "123456789012345678901");
  EXPECT_EQ(ReadSetting("Set", "FLD1", 512, ini).text, folder.substr(0, 511));
}

TEST(UnitIniWrite, WriteSettingCreatesAndUpdates) {
  ScratchDir dir;
  const auto ini = dir / "sub" / "quillon.ini";
  EXPECT_FALSE(WriteSetting("Form", "F1_X", "192", ini));  // no such folder
  std::filesystem::create_directory(dir / "sub");
  EXPECT_TRUE(WriteSetting("Form", "F1_X", "192", ini));
  EXPECT_TRUE(WriteSetting("form", "f1_x", "-5", ini));
  EXPECT_EQ(ReadFileBytes(ini), "[Form]\r\nF1_X=-5\r\n");
  EXPECT_EQ(ReadSetting("Form", "F1_X", 22, ini).text, "-5");
}

// The close of the main window writes every key; Commit must give the same
// file as the same writes done one by one.
TEST(UnitIniWrite, WriterMatchesOneWriteAtATime) {
  ScratchDir dir;
  const std::string start =
      "; kept\n[Set]\nFLD1=/old/\n[Plugins]\nfoo=bar\n[JWW]\nC1=0.5\nC1=shadowed\n";
  WriteFileBytes(dir / "batch.ini", start);
  WriteFileBytes(dir / "single.ini", start);
  SettingsWriter writer(dir / "batch.ini");
  const auto write = [&](std::string_view section, std::string_view key, std::string_view text) {
    EXPECT_TRUE(writer.Write(section, key, text));
    EXPECT_TRUE(WriteSetting(section, key, text, dir / "single.ini"));
  };
  write("Form", "F1_X", "192");
  write("Form", "F1_Y", "107");
  write("Set", "FLD1", "/new/\x95\x5C/");
  write("Set", "FLD2", "");
  for (int n = 1; n <= 60; ++n) write("JWW", "C" + std::to_string(n), "0");
  write("JWW", "C1", "1E-5");
  for (int n = 1; n <= 12; ++n) write("JWC", "C" + std::to_string(n), "1");
  // Nothing reaches the file before Commit.
  EXPECT_EQ(ReadFileBytes(dir / "batch.ini"), start);
  ASSERT_TRUE(writer.Commit());
  EXPECT_EQ(ReadFileBytes(dir / "batch.ini"), ReadFileBytes(dir / "single.ini"));
  const std::string result = ReadFileBytes(dir / "batch.ini");
  EXPECT_TRUE(
      result.starts_with("; kept\n[Set]\nFLD1=/new/\x95\x5C/\nFLD2=\n[Plugins]\nfoo=bar\n"
                         "[JWW]\nC1=1E-5\nC1=shadowed\nC2=0\n"))
      << result;
  EXPECT_EQ(ReadSetting("JWC", "C12", 22, dir / "batch.ini").text, "1");
}

TEST(UnitIniWrite, CommitWithoutWritesTouchesNothing) {
  ScratchDir dir;
  SettingsWriter writer(dir / "quillon.ini");
  EXPECT_TRUE(writer.Commit());
  EXPECT_FALSE(std::filesystem::exists(dir / "quillon.ini"));
  EXPECT_FALSE(writer.Write("Set", "FLD1", "bad\nvalue"));
  EXPECT_TRUE(writer.Commit());
  EXPECT_FALSE(std::filesystem::exists(dir / "quillon.ini"));
}

TEST(UnitIniWrite, WriterReadsTheFileOnceAtTheFirstWrite) {
  ScratchDir dir;
  const auto ini = dir / "quillon.ini";
  WriteFileBytes(ini, "[A]\r\nk=1\r\n");
  SettingsWriter writer(ini);
  ASSERT_TRUE(writer.Write("A", "j", "2"));
  WriteFileBytes(ini, "[changed meanwhile]\r\n");
  ASSERT_TRUE(writer.Write("A", "k", "3"));
  ASSERT_TRUE(writer.Commit());
  EXPECT_EQ(ReadFileBytes(ini), "[A]\r\nk=3\r\nj=2\r\n");
}

TEST(UnitIniWrite, FailedCommitLeavesTheOldFile) {
  ScratchDir dir;
  const auto ini = dir / "quillon.ini";
  const std::string old = "[Form]\r\nF1_X=1\r\n; note\r\n";
  WriteFileBytes(ini, old);
  SettingsWriter writer(ini);
  ASSERT_TRUE(writer.Write("Form", "F1_X", "2"));
  ASSERT_TRUE(writer.Write("JWW", "C1", "0.5"));
  {
    testing_support::ReadOnlyFolder readOnly(dir.path());
    if (!readOnly.active()) GTEST_SKIP() << "cannot make a folder read-only here";
    EXPECT_FALSE(writer.Commit());
  }
  EXPECT_EQ(ReadFileBytes(ini), old);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
  // Once the folder is writable again the same writer succeeds.
  EXPECT_TRUE(writer.Commit());
  EXPECT_EQ(ReadFileBytes(ini), "[Form]\r\nF1_X=2\r\n; note\r\n[JWW]\r\nC1=0.5\r\n");
}

TEST(UnitIniWrite, UnreadableFileIsNotOverwritten) {
  ScratchDir dir;
  const auto ini = dir / "quillon.ini";
  std::filesystem::create_directory(ini);
  SettingsWriter writer(ini);
  writer.Write("Form", "F1_X", "1");
  EXPECT_FALSE(writer.Commit());
  EXPECT_TRUE(std::filesystem::is_directory(ini));
  EXPECT_FALSE(WriteSetting("Form", "F1_X", "1", ini));
}

}  // namespace
