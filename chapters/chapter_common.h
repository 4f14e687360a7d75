// What the titled chapter screens (help, credits, grape varieties) share.
#pragma once

#include "chapters/chapter_screens.h"
#include "resources/resources.h"

// Stores the window in `screen`, if the object exists; every message starts with it.
void RememberWindow(TitledScreen* screen, HWND window);

// Builds the screen's bold title font ("Tahoma", `height`, 700), keeps it in `screen` and sets it on
// control `headingId`. A font left over from an earlier opening is released first.
void SetTitleFont(TitledScreen* screen, HWND window, int headingId, LONG height);

// Releases the title font when the screen goes away.
void ReleaseTitleFont(TitledScreen* screen);

// Appends every row to list box `listId` in order (the list is not sorted, so the order stays).
void AppendRows(HWND window, int listId, const TextRows& rows);
