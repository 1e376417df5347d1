// The batch conversion run's guards and the choice of its destination folder.
#include "app/message_texts.h"
#include "app/unit1.h"
#include "conversion/destination_guard.h"
#include "platform/path_text.h"

namespace fs = std::filesystem;

void TForm1::Button3Click() {
  Guarded([this] {
    if (busy_) return;
    const std::optional<fs::path> chosen = view_.ChooseFolder(
        std::string(texts::kDestinationTitle), platform::PathFromUtf8(destinationFolder_));
    if (!chosen) return;
    destinationFolder_ = unit1::FolderText(*chosen);
    view_.ShowDestinationFolder(destinationFolder_);
    ShowUndoState();
  });
}

bool TForm1::DestinationGuardsPass(bool wholeTree) {
  auto refuse = [this](unit1::BoxIcon icon, std::string_view text) {
    view_.Beep();
    view_.ShowBox(icon, std::string(text), unit1::BoxButtons::kOk);
    return false;
  };
  if (destinationFolder_.empty()) {
    return refuse(unit1::BoxIcon::kQuestion, texts::kChooseDestination);
  }
  // The same folder however it is written: letter case, links, "..".
  const fs::path destination = platform::PathFromUtf8(destinationFolder_);
  const fs::path listed = platform::PathFromUtf8(listedFolder_);
  if (unit_val::SameFolder(destination, listed)) {
    return refuse(unit1::BoxIcon::kWarning, texts::kSameFolder);
  }
  if (wholeTree && unit_val::FolderWithin(destination, listed)) {
    return refuse(unit1::BoxIcon::kWarning, texts::kDestinationInTree);
  }
  return true;
}

bool TForm1::RunGuardsPass() {
  if (!SearchFolderChosen()) return false;
  if (!listReady_) {
    ErrorBox(emptyFolderListed_ ? texts::kNoDrawingsInFolder : texts::kNoFileList);
    return false;
  }
  if (!DestinationGuardsPass(false)) return false;
  // What the run converts is what the list shows highlighted.
  if (highlight().empty()) {
    ErrorBox(texts::kNothingHighlighted);
    view_.SetStatusText(std::string(texts::kNothingHighlighted));
    return false;
  }
  return true;
}
