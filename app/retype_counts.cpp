#include "app/retype_counts.h"

#include <chrono>
#include <new>

#include "app/message_texts.h"
#include "conversion/text_sweep.h"
#include "drawing/jww_loader.h"

namespace unit1 {

std::string ReadDrawingToLook(jww::Drawing& drawing, const std::filesystem::path& file) {
  drawing.imageOptions = {.readSection = true, .extract = false, .tempFolder = {}};
  std::string reason;
  try {
    const jww::LoadResult loaded = jww::LoadJww(drawing, file);
    if (!loaded) reason = texts::LoadFailureText(loaded);
  } catch (const std::bad_alloc&) {
    reason = texts::FailureText({unit_val::Reason::kOutOfMemory, {}});
  } catch (const std::exception&) {
    reason = texts::FailureText({unit_val::Reason::kUnexpected, {}});
  }
  if (!reason.empty()) drawing.Free();
  return reason;
}

void CountRetypedTexts(const std::filesystem::path& folder,
                       const std::vector<std::filesystem::path>& names,
                       const unit_val::ConversionSettings& settings, const std::stop_token& stop,
                       const std::function<void(std::vector<RetypeCount>)>& deliver) {
  using Clock = std::chrono::steady_clock;
  std::vector<RetypeCount> ready;
  Clock::time_point lastDelivery = Clock::now() - std::chrono::milliseconds(kCountBatchMs);
  jww::Drawing drawing;
  for (const std::filesystem::path& name : names) {
    if (stop.stop_requested()) return;
    RetypeCount result{name, -1, ReadDrawingToLook(drawing, folder / name)};
    if (result.reason.empty()) {
      try {
        unit_val::SweepCounts counts;
        unit_val::ListRetypedTexts(drawing, settings, &counts);
        result.count = counts.TotalRetyped();
      } catch (const std::bad_alloc&) {
        result.reason = texts::FailureText({unit_val::Reason::kOutOfMemory, {}});
      }
      drawing.Free();
    }
    ready.push_back(std::move(result));
    if (Clock::now() - lastDelivery >= std::chrono::milliseconds(kCountBatchMs)) {
      deliver(std::move(ready));
      ready.clear();
      lastDelivery = Clock::now();
    }
  }
  if (!ready.empty() && !stop.stop_requested()) deliver(std::move(ready));
}

}  // namespace unit1
