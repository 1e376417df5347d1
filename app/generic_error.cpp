#include "app/generic_error.h"

#include <new>
#include <stdexcept>

#include "app/qt_text.h"
#include "common/func.h"

namespace unit1 {

QString RunTimeMessage(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const func::FloatOverflow& overflow) {
    return QString::fromUtf8(overflow.what());
  } catch (const std::out_of_range&) {
    return QStringLiteral("範囲チェックエラー");
  } catch (const std::bad_alloc&) {
    return QStringLiteral("メモリが不足しています。");
  } catch (const std::exception& other) {
    return FromUtf8(other.what());
  } catch (...) {
    return QStringLiteral("不明なエラーが発生しました。");
  }
}

bool RunGuarded(UserDialogs& dialogs, QWidget* owner, const std::function<void()>& command) {
  try {
    command();
    return true;
  } catch (...) {
    const QString message = RunTimeMessage(std::current_exception());
    dialogs.ShowBox(owner, BoxIcon::kError, message, BoxButtons::kOk);
    return false;
  }
}

}  // namespace unit1
