// quillon-cli render on a failing disk: every open, read, write, sync,
// rename and close made to fail in turn leaves at the destination the SVG
// that stood there or the whole new one, never a part of one or a
// temporary, and says which file failed.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "cli/render_command.h"
#include "platform/file_faults.h"
#include "tests/support/mini_xml.h"
#include "tests/support/paths.h"
#include "tests/support/synthetic.h"

namespace {

namespace fs = std::filesystem;
using platform::FileOp;
using testing_support::ReadFileBytes;
using testing_support::ScratchDir;
using testing_support::WriteFileBytes;

TEST(RenderFaults, AnSvgIsWholeOrAbsentAfterEveryFailure) {
  ScratchDir dir;
  // Large enough that the SVG goes out in several writes.
  jww::Drawing d = synthetic::MakeFullDrawing(700);
  for (int i = 0; i < 3000; ++i) synthetic::Add(d.top, synthetic::MakeLine(700, i));
  synthetic::UpdateCounts(d);
  synthetic::SaveDrawing(d, dir / "D.jww");
  fs::create_directory(dir / "out");
  const fs::path svg = dir / "out/D.svg";
  const std::string old = "<svg xmlns=\"http://www.w3.org/2000/svg\"/>";
  const auto render = [&] {
    std::ostringstream out, err;
    const int code =
        cli::RunRender({"--out", (dir / "out").string(), (dir / "D.jww").string()}, out, err);
    return std::pair{code, err.str()};
  };
  WriteFileBytes(svg, old);
  ASSERT_EQ(render().first, 0);
  const std::string fresh = ReadFileBytes(svg);
  ASSERT_GT(fresh.size(), 3u << 16);

  int made = 0;
  for (const FileOp op : {FileOp::kOpen, FileOp::kRead, FileOp::kWrite, FileOp::kSync,
                          FileOp::kRename, FileOp::kRemove, FileOp::kClose}) {
    for (std::uint64_t n = 1;; ++n) {
      WriteFileBytes(svg, old);
      platform::ArmFileFault(op, n);
      const auto [code, err] = render();
      const bool fired = platform::FileFaultFired();
      platform::DisarmFileFaults();
      if (!fired) break;
      ++made;
      SCOPED_TRACE(std::string(platform::FileOpName(op)) + " #" + std::to_string(n));
      EXPECT_EQ(testing_support::SortedNames(dir / "out"), std::vector<std::string>{"D.svg"});
      const std::string now = ReadFileBytes(svg);
      EXPECT_TRUE(now == old || now == fresh) << now.size() << " bytes";
      if (now == old) {
        EXPECT_EQ(code, 1);
        EXPECT_EQ(err.rfind("quillon-cli render: " + (dir / "D.jww").string() + ": ", 0), 0u)
            << err;
      }
    }
  }
  EXPECT_GT(made, 5);
  EXPECT_NO_THROW(mini_xml::Parse(fresh));
}

}  // namespace
