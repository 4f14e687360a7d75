// Device contexts of windows.
// Differs from the platform: there is no device context of the whole screen (GetDC of no
// window fails); a window's context follows the window, so drawing after the window is gone
// does nothing instead of landing on the screen.
#include "platform/gdi/gdi_objects.h"

using namespace platform::gdi;

HDC GetDC(HWND hwnd) {
    if (!hwnd) return nullptr;
    return createSurfaceDC([hwnd] { return platform::surfaceOf(hwnd); });
}

int ReleaseDC(HWND, HDC dc) {
    return releaseSurfaceDC(dc) ? 1 : 0;
}
