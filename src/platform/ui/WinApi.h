// The window manager's calls that work on handles rather than controls.
#pragma once

#include "platform/ui/Messages.h"

namespace zb {

// Brings the form owning the window to the front and makes it the active
// form; false when the handle names no visible window.
bool SetForegroundWindow(HWND wnd);
// Repaints the window at once (a WM_PAINT to it); false when the handle names
// no window of this process.
bool UpdateWindow(HWND wnd);
// The handle of the active form; 0 when there is none.
HWND GetForegroundWindow();

}  // namespace zb
