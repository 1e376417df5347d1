// "フォルダごと変換": the listed folder and every folder below it, chosen
// as the command line's recursive convert chooses them, through the same
// run as "変換".
#include <set>

#include "app/message_texts.h"
#include "app/unit1.h"
#include "conversion/file_selection.h"
#include "platform/path_text.h"

namespace fs = std::filesystem;

std::optional<unit_val::Selection> TForm1::TreeRunGuardsPass() {
  if (!SearchFolderChosen()) return std::nullopt;
  // A folder without files of its own may still hold drawings below it.
  if (!listReady_ && !emptyFolderListed_) {
    ErrorBox(texts::kNoFileList);
    return std::nullopt;
  }
  if (!DestinationGuardsPass(true)) return std::nullopt;
  unit_val::Selection selection = unit_val::ChooseFiles(
      {platform::PathFromUtf8(listedFolder_)}, platform::PathFromUtf8(destinationFolder_), true,
      unit_val::SignatureCheck::kWhenLoaded);
  if (!selection.ok()) {
    ErrorBox(std::string(texts::kRunRefused) + "\n" + texts::FailureText(selection.failure));
    view_.SetStatusText(std::string(texts::kRunCancelled));
    return std::nullopt;
  }
  if (selection.chosen.empty()) {
    ErrorBox(texts::kNoDrawingsInFolder);
    view_.SetStatusText(std::string(texts::kNoDrawingsInFolder));
    return std::nullopt;
  }
  return selection;
}

void TForm1::MnuFileRecursiveClick() {
  Guarded([this] {
    if (busy_) return;
    std::optional<unit_val::Selection> selection = TreeRunGuardsPass();
    if (!selection) return;
    std::set<fs::path> folders;
    for (const unit_val::ChosenFile& file : selection->chosen) {
      folders.insert(file.source.parent_path());
    }
    const std::string confirm =
        texts::ConfirmTreeRun(selection->chosen.size(), folders.size(), destinationFolder_);
    ConfirmAndRun(confirm, std::move(*selection));
  });
}
