// The main menu: the first screen, which opens every other one and ends the program.
#pragma once

#include <string>

#include "platform/win32.h"

INT_PTR MainMenuProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The message shown once when the catalogue cannot be opened; line breaks are LF then CR.
extern const char16_t kCatalogueErrorText[];

// A notice for the user that the main menu shows once, in a HINWEIS box, when it has opened the
// catalogue (a damaged copy of the user's was replaced, say). Empty: none.
void SetStartNotice(std::u16string text);

// The program's entry point: runs the main menu and returns the process's exit status.
int WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int showCommand);

// The screen that a command of the main menu opens: its template and procedure (null when the
// screen is not part of the program), and whether it opens the bookmark list.
struct MenuTarget {
    int templateId;
    DLGPROC proc;
    bool bookmarks;
};
// Null for ids that open nothing.
const MenuTarget* FindMenuTarget(int id);
