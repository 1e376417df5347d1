// The state of the Escape key, read between the items of long loops so that
// the user can stop them.
#pragma once

namespace platform {

// True while the Escape key is down. On Windows the keyboard is asked at the
// moment of the call; elsewhere the answer is the last state given to
// SetEscapeState (by the window's event filter).
bool EscapePressed();

// Records whether the Escape key is down (ignored on Windows, where the
// keyboard itself is asked).
void SetEscapeState(bool down);

}  // namespace platform
