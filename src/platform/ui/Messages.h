// Window messages, virtual key codes and shift states of the UI model, and
// the calls that send and post messages to windows by handle or by control.
#pragma once

#include <cstdint>

namespace zb {

using HWND = std::uintptr_t;  // a window handle number; 0 is no window
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using Word = std::uint16_t;
using Cardinal = std::uint32_t;

struct TMessage {
    Cardinal Msg = 0;
    WPARAM WParam = 0;
    LPARAM LParam = 0;
    LRESULT Result = 0;
};

// Message numbers as the desktop numbers them, so numbers that travel in
// texts and between host and plug-in keep their meaning.
inline constexpr Cardinal WM_NULL = 0x0000;
inline constexpr Cardinal WM_MOVE = 0x0003;
inline constexpr Cardinal WM_SIZE = 0x0005;
inline constexpr Cardinal WM_ACTIVATE = 0x0006;
inline constexpr Cardinal WM_SETFOCUS = 0x0007;
inline constexpr Cardinal WM_KILLFOCUS = 0x0008;
inline constexpr Cardinal WM_ENABLE = 0x000A;
inline constexpr Cardinal WM_SETTEXT = 0x000C;
inline constexpr Cardinal WM_GETTEXT = 0x000D;
inline constexpr Cardinal WM_PAINT = 0x000F;
inline constexpr Cardinal WM_CLOSE = 0x0010;
inline constexpr Cardinal WM_QUIT = 0x0012;
inline constexpr Cardinal WM_SHOWWINDOW = 0x0018;
inline constexpr Cardinal WM_NEXTDLGCTL = 0x0028;
inline constexpr Cardinal WM_KEYDOWN = 0x0100;
inline constexpr Cardinal WM_KEYUP = 0x0101;
inline constexpr Cardinal WM_CHAR = 0x0102;
inline constexpr Cardinal WM_COMMAND = 0x0111;
inline constexpr Cardinal WM_TIMER = 0x0113;
inline constexpr Cardinal WM_MOUSEMOVE = 0x0200;
inline constexpr Cardinal WM_LBUTTONDOWN = 0x0201;
inline constexpr Cardinal WM_LBUTTONUP = 0x0202;
inline constexpr Cardinal WM_LBUTTONDBLCLK = 0x0203;
inline constexpr Cardinal WM_RBUTTONDOWN = 0x0204;
inline constexpr Cardinal WM_RBUTTONUP = 0x0205;
inline constexpr Cardinal WM_USER = 0x0400;
// Sent by quick-pick buttons and selection panels to their form, with the
// target control in LParam.
inline constexpr Cardinal WM_QUICKPICK = WM_USER + 10;
// The same for the F3 and F4 keys (1035, 1036).
inline constexpr Cardinal WM_QUICKPICK_F3 = WM_USER + 11;
inline constexpr Cardinal WM_QUICKPICK_F4 = WM_USER + 12;

// Messages of the class library itself.
inline constexpr Cardinal CM_BASE = 0xB000;
inline constexpr Cardinal CM_ACTIVATE = CM_BASE + 0;
inline constexpr Cardinal CM_DEACTIVATE = CM_BASE + 1;
inline constexpr Cardinal CM_FOCUSCHANGED = CM_BASE + 7;
inline constexpr Cardinal CM_ENTER = CM_BASE + 10;
inline constexpr Cardinal CM_EXIT = CM_BASE + 11;
inline constexpr Cardinal CM_RELEASE = CM_BASE + 33;

// Virtual key codes.
inline constexpr Word VK_BACK = 0x08;
inline constexpr Word VK_TAB = 0x09;
inline constexpr Word VK_RETURN = 0x0D;
inline constexpr Word VK_SHIFT = 0x10;
inline constexpr Word VK_CONTROL = 0x11;
inline constexpr Word VK_MENU = 0x12;
inline constexpr Word VK_ESCAPE = 0x1B;
inline constexpr Word VK_SPACE = 0x20;
inline constexpr Word VK_PRIOR = 0x21;
inline constexpr Word VK_NEXT = 0x22;
inline constexpr Word VK_END = 0x23;
inline constexpr Word VK_HOME = 0x24;
inline constexpr Word VK_LEFT = 0x25;
inline constexpr Word VK_UP = 0x26;
inline constexpr Word VK_RIGHT = 0x27;
inline constexpr Word VK_DOWN = 0x28;
inline constexpr Word VK_INSERT = 0x2D;
inline constexpr Word VK_DELETE = 0x2E;
inline constexpr Word VK_F1 = 0x70;
inline constexpr Word VK_F2 = 0x71;
inline constexpr Word VK_F3 = 0x72;
inline constexpr Word VK_F4 = 0x73;
inline constexpr Word VK_F5 = 0x74;
inline constexpr Word VK_F6 = 0x75;
inline constexpr Word VK_F7 = 0x76;
inline constexpr Word VK_F8 = 0x77;
inline constexpr Word VK_F9 = 0x78;
inline constexpr Word VK_F10 = 0x79;
inline constexpr Word VK_F11 = 0x7A;
inline constexpr Word VK_F12 = 0x7B;
// Letters and digits are their upper-case ASCII codes ('A', '0').

// Shift states form a set.
enum TShiftStateBit : unsigned {
    ssShift = 1u << 0,
    ssAlt = 1u << 1,
    ssCtrl = 1u << 2,
    ssLeft = 1u << 3,
    ssRight = 1u << 4,
    ssMiddle = 1u << 5,
    ssDouble = 1u << 6,
};
using TShiftState = unsigned;

class TControl;

// Dispatches at once to the window's control and returns its result; 0 for a
// handle that names no window.
LRESULT SendMessage(HWND wnd, Cardinal msg, WPARAM wParam = 0, LPARAM lParam = 0);
LRESULT SendMessage(TControl* control, Cardinal msg, WPARAM wParam = 0, LPARAM lParam = 0);
// Queues the message for Application().ProcessMessages(); false for a handle
// that names no window. A message whose window is gone by the time it comes
// up is dropped.
bool PostMessage(HWND wnd, Cardinal msg, WPARAM wParam = 0, LPARAM lParam = 0);
bool PostMessage(TControl* control, Cardinal msg, WPARAM wParam = 0, LPARAM lParam = 0);

// Messages carry controls in their parameters as addresses.
inline LPARAM ControlParam(const TControl* control) { return reinterpret_cast<LPARAM>(control); }

}  // namespace zb
