// The list of files a run could not convert (file, stage, reason): a
// resizable box with the error icon that fits the screen however long the
// list, its lines copyable.
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
  // The selected lines (every line when none is selected), tab-separated.
  QString CopiedText() const;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  QTreeWidget* list_ = nullptr;
};

}  // namespace unit1
