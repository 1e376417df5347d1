// The work the window does off its thread: the "変換対象" column filled in
// after a listing and the preview of the highlighted drawing. Each job works
// on its own drawing tables and its own copy of the settings, so that a run
// or the settings dialog shares nothing with it.
#include <algorithm>
#include <iterator>
#include <map>

#include "app/drawing_preview.h"
#include "app/message_texts.h"
#include "app/unit1.h"
#include "common/ascii_case.h"
#include "platform/path_text.h"

namespace fs = std::filesystem;

namespace {

bool IsDrawing(const fs::path& name) {
  return func::UpperExtension(platform::PathToUtf8(name)) == ".JWW";
}

}  // namespace

TForm1::~TForm1() {
  counting_.Close();
  previewing_.Close();
}

std::function<void(std::function<void(TForm1&)>)> TForm1::WindowPoster() {
  return [&view = view_, alive = std::weak_ptr<int>(alive_),
          form = this](std::function<void(TForm1&)> task) {
    view.PostToWindow([alive, form, task = std::move(task)] {
      if (alive.lock()) form->Guarded([&] { task(*form); });
    });
  };
}

void TForm1::CancelRetypeCounts() {
  ++countGeneration_;
  counting_.Cancel();
}

void TForm1::StartRetypeCounts() {
  CancelRetypeCounts();
  std::vector<fs::path> names;
  for (unit1::FileRow& row : rows_) {
    if (row.name.empty() || !IsDrawing(row.name)) continue;
    row.retypeText.clear();
    row.retypeCount = -1;
    row.tooltip.clear();
    names.push_back(row.name);
  }
  if (names.empty()) return;
  counting_.Submit([folder = platform::PathFromUtf8(listedFolder_), names = std::move(names),
                    settings = context_.settings, post = WindowPoster(),
                    generation = countGeneration_](std::stop_token stop) {
    unit1::CountRetypedTexts(folder, names, settings, stop,
                             [&post, generation](std::vector<unit1::RetypeCount> counts) {
                               post([generation, counts = std::move(counts)](TForm1& form) {
                                 form.TakeRetypeCounts(generation, counts);
                               });
                             });
  });
}

void TForm1::TakeRetypeCounts(std::uint64_t generation,
                              const std::vector<unit1::RetypeCount>& counts) {
  if (generation != countGeneration_) return;
  // By name: the rows may have been sorted since the job started.
  std::map<fs::path, std::size_t> rowOf;
  for (std::size_t row = 0; row < rows_.size(); ++row) rowOf.emplace(rows_[row].name, row);
  bool changed = false;
  for (const unit1::RetypeCount& count : counts) {
    const auto found = rowOf.find(count.name);
    if (found == rowOf.end()) continue;
    unit1::FileRow& row = rows_[found->second];
    row.retypeCount = count.count;
    row.retypeText =
        count.count >= 0 ? std::to_string(count.count) : std::string(texts::kUnreadableDrawing);
    row.tooltip = count.reason;
    changed = true;
  }
  if (changed) view_.RefreshRows();
}

void TForm1::FollowHighlight(const std::set<fs::path>& before) {
  if (highlighted_.size() == 1) {
    PreviewFile(*highlighted_.begin(), false);
    return;
  }
  std::vector<fs::path> joined;
  std::set_difference(highlighted_.begin(), highlighted_.end(), before.begin(), before.end(),
                      std::back_inserter(joined));
  if (joined.size() == 1) {
    PreviewFile(joined.front(), false);
  } else if (!highlighted_.count(previewed_)) {
    PreviewFile({}, false);
  }
}

void TForm1::PreviewFile(const fs::path& name, bool reload) {
  if (name == previewed_ && !reload) return;
  previewed_ = name;
  const std::uint64_t generation = ++previewGeneration_;
  if (name.empty() || !IsDrawing(name)) {
    previewing_.Cancel();
    view_.ShowPreview(nullptr, "");
    return;
  }
  previewing_.Submit([file = platform::PathFromUtf8(listedFolder_) / name,
                      settings = context_.settings, post = WindowPoster(),
                      generation](std::stop_token stop) {
    std::optional<unit1::Preview> preview = unit1::BuildPreview(file, settings, stop);
    if (!preview) return;
    post([generation, preview = std::move(*preview)](TForm1& form) {
      if (generation == form.previewGeneration_) {
        form.view_.ShowPreview(preview.drawing, preview.caption);
      }
    });
  });
}
