// Texts that never widen their window: a long text is cut with an ellipsis
// in the middle, so that both its start and its end stay readable, and the
// whole text is the tooltip.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QString>

namespace unit1 {

// The status bar's text: its width comes from the layout, never from the text.
class ElidedLabel : public QLabel {
 public:
  using QLabel::QLabel;
  void SetFullText(const QString& text);
  const QString& fullText() const { return fullText_; }
  QSize minimumSizeHint() const override;
  QSize sizeHint() const override;

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Elide();
  QString fullText_;
};

// A read-only edit box showing a folder.
class ElidedLineEdit : public QLineEdit {
 public:
  using QLineEdit::QLineEdit;
  void SetFullText(const QString& text);
  const QString& fullText() const { return fullText_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Elide();
  QString fullText_;
};

}  // namespace unit1
