// The conversion settings dialog's widgets, their layout and wiring.
#include "app/qt/settings_dialog.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QValidator>

#include "app/message_texts.h"
#include "app/qt/qt_text.h"
#include "app/qt/window_fonts.h"
#include "app/settings_file.h"

namespace unit1 {

namespace {

constexpr int kTypeCount = 10;
constexpr int kRowPitch = 24;
constexpr int kGroupTop = 2;
constexpr int kFirstRowTop = 20;  // inside a group, below its title
constexpr int kGroupWidth = 177;
constexpr int kGroupHeight = 273;
constexpr int kColourGroupWidth = 97;
constexpr int kCaptionWidth = 70;  // the row captions' column, a small gap on both sides
constexpr int kCaptionGap = 2;
constexpr int kGroupGap = 4;
constexpr int kBoxWidth = 49;

// Full-width digits for the row captions.
QString FullWidthNumber(int n) {
  QString text;
  for (QChar c : QString::number(n)) text += QChar(0xFF10 + (c.unicode() - '0'));
  return text;
}

QLabel* Caption(const QString& text, QWidget* parent, const QRect& place,
                Qt::Alignment alignment = Qt::AlignLeft) {
  auto* label = new QLabel(text, parent);
  label->setGeometry(place);
  label->setAlignment(alignment | Qt::AlignVCenter);
  return label;
}

// Typing stops at six characters; a longer value set by the dialog is shown
// whole and may still be shortened.
class TypedLengthLimit : public QValidator {
 public:
  TypedLengthLimit(QLineEdit* box, int limit)
      : QValidator(box), shown_(box->text()), limit_(limit) {
    connect(box, &QLineEdit::textChanged, this, [this](const QString& text) { shown_ = text; });
  }
  State validate(QString& input, int&) const override {
    return input.size() > limit_ && input.size() > shown_.size() ? Invalid : Acceptable;
  }

 private:
  QString shown_;  // the text before the edit being validated
  int limit_;
};

QLabel* Note(const QString& text, QWidget* parent) {
  auto* note = new QLabel(text, parent);
  QFont font = note->font();
  font.setPixelSize(16);
  note->setFont(font);
  note->setStyleSheet(QStringLiteral("color: blue;"));  // on the dialog's own background
  return note;
}

}  // namespace

SettingsDialog::SettingsDialog(unit_val::ConversionSettings& settings, QWidget* parent)
    : QDialog(parent), form_(settings, *this) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(FromUtf8(texts::kSettingsCaption));
  setFont(FixedGothic(13));
  setSizeGripEnabled(true);
  CreateControls();
  SetTabOrder();
  const WindowGeometry builtIn = BuiltInSettings({}).settingsDialog;
  move(builtIn.x, builtIn.y);
  resize(builtIn.width, builtIn.height);
}

void SettingsDialog::CreateControls() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 0);
  layout->setSpacing(4);

  auto* scrollBox = new QScrollArea(this);
  scrollBox->setObjectName(QStringLiteral("ScrollBox1"));
  scrollBox->setFixedHeight(321);
  scrollBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  scrollBox->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  auto* panel = new QWidget;
  panel->setObjectName(QStringLiteral("Panel1"));
  panel->setFixedSize(734, 297);
  CreateRangeGroups(panel);
  CreatePresetButtons(panel);
  scrollBox->setWidget(panel);
  layout->addWidget(scrollBox);

  auto* options = new QGridLayout;
  options->setContentsMargins(8, 0, 8, 0);
  auto* dimensions = new QCheckBox(FromUtf8(texts::kDimensionSwitch), this);
  dimensions->setObjectName(QStringLiteral("CheckBox11"));
  auto* blocks = new QCheckBox(FromUtf8(texts::kBlockSwitch), this);
  blocks->setObjectName(QStringLiteral("CheckBox12"));
  options->addWidget(dimensions, 0, 0);
  options->addWidget(blocks, 1, 0);
  options->addWidget(Note(FromUtf8(texts::kSettingsNotes[0]), this), 1, 1);
  options->setColumnStretch(1, 1);
  layout->addLayout(options);
  layout->addWidget(Note(FromUtf8(texts::kSettingsNotes[1]), this));
  layout->addWidget(Note(FromUtf8(texts::kSettingsNotes[2]), this));
  layout->addStretch(1);

  auto* buttons = new QHBoxLayout;
  auto* ok = new QPushButton(FromUtf8(texts::kOkButton), this);
  ok->setObjectName(QStringLiteral("ButtonA1"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(FromUtf8(texts::kCancelButton), this);
  cancel->setObjectName(QStringLiteral("ButtonA2"));
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addSpacing(16);
  buttons->addWidget(cancel);
  buttons->addStretch(1);
  layout->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, [this] { form_.ButtonA1Click(); });
  connect(cancel, &QPushButton::clicked, this, [this] { form_.ButtonA2Click(); });

  auto* status = new QStatusBar(this);
  status->setObjectName(QStringLiteral("StatusBar1"));
  status->setSizeGripEnabled(false);
  auto* statusText = new QLabel(FromUtf8(texts::kSettingsStatus), status);
  statusText->setWordWrap(true);
  status->addWidget(statusText, 1);
  layout->addWidget(status);
}

void SettingsDialog::CreateRangeGroups(QWidget* panel) {
  for (int type = 1; type <= kTypeCount; ++type) {
    Caption(FromUtf8(texts::kTextTypeRow) + FullWidthNumber(type), panel,
            QRect(kCaptionGap, kGroupTop + kFirstRowTop + (type - 1) * kRowPitch,
                  kCaptionWidth - 2 * kCaptionGap, 22));
  }
  for (int measure = 0; measure < 3; ++measure) {
    auto* group =
        new QGroupBox(FromUtf8(texts::kRangeGroups[static_cast<std::size_t>(measure)]), panel);
    group->setGeometry(kCaptionWidth + measure * (kGroupWidth + kGroupGap), kGroupTop, kGroupWidth,
                       kGroupHeight);
    for (int type = 1; type <= kTypeCount; ++type) {
      const int y = kFirstRowTop + (type - 1) * kRowPitch;
      const int minus = measure * 20 + 2 * type - 1;
      Caption(FromUtf8(texts::kMinus), group, QRect(6, y, 16, 22));
      for (int n : {minus, minus + 1}) {
        auto* box = new QLineEdit(group);
        box->setObjectName(QStringLiteral("Edit%1").arg(n));
        box->setGeometry(n == minus ? 24 : 118, y, kBoxWidth, 22);
        box->setValidator(new TypedLengthLimit(box, 6));
        box->setAttribute(Qt::WA_InputMethodEnabled, false);
        box->setInputMethodHints(Qt::ImhPreferLatin | Qt::ImhNoPredictiveText);
      }
      Caption(FromUtf8(texts::kToPlus), group, QRect(76, y, 40, 22), Qt::AlignHCenter);
    }
  }
  auto* colours = new QGroupBox(FromUtf8(texts::kColourGroup), panel);
  colours->setGeometry(kCaptionWidth + 3 * (kGroupWidth + kGroupGap), kGroupTop, kColourGroupWidth,
                       kGroupHeight);
  for (int type = 1; type <= kTypeCount; ++type) {
    auto* box = new QCheckBox(FromUtf8(texts::kAnyColour), colours);
    box->setObjectName(QStringLiteral("CheckBox%1").arg(type));
    box->setGeometry(8, kFirstRowTop + (type - 1) * kRowPitch, kColourGroupWidth - 12, 22);
  }
}

void SettingsDialog::CreatePresetButtons(QWidget* panel) {
  const int y = kGroupTop + kGroupHeight + 1;
  Caption(FromUtf8(texts::kPresetRow), panel,
          QRect(kCaptionGap, y, kCaptionWidth - 2 * kCaptionGap, 20));
  // Button1..6 under the width group, 7..12 under the height group, 13..19
  // under the spacing group, 20 and 21 under the colour group.
  const int firstButtons[] = {1, 7, 13, 20, 22};
  for (int group = 0; group < 4; ++group) {
    const int count = firstButtons[group + 1] - firstButtons[group];
    const int left = kCaptionWidth + group * (kGroupWidth + kGroupGap);
    const int width = (group < 3 ? kGroupWidth : kColourGroupWidth) / count;
    for (int i = 0; i < count; ++i) {
      const int number = firstButtons[group] + i;
      auto* button = new QPushButton(FromUtf8(TForm2::PresetCaption(number)), panel);
      button->setObjectName(QStringLiteral("Button%1").arg(number));
      button->setGeometry(left + i * width, y, width - 1, 20);
      button->setAutoDefault(false);
      connect(button, &QPushButton::clicked, this,
              [this, number] { form_.PresetButtonClick(number); });
    }
  }
}

void SettingsDialog::SetTabOrder() {
  QList<QWidget*> order;
  for (int n = 1; n <= 60; ++n) order << RangeBox(n);
  for (int n = 1; n <= kTypeCount; ++n) order << FlagBox(n);
  for (int n = 1; n <= 18; ++n) order << findChild<QWidget*>(QStringLiteral("Button%1").arg(n));
  for (int n : {20, 21, 19}) order << findChild<QWidget*>(QStringLiteral("Button%1").arg(n));
  order << FlagBox(11) << FlagBox(12) << findChild<QWidget*>(QStringLiteral("ButtonA1"))
        << findChild<QWidget*>(QStringLiteral("ButtonA2"));
  for (int i = 0; i + 1 < order.size(); ++i) setTabOrder(order[i], order[i + 1]);
}

QLineEdit* SettingsDialog::RangeBox(int n) const {
  return findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(n));
}

QCheckBox* SettingsDialog::FlagBox(int n) const {
  return findChild<QCheckBox*>(QStringLiteral("CheckBox%1").arg(n));
}

std::string SettingsDialog::RangeText(int n) {
  return ToUtf8(RangeBox(n)->text());
}

void SettingsDialog::SetRangeText(int n, const std::string& text) {
  RangeBox(n)->setText(FromUtf8(text));
}

bool SettingsDialog::FlagChecked(int n) {
  return FlagBox(n)->isChecked();
}

void SettingsDialog::SetFlagChecked(int n, bool checked) {
  FlagBox(n)->setChecked(checked);
}

void SettingsDialog::FocusRangeBox(int n) {
  RangeBox(n)->setFocus();
}

void SettingsDialog::MessageBeep() {
  QApplication::beep();
}

void SettingsDialog::ShowErrorBox(const std::string& text) {
  QMessageBox box(QMessageBox::Critical, FromUtf8(texts::kApplicationTitle), FromUtf8(text),
                  QMessageBox::Ok, this);
  box.exec();
}

void SettingsDialog::CloseDialog(bool stored) {
  if (stored) {
    accept();
  } else {
    reject();
  }
}

void SettingsDialog::showEvent(QShowEvent* event) {
  form_.FormShow();
  QDialog::showEvent(event);
}

}  // namespace unit1
