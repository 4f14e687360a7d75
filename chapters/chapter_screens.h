// The objects and dialog procedures of the reference chapters.
#pragma once

#include "platform/win32.h"

// Grape varieties, credits, help index and each help page: a window and a heading font.
struct TitledScreen {
    HWND window;
    HFONT titleFont;
};
using GrapeVarieties = TitledScreen;
using CreditsScreen = TitledScreen;
using HelpScreen = TitledScreen;

struct TemperatureScreen {
    HWND window;
    HFONT headingFont;
    HFONT textFont;
    HFONT listFont;
    char16_t* textBuffer; // 4000 characters while the screen is open
    DWORD recordedX;
    DWORD recordedY;
    int frameIndex;       // 0..18 into the unroll curve
    int targetLevel;
    int shownLevel;
    bool selectionFlag;   // a wine kind was chosen: ignore the next stylus move
};

INT_PTR GrapeVarietiesProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR TemperatureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR CreditsProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR HelpIndexProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR HelpBookmarksProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR HelpTemperatureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR HelpGrapesProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
INT_PTR HelpWinesProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
