#include "platform/keyboard.h"

#include <atomic>

#ifdef _WIN32
#include <windows.h>
#endif

namespace platform {

namespace {

std::atomic<bool>& EscapeDown() {
  static std::atomic<bool> down{false};
  return down;
}

}  // namespace

bool EscapePressed() {
#ifdef _WIN32
  return (GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0;
#else
  return EscapeDown().load();
#endif
}

void SetEscapeState(bool down) {
  EscapeDown().store(down);
}

}  // namespace platform
