// The texts the windows show for the run's reasons and the system's errors.
#include "app/message_texts.h"

#include <gtest/gtest.h>

namespace {

// A read-only destination showed "保存: cannot create a file in the
// destination folder: Read-only file system" in a Japanese box.
TEST(MessageTexts, ReasonsAndCommonSystemErrorsAreJapanese) {
  using unit_val::Reason;
  EXPECT_EQ(texts::FailureText({Reason::kCannotCreateOutput,
                                std::make_error_code(std::errc::read_only_file_system)}),
            "保存先フォルダにファイルを作成できません。（読み取り専用のドライブです。）");
  EXPECT_EQ(texts::SystemReasonText(std::make_error_code(std::errc::no_space_on_device)),
            "ディスクの空き容量が足りません。");
  EXPECT_EQ(texts::SystemReasonText(std::make_error_code(std::errc::permission_denied)),
            "アクセスが拒否されました。");
  EXPECT_EQ(texts::FailureText({Reason::kDamagedDrawing, {}}), "図面データが壊れています。");
}

TEST(MessageTexts, TheSettingsDialogNamesItsRowsAndBoxes) {
  EXPECT_EQ(texts::TextTypeCaption(1), "文字種１");
  EXPECT_EQ(texts::TextTypeCaption(10), "文字種１０");
  EXPECT_EQ(texts::RangeBoxName(1), "文字種1 横 －");
  EXPECT_EQ(texts::RangeBoxName(24), "文字種2 縦 ＋");
  EXPECT_EQ(texts::RangeBoxName(60), "文字種10 間隔 ＋");
}

}  // namespace
