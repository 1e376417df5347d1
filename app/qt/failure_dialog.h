// The list of files a run could not convert or skipped (file, stage,
// reason): a resizable box with the error icon that fits the screen however
// long the list; the failed and the skipped files in two groups, sortable by
// any column, the lines copyable as text.
#pragma once

#include <QDialog>
#include <QString>
#include <vector>

#include "app/main_view.h"

class QTreeWidget;

namespace unit1 {

class FailureDialog : public QDialog {
 public:
  FailureDialog(const std::string& summary, const std::vector<FailureLine>& lines, QWidget* parent);
  QTreeWidget* list() const { return list_; }
  // The selected lines (every line when none is selected) in the order
  // shown, tab-separated.
  QString CopiedText() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QTreeWidget* list_ = nullptr;
};

}  // namespace unit1
