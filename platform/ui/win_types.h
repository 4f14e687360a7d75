// Basic types of the pocket computer's window system, as the screens use them.
// Differs from the platform: text is char16_t (Linux wchar_t is 32 bits); handles are
// pointers to layer-owned objects; resources are compiled-in data, not a PE section.
#pragma once

#include <cstddef>
#include <cstdint>

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using UINT = unsigned int;
using INT_PTR = std::intptr_t;
using UINT_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using ULONG_PTR = std::uintptr_t;
using DWORD_PTR = std::uintptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using WCHAR = char16_t;
using LPWSTR = char16_t*;
using LPCWSTR = const char16_t*;
using COLORREF = DWORD;
using HRESULT = std::int32_t;

constexpr BOOL TRUE = 1;
constexpr BOOL FALSE = 0;

struct HWND__;
using HWND = HWND__*;
struct HINSTANCE__;
using HINSTANCE = const HINSTANCE__*;
struct HRSRC__;
using HRSRC = const HRSRC__*;
using HGLOBAL = const void*;
struct HDC__;
using HDC = HDC__*;
struct HGDIOBJ__;
using HGDIOBJ = HGDIOBJ__*;
using HFONT = HGDIOBJ;
using HPEN = HGDIOBJ;
using HBRUSH = HGDIOBJ;
using HBITMAP = HGDIOBJ;
struct HANDLE__;
using HANDLE = HANDLE__*;
struct TREEITEM__;
using HTREEITEM = TREEITEM__*;

struct RECT {
    LONG left, top, right, bottom;
};
struct POINT {
    LONG x, y;
};
struct SIZE {
    LONG cx, cy;
};

constexpr WORD LOWORD(std::uintptr_t v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(std::uintptr_t v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
constexpr DWORD MAKELONG(WORD lo, WORD hi) { return static_cast<DWORD>(lo) | (static_cast<DWORD>(hi) << 16); }
constexpr WPARAM MAKEWPARAM(WORD lo, WORD hi) { return MAKELONG(lo, hi); }
constexpr LPARAM MAKELPARAM(WORD lo, WORD hi) { return static_cast<LPARAM>(MAKELONG(lo, hi)); }
constexpr COLORREF RGB(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr BYTE GetRValue(COLORREF c) { return static_cast<BYTE>(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return static_cast<BYTE>((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return static_cast<BYTE>((c >> 16) & 0xFF); }
inline LPCWSTR MAKEINTRESOURCEW(int id) { return reinterpret_cast<LPCWSTR>(static_cast<std::uintptr_t>(id & 0xFFFF)); }
inline bool IS_INTRESOURCE(LPCWSTR p) { return (reinterpret_cast<std::uintptr_t>(p) >> 16) == 0; }

using DLGPROC = INT_PTR (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);
using LPTHREAD_START_ROUTINE = DWORD (*)(void*);

// ---- Dialog templates and the program's resources ------------------------------------

// One control of a dialog template. Rectangles are in dialog units.
struct DLGITEMTEMPLATE {
    int id;                // control id; -1 for IDC_STATIC
    LPCWSTR className;     // u"STATIC", u"BUTTON", u"EDIT", u"LISTBOX", u"COMBOBOX", u"SCROLLBAR",
                           // u"SysTreeView32", u"SysTabControl32"
    LPCWSTR text;          // window text; null for none
    int imageId;           // bitmap resource of an SS_BITMAP static, else 0
    DWORD style;           // WS_*, SS_*, BS_*, ES_*, ... (WS_CHILD is implied)
    DWORD exStyle;         // WS_EX_*
    short x, y, cx, cy;
};

struct DLGTEMPLATE {
    int id;           // resource number
    DWORD style;      // WS_POPUP | WS_CAPTION | DS_MODALFRAME | DS_SETFONT ...
    LPCWSTR caption;
    LPCWSTR fontFace; // u"Tahoma", u"MS Sans Serif"
    int pointSize;
    short cx, cy;     // dialog units
    const DLGITEMTEMPLATE* items;
    int itemCount;
};
using LPCDLGTEMPLATEW = const DLGTEMPLATE*;

struct BitmapResource {
    int id;
    const unsigned char* data; // a complete .bmp file
    std::size_t size;
};
struct StringResource {
    int id;
    LPCWSTR text;
};

// A module instance: where FindResource, LoadBitmap and LoadString look.
struct HINSTANCE__ {
    const DLGTEMPLATE* const* dialogs;
    int dialogCount;
    const BitmapResource* bitmaps;
    int bitmapCount;
    const StringResource* strings;
    int stringCount;
};
