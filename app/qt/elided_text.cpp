#include "app/qt/elided_text.h"

#include <QFontMetrics>
#include <QStyle>
#include <QStyleOptionFrame>

namespace unit1 {

void ElidedLabel::SetFullText(const QString& text) {
  fullText_ = text;
  setToolTip(text);
  Elide();
}

QSize ElidedLabel::minimumSizeHint() const {
  return {0, QLabel::minimumSizeHint().height()};
}

QSize ElidedLabel::sizeHint() const {
  return {0, QLabel::sizeHint().height()};
}

void ElidedLabel::resizeEvent(QResizeEvent* event) {
  QLabel::resizeEvent(event);
  Elide();
}

void ElidedLabel::Elide() {
  const int room = contentsRect().width() - 2 * margin() - 2 * indent();
  setText(fontMetrics().elidedText(fullText_, Qt::ElideMiddle, std::max(0, room)));
}

void ElidedLineEdit::SetFullText(const QString& text) {
  fullText_ = text;
  setToolTip(text);
  Elide();
}

void ElidedLineEdit::resizeEvent(QResizeEvent* event) {
  QLineEdit::resizeEvent(event);
  Elide();
}

void ElidedLineEdit::Elide() {
  QStyleOptionFrame option;
  initStyleOption(&option);
  const QRect inside = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
  const QMargins margins = textMargins();
  // A few pixels for the cursor's room on either side.
  const int room = inside.width() - margins.left() - margins.right() - 6;
  setText(fontMetrics().elidedText(fullText_, Qt::ElideMiddle, std::max(0, room)));
}

}  // namespace unit1
