// What the conversion settings dialog does with the settings record: fill on
// every showing, presets, and OK's check and store passes.
#include <QCheckBox>
#include <QLineEdit>
#include <array>

#include "app/generic_error.h"
#include "app/qt_text.h"
#include "app/unit2.h"
#include "common/func.h"

void TForm2::showEvent(QShowEvent* event) {
  FillFromSettings();
  QDialog::showEvent(event);
}

void TForm2::FillFromSettings() {
  for (int n = 1; n <= unit_val::kRangeValueCount; ++n) {
    RangeBox(n)->setText(QString::fromStdString(func::FormatGeneral(settings_.RangeValue(n))));
  }
  for (int n = 1; n <= unit_val::kFlagCount; ++n) FlagBox(n)->setChecked(settings_.Flag(n) != 0);
}

void TForm2::Preset(int firstBox, const QString& text) {
  for (int n = firstBox; n < firstBox + 20; ++n) RangeBox(n)->setText(text);
}

void TForm2::SetColourFlags(bool checked) {
  for (int n = 1; n <= unit_val::kConvertibleTypeCount; ++n) FlagBox(n)->setChecked(checked);
}

void TForm2::ButtonA1Click() {
  unit1::RunGuarded(dialogs_, this, [this] {
    std::array<double, unit_val::kRangeValueCount> values{};
    for (int n = 1; n <= unit_val::kRangeValueCount; ++n) {
      values[n - 1] = func::TextToDouble(RangeBox(n)->text().toStdString());
      if (values[n - 1] < 0) {
        dialogs_.Beep();
        RangeBox(n)->setFocus();
        return;
      }
    }
    for (int n = 1; n <= unit_val::kRangeValueCount; ++n) settings_.RangeValue(n) = values[n - 1];
    for (int n = 1; n <= unit_val::kFlagCount; ++n) {
      settings_.Flag(n) = FlagBox(n)->isChecked() ? 1 : 0;
    }
    accept();
  });
}
