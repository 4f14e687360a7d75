// Stand-ins for the bookmark page until the bookmark library exists: the results screen works
// without bookmarks meanwhile.
#include "bookmarks/bookmarks.h"

void EnterBookmarkMode(HWND) {}
void RebuildBookmarkList(HWND) {}
void LoadBookmarkPage(HWND) {}
void OnBookmarkBoxTapped(HWND) {}
void OnSaveBookmark(HWND) {}
void ShowBookmarkPage(HWND) {}
