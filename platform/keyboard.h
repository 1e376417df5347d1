// Whether the Escape key is down, read between the items of long loops (the
// folder tree scan, the folder listing) so that the user can stop them.
#pragma once

namespace platform {

// On Windows the key's state at this moment (GetAsyncKeyState), or the state
// last set; elsewhere the state last set.
bool EscapePressed();

// Records the Escape key going down or up, as the window's event filter sees
// it where the system cannot be asked directly.
void SetEscapeState(bool down);

}  // namespace platform
