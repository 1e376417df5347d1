#include "app/generic_error.h"

#include <new>
#include <stdexcept>

#include "common/func.h"

namespace unit1 {

std::string RunTimeMessage(std::exception_ptr error) {
  try {
    std::rethrow_exception(error);
  } catch (const func::FloatOverflow& overflow) {
    return overflow.what();
  } catch (const std::out_of_range&) {
    return "範囲チェックエラー";
  } catch (const std::bad_alloc&) {
    return "メモリが不足しています。";
  } catch (const std::exception& other) {
    return other.what();
  } catch (...) {
    return "不明なエラーが発生しました。";
  }
}

bool RunGuarded(const std::function<void(const std::string&)>& showError,
                const std::function<void()>& command) {
  try {
    command();
    return true;
  } catch (...) {
    showError(RunTimeMessage(std::current_exception()));
    return false;
  }
}

}  // namespace unit1
