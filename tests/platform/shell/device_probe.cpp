// A program on the device: shows a full-screen dialog, saves the screen, answers with the
// arguments it received, and ends with status 7.
#include <QGuiApplication>
#include <QLocale>
#include <QString>
#include <cstdio>

#include "platform/shell/device.h"
#include "platform/shell/device_window.h"
#include "platform/ui/hooks.h"
#include "platform/win32.h"

namespace {

const DLGITEMTEMPLATE items[] = {
    {100, u"STATIC", u"Probe", 0, WS_VISIBLE | SS_LEFT, 0, 4, 4, 60, 8},
};
const DLGTEMPLATE probe = {1, WS_POPUP | WS_CAPTION | DS_SETFONT, u"Sonde", u"Tahoma", 8, 100, 50, items, 1};
const DLGTEMPLATE* const dialogs[] = {&probe};
const HINSTANCE__ instance = {dialogs, 1, nullptr, 0, nullptr, 0};
QString pngPath;

INT_PTR ProbeProc(HWND dialog, UINT msg, WPARAM, LPARAM) {
    if (msg == WM_INITDIALOG) {
        SHINITDLGINFO info{SHIDIM_FLAGS, dialog, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN};
        SHInitDialog(&info);
    }
    return 0;
}

int entry(HINSTANCE module, HINSTANCE previous, LPWSTR commandLine, int show) {
    std::printf("module=%d previous=%d show=%d locale=%s command=%s\n", module == &instance,
                previous == nullptr, show, qPrintable(QLocale().name()),
                qPrintable(QString::fromUtf16(commandLine)));
    platform::callAfterNextDialogShown([](HWND dialog) {
        char16_t caption[64] = {};
        GetWindowTextW(dialog, caption, 64);
        std::printf("caption=%s\n", qPrintable(QString::fromUtf16(caption)));
        std::printf("saved=%d scale=%g\n", platform::saveDevicePng(pngPath), platform::deviceScale());
        EndDialog(dialog, 0);
    });
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(1), RT_DIALOG);
    DialogBoxIndirectParamW(module, static_cast<LPCDLGTEMPLATEW>(LoadResource(module, resource)), nullptr,
                            ProbeProc, 0);
    std::fflush(stdout);
    return 7;
}

} // namespace

int main(int argc, char** argv) {
    pngPath = QString::fromLocal8Bit(argc > 1 ? argv[argc - 1] : "probe.png");
    return platform::runDevice(argc, argv, &instance, entry);
}
