// quillon-cli convert never loses a file that stood at the destination,
// never calls a failure a success, and leaves nothing behind when stopped.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <thread>

#include "platform/file_io.h"
#include "platform/file_lock.h"
#include "tests/cli/mini_json.h"
#include "tests/cli/run_cli.h"
#include "tests/support/paths.h"
#include "tests/support/synthetic.h"

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

namespace fs = std::filesystem;
using testing_support::ReadFileBytes;
using testing_support::ScratchDir;
using testing_support::WriteFileBytes;

const fs::path kPlan = fs::path(QUILLON_SOURCE_DIR) / "examples/PLAN.jww";

TEST(BatchSafety, AFileAtTheDestinationSurvivesFilesThatShareItsNames) {
  ScratchDir dir;
  for (const char* folder : {"A", "B", "C", "O"}) fs::create_directories(dir / folder);
  // Names that differ in letter case only cannot stand side by side everywhere.
  const bool caseSensitive = !platform::FolderIgnoresCase(dir.path());
  fs::copy_file(kPlan, dir / "A/X.jww");
  fs::copy_file(kPlan, dir / "B/X.jww");
  WriteFileBytes(dir / "O/X.jww", "old X");
  if (caseSensitive) {
    fs::copy_file(kPlan, dir / "C/Y.jww");
    fs::copy_file(kPlan, dir / "C/Y.JWW");
    WriteFileBytes(dir / "O/Y.jww", "old Y");
    WriteFileBytes(dir / "O/Y.JWW", "old Y upper");
  }
  const auto run =
      cli_test::RunCli({"convert", "--dest", (dir / "O").string(), (dir / "A/X.jww").string(),
                        (dir / "A/./X.jww").string(), (dir / "B").string(), (dir / "C").string()});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(ReadFileBytes(dir / "O/X.BAK"), "old X");
  EXPECT_EQ(run.errLines().size(), caseSensitive ? 3u : 2u) << run.err;
  if (!caseSensitive)
    GTEST_SKIP() << "names differing in letter case only: the folder ignores case";
  // Y.JWW sorts first and takes Y.BAK; Y.jww is left as it stood.
  EXPECT_EQ(ReadFileBytes(dir / "O/Y.BAK"), "old Y upper");
  EXPECT_EQ(ReadFileBytes(dir / "O/Y.jww"), "old Y");
  EXPECT_EQ(
      testing_support::SortedNames(dir / "O"),
      (std::vector<std::string>{".quillon.undo", "X.BAK", "X.jww", "Y.BAK", "Y.JWW", "Y.jww"}));
}

TEST(BatchSafety, AFileWithoutTheSignatureTakesNoNameFromADrawing) {
  ScratchDir dir;
  fs::create_directories(dir / "A");
  fs::create_directories(dir / "B");
  WriteFileBytes(dir / "A/X.jww", "not a drawing");
  fs::copy_file(kPlan, dir / "B/X.jww");
  const auto run = cli_test::RunCli(
      {"convert", "--dest", (dir / "O").string(), (dir / "A").string(), (dir / "B").string()});
  EXPECT_EQ(run.exitCode, 0) << run.out << run.err;
  EXPECT_NE(run.out.find("1 converted, 0 failed, 1 skipped"), std::string::npos) << run.out;
  EXPECT_TRUE(fs::exists(dir / "O/X.jww"));
}

TEST(BatchSafety, UnreadableSourceFailsAndUnreadableSettingsAreAUsageError) {
#ifdef _WIN32
  GTEST_SKIP() << "read permissions are tried on a real Windows machine";
#else
  ScratchDir dir;
  fs::copy_file(kPlan, dir / "locked.jww");
  WriteFileBytes(dir / "s.ini", "[JWW]\nC1=1\n");
  fs::permissions(dir / "locked.jww", fs::perms::none);
  fs::permissions(dir / "s.ini", fs::perms::none);
  fs::create_directory(dir / "out");
  fs::permissions(dir.path(), fs::perms::all);
  fs::permissions(dir / "out", fs::perms::all);
  // Root reads everything: run as nobody.
  std::vector<std::string> prefix;
  if (::geteuid() == 0) prefix = {"--reuid=65534", "--regid=65534", "--clear-groups", QUILLON_CLI};
  auto run = [&](std::vector<std::string> args) {
    args.insert(args.begin(), prefix.begin(), prefix.end());
    return prefix.empty() ? cli_test::RunCli(args) : cli_test::Run("setpriv", args);
  };
  const auto source = run({"convert", "--dest", (dir / "out").string(), dir.path().string()});
  EXPECT_EQ(source.exitCode, 1) << source.err;
  EXPECT_NE(source.out.find("failed " + (dir / "locked.jww").string() + ": load: cannot open"),
            std::string::npos)
      << source.out;
  const auto settings = run({"convert", "--settings", (dir / "s.ini").string(), "--dest",
                             (dir / "out").string(), kPlan.string()});
  EXPECT_EQ(settings.exitCode, 2) << settings.err;
  EXPECT_NE(settings.err.find("cannot read the settings file"), std::string::npos);
#endif
}

TEST(BatchSafety, ThreadsThatCannotStartLeaveTheWorkToTheRun) {
#ifdef _WIN32
  GTEST_SKIP() << "a limit on threads is tried with prlimit";
#else
  ScratchDir dir;
  for (int i = 0; i < 6; ++i) fs::copy_file(kPlan, dir / ("P" + std::to_string(i) + ".jww"));
  fs::create_directory(dir / "out");
  fs::permissions(dir.path(), fs::perms::all);
  fs::permissions(dir / "out", fs::perms::all);
  // One process and no thread more for the user (root has no such limit).
  std::string program = "prlimit";
  // The leak checker of a sanitizer build needs a thread of its own at exit.
  std::vector<std::string> args = {
      "--nproc=1", "env",    "ASAN_OPTIONS=detect_leaks=0", QUILLON_CLI,        "convert", "--jobs",
      "4",         "--dest", (dir / "out").string(),        dir.path().string()};
  if (::geteuid() == 0) {
    args.insert(args.begin(), {"--reuid=65534", "--regid=65534", "--clear-groups", program});
    program = "setpriv";
  }
  const auto run = cli_test::Run(program, args);
  EXPECT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("6 converted, 0 failed"), std::string::npos) << run.out;
#endif
}

TEST(BatchSafety, ALongNameConvertsAgainAndAgain) {
  ScratchDir dir;
  const std::string name = std::string(236, 'n') + ".jww";  // 240 bytes
  fs::create_directory(dir / "in");
  fs::copy_file(kPlan, dir / "in" / name);
  for (int run = 0; run < 4; ++run) {
    const auto r =
        cli_test::RunCli({"convert", "--dest", (dir / "out").string(), (dir / "in").string()});
    ASSERT_EQ(r.exitCode, 0) << "run " << run << ": " << r.err;
  }
  // The older backup the last run replaced waits aside for undo; those of
  // the runs before it are gone.
  EXPECT_EQ(testing_support::SortedNames(dir / "out").size(), 4u)
      << "the drawing, its one backup, the undo journal and one older backup aside";
}

TEST(BatchSafety, EarlyStopsStillPrintTheJsonSummaryAndNamesAreEscaped) {
  ScratchDir dir;
  fs::create_directory(dir / "in");
#ifdef _WIN32
  const char* name = "ab.jww";  // Windows allows no control characters in names
#else
  const char* name = "a\x1b[31m\nb.jww";
#endif
  fs::copy_file(kPlan, dir / "in" / name);
  const auto refused = cli_test::RunCli({"convert", "--json", "--recursive", "--dest",
                                         (dir / "in/missing/..").string(), (dir / "in").string()});
  EXPECT_EQ(refused.exitCode, 2);
  ASSERT_EQ(cli_test::Lines(refused.out).size(), 1u) << refused.out;
  const auto summary = mini_json::Parse(refused.out);
  EXPECT_TRUE(summary["summary"].boolean);
  EXPECT_NE(summary["stopped"].string.find("choose another destination"), std::string::npos);

  const auto text =
      cli_test::RunCli({"convert", "--dest", (dir / "out").string(), (dir / "in").string()});
  EXPECT_EQ(text.exitCode, 0) << text.err;
  EXPECT_EQ(cli_test::Lines(text.out).size(), 2u) << text.out;
#ifndef _WIN32
  EXPECT_NE(text.out.find("a\\x1B[31m\\x0Ab.jww"), std::string::npos) << text.out;
#endif

  WriteFileBytes(dir / "fake.jww", "JwwDat");
  const auto info = cli_test::RunCli({"info", (dir / "fake.jww").string()});
  EXPECT_EQ(info.exitCode, 1);
  EXPECT_NE(info.err.find("no \"JwwData.\" signature"), std::string::npos) << info.err;
}

// Two runs into one folder would each keep the other's fresh output as the
// former file: the second waits a moment, then refuses and writes nothing.
TEST(BatchSafety, ASecondRunIntoAFolderInUseIsRefused) {
  ScratchDir dir;
  fs::create_directories(dir / "in");
  fs::create_directories(dir / "out");
  fs::copy_file(kPlan, dir / "in/A.jww");
  WriteFileBytes(dir / "out/A.jww", "the first run's output");
  const platform::FileLock first = platform::FileLock::TryTake(dir / "out/.quillon.lock");
  ASSERT_TRUE(first.held());
  const auto run = cli_test::RunCli(
      {"convert", "--json", "--dest", (dir / "out").string(), (dir / "in").string()});
  EXPECT_EQ(run.exitCode, 2);
  ASSERT_EQ(run.errLines().size(), 1u) << run.err;
  EXPECT_NE(run.err.find("another run is writing into the folder"), std::string::npos) << run.err;
  EXPECT_EQ(mini_json::Parse(run.out)["reason_code"].string, "destination_locked") << run.out;
  EXPECT_EQ(testing_support::SortedNames(dir / "out"),
            (std::vector<std::string>{".quillon.lock", "A.jww"}));
  EXPECT_EQ(ReadFileBytes(dir / "out/A.jww"), "the first run's output");
}

#ifndef _WIN32
// As another user: a lock file of root's that this user cannot open refuses
// the run (it never goes on unlocked), and a temp folder that cannot be made
// is named by its real cause.
TEST(BatchSafety, ALockThatCannotBeOpenedRefusesAndAnUnwritableTmpIsNamed) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to run as another user";
  ScratchDir dir;
  for (const char* folder : {"in", "out", "out2", "tmp"}) fs::create_directory(dir / folder);
  jww::Drawing withImage = synthetic::MakeFullDrawing(700);
  synthetic::AddImage(withImage, dir.path(), jww::JwwString::narrow("pic.bmp"), 1000, 1);
  synthetic::SaveDrawing(withImage, dir / "in/I.jww");
  WriteFileBytes(dir / "out/.quillon.lock", "root's own lock");
  fs::permissions(dir / "out/.quillon.lock", fs::perms::owner_read | fs::perms::owner_write);
  for (const char* folder : {"", "in", "out", "out2"})
    fs::permissions(dir / folder, fs::perms::all);
  fs::permissions(dir / "in/I.jww", fs::perms::all);
  const std::vector<std::string> asNobody = {"--reuid=65534",
                                             "--regid=65534",
                                             "--clear-groups",
                                             "env",
                                             "TMPDIR=" + (dir / "tmp").string(),
                                             QUILLON_CLI,
                                             "convert",
                                             "--json",
                                             "--dest"};
  auto run = [&](const char* out) {
    std::vector<std::string> args = asNobody;
    args.insert(args.end(), {(dir / out).string(), (dir / "in").string()});
    return cli_test::Run("setpriv", args);
  };
  const auto locked = run("out");
  EXPECT_EQ(locked.exitCode, 2) << locked.err;
  EXPECT_NE(locked.err.find("cannot lock the folder"), std::string::npos) << locked.err;
  EXPECT_NE(locked.err.find("Permission denied"), std::string::npos) << locked.err;
  EXPECT_EQ(mini_json::Parse(locked.out)["reason_code"].string, "cannot_lock_destination");
  EXPECT_EQ(testing_support::SortedNames(dir / "out"), std::vector<std::string>{".quillon.lock"});

  const auto noTmp = run("out2");
  EXPECT_EQ(noTmp.exitCode, 1) << noTmp.err;
  EXPECT_NE(noTmp.err.find("cannot create a temp folder under " + (dir / "tmp").string() +
                           ": Permission denied"),
            std::string::npos)
      << noTmp.err;
  EXPECT_TRUE(fs::is_empty(dir / "out2"));
  EXPECT_TRUE(fs::is_empty(dir / "tmp"));
}
#endif

#ifndef _WIN32
TEST(BatchSafety, AnInterruptedRunKeepsWhatIsDoneAndLeavesNoTemporary) {
  ScratchDir dir;
  fs::create_directories(dir / "in");
  fs::create_directories(dir / "tmp");
  constexpr int kFiles = 1000;
  for (int i = 0; i < kFiles; ++i)
    fs::copy_file(kPlan, dir / "in" / ("P" + std::to_string(i) + ".jww"));
  const fs::path out = dir / "out";
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    ::setenv("TMPDIR", (dir / "tmp").c_str(), 1);
    std::freopen("/dev/null", "w", stdout);
    ::execl(QUILLON_CLI, QUILLON_CLI, "convert", "--dest", out.c_str(), (dir / "in").c_str(),
            static_cast<char*>(nullptr));
    ::_exit(127);
  }
  // Stop it as soon as it is writing.
  auto converted = [&] {
    std::error_code ec;
    for (fs::directory_iterator it(out, ec), end; !ec && it != end; it.increment(ec)) {
      if (it->path().extension() == ".tmp" || it->path().extension() == ".jww") return true;
    }
    return false;
  };
  int status = 0;
  pid_t ended = 0;
  while (!converted() && (ended = ::waitpid(child, &status, WNOHANG)) == 0) {
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  if (ended == 0) {
    ::kill(child, SIGINT);
    ASSERT_EQ(::waitpid(child, &status, 0), child);
  }
  ASSERT_TRUE(WIFEXITED(status));
  if (WEXITSTATUS(status) == 0) GTEST_SKIP() << "the run ended before the interrupt came";
  EXPECT_EQ(WEXITSTATUS(status), 130);
  const std::vector<std::string> names = testing_support::SortedNames(out);
  EXPECT_LT(names.size(), static_cast<std::size_t>(kFiles));
  for (const std::string& name : names) {
    EXPECT_EQ(name.rfind(".quillon-", 0), std::string::npos) << "a temporary stayed: " << name;
    EXPECT_EQ(ReadFileBytes(out / name), ReadFileBytes(out / names.front())) << name;
  }
  EXPECT_TRUE(fs::is_empty(dir / "tmp")) << "the private temp folder is removed";
}
#endif

}  // namespace
