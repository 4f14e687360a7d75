// The window system of the pocket computer, as far as the program calls it: windows and
// messages, dialogs from templates, the standard controls, message boxes, timers, threads.
// Differs from the platform: SendMessageW calls the procedure directly on the calling thread;
// there is no message queue visible to the program (the layer runs Qt's event loop inside
// modal dialogs); only the messages and styles below are understood.
#pragma once

#include "platform/ui/win_types.h"

// ---- Messages ------------------------------------------------------------------------
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_GETTEXT = 0x000D;
constexpr UINT WM_GETTEXTLENGTH = 0x000E;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_SETTINGCHANGE = 0x001A;
constexpr UINT WM_DRAWITEM = 0x002B;
constexpr UINT WM_SETFONT = 0x0030;
constexpr UINT WM_GETFONT = 0x0031;
constexpr UINT WM_NOTIFY = 0x004E;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_HSCROLL = 0x0114;
constexpr UINT WM_VSCROLL = 0x0115;
constexpr UINT WM_CTLCOLOREDIT = 0x0133;
constexpr UINT WM_CTLCOLORSTATIC = 0x0138;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_USER = 0x0400;

// ---- Window styles ---------------------------------------------------------------------
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_HSCROLL = 0x00100000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_EX_STATICEDGE = 0x00020000;
constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;
constexpr DWORD DS_SETFONT = 0x40;
constexpr DWORD DS_MODALFRAME = 0x80;

constexpr DWORD SS_LEFT = 0x0000;
constexpr DWORD SS_CENTER = 0x0001;
constexpr DWORD SS_RIGHT = 0x0002;
constexpr DWORD SS_BITMAP = 0x000E;
constexpr DWORD SS_NOPREFIX = 0x0080;
constexpr DWORD SS_NOTIFY = 0x0100;
constexpr DWORD SS_CENTERIMAGE = 0x0200;
constexpr DWORD SS_SUNKEN = 0x1000;

constexpr DWORD BS_PUSHBUTTON = 0x0000;
constexpr DWORD BS_AUTOCHECKBOX = 0x0003;
constexpr DWORD BS_GROUPBOX = 0x0007;
constexpr DWORD BS_OWNERDRAW = 0x000B;
constexpr DWORD BS_NOTIFY = 0x4000;

constexpr DWORD ES_LEFT = 0x0000;
constexpr DWORD ES_MULTILINE = 0x0004;
constexpr DWORD ES_AUTOVSCROLL = 0x0040;
constexpr DWORD ES_AUTOHSCROLL = 0x0080;
constexpr DWORD ES_READONLY = 0x0800;
constexpr DWORD ES_WANTRETURN = 0x1000;

constexpr DWORD LBS_NOTIFY = 0x0001;
constexpr DWORD LBS_SORT = 0x0002;
constexpr DWORD LBS_NOINTEGRALHEIGHT = 0x0100;
constexpr DWORD LBS_NOSEL = 0x4000;

constexpr DWORD CBS_DROPDOWNLIST = 0x0003;
constexpr DWORD CBS_SORT = 0x0100;

constexpr DWORD SBS_HORZ = 0x0000;

constexpr DWORD TVS_HASBUTTONS = 0x0001;
constexpr DWORD TVS_HASLINES = 0x0002;
constexpr DWORD TVS_LINESATROOT = 0x0004;
constexpr DWORD TVS_SHOWSELALWAYS = 0x0020;

constexpr DWORD TCS_BOTTOM = 0x0002;
constexpr DWORD TCS_RAGGEDRIGHT = 0x0800;

// ---- Control messages and notifications -------------------------------------------------
constexpr UINT BM_GETCHECK = 0x00F0;
constexpr UINT BM_SETCHECK = 0x00F1;
constexpr WPARAM BST_UNCHECKED = 0;
constexpr WPARAM BST_CHECKED = 1;
constexpr WORD BN_CLICKED = 0;

constexpr WORD STN_CLICKED = 0;

constexpr UINT EM_LIMITTEXT = 0x00C5;
constexpr WORD EN_SETFOCUS = 0x0100;
constexpr WORD EN_KILLFOCUS = 0x0200;
constexpr WORD EN_CHANGE = 0x0300;

constexpr UINT SBM_SETPOS = 0x00E0;
constexpr UINT SBM_GETPOS = 0x00E1;
constexpr UINT SBM_SETRANGE = 0x00E2;
constexpr UINT SBM_SETRANGEREDRAW = 0x00E6;
constexpr int SB_CTL = 2;
constexpr WORD SB_LINELEFT = 0;
constexpr WORD SB_LINERIGHT = 1;
constexpr WORD SB_PAGELEFT = 2;
constexpr WORD SB_PAGERIGHT = 3;
constexpr WORD SB_THUMBPOSITION = 4;
constexpr WORD SB_THUMBTRACK = 5;
constexpr WORD SB_LEFT = 6;
constexpr WORD SB_RIGHT = 7;
constexpr WORD SB_ENDSCROLL = 8;

constexpr UINT LB_ADDSTRING = 0x0180;
constexpr UINT LB_RESETCONTENT = 0x0184;
constexpr UINT LB_SETCURSEL = 0x0186;
constexpr UINT LB_GETCURSEL = 0x0188;
constexpr UINT LB_GETTEXT = 0x0189;
constexpr UINT LB_GETTEXTLEN = 0x018A;
constexpr UINT LB_GETCOUNT = 0x018B;
constexpr LRESULT LB_ERR = -1;
constexpr WORD LBN_SELCHANGE = 1;

constexpr UINT CB_ADDSTRING = 0x0143;
constexpr UINT CB_GETCOUNT = 0x0146;
constexpr UINT CB_GETCURSEL = 0x0147;
constexpr UINT CB_GETLBTEXT = 0x0148;
constexpr UINT CB_GETLBTEXTLEN = 0x0149;
constexpr UINT CB_RESETCONTENT = 0x014B;
constexpr UINT CB_SETCURSEL = 0x014E;
constexpr UINT CB_SHOWDROPDOWN = 0x014F;
constexpr LRESULT CB_ERR = -1;
constexpr WORD CBN_SELCHANGE = 1;
constexpr WORD CBN_DROPDOWN = 7;
constexpr WORD CBN_CLOSEUP = 8;

struct NMHDR {
    HWND hwndFrom;
    UINT_PTR idFrom;
    int code;
};

// Tree view
constexpr UINT TV_FIRST = 0x1100;
constexpr UINT TVM_DELETEITEM = TV_FIRST + 1;
constexpr UINT TVM_EXPAND = TV_FIRST + 2;
constexpr UINT TVM_GETCOUNT = TV_FIRST + 5;
constexpr UINT TVM_GETNEXTITEM = TV_FIRST + 10;
constexpr UINT TVM_SELECTITEM = TV_FIRST + 11;
constexpr UINT TVM_INSERTITEMW = TV_FIRST + 50;
constexpr UINT TVM_GETITEMW = TV_FIRST + 62;
constexpr UINT TVM_SETITEMW = TV_FIRST + 63;
inline HTREEITEM const TVI_ROOT = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x10000));
inline HTREEITEM const TVI_FIRST = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFF));
inline HTREEITEM const TVI_LAST = reinterpret_cast<HTREEITEM>(static_cast<std::intptr_t>(-0x0FFFE));
constexpr UINT TVE_COLLAPSE = 0x0001;
constexpr UINT TVE_EXPAND = 0x0002;
constexpr UINT TVGN_ROOT = 0x0000;
constexpr UINT TVGN_NEXT = 0x0001;
constexpr UINT TVGN_PARENT = 0x0003;
constexpr UINT TVGN_CHILD = 0x0004;
constexpr UINT TVGN_CARET = 0x0009;
constexpr UINT TVIF_TEXT = 0x0001;
constexpr UINT TVIF_PARAM = 0x0004;
constexpr UINT TVIF_STATE = 0x0008;
constexpr UINT TVIF_HANDLE = 0x0010;
constexpr UINT TVIF_CHILDREN = 0x0040;
constexpr UINT TVIS_SELECTED = 0x0002;
constexpr UINT TVIS_EXPANDED = 0x0020;

struct TVITEMW {
    UINT mask;
    HTREEITEM hItem;
    UINT state;
    UINT stateMask;
    LPWSTR pszText;
    int cchTextMax;
    int iImage;
    int iSelectedImage;
    int cChildren;
    LPARAM lParam;
};
struct TVINSERTSTRUCTW {
    HTREEITEM hParent;
    HTREEITEM hInsertAfter;
    TVITEMW item;
};
constexpr int TVN_FIRST = -400;
constexpr int TVN_SELCHANGEDW = TVN_FIRST - 51;
constexpr UINT TVC_UNKNOWN = 0;
constexpr UINT TVC_BYMOUSE = 1;
constexpr UINT TVC_BYKEYBOARD = 2;
struct NMTREEVIEWW {
    NMHDR hdr;
    UINT action;
    TVITEMW itemOld;
    TVITEMW itemNew;
    POINT ptDrag;
};

// Custom draw (tree view items)
constexpr int NM_FIRST = 0;
constexpr int NM_CUSTOMDRAW = NM_FIRST - 12;
constexpr DWORD CDDS_PREPAINT = 0x00000001;
constexpr DWORD CDDS_POSTPAINT = 0x00000002;
constexpr DWORD CDDS_ITEM = 0x00010000;
constexpr DWORD CDDS_ITEMPREPAINT = CDDS_ITEM | CDDS_PREPAINT;
constexpr LRESULT CDRF_DODEFAULT = 0x00;
constexpr LRESULT CDRF_NEWFONT = 0x02;
constexpr LRESULT CDRF_NOTIFYITEMDRAW = 0x20;
struct NMCUSTOMDRAW {
    NMHDR hdr;
    DWORD dwDrawStage;
    HDC hdc;
    RECT rc;
    DWORD_PTR dwItemSpec; // the HTREEITEM of the item
    UINT uItemState;
    LPARAM lItemlParam;
};
struct NMTVCUSTOMDRAW {
    NMCUSTOMDRAW nmcd;
    COLORREF clrText;
    COLORREF clrTextBk;
    int iLevel;
};

// Tab control
constexpr UINT TCM_FIRST = 0x1300;
constexpr UINT TCM_GETITEMCOUNT = TCM_FIRST + 4;
constexpr UINT TCM_GETCURSEL = TCM_FIRST + 11;
constexpr UINT TCM_SETCURSEL = TCM_FIRST + 12;
constexpr UINT TCM_INSERTITEMW = TCM_FIRST + 62;
constexpr UINT TCIF_TEXT = 0x0001;
struct TCITEMW {
    UINT mask;
    DWORD dwState;
    DWORD dwStateMask;
    LPWSTR pszText;
    int cchTextMax;
    int iImage;
    LPARAM lParam;
};
constexpr int TCN_FIRST = -550;
constexpr int TCN_SELCHANGE = TCN_FIRST - 1;
constexpr int TCN_SELCHANGING = TCN_FIRST - 2;
constexpr UINT CCM_FIRST = 0x2000;
constexpr UINT CCM_SETVERSION = CCM_FIRST + 7;

// Owner draw
constexpr UINT ODT_BUTTON = 4;
constexpr UINT ODA_DRAWENTIRE = 0x0001;
constexpr UINT ODS_SELECTED = 0x0001;
constexpr UINT ODS_FOCUS = 0x0010;
struct DRAWITEMSTRUCT {
    UINT CtlType;
    UINT CtlID;
    UINT itemID;
    UINT itemAction;
    UINT itemState;
    HWND hwndItem;
    HDC hDC;
    RECT rcItem;
    ULONG_PTR itemData;
};

// ---- Show, message boxes, ids --------------------------------------------------------------
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOW = 5;

constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONINFORMATION = 0x00000040;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
constexpr int IDC_STATIC = -1;

inline LPCWSTR const RT_DIALOG = MAKEINTRESOURCEW(5);
inline LPCWSTR const RT_BITMAP = MAKEINTRESOURCEW(2);

constexpr DWORD INFINITE = 0xFFFFFFFF;
constexpr DWORD WAIT_OBJECT_0 = 0;
constexpr DWORD WAIT_TIMEOUT = 258;

// ---- Functions ----------------------------------------------------------------------------
LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT SendDlgItemMessageW(HWND dialog, int id, UINT msg, WPARAM wParam, LPARAM lParam);
HWND GetDlgItem(HWND dialog, int id);
int GetDlgCtrlID(HWND hwnd);
HWND GetParent(HWND hwnd);
BOOL IsWindow(HWND hwnd);
BOOL IsWindowVisible(HWND hwnd);
BOOL ShowWindow(HWND hwnd, int cmd);
BOOL EnableWindow(HWND hwnd, BOOL enable);
BOOL SetWindowTextW(HWND hwnd, LPCWSTR text);
int GetWindowTextW(HWND hwnd, LPWSTR buffer, int capacity);
int GetWindowTextLengthW(HWND hwnd);
BOOL SetDlgItemTextW(HWND dialog, int id, LPCWSTR text);
UINT GetDlgItemTextW(HWND dialog, int id, LPWSTR buffer, int capacity);
BOOL CheckDlgButton(HWND dialog, int id, UINT check);
UINT IsDlgButtonChecked(HWND dialog, int id);
BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
BOOL UpdateWindow(HWND hwnd);
HWND SetFocus(HWND hwnd);
HWND GetFocus();
BOOL GetClientRect(HWND hwnd, RECT* rect);
BOOL GetWindowRect(HWND hwnd, RECT* rect); // in device-screen coordinates
int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count);
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
HWND FindWindowW(LPCWSTR className, LPCWSTR windowName);
DWORD GetModuleFileNameW(HINSTANCE module, LPWSTR buffer, DWORD capacity); // '/' separated on Linux
void OutputDebugStringW(LPCWSTR text);

HRSRC FindResourceW(HINSTANCE module, LPCWSTR name, LPCWSTR type);
HGLOBAL LoadResource(HINSTANCE module, HRSRC resource);
INT_PTR DialogBoxIndirectParamW(HINSTANCE module, LPCDLGTEMPLATEW dialogTemplate, HWND parent, DLGPROC proc,
                                LPARAM initParam);
BOOL EndDialog(HWND dialog, INT_PTR result);
int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);

int SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw);
int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw);
int GetScrollPos(HWND hwnd, int bar);

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapseMs, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);

HANDLE CreateThread(void* security, std::size_t stackSize, LPTHREAD_START_ROUTINE start, void* parameter,
                    DWORD flags, DWORD* threadId);
void Sleep(DWORD ms);
[[noreturn]] void ExitThread(DWORD code);
DWORD WaitForSingleObject(HANDLE handle, DWORD timeoutMs);
BOOL CloseHandle(HANDLE handle);
DWORD GetTickCount();

namespace platform {
// Tests and tools: pretend the program's file is `path` (UTF-16), so that GetModuleFileNameW, and with
// it the catalogue next to the program, point into a folder of the test's own. Null restores the truth.
void overrideModuleFileName(LPCWSTR path);
} // namespace platform
