// A failing disk never loses or truncates a file: every open, read, write,
// sync, rename, remove and close of a conversion is made to fail in turn,
// and after each the source is unchanged, the destination holds the old
// file, or its ".BAK" as the only copy, or the new file with the old one as
// ".BAK", nothing temporary is left, the failure is named, and the next run
// succeeds.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <map>
#include <optional>
#include <sstream>

#include "cli/convert_command.h"
#include "conversion/backup.h"
#include "conversion/convert_file.h"
#include "platform/file_faults.h"
#include "platform/settings_file.h"
#include "tests/support/paths.h"
#include "tests/support/synthetic.h"

namespace {

namespace fs = std::filesystem;
using platform::FileOp;
using testing_support::ReadFileBytes;
using testing_support::ScratchDir;
using testing_support::WriteFileBytes;

constexpr std::array kOps = {FileOp::kOpen,   FileOp::kRead,   FileOp::kWrite, FileOp::kSync,
                             FileOp::kRename, FileOp::kRemove, FileOp::kClose};

std::optional<std::string> Bytes(const fs::path& p) {
  if (!fs::exists(p)) return std::nullopt;
  return ReadFileBytes(p);
}

std::map<std::string, std::string> Files(const fs::path& folder) {
  std::map<std::string, std::string> files;
  if (!fs::exists(folder)) return files;
  for (const auto& e : fs::directory_iterator(folder)) {
    files[e.path().filename().string()] = ReadFileBytes(e.path());
  }
  return files;
}

// Runs `once` with the n-th operation of each kind failing, for every n that
// the run reaches; `check` looks at what each failure left. Returns the
// number of failures made.
template <typename Once, typename Check>
int Sweep(Once once, Check check) {
  int made = 0;
  for (FileOp op : kOps) {
    for (std::uint64_t n = 1;; ++n) {
      auto result = once([&] { platform::ArmFileFault(op, n); });
      const bool fired = platform::FileFaultFired();
      platform::DisarmFileFaults();
      if (!fired) break;
      ++made;
      SCOPED_TRACE(std::string(platform::FileOpName(op)) + " #" + std::to_string(n));
      check(result);
      if (::testing::Test::HasFatalFailure()) return made;
    }
  }
  return made;
}

// What may stand at a destination after a failed or a good run.
void ExpectDestinationWhole(const fs::path& dest, const std::optional<std::string>& old,
                            const std::optional<std::string>& oldBackup, const std::string& fresh,
                            bool converted) {
  const auto now = Bytes(dest), backup = Bytes(unit_val::BackupPath(dest));
  if (converted) {
    EXPECT_EQ(now, fresh);
    EXPECT_EQ(backup, old ? old : oldBackup);
    return;
  }
  const bool untouched = now == old && backup == oldBackup;
  const bool onlyBackup = old && !now && backup == old;
  const bool replaced = now == fresh && backup == (old ? old : oldBackup);
  EXPECT_TRUE(untouched || onlyBackup || replaced)
      << "destination " << (now ? now->size() : 0) << " bytes, backup "
      << (backup ? backup->size() : 0) << " bytes";
}

struct Scene {
  std::string name;
  std::string source;
  std::optional<std::string> old, oldBackup;
};

std::vector<Scene> Scenes() {
  ScratchDir dir;
  jww::Drawing withImage = synthetic::MakeFullDrawing(700);
  synthetic::AddImage(withImage, dir.path(), jww::JwwString::narrow("pic.bmp"), 150000, 2);
  synthetic::SaveDrawing(withImage, dir / "image.jww");
  const std::string plan = ReadFileBytes(fs::path(QUILLON_SOURCE_DIR) / "examples/PLAN.jww");
  const std::string image = ReadFileBytes(dir / "image.jww");
  return {{"plain", plan, std::nullopt, std::nullopt},
          {"plain over a file", plan, "old drawing", std::nullopt},
          {"images over a file and its backup", image, "old drawing", "old backup"},
          {"images over a backup alone", image, std::nullopt, "old backup"}};
}

TEST(FaultSweep, ConvertFileSurvivesEveryFailure) {
  int total = 0;
  for (const Scene& scene : Scenes()) {
    SCOPED_TRACE(scene.name);
    ScratchDir dir;
    const fs::path source = dir / "src/D.jww", dest = dir / "out/D.jww";
    fs::create_directories(dir / "src");
    fs::create_directories(dir / "tmp");
    WriteFileBytes(source, scene.source);
    unit_val::ConversionSettings settings;
    jww::Drawing drawing;
    auto convert = [&](auto arm) {
      fs::remove_all(dir / "out");
      fs::create_directories(dir / "out");
      if (scene.old) WriteFileBytes(dest, *scene.old);
      if (scene.oldBackup) WriteFileBytes(unit_val::BackupPath(dest), *scene.oldBackup);
      unit_val::TempFolder temp(dir / "tmp");
      arm();
      return unit_val::ConvertFile(source, dest, settings, {drawing, &temp, {}, false});
    };
    const unit_val::ConvertOutcome reference = convert([] {});
    ASSERT_TRUE(reference.converted()) << reference.reason;
    const std::string fresh = ReadFileBytes(dest);

    total += Sweep(convert, [&](const unit_val::ConvertOutcome& outcome) {
      EXPECT_EQ(ReadFileBytes(source), scene.source);
      if (!outcome.converted()) {
        EXPECT_FALSE(outcome.reason.empty());
        // Named as a code too, with the system's error where the file layer
        // gives one.
        const unit_val::Reason code = outcome.failure.code;
        EXPECT_NE(code, unit_val::Reason::kNone) << outcome.reason;
        if (code == unit_val::Reason::kCannotCreateOutput ||
            code == unit_val::Reason::kCannotKeepBackup ||
            code == unit_val::Reason::kCannotMoveIntoPlace) {
          EXPECT_EQ(outcome.failure.error, std::errc::io_error) << outcome.reason;
        }
      }
      ExpectDestinationWhole(dest, scene.old, scene.oldBackup, fresh, outcome.converted());
      std::size_t expected = Files(dir / "out").size();
      for (const auto& [name, bytes] : Files(dir / "out")) {
        // An older backup that could not be deleted stays, said so, whole.
        const bool keptAside =
            name.ends_with(".old") && !outcome.warning.empty() && bytes == scene.oldBackup;
        if (name.starts_with(".quillon-") && !keptAside) ADD_FAILURE() << "left " << name;
        if (keptAside) --expected;
      }
      EXPECT_LE(expected, 2u);
      EXPECT_TRUE(fs::is_empty(dir / "tmp")) << "an image temp folder stayed";
      EXPECT_TRUE(drawing.images.empty() && drawing.top.texts.empty());
      const unit_val::ConvertOutcome again = convert([] {});
      EXPECT_TRUE(again.converted()) << again.reason;
    });
  }
  std::printf("ConvertFile: %d injected failures survived\n", total);
  EXPECT_GT(total, 40);
}

TEST(FaultSweep, TheCommandLineBatchSurvivesEveryFailure) {
  const std::vector<Scene> scenes = Scenes();
  ScratchDir dir;
  const fs::path in = dir / "in", out = dir / "out", ini = dir / "quillon.ini";
  fs::create_directories(in);
  for (std::size_t i = 0; i < scenes.size(); ++i) {
    WriteFileBytes(in / ("F" + std::to_string(i) + ".jww"), scenes[i].source);
  }
  WriteFileBytes(ini, "[JWW]\r\nC1=0.5\r\n");
  const auto sources = Files(in);
  auto run = [&](auto arm) {
    fs::remove_all(out);
    fs::create_directories(out);
    for (std::size_t i = 0; i < scenes.size(); ++i) {
      const fs::path dest = out / ("F" + std::to_string(i) + ".jww");
      if (scenes[i].old) WriteFileBytes(dest, *scenes[i].old);
      if (scenes[i].oldBackup) WriteFileBytes(unit_val::BackupPath(dest), *scenes[i].oldBackup);
    }
    std::ostringstream report, errors;
    arm();
    const int code = cli::RunConvert(
        {"--settings", ini.string(), "--dest", out.string(), in.string()}, report, errors);
    return std::pair{code, report.str() + errors.str()};
  };
  ASSERT_EQ(run([] {}).first, 0);
  const auto fresh = Files(out);

  const int total = Sweep(run, [&](const std::pair<int, std::string>& result) {
    EXPECT_EQ(Files(in), sources);
    if (result.first != 0) {
      EXPECT_FALSE(result.second.empty());
    }
    for (std::size_t i = 0; i < scenes.size(); ++i) {
      const std::string name = "F" + std::to_string(i) + ".jww";
      const bool converted = result.first == 0;
      ExpectDestinationWhole(out / name, scenes[i].old, scenes[i].oldBackup, fresh.at(name),
                             converted || result.second.find("converted " + (in / name).string()) !=
                                              std::string::npos);
    }
    for (const auto& [name, bytes] : Files(out)) {
      if (name.starts_with(".quillon-") && !name.ends_with(".old"))
        ADD_FAILURE() << "left " << name;
    }
    EXPECT_EQ(run([] {}).first, 0);
  });
  std::printf("quillon-cli convert: %d injected failures survived\n", total);
  EXPECT_GT(total, 40);
}

TEST(FaultSweep, TheSettingsFileIsOldOrNewWhole) {
  ScratchDir dir;
  const fs::path file = dir / "quillon.ini";
  const std::string old = "[Form]\r\nF1_X=1\r\n";
  auto write = [&](auto arm) {
    WriteFileBytes(file, old);
    platform::SettingsWriter writer(file);
    writer.Write("Form", "F1_X", "192");
    writer.Write("Set", "FLD1", "/home/drafter/");
    arm();
    return writer.Commit();
  };
  ASSERT_TRUE(write([] {}));
  const std::string fresh = ReadFileBytes(file);
  const int total = Sweep(write, [&](bool committed) {
    const std::string now = ReadFileBytes(file);
    EXPECT_EQ(now, committed ? fresh : old);
    EXPECT_EQ(Files(dir.path()).size(), 1u) << "a temporary stayed";
  });
  EXPECT_GT(total, 3);
}

}  // namespace
