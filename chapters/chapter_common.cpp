#include "chapters/chapter_common.h"

#include "screen/screen.h"

void RememberWindow(TitledScreen* screen, HWND window) {
    if (screen) screen->window = window;
}

void SetTitleFont(TitledScreen* screen, HWND window, int headingId, LONG height) {
    if (!screen) return;
    ReleaseTitleFont(screen);
    screen->titleFont = CreateTahomaFont(height, FW_BOLD);
    SetControlFont(window, headingId, screen->titleFont);
}

void ReleaseTitleFont(TitledScreen* screen) {
    if (!screen || !screen->titleFont) return;
    DeleteObject(screen->titleFont);
    screen->titleFont = nullptr;
}

void AppendRows(HWND window, int listId, const TextRows& rows) {
    const HWND list = GetDlgItem(window, listId);
    for (int i = 0; i < rows.count; ++i)
        SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(rows.rows[i]));
}
