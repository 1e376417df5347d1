#include "app/message_texts.h"

#include "common/func.h"
#include "platform/path_text.h"

namespace texts {

namespace {

std::string Joined(std::initializer_list<std::string_view> parts) {
  std::string text;
  for (std::string_view part : parts) text += part;
  return text;
}

}  // namespace

std::string ConfirmRun(std::size_t drawings, std::string_view destination) {
  return Joined({kConfirmRun, "\n", std::to_string(drawings), " 件の図面を変換します。\n保存先：",
                 destination});
}

std::string ConfirmTreeRun(std::size_t drawings, std::size_t folders,
                           std::string_view destination) {
  return Joined({kConfirmRun, "\n", std::to_string(folders), " フォルダの ",
                 std::to_string(drawings),
                 " 件の図面を、サブフォルダの構成のまま変換します。\n保存先：", destination});
}

std::string ListingFolder(std::string_view folder) {
  return Joined({"フォルダ「", folder, "」を検索中(ESC:中断)"});
}

std::string ListedFiles(std::size_t count, std::string_view folder) {
  return Joined({std::to_string(count), " Files  パス名「", folder, "」"});
}

std::string Converting(const std::filesystem::path& source,
                       const std::filesystem::path& destination, std::size_t number,
                       std::size_t total) {
  return Joined({"ファイル「", platform::PathToUtf8(source), "」→「",
                 platform::PathToUtf8(destination), "」変換中です。（", std::to_string(number),
                 " / ", std::to_string(total), " 件目）"});
}

std::string RunFinished(const RunCounts& counts, bool stopped) {
  return Joined({stopped ? "変換作業を中止しました。" : "変換作業を完了しました。", "（変換 ",
                 std::to_string(counts.converted), " 件、文字 ", std::to_string(counts.retyped),
                 " 件、失敗 ", std::to_string(counts.failed), " 件、対象外 ",
                 std::to_string(counts.skipped), " 件）"});
}

std::string RetypeTag(int newType) {
  return "→" + std::to_string(newType);
}

std::string ConfirmUndo(std::size_t drawings, std::string_view destination) {
  return Joined({std::to_string(drawings),
                 " 件の図面を変換前に戻します。よろしいですか？\n保存先：", destination});
}

std::string Undoing(const std::filesystem::path& file, std::size_t number, std::size_t total) {
  return Joined({"ファイル「", platform::PathToUtf8(file), "」を変換前に戻しています。（",
                 std::to_string(number), " / ", std::to_string(total), " 件目）"});
}

std::string UndoFinished(int restored, int removed, int leftAlone, bool stopped) {
  return Joined({stopped ? "変換を元に戻す作業を中止しました。" : "変換を元に戻しました。",
                 "（復元 ", std::to_string(restored), " 件、削除 ", std::to_string(removed),
                 " 件、そのまま ", std::to_string(leftAlone), " 件）"});
}

std::string UndoFailureSummary(int leftAlone) {
  return Joined({"変換前に戻せなかったファイルがあります（", std::to_string(leftAlone), " 件）。"});
}

std::string LoadFailureText(const jww::LoadResult& loaded) {
  return FailureText(unit_val::LoadFailed(loaded));
}

std::string FailureGroupCaption(std::string_view caption, std::size_t count) {
  return std::string(caption) + "（" + std::to_string(count) + " 件）";
}

std::string FailureSummary(int failed, int warned, int skipped) {
  std::string text;
  auto line = [&text](int count, std::string_view words) {
    if (count <= 0) return;
    if (!text.empty()) text += "\n";
    text += Joined({words, "（", std::to_string(count), " 件）。"});
  };
  line(failed, "変換できなかったファイルがあります");
  line(warned, "変換しましたが、注意があります");
  line(skipped, "対象外のファイルがあります");
  return text;
}

std::string OlderBackupKept(const std::filesystem::path& kept) {
  return Joined({"古いバックアップを削除できなかったため、「", platform::PathToUtf8(kept),
                 "」として残しました。"});
}

std::string SettingsNotSaved(const std::filesystem::path& file) {
  return Joined({"設定ファイル「", platform::PathToUtf8(file), "」に保存できませんでした。"});
}

std::string OverflowingKeys(const std::vector<std::string>& keys) {
  std::string text = Joined({func::FloatOverflow().what(), "\n\n"});
  for (std::size_t i = 0; i < keys.size(); ++i) text += (i ? ", " : "") + keys[i];
  return text + " → 0";
}

std::string_view StageText(unit_val::ConvertStage stage) {
  switch (stage) {
    case unit_val::ConvertStage::kLoad:
      return "読み込み";
    case unit_val::ConvertStage::kBackup:
      return "バックアップ";
    case unit_val::ConvertStage::kSave:
      return "保存";
    case unit_val::ConvertStage::kPlan:
      return "事前確認";
    case unit_val::ConvertStage::kNone:
      break;
  }
  return "";
}

std::string_view ReasonText(unit_val::Reason reason) {
  using unit_val::Reason;
  switch (reason) {
    case Reason::kNone:
      return "";
    case Reason::kNotJwwFile:
      return "拡張子が .JWW ではありません。";
    case Reason::kNoSignature:
      return "JWW 図面ではありません。";
    case Reason::kWritesOverSource:
      return "保存先またはバックアップが、読み込むファイルと同じになります。";
    case Reason::kDestinationIsSource:
      return "保存先フォルダとファイルのフォルダが同じになっています。";
    case Reason::kDestinationLocked:
      return "保存先フォルダには別の変換作業が書き込み中です。";
    case Reason::kCannotLockDestination:
      return "保存先フォルダをロックできません（.quillon.lock を使えません）。";
    case Reason::kCannotReadSettingsFile:
      return "設定ファイルを読み込めません。";
    case Reason::kCannotReadFolder:
      return "フォルダを読み込めません。";
    case Reason::kNoSuchPath:
      return "ファイルまたはフォルダが見つかりません。";
    case Reason::kNotRegularFile:
      return "通常のファイルではありません。";
    case Reason::kCannotOpenSource:
      return "ファイルを開けません。";
    case Reason::kCannotReadSource:
      return "ファイルを読み込めません。";
    case Reason::kDamagedDrawing:
      return "図面データが壊れています。";
    case Reason::kImageCutShort:
      return "図面に埋め込まれた画像が途中で切れています。";
    case Reason::kOutOfMemory:
      return "図面が大きすぎてメモリが足りません。";
    case Reason::kCannotExtractImages:
      return "埋め込まれた画像を一時フォルダに書き出せません。";
    case Reason::kNameTaken:
      return "同じ保存先またはバックアップの名前を、先のファイルが使っています。";
    case Reason::kCannotCreateFolder:
      return "保存先フォルダを作成できません。";
    case Reason::kCannotKeepBackup:
      return "保存先の既存ファイルをバックアップ（.BAK）にできません。";
    case Reason::kCannotCreateOutput:
      return "保存先フォルダにファイルを作成できません。";
    case Reason::kCannotWriteOutput:
      return "ファイルを書き込めません。";
    case Reason::kCannotSyncOutput:
      return "ファイルをディスクに書き込めません。";
    case Reason::kCannotMoveIntoPlace:
      return "変換したファイルを保存先の名前にできません。";
    case Reason::kStoppedBeforeMove:
      return "変換作業が中止されたため、保存されませんでした。";
    case Reason::kNoUndoJournal:
      return "元に戻せる変換の記録がありません。";
    case Reason::kUndoJournalUnreadable:
      return "変換の記録を読み込めません。";
    case Reason::kChangedSinceRun:
      return "変換後にファイルが変更されたか、見つからないため、そのままにしました。";
    case Reason::kBackupChangedSinceRun:
      return "バックアップ（.BAK）が変換後に変更されたか、見つからないため、そのままにしました。";
    case Reason::kCannotUndoFile:
      return "ファイルを変換前に戻せません。";
    case Reason::kUnexpected:
      return "予期しないエラーが発生しました。";
    case Reason::kOlderBackupKept:
      return "古いバックアップを削除できず、別の名前で残しました。";
  }
  return "予期しないエラーが発生しました。";
}

std::string SystemReasonText(const std::error_code& error) {
  if (!error) return {};
  struct Known {
    std::errc condition;
    std::string_view text;
  };
  static constexpr Known kKnown[] = {
      {std::errc::no_space_on_device, "ディスクの空き容量が足りません。"},
      {std::errc::permission_denied, "アクセスが拒否されました。"},
      {std::errc::operation_not_permitted, "アクセスが拒否されました。"},
      {std::errc::read_only_file_system, "読み取り専用のドライブです。"},
      {std::errc::no_such_file_or_directory, "ファイルまたはフォルダが見つかりません。"},
      {std::errc::file_exists, "同じ名前のファイルがあります。"},
      {std::errc::filename_too_long, "パスが長すぎます。"},
      {std::errc::device_or_resource_busy, "ファイルが使用中です。"},
      {std::errc::text_file_busy, "ファイルが使用中です。"},
      {std::errc::io_error, "ディスクの読み書きでエラーが発生しました。"},
      {std::errc::not_enough_memory, "メモリが不足しています。"},
      {std::errc::is_a_directory, "フォルダです。"},
      {std::errc::not_a_directory, "フォルダではありません。"},
      {std::errc::file_too_large, "ファイルが大きすぎます。"},
      {std::errc::too_many_files_open, "開いているファイルが多すぎます。"},
  };
  for (const Known& known : kKnown) {
    if (error == known.condition) return std::string(known.text);
  }
#ifdef _WIN32
  // ERROR_SHARING_VIOLATION, ERROR_LOCK_VIOLATION: another program holds the file.
  if (error.category() == std::system_category() && (error.value() == 32 || error.value() == 33)) {
    return "ファイルが別のプログラムで使用中です。";
  }
#endif
  return error.message();
}

std::string OlderBackupStaysAs(const std::string& name) {
  return "古いバックアップは「" + name + "」として残っています。";
}

std::string FailureText(const unit_val::Failure& failure) {
  std::string text(ReasonText(failure.code));
  const std::string system = SystemReasonText(failure.error);
  if (!system.empty()) text += (text.empty() ? "" : "（") + system + (text.empty() ? "" : "）");
  return text;
}

std::string TextTypeCaption(int type) {
  static constexpr std::string_view kWideDigits[] = {"０", "１", "２", "３", "４",
                                                     "５", "６", "７", "８", "９"};
  std::string caption(kTextTypeRow);
  for (char digit : std::to_string(type)) caption += kWideDigits[digit - '0'];
  return caption;
}

std::string RangeBoxName(int box) {
  static constexpr std::string_view kMeasures[] = {"横", "縦", "間隔"};
  const int within = (box - 1) % 20;
  return Joined({kTextTypeRow, std::to_string(within / 2 + 1), " ", kMeasures[((box - 1) / 20) % 3],
                 " ", within % 2 ? "＋" : "－"});
}

std::string RangeRefused(int box, std::string_view typed, unit2::RangeProblem problem) {
  std::string_view wrong;
  switch (problem) {
    case unit2::RangeProblem::kEmpty:
      wrong = "値が入力されていません。";
      break;
    case unit2::RangeProblem::kNegative:
      wrong = "」は負の数です。";
      break;
    case unit2::RangeProblem::kTooLarge:
      wrong = "」は大きすぎます（浮動小数点数のオーバーフロー）。";
      break;
    case unit2::RangeProblem::kNotNumber:
    case unit2::RangeProblem::kNone:
      wrong = "」を数値として読み取れません。";
      break;
  }
  const bool quoted = problem != unit2::RangeProblem::kEmpty;
  return Joined({RangeBoxName(box), "：\n", quoted ? "「" : "", quoted ? typed : "", wrong,
                 "\n0 以上の数値を入力して下さい。"});
}

}  // namespace texts
