// The layout of the conversion settings dialog.
#include "app/unit2.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QValidator>

#include "app/window_fonts.h"

namespace {

constexpr int kTypeCount = 10;
constexpr int kRowPitch = 24;
constexpr int kGroupTop = 2;
constexpr int kFirstRowTop = 20;  // inside a group, below its title
constexpr int kGroupWidth = 177;
constexpr int kGroupHeight = 273;
constexpr int kColourGroupWidth = 97;
constexpr int kCaptionWidth = 70;
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
  note->setStyleSheet(QStringLiteral("color: blue; background: white;"));
  return note;
}

}  // namespace

TForm2::TForm2(unit_val::ConversionSettings& settings, unit1::UserDialogs& dialogs, QWidget* parent)
    : QDialog(parent), settings_(settings), dialogs_(dialogs) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QStringLiteral("変換設定"));
  setFont(unit1::FixedGothic(13));
  setSizeGripEnabled(true);
  CreateControls();
  SetTabOrder();
  move(192, 111);
  resize(748, 502);
}

QLineEdit* TForm2::RangeBox(int n) const {
  return findChild<QLineEdit*>(QStringLiteral("Edit%1").arg(n));
}

QCheckBox* TForm2::FlagBox(int n) const {
  return findChild<QCheckBox*>(QStringLiteral("CheckBox%1").arg(n));
}

void TForm2::CreateControls() {
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
  auto* dimensions = new QCheckBox(QStringLiteral("寸法図形の寸法値を変更する"), this);
  dimensions->setObjectName(QStringLiteral("CheckBox11"));
  auto* blocks = new QCheckBox(QStringLiteral("ブロック図形の文字を変更する"), this);
  blocks->setObjectName(QStringLiteral("CheckBox12"));
  options->addWidget(dimensions, 0, 0);
  options->addWidget(blocks, 1, 0);
  options->addWidget(Note(QStringLiteral("※図面データの文字設定は変更されません。"), this), 1, 1);
  options->setColumnStretch(1, 1);
  layout->addLayout(options);
  layout->addWidget(Note(QStringLiteral("※横・縦・間隔の変換範囲は図面データを読み取った数値に"
                                        "対して＋／－以上・未満で指定します。"),
                         this));
  layout->addWidget(Note(QStringLiteral("※任意サイズの文字のみ変換されます。文字種１～文字種１０の"
                                        "文字は変換されません。"),
                         this));
  layout->addStretch(1);

  auto* buttons = new QHBoxLayout;
  auto* ok = new QPushButton(QStringLiteral("ＯＫ (&Y)"), this);
  ok->setObjectName(QStringLiteral("ButtonA1"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("キャンセル (&N)"), this);
  cancel->setObjectName(QStringLiteral("ButtonA2"));
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addSpacing(16);
  buttons->addWidget(cancel);
  buttons->addStretch(1);
  layout->addLayout(buttons);
  connect(ok, &QPushButton::clicked, this, [this] { ButtonA1Click(); });
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* status = new QStatusBar(this);
  status->setObjectName(QStringLiteral("StatusBar1"));
  status->setSizeGripEnabled(false);
  auto* statusText = new QLabel(
      QStringLiteral("変換範囲は上に記述されたものが優先されます。全色置換にチェックしない場合、"
                     "色Noと異なるものは任意サイズのままです。"),
      status);
  statusText->setWordWrap(true);
  status->addWidget(statusText, 1);
  layout->addWidget(status);
}

void TForm2::CreateRangeGroups(QWidget* panel) {
  const QString titles[] = {QStringLiteral("横　変換範囲(&W)"), QStringLiteral("縦　変換範囲(&H)"),
                            QStringLiteral("間隔　変換範囲(&D)")};
  for (int type = 1; type <= kTypeCount; ++type) {
    Caption(QStringLiteral("文字種") + FullWidthNumber(type), panel,
            QRect(6, kGroupTop + kFirstRowTop + (type - 1) * kRowPitch, kCaptionWidth, 22));
  }
  for (int measure = 0; measure < 3; ++measure) {
    auto* group = new QGroupBox(titles[measure], panel);
    group->setGeometry(kCaptionWidth + measure * (kGroupWidth + kGroupGap), kGroupTop, kGroupWidth,
                       kGroupHeight);
    for (int type = 1; type <= kTypeCount; ++type) {
      const int y = kFirstRowTop + (type - 1) * kRowPitch;
      const int minus = measure * 20 + 2 * type - 1;
      Caption(QStringLiteral("－"), group, QRect(6, y, 16, 22));
      for (int n : {minus, minus + 1}) {
        auto* box = new QLineEdit(group);
        box->setObjectName(QStringLiteral("Edit%1").arg(n));
        box->setGeometry(n == minus ? 24 : 118, y, kBoxWidth, 22);
        box->setValidator(new TypedLengthLimit(box, 6));
        box->setAttribute(Qt::WA_InputMethodEnabled, false);
        box->setInputMethodHints(Qt::ImhPreferLatin | Qt::ImhNoPredictiveText);
      }
      Caption(QStringLiteral("～ ＋"), group, QRect(76, y, 40, 22), Qt::AlignHCenter);
    }
  }
  auto* colours = new QGroupBox(QStringLiteral("変換色(&C)"), panel);
  colours->setGeometry(kCaptionWidth + 3 * (kGroupWidth + kGroupGap), kGroupTop, kColourGroupWidth,
                       kGroupHeight);
  for (int type = 1; type <= kTypeCount; ++type) {
    auto* box = new QCheckBox(QStringLiteral("全色置換"), colours);
    box->setObjectName(QStringLiteral("CheckBox%1").arg(type));
    box->setGeometry(8, kFirstRowTop + (type - 1) * kRowPitch, kColourGroupWidth - 12, 22);
  }
}

void TForm2::CreatePresetButtons(QWidget* panel) {
  const int y = kGroupTop + kGroupHeight + 1;
  Caption(QStringLiteral("ALL>>"), panel, QRect(6, y, kCaptionWidth, 20));
  struct Row {
    int firstButton;
    int firstBox;
    QStringList captions;
  };
  const Row rows[] = {
      {1, 1, {"0", "0.2", "0.4", "0.5", "0.8", "1"}},
      {7, 21, {"0", "0.2", "0.4", "0.5", "0.8", "1"}},
      {13, 41, {"0", "1", "2", "3", "4", "5", "10"}},
  };
  for (int group = 0; group < 3; ++group) {
    const Row& row = rows[group];
    const int left = kCaptionWidth + group * (kGroupWidth + kGroupGap);
    const int width = kGroupWidth / static_cast<int>(row.captions.size());
    for (int i = 0; i < row.captions.size(); ++i) {
      auto* button = new QPushButton(row.captions[i], panel);
      button->setObjectName(QStringLiteral("Button%1").arg(row.firstButton + i));
      button->setGeometry(left + i * width, y, width - 1, 20);
      button->setAutoDefault(false);
      const QString text = row.captions[i];
      const int firstBox = row.firstBox;
      connect(button, &QPushButton::clicked, this,
              [this, firstBox, text] { Preset(firstBox, text); });
    }
  }
  const int left = kCaptionWidth + 3 * (kGroupWidth + kGroupGap);
  const char* captions[] = {"OFF", "ON"};
  for (int i = 0; i < 2; ++i) {
    auto* button = new QPushButton(QString::fromLatin1(captions[i]), panel);
    button->setObjectName(QStringLiteral("Button%1").arg(20 + i));
    button->setGeometry(left + i * (kColourGroupWidth / 2), y, kColourGroupWidth / 2 - 1, 20);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, [this, i] { SetColourFlags(i == 1); });
  }
}

void TForm2::SetTabOrder() {
  QList<QWidget*> order;
  for (int n = 1; n <= 60; ++n) order << RangeBox(n);
  for (int n = 1; n <= kTypeCount; ++n) order << FlagBox(n);
  for (int n = 1; n <= 18; ++n) order << findChild<QWidget*>(QStringLiteral("Button%1").arg(n));
  for (int n : {20, 21, 19}) order << findChild<QWidget*>(QStringLiteral("Button%1").arg(n));
  order << FlagBox(11) << FlagBox(12) << findChild<QWidget*>(QStringLiteral("ButtonA1"))
        << findChild<QWidget*>(QStringLiteral("ButtonA2"));
  for (int i = 0; i + 1 < order.size(); ++i) setTabOrder(order[i], order[i + 1]);
}
