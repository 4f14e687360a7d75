// Items of the result tree, shared by the search results and the bookmark list.
#pragma once

#include <string>

#include "platform/win32.h"

// Inserts a labelled item as the last child of `parent` (TVI_ROOT for the top level).
inline HTREEITEM InsertTreeItem(HWND treeView, HTREEITEM parent, const std::u16string& label, LPARAM data) {
    std::u16string text = label;
    TVINSERTSTRUCTW insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = text.data();
    insert.item.lParam = data;
    return reinterpret_cast<HTREEITEM>(SendMessageW(treeView, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
}
