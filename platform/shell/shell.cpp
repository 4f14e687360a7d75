// The shell calls of full-screen dialogs. Differs from the platform: "full screen" is the device
// window's dialog area; a template taller than that area has its controls moved closer together
// vertically so that all of them stay reachable (the fonts and widths keep their sizes).
#include "platform/shell/shell.h"

#include "platform/ui/window.h"

using namespace platform::ui;

namespace {
constexpr int kAreaWidth = 240;
constexpr int kAreaHeight = 268;

Window* shellWindow(const char16_t* className) {
    for (Window* window : topLevelWindows())
        if (window->kind == Kind::Shell && window->className == className) return window;
    return nullptr;
}
} // namespace

BOOL SHInitDialog(SHINITDLGINFO* info) {
    if (!info) return FALSE;
    Window* dialog = live(info->hDlg);
    if (!dialog || dialog->kind != Kind::Dialog) return FALSE;
    if (!(info->dwMask & SHIDIM_FLAGS)) return TRUE;
    dialog->shellFlags = info->dwFlags;
    if (info->dwFlags & (SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIZEDLG)) {
        QWidget* area = shellHost() ? shellHost()->dialogArea() : nullptr;
        const QSize size = area ? platform::ui::deviceSize(area) : QSize(kAreaWidth, kAreaHeight);
        const int width = size.width();
        const int height = size.height();
        MoveWindow(dialog, 0, 0, width, height, TRUE);
        if (live(dialog)) fitControlsToHeight(dialog, height);
    }
    if (info->dwFlags & SHIDIF_SIPDOWN) {
        if (Window* panel = shellWindow(kInputPanelClass)) ShowWindow(panel, SW_HIDE);
    }
    if (shellHost()) shellHost()->activeDialogChanged();
    return TRUE;
}

BOOL SHFullScreen(HWND, DWORD state) {
    Window* button = shellWindow(kInputPanelButtonClass);
    if (button && (state & SHFS_SHOWSIPBUTTON) && !button->visible) ShowWindow(button, SW_SHOW);
    if (button && (state & SHFS_HIDESIPBUTTON) && button->visible) ShowWindow(button, SW_HIDE);
    return TRUE;
}
