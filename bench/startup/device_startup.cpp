// Start-up of the device layer: from main to the first paint of an empty full-screen dialog,
// and the peak memory of the process. Prints "first_paint_ms=... max_rss_kb=...".
#include <sys/resource.h>

#include <chrono>
#include <cstdio>

#include "platform/shell/device.h"
#include "platform/win32.h"

namespace {

using Clock = std::chrono::steady_clock;
Clock::time_point started;
double firstPaintMs = -1;

const DLGTEMPLATE emptyScreen = {
    1, WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT, u"Leer", u"Tahoma", 8, 157, 157, nullptr, 0};
const DLGTEMPLATE* const dialogs[] = {&emptyScreen};
const HINSTANCE__ instance = {dialogs, 1, nullptr, 0, nullptr, 0};

void endSoon(HWND dialog, UINT, UINT_PTR id, DWORD) {
    KillTimer(dialog, id);
    EndDialog(dialog, 0);
}

INT_PTR EmptyProc(HWND dialog, UINT msg, WPARAM, LPARAM) {
    if (msg == WM_INITDIALOG) {
        SHINITDLGINFO info{SHIDIM_FLAGS, dialog, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN};
        SHInitDialog(&info);
    } else if (msg == WM_PAINT && firstPaintMs < 0) {
        firstPaintMs = std::chrono::duration<double, std::milli>(Clock::now() - started).count();
        SetTimer(dialog, 1, 1, endSoon);
    }
    return 0;
}

int entry(HINSTANCE module, HINSTANCE, LPWSTR, int) {
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(1), RT_DIALOG);
    DialogBoxIndirectParamW(module, static_cast<LPCDLGTEMPLATEW>(LoadResource(module, resource)), nullptr,
                            EmptyProc, 0);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    started = Clock::now();
    const int status = platform::runDevice(argc, argv, &instance, entry);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("device first_paint_ms=%.1f max_rss_kb=%ld\n", firstPaintMs, usage.ru_maxrss);
    return status;
}
