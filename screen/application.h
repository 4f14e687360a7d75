// The application object: what every screen needs of the program as a whole.
#pragma once

#include "platform/win32.h"

struct Application {
    HINSTANCE instance;  // loads every template, bitmap and string
    HWND mainWindow;     // the main menu; parent of the screens and target of the shell state call
    HFONT menuFont;      // bold labels of the four menu rows
    HFONT linkFont;      // the two text links
};
