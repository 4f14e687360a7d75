// What every screen shares: how it is opened, its full-screen initialisation, the shell state
// call and the title font.
#pragma once

#include "platform/win32.h"

// Loads template `templateId` of the program and runs it modally with `proc` over `parent`.
// Returns when the screen ends; a template that cannot be found or run opens nothing.
void OpenScreen(int templateId, DLGPROC proc, HWND parent);

// SHInitDialog with the screen's flags (SHIDIF_*).
void InitScreen(HWND dialog, DWORD flags);

// Keeps the calling screen full-screen with the input-panel button shown.
void ShellStateCall();

// WM_SIZE, WM_PAINT and WM_SETTINGCHANGE of a full-screen screen: makes the shell state call
// and answers true; any other message answers false.
bool HandleShellStateMessage(UINT message);

// A font from a description that is zero but for height (cell height in pixels), weight and "Tahoma".
HFONT CreateTahomaFont(LONG height, LONG weight);

// Sets `font` on control `id` of `dialog`, redrawing it.
void SetControlFont(HWND dialog, int id, HFONT font);

// The done button of the title bar arrives as WM_COMMAND with IDOK.
constexpr bool IsDoneCommand(WPARAM wParam) { return LOWORD(wParam) == IDOK; }
