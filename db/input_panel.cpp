// The input-panel switch, apart from the codec so that code using only the codec does not need
// the window system.
#include "db/text_codec.h"
#include "platform/win32.h"

bool inputPanelSwitch(bool panel, bool button) {
    if (HWND window = FindWindowW(kInputPanelClass, nullptr)) ShowWindow(window, panel ? SW_SHOW : SW_HIDE);
    if (HWND window = FindWindowW(kInputPanelButtonClass, nullptr))
        ShowWindow(window, button ? SW_SHOW : SW_HIDE);
    return true;
}
