// Unit2: the conversion settings dialog TForm2, editing the 60 range values
// and 12 conversion flags of the settings record in place.
#pragma once

#include <QDialog>

#include "app/user_dialogs.h"
#include "conversion/conversion_settings.h"

class QCheckBox;
class QLineEdit;

class TForm2 : public QDialog {
 public:
  TForm2(unit_val::ConversionSettings& settings, unit1::UserDialogs& dialogs,
         QWidget* parent = nullptr);

  // Range box n (1..60) and check box n (1..12), found by their names.
  QLineEdit* RangeBox(int n) const;
  QCheckBox* FlagBox(int n) const;

  void ButtonA1Click();  // OK: store when no box holds a negative value

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void CreateControls();
  void CreateRangeGroups(QWidget* panel);
  void CreatePresetButtons(QWidget* panel);
  void SetTabOrder();
  void FillFromSettings();
  void Preset(int firstBox, const QString& text);
  void SetColourFlags(bool checked);

  unit_val::ConversionSettings& settings_;
  unit1::UserDialogs& dialogs_;
};
