#include "platform/keyboard.h"

#include <atomic>

#ifdef _WIN32
#include <windows.h>
#endif

namespace platform {

namespace {

// The keyboard is one for the whole process, as the system's own state is.
std::atomic<bool>& EscapeState() {
  static std::atomic<bool> down{false};
  return down;
}

}  // namespace

bool EscapePressed() {
#ifdef _WIN32
  if ((::GetAsyncKeyState(VK_ESCAPE) & 0x8000) != 0) return true;
#endif
  return EscapeState().load();
}

void SetEscapeState(bool down) {
  EscapeState().store(down);
}

}  // namespace platform
