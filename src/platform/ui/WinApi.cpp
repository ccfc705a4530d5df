#include "platform/ui/WinApi.h"

#include "platform/ui/Forms.h"

namespace zb {

bool SetForegroundWindow(HWND wnd) {
    TWinControl* control = Application().FindWindow(wnd);
    if (!control) return false;
    TCustomForm* form = dyn_cast<TCustomForm>(control);
    if (!form) form = control->ParentForm();
    if (!form || !form->Visible()) return false;
    form->BringToFront();
    form->Activate();
    return true;
}

bool UpdateWindow(HWND wnd) {
    TWinControl* control = Application().FindWindow(wnd);
    if (!control) return false;
    control->Perform(WM_PAINT);
    return true;
}

HWND GetForegroundWindow() {
    TCustomForm* form = Screen().ActiveForm();
    return form ? form->Handle() : 0;
}

}  // namespace zb
