#include "screen/screen.h"

#include <cstring>

#include "screen/application.h"
#include "screen/globals.h"

void OpenScreen(int templateId, DLGPROC proc, HWND parent) {
    const HINSTANCE instance = g_application->instance;
    const HRSRC resource = FindResourceW(instance, MAKEINTRESOURCEW(templateId), RT_DIALOG);
    if (!resource) return;
    const HGLOBAL dialogTemplate = LoadResource(instance, resource);
    if (!dialogTemplate) return;
    DialogBoxIndirectParamW(instance, static_cast<LPCDLGTEMPLATEW>(dialogTemplate), parent, proc, 0);
}

void InitScreen(HWND dialog, DWORD flags) {
    SHINITDLGINFO info{};
    info.dwMask = SHIDIM_FLAGS;
    info.hDlg = dialog;
    info.dwFlags = flags;
    SHInitDialog(&info);
}

void ShellStateCall() {
    if (g_application) SHFullScreen(g_application->mainWindow, SHFS_SHOWSIPBUTTON);
}

bool HandleShellStateMessage(UINT message) {
    if (message != WM_SIZE && message != WM_PAINT && message != WM_SETTINGCHANGE) return false;
    ShellStateCall();
    return true;
}

HFONT CreateTahomaFont(LONG height, LONG weight) {
    LOGFONTW description;
    std::memset(&description, 0, sizeof description);
    description.lfHeight = height;
    description.lfWeight = weight;
    const char16_t face[] = u"Tahoma";
    std::memcpy(description.lfFaceName, face, sizeof face);
    return CreateFontIndirectW(&description);
}

void SetControlFont(HWND dialog, int id, HFONT font) {
    SendMessageW(GetDlgItem(dialog, id), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}
