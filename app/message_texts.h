// Every text the windows show the user: captions, status texts, box texts
// and the failure list's stages and reasons, in Japanese. Front ends take
// their captions from here too, so that each text stands in one place.
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "app/range_text.h"
#include "conversion/convert_file.h"
#include "conversion/failure_reason.h"

namespace texts {

// The main window.
inline constexpr std::string_view kApplicationTitle = "Quillon";
// The windows' fonts (with the pixel heights at 96 dots per inch): the main
// window's, the file list's and the settings dialog's, and the "変換" button's.
inline constexpr std::string_view kWindowFontFace = "ＭＳ Ｐゴシック";
inline constexpr int kWindowFontPixels = 12;
inline constexpr std::string_view kListFontFace = "ＭＳ ゴシック";
inline constexpr int kListFontPixels = 13;
inline constexpr int kConvertButtonFontPixels = 19;
inline constexpr std::string_view kMainCaption = "Quillon Ver.1.02";
inline constexpr std::string_view kFileTypeLabel = "ファイルの種類";
inline constexpr std::array<std::string_view, 3> kFileTypeItems = {"全てのファイル(*.*)", "*.JW?",
                                                                   "*.JWW"};
inline constexpr std::string_view kSettingsButton = "変換設定";
inline constexpr std::string_view kDestinationLabel = "保存先フォルダ";
inline constexpr std::string_view kBrowseButton = "参照";
inline constexpr std::string_view kConvertButton = "変換";
inline constexpr std::string_view kStopButton = "中止";
inline constexpr std::array<std::string_view, 7> kColumnHeaders = {
    "ファイル名", "Bytes", "種類", "図面メモ", "更新日時", "属性", "変換対象"};
// The "変換対象" cell of a drawing that cannot be read (its reason is the
// row's tooltip).
inline constexpr std::string_view kUnreadableDrawing = "×";
inline constexpr std::string_view kMenuFile = "ファイル (&F)";
inline constexpr std::string_view kMenuSearchFolder = "検索フォルダの指定 (&S)";
inline constexpr std::string_view kMenuFileType = "ファイルの種類 (&T)";
inline constexpr std::array<std::string_view, 3> kMenuFileTypes = {"全てのファイル(*.*) (&0)",
                                                                   "(*.jw?) (&1)", "(*.jww) (&2)"};
inline constexpr std::string_view kMenuDestination = "保存先フォルダの指定 (&H)";
inline constexpr std::string_view kMenuConvert = "変換 (&C)";  // shortcut Ctrl+Enter
inline constexpr std::string_view kMenuConvertTree = "フォルダごと変換 (&R)";
inline constexpr std::string_view kMenuUndo = "変換を元に戻す (&U)";
inline constexpr std::string_view kMenuExit = "終了 (&X)";
inline constexpr std::string_view kMenuSettings = "設定 (&S)";
inline constexpr std::string_view kMenuConversionSettings = "変換設定 (&1)";
inline constexpr std::string_view kSearchFolderTitle = "検索フォルダの指定";
inline constexpr std::string_view kDestinationTitle = "保存先フォルダの指定";

// The failure list.
inline constexpr std::string_view kFailuresCaption = "変換できなかったファイル";
inline constexpr std::string_view kSkippedCaption = "変換しなかったファイル";  // the skipped group
inline constexpr std::array<std::string_view, 3> kFailureHeaders = {"ファイル", "段階", "理由"};
inline constexpr std::string_view kCopyButton = "コピー";
inline constexpr std::string_view kCloseButton = "閉じる";
// A group of the failure list: "変換できなかったファイル（3 件）".
std::string FailureGroupCaption(std::string_view caption, std::size_t count);
inline constexpr std::string_view kShowSkipped = "対象外のファイルも表示";

// Status texts and boxes of the main window.
inline constexpr std::string_view kChooseSearchFolder = "検索フォルダを指定して下さい。";
inline constexpr std::string_view kScanningFolders = "フォルダ検索中です。（ESC:中断）";
inline constexpr std::string_view kScanStopped = "フォルダ検索を中断しました。";
inline constexpr std::string_view kDriveNotReady =
    "検索フォルダのディスクドライブの準備が出来ていません。";
inline constexpr std::string_view kListingStopped = "検索を中断しました。";
inline constexpr std::string_view kChooseDrawingFolder =
    "図面の格納されているフォルダを指定して下さい。";
inline constexpr std::string_view kNoFileList = "ファイル一覧が表示されていません。";
inline constexpr std::string_view kNoDrawingsInFolder = "このフォルダには図面がありません。";
inline constexpr std::string_view kChooseDestination = "保存先フォルダを指定して下さい。";
inline constexpr std::string_view kNothingHighlighted = "変換するファイルを選択して下さい。";
inline constexpr std::string_view kSameFolder =
    "保存先フォルダとファイルのフォルダが同じになっています。";
inline constexpr std::string_view kDestinationInTree =
    "保存先フォルダが変換するフォルダの中（サブフォルダ）になっています。";
inline constexpr std::string_view kConfirmRun = "変換を開始します。よろしいですか？";
inline constexpr std::string_view kRunCancelled = "変換作業をキャンセルしました。";
inline constexpr std::string_view kConfirmExit = "終了します。よろしいですか？";
inline constexpr std::string_view kConfirmCloseDuringRun = "変換を中止して終了しますか？";
inline constexpr std::string_view kRunRefused = "変換を開始できませんでした。";

// The question before a run: "変換を開始します。よろしいですか？", then
// "N 件の図面を変換します。" and "保存先：D" on lines of their own.
std::string ConfirmRun(std::size_t drawings, std::string_view destination);
// The question before "フォルダごと変換": "変換を開始します。よろしいですか？",
// then "F フォルダの N 件の図面を、サブフォルダの構成のまま変換します。" and
// "保存先：D" on lines of their own; F counts the folders holding drawings.
std::string ConfirmTreeRun(std::size_t drawings, std::size_t folders, std::string_view destination);

// "フォルダ「P」を検索中(ESC:中断)"
std::string ListingFolder(std::string_view folder);
// "12 Files  パス名「P」"
std::string ListedFiles(std::size_t count, std::string_view folder);
// "ファイル「S」→「D」変換中です。（12 / 200 件目）"
std::string Converting(const std::filesystem::path& source,
                       const std::filesystem::path& destination, std::size_t number,
                       std::size_t total);

struct RunCounts {
  int converted = 0;
  int retyped = 0;  // texts given a text type
  int failed = 0;
  int skipped = 0;
};
// "変換作業を完了しました。（変換 5 件、文字 422 件、失敗 0 件、対象外 1 件）", or
// "変換作業を中止しました。（…）" when the run was stopped.
std::string RunFinished(const RunCounts& counts, bool stopped);
// Above the failure list, a line for each kind there is:
// "変換できなかったファイルがあります（N 件）。", for files converted with a
// warning "変換しましたが、注意があります（N 件）。", and for files skipped
// "対象外のファイルがあります（N 件）。"
std::string FailureSummary(int failed, int warned, int skipped);
// The warning of a file converted while its older ".BAK" could not be
// deleted: "古いバックアップを削除できなかったため、「K」として残しました。"
std::string OlderBackupKept(const std::filesystem::path& kept);
// Taking back the last run into the destination folder: the question
// "N 件の図面を変換前に戻します。よろしいですか？" with "保存先：D" on a line
// of its own, N the files the run's journal names.
std::string ConfirmUndo(std::size_t drawings, std::string_view destination);
inline constexpr std::string_view kUndoCancelled = "変換を元に戻す作業をキャンセルしました。";
inline constexpr std::string_view kUndoRefused = "変換を元に戻せませんでした。";
// "ファイル「F」を変換前に戻しています。（12 / 200 件目）"
std::string Undoing(const std::filesystem::path& file, std::size_t number, std::size_t total);
// "変換を元に戻しました。（復元 5 件、削除 1 件、そのまま 0 件）", or
// "変換を元に戻す作業を中止しました。（…）" when it was stopped.
std::string UndoFinished(int restored, int removed, int leftAlone, bool stopped);
// Above the failure list: "変換前に戻せなかったファイルがあります（N 件）。"
std::string UndoFailureSummary(int leftAlone);
// The failure list's stage of a file the undo left alone.
inline constexpr std::string_view kUndoStage = "元に戻す";
// Every file is back but the journal stays in the folder.
inline constexpr std::string_view kUndoJournalNotRemoved =
    "全てのファイルを変換前に戻しましたが、変換の記録を削除できませんでした。";
// A destination folder whose undo journal could not be written.
inline constexpr std::string_view kUndoJournalNotWritten =
    "変換の記録を書き込めなかったため、この変換は元に戻せません。";

// The tag the preview draws after a text the conversion would retype: "→N".
std::string RetypeTag(int newType);
// Why a drawing could not be read, worded as the failure list words it.
std::string LoadFailureText(const jww::LoadResult& loaded);

// The settings file.
// "設定ファイル「F」に保存できませんでした。"
std::string SettingsNotSaved(const std::filesystem::path& file);
// Range values too large for a number: "浮動小数点数のオーバーフロー" and the
// keys, "[JWW] C5=1e400", each read as 0.
std::string OverflowingKeys(const std::vector<std::string>& keys);

// The failure list's words.
std::string_view StageText(unit_val::ConvertStage stage);  // "読み込み", "保存"…
std::string_view ReasonText(unit_val::Reason reason);
// The system's reason behind a failure, in Japanese for the errors users
// meet (disk full, access denied, read-only medium, missing file…), else the
// system's own message; empty for no error.
std::string SystemReasonText(const std::error_code& error);
// The reason and, after it, the system's reason.
std::string FailureText(const unit_val::Failure& failure);
// "古いバックアップは「NAME」として残っています。"
std::string OlderBackupStaysAs(const std::string& name);

// The settings dialog.
inline constexpr std::string_view kSettingsCaption = "変換設定";
inline constexpr std::string_view kTextTypeRow = "文字種";  // followed by a full-width number
// The row caption of text type 1..10: "文字種１" … "文字種１０".
std::string TextTypeCaption(int type);
inline constexpr std::array<std::string_view, 3> kRangeGroups = {
    "横　変換範囲(&W)", "縦　変換範囲(&H)", "間隔　変換範囲(&D)"};
inline constexpr std::string_view kColourGroup = "変換色(&C)";
inline constexpr std::string_view kAnyColour = "全色置換";
inline constexpr std::string_view kMinus = "－";
inline constexpr std::string_view kToPlus = "～ ＋";
inline constexpr std::string_view kPresetRow = "ALL>>";
inline constexpr std::string_view kDimensionSwitch = "寸法図形の寸法値を変更する";
inline constexpr std::string_view kBlockSwitch = "ブロック図形の文字を変更する";
inline constexpr std::array<std::string_view, 3> kSettingsNotes = {
    "※図面データの文字設定は変更されません。",
    "※横・縦・間隔の変換範囲は図面データを読み取った数値に対して＋／－以上・未満で指定します。",
    "※任意サイズの文字のみ変換されます。文字種１～文字種１０の文字は変換されません。"};
// A range box by what it holds: "文字種3 縦 ＋" (text type, 横/縦/間隔, －/＋).
std::string RangeBoxName(int box);
// Why OK refused box `box` holding `typed`: the box's name, then what is wrong.
std::string RangeRefused(int box, std::string_view typed, unit2::RangeProblem problem);
inline constexpr std::string_view kOkButton = "ＯＫ (&Y)";
inline constexpr std::string_view kCancelButton = "キャンセル (&N)";
inline constexpr std::string_view kSettingsStatus =
    "変換範囲は上に記述されたものが優先されます。全色置換にチェックしない場合、"
    "色Noと異なるものは任意サイズのままです。";

}  // namespace texts
