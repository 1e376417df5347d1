#include "app/drawing_preview.h"

#include <new>
#include <vector>

#include "app/message_texts.h"
#include "app/retype_counts.h"
#include "conversion/text_sweep.h"

namespace unit1 {

std::optional<Preview> BuildPreview(const std::filesystem::path& file,
                                    const unit_val::ConversionSettings& settings,
                                    const std::stop_token& stop) {
  jww::Drawing drawing;
  std::string reason = ReadDrawingToLook(drawing, file);
  if (stop.stop_requested()) return std::nullopt;
  if (!reason.empty()) return Preview{nullptr, std::move(reason)};
  try {
    unit_val::SweepCounts counts;
    std::vector<render::TextMark> marks;
    for (const unit_val::RetypedText& text :
         unit_val::ListRetypedTexts(drawing, settings, &counts)) {
      marks.push_back({text.place, text.newType});
    }
    if (stop.stop_requested()) return std::nullopt;
    auto list =
        std::make_shared<const render::DisplayList>(render::BuildDisplayList(drawing, marks));
    return Preview{std::move(list), texts::PreviewCaption(counts.retyped)};
  } catch (const std::bad_alloc&) {
    return Preview{nullptr, texts::FailureText({unit_val::Reason::kOutOfMemory, {}})};
  } catch (const std::exception&) {
    return Preview{nullptr, texts::FailureText({unit_val::Reason::kUnexpected, {}})};
  }
}

}  // namespace unit1
