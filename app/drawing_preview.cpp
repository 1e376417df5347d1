#include "app/drawing_preview.h"

#include <new>
#include <vector>

#include "app/message_texts.h"
#include "app/retype_counts.h"
#include "conversion/retype_marks.h"

namespace unit1 {

std::optional<Preview> BuildPreview(const std::filesystem::path& file,
                                    const unit_val::ConversionSettings& settings,
                                    const std::stop_token& stop) {
  jww::Drawing drawing;
  std::string reason = ReadDrawingToLook(drawing, file);
  if (stop.stop_requested()) return std::nullopt;
  if (!reason.empty()) return Preview{nullptr, std::move(reason)};
  try {
    unit_val::MarkedDrawing marked = unit_val::DrawWithMarks(drawing, settings);
    if (stop.stop_requested()) return std::nullopt;
    return Preview{std::make_shared<const render::DisplayList>(std::move(marked.list)),
                   std::move(marked.legend)};
  } catch (const std::bad_alloc&) {
    return Preview{nullptr, texts::FailureText({unit_val::Reason::kOutOfMemory, {}})};
  } catch (const std::exception&) {
    return Preview{nullptr, texts::FailureText({unit_val::Reason::kUnexpected, {}})};
  }
}

}  // namespace unit1
