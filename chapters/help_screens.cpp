// The help index and its four pages. The pages differ only in heading, title height and rows.
#include "screen/application.h"
#include "screen/globals.h"
#include "screen/screen.h"
#include "chapters/chapter_common.h"
#include "db/text_codec.h"
#include "resources/dialog_ids.h"

namespace {

constexpr int kIndexHeading = 1058;
constexpr int kPageHeading = 1057;
constexpr int kPageRows = 1046;
constexpr LONG kTitleHeight = 20;
constexpr LONG kSmallTitleHeight = 16; // the temperature help's long heading

struct HelpPage {
    int buttonId;
    DLGPROC proc;
};

const HelpPage kPages[] = {
    {1006, HelpBookmarksProc},
    {1026, HelpTemperatureProc},
    {1036, HelpGrapesProc},
    {1048, HelpWinesProc},
};

DLGPROC PageForButton(int id) {
    for (const HelpPage& page : kPages)
        if (page.buttonId == id) return page.proc;
    return nullptr;
}

// A help page keeps the shell's state as it finds it: no input-panel switch, no shell state call.
INT_PTR RunHelpPage(TitledScreen* screen, const char16_t* heading, LONG titleHeight, const TextRows& rows,
                    HWND window, UINT message, WPARAM wParam) {
    RememberWindow(screen, window);
    switch (message) {
    case WM_INITDIALOG:
        InitScreen(window, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN);
        SetTitleFont(screen, window, kPageHeading, titleHeight);
        SetWindowTextW(GetDlgItem(window, kPageHeading), heading);
        AppendRows(window, kPageRows, rows);
        return 0;
    case WM_COMMAND:
        if (IsDoneCommand(wParam)) EndDialog(window, 1);
        return 0;
    case WM_DESTROY:
        ReleaseTitleFont(screen);
        return 0;
    default:
        return 0;
    }
}

} // namespace

INT_PTR HelpIndexProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    RememberWindow(g_helpIndex, window);
    switch (message) {
    case WM_INITDIALOG:
        InitScreen(window, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN);
        SetTitleFont(g_helpIndex, window, kIndexHeading, kTitleHeight);
        inputPanelSwitch(false, true);
        return 0;
    case WM_COMMAND: {
        if (IsDoneCommand(wParam)) {
            EndDialog(window, 1);
            return 0;
        }
        const DLGPROC page = PageForButton(LOWORD(wParam));
        if (page && HIWORD(wParam) == BN_CLICKED) OpenScreen(kHelpPageDialog, page, window);
        ShellStateCall();
        return 0;
    }
    case WM_DESTROY:
        ReleaseTitleFont(g_helpIndex);
        return 0;
    default:
        HandleShellStateMessage(message);
        return 0;
    }
}

INT_PTR HelpBookmarksProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    return RunHelpPage(g_helpBookmarks, u"Hilfe zu 'Lesezeichen'", kTitleHeight, kHelpBookmarksRows, window,
                       message, wParam);
}

INT_PTR HelpTemperatureProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    return RunHelpPage(g_helpTemperature, u"Hilfe zu 'Die richtige Temperatur'", kSmallTitleHeight,
                       kHelpTemperatureRows, window, message, wParam);
}

INT_PTR HelpGrapesProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    return RunHelpPage(g_helpGrapes, u"Hilfe zu 'Rebsorten'", kTitleHeight, kHelpGrapesRows, window, message,
                       wParam);
}

INT_PTR HelpWinesProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    return RunHelpPage(g_helpWines, u"Hilfe für 'Weine von A - Z'", kTitleHeight, kHelpWinesRows, window,
                       message, wParam);
}
