#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

#include "app/qt_text.h"
#include "app/user_dialogs.h"
#include "platform/shell_open.h"

namespace unit1 {

void QtUserDialogs::Beep() {
  QApplication::beep();
}

BoxAnswer QtUserDialogs::ShowBox(QWidget* owner, BoxIcon icon, const QString& text,
                                 BoxButtons buttons) {
  const QMessageBox::Icon shown = icon == BoxIcon::kError         ? QMessageBox::Critical
                                  : icon == BoxIcon::kInformation ? QMessageBox::Information
                                                                  : QMessageBox::Question;
  QMessageBox box(shown, QStringLiteral("Quillon"), text, QMessageBox::NoButton, owner);
  if (buttons == BoxButtons::kYesNo) {
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    box.setDefaultButton(QMessageBox::Yes);
    box.setEscapeButton(QMessageBox::No);
  } else {
    box.setStandardButtons(QMessageBox::Ok);
  }
  const int answer = box.exec();
  if (buttons == BoxButtons::kOk) return BoxAnswer::kOk;
  return answer == QMessageBox::Yes ? BoxAnswer::kYes : BoxAnswer::kNo;
}

std::optional<QString> QtUserDialogs::ChooseFolder(QWidget* owner, const QString& title,
                                                   const QString& startFolder) {
  QFileDialog dialog(owner, title, startFolder);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  dialog.setOption(QFileDialog::ReadOnly, false);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  return dialog.selectedFiles().front();
}

void QtUserDialogs::OpenWithAssociatedProgram(const std::filesystem::path& file) {
  if (platform::OpenWithAssociatedProgram(file)) return;
  QDesktopServices::openUrl(QUrl::fromLocalFile(FromPath(file)));
}

}  // namespace unit1
