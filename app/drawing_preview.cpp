#include "app/drawing_preview.h"

#include <new>
#include <vector>

#include "app/message_texts.h"
#include "app/retype_counts.h"
#include "conversion/text_sweep.h"
#include "render/walk.h"

namespace unit1 {

MarkedDrawing DrawWithMarks(const jww::Drawing& drawing,
                            const unit_val::ConversionSettings& settings) {
  MarkedDrawing marked;
  std::vector<render::TextMark> marks;
  for (const unit_val::RetypedText& text :
       unit_val::ListRetypedTexts(drawing, settings, &marked.counts)) {
    marks.push_back({text.place, text.newType});
  }
  marked.list = render::BuildDisplayList(drawing, marks);
  marked.caption =
      texts::PreviewCaption(marked.counts.retyped, render::MarkedTextsOnHiddenLayers(marked.list));
  return marked;
}

std::optional<Preview> BuildPreview(const std::filesystem::path& file,
                                    const unit_val::ConversionSettings& settings,
                                    const std::stop_token& stop) {
  jww::Drawing drawing;
  std::string reason = ReadDrawingToLook(drawing, file);
  if (stop.stop_requested()) return std::nullopt;
  if (!reason.empty()) return Preview{nullptr, std::move(reason)};
  try {
    MarkedDrawing marked = DrawWithMarks(drawing, settings);
    if (stop.stop_requested()) return std::nullopt;
    return Preview{std::make_shared<const render::DisplayList>(std::move(marked.list)),
                   std::move(marked.caption)};
  } catch (const std::bad_alloc&) {
    return Preview{nullptr, texts::FailureText({unit_val::Reason::kOutOfMemory, {}})};
  } catch (const std::exception&) {
    return Preview{nullptr, texts::FailureText({unit_val::Reason::kUnexpected, {}})};
  }
}

}  // namespace unit1
