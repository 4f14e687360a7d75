// The bookmark page (third tab of the results screen) and the bookmark list (its bookmark mode).
// All of them work on the results screen `dialog` and the results screen state.
#pragma once

#include "platform/win32.h"

// The results screen was opened with an empty query buffer: the tree shows the bookmark list.
void EnterBookmarkMode(HWND dialog);

// Deletes every tree item, inserts the root "Lesezeichen" and lists the stored bookmarks under it.
void RebuildBookmarkList(HWND dialog);

// After an entry was shown: loads its description and note, ticks the box and shows "Speichern"
// as the stored bookmark says, and sets or clears the bookmark flag.
void LoadBookmarkPage(HWND dialog);

// A bookmark of the list whose row names no entry was selected: shows its own description and
// note and that its entry is gone. False when `item` is no such bookmark.
bool ShowKeylessBookmark(HWND dialog, HTREEITEM item);

// Command 1067: the bookmark box has already toggled itself.
void OnBookmarkBoxTapped(HWND dialog);

// Command 1066: "Speichern".
void OnSaveBookmark(HWND dialog);

// Tab 2 was selected: shows "Speichern" and sets the bookmark flag when the box is ticked.
void ShowBookmarkPage(HWND dialog);
