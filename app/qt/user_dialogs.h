// Everything the windows ask of the user or of the desktop: message boxes,
// the beep, the two folder choosers and opening a file with its program.
// The windows go through this interface only, so that it can be answered
// without real dialogs.
#pragma once

#include <QString>
#include <filesystem>
#include <optional>

class QWidget;

namespace unit1 {

enum class BoxIcon { kError, kInformation, kQuestion };
enum class BoxButtons { kOk, kYesNo };  // Yes/No: Yes is the default, Escape answers No
enum class BoxAnswer { kOk, kYes, kNo };

class UserDialogs {
 public:
  virtual ~UserDialogs() = default;

  // The system's default beep.
  virtual void Beep() = 0;
  // A modal box with the caption "Quillon".
  virtual BoxAnswer ShowBox(QWidget* owner, BoxIcon icon, const QString& text,
                            BoxButtons buttons) = 0;
  // A folder chooser opening in `startFolder`; the chosen folder, or nothing
  // when the user cancels.
  virtual std::optional<QString> ChooseFolder(QWidget* owner, const QString& title,
                                              const QString& startFolder) = 0;
  // Opens the file with the program associated with it; failures are the
  // desktop's to show.
  virtual void OpenWithAssociatedProgram(const std::filesystem::path& file) = 0;
};

// The implementation with real Qt dialogs.
class QtUserDialogs : public UserDialogs {
 public:
  void Beep() override;
  BoxAnswer ShowBox(QWidget* owner, BoxIcon icon, const QString& text, BoxButtons buttons) override;
  std::optional<QString> ChooseFolder(QWidget* owner, const QString& title,
                                      const QString& startFolder) override;
  void OpenWithAssociatedProgram(const std::filesystem::path& file) override;
};

}  // namespace unit1
