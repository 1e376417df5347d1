// The conversion settings dialog TForm2 in Qt: its widgets, found by their
// names, showing what TForm2's logic asks (SettingsView) and forwarding the
// buttons to its handlers.
#pragma once

#include <QDialog>

#include "app/settings_view.h"
#include "app/unit2.h"

class QCheckBox;
class QLineEdit;

namespace unit1 {

class SettingsDialog : public QDialog, public unit2::SettingsView {
 public:
  SettingsDialog(unit_val::ConversionSettings& settings, QWidget* parent = nullptr);

  // Range box n (1..60) and check box n (1..12), found by their names.
  QLineEdit* RangeBox(int n) const;
  QCheckBox* FlagBox(int n) const;

  // SettingsView.
  std::string RangeText(int n) override;
  void SetRangeText(int n, const std::string& text) override;
  bool FlagChecked(int n) override;
  void SetFlagChecked(int n, bool checked) override;
  void FocusRangeBox(int n) override;
  void MessageBeep() override;
  void ShowErrorBox(const std::string& text) override;
  void CloseDialog(bool stored) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void CreateControls();
  void CreateRangeGroups(QWidget* panel);
  void CreatePresetButtons(QWidget* panel);
  void SetTabOrder();

  TForm2 form_;
};

}  // namespace unit1
