// Unit2: the conversion settings dialog TForm2, editing the 60 range values
// and 12 conversion flags of the settings record in place. Plain C++; a
// front end shows it through SettingsView and forwards its events here.
#pragma once

#include <string_view>

#include "app/settings_view.h"
#include "conversion/conversion_settings.h"

class TForm2 {
 public:
  TForm2(unit_val::ConversionSettings& settings, unit2::SettingsView& view);

  // Every showing: the boxes from the settings.
  void FormShow();
  // Button1..Button19 write their caption into their twenty boxes;
  // Button20 ("OFF") and Button21 ("ON") set CheckBox1..CheckBox10.
  void PresetButtonClick(int button);
  // OK: stores when every box reads as a number of 0 or more; else names the
  // first box that does not in a box, focuses it and stores nothing.
  void ButtonA1Click();
  void ButtonA2Click();  // Cancel, and the frame's close box

  // The caption of preset button 1..21.
  static std::string_view PresetCaption(int button);

 private:
  unit_val::ConversionSettings& settings_;
  unit2::SettingsView& view_;
};
