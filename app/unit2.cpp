#include "app/unit2.h"

#include <array>

#include "app/generic_error.h"
#include "app/message_texts.h"
#include "app/range_text.h"
#include "common/func.h"

namespace {

constexpr int kBoxesPerMeasure = 20;
constexpr int kOffButton = 20;
constexpr int kOnButton = 21;

constexpr std::array<std::string_view, 21> kPresetCaptions = {
    "0", "0.2", "0.4", "0.5", "0.8", "1",                    // Button1..6: width
    "0", "0.2", "0.4", "0.5", "0.8", "1",                    // Button7..12: height
    "0", "1",   "2",   "3",   "4",   "5", "10", "OFF", "ON"  // Button13..19: spacing
};

// The first range box that preset button 1..19 writes.
int FirstBox(int button) {
  return button <= 6 ? 1 : button <= 12 ? 21 : 41;
}

}  // namespace

TForm2::TForm2(unit_val::ConversionSettings& settings, unit2::SettingsView& view)
    : settings_(settings), view_(view) {}

std::string_view TForm2::PresetCaption(int button) {
  return kPresetCaptions.at(static_cast<std::size_t>(button - 1));
}

void TForm2::FormShow() {
  for (int n = 1; n <= unit_val::kRangeValueCount; ++n) {
    view_.SetRangeText(n, func::FormatGeneral(settings_.RangeValue(n)));
  }
  for (int n = 1; n <= unit_val::kFlagCount; ++n) view_.SetFlagChecked(n, settings_.Flag(n) != 0);
}

void TForm2::PresetButtonClick(int button) {
  if (button == kOffButton || button == kOnButton) {
    for (int n = 1; n <= unit_val::kConvertibleTypeCount; ++n) {
      view_.SetFlagChecked(n, button == kOnButton);
    }
    return;
  }
  const std::string text(PresetCaption(button));
  const int first = FirstBox(button);
  for (int n = first; n < first + kBoxesPerMeasure; ++n) view_.SetRangeText(n, text);
}

void TForm2::ButtonA1Click() {
  unit1::RunGuarded([this](const std::string& message) { view_.ShowErrorBox(message); },
                    [this] {
                      std::array<double, unit_val::kRangeValueCount> values{};
                      for (int n = 1; n <= unit_val::kRangeValueCount; ++n) {
                        const std::string typed = view_.RangeText(n);
                        const unit2::RangeReading reading = unit2::ReadRangeText(typed);
                        if (reading.problem != unit2::RangeProblem::kNone) {
                          view_.MessageBeep();
                          view_.ShowErrorBox(texts::RangeRefused(n, typed, reading.problem));
                          view_.FocusRangeBox(n);
                          return;
                        }
                        values[n - 1] = reading.value;
                      }
                      for (int n = 1; n <= unit_val::kRangeValueCount; ++n) {
                        settings_.RangeValue(n) = values[n - 1];
                      }
                      for (int n = 1; n <= unit_val::kFlagCount; ++n) {
                        settings_.Flag(n) = view_.FlagChecked(n) ? 1 : 0;
                      }
                      view_.CloseDialog(true);
                    });
}

void TForm2::ButtonA2Click() {
  view_.CloseDialog(false);
}
