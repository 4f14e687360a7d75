// The Pocket PC shell: full-screen dialogs with a done button, the shell state call and the
// input panel. Differs from the platform: the shell is the layer's device window; there is
// no task bar to hide or show, so the state call keeps the input-panel button shown only.
#pragma once

#include "platform/ui/win_types.h"

constexpr DWORD SHIDIM_FLAGS = 0x0001;
constexpr DWORD SHIDIF_DONEBUTTON = 0x0001;
constexpr DWORD SHIDIF_SIZEDLG = 0x0002;
constexpr DWORD SHIDIF_SIZEDLGFULLSCREEN = 0x0004;
constexpr DWORD SHIDIF_SIPDOWN = 0x0008;

struct SHINITDLGINFO {
    DWORD dwMask;
    HWND hDlg;
    DWORD dwFlags;
};

constexpr DWORD SHFS_SHOWTASKBAR = 0x0001;
constexpr DWORD SHFS_HIDETASKBAR = 0x0002;
constexpr DWORD SHFS_SHOWSIPBUTTON = 0x0004;
constexpr DWORD SHFS_HIDESIPBUTTON = 0x0008;

// Window classes of the input panel and its button, found with FindWindowW.
inline constexpr char16_t kInputPanelClass[] = u"SipWndClass";
inline constexpr char16_t kInputPanelButtonClass[] = u"MS_SIPBUTTON";

BOOL SHInitDialog(SHINITDLGINFO* info);
BOOL SHFullScreen(HWND hwnd, DWORD state);
