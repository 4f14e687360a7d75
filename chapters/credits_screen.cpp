// The credits: a heading, the credit rows and the publisher's banner below them.
#include "screen/application.h"
#include "screen/globals.h"
#include "screen/screen.h"
#include "chapters/chapter_common.h"
#include "db/text_codec.h"
#include "platform/ui/hooks.h"

namespace {
constexpr int kHeading = 1057;
constexpr int kRows = 1046;
constexpr LONG kTitleHeight = 20;
constexpr int kBanner = IDC_STATIC; // the only unnumbered control here
} // namespace

INT_PTR CreditsProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    RememberWindow(g_credits, window);
    switch (message) {
    case WM_INITDIALOG:
        InitScreen(window, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN);
        SetTitleFont(g_credits, window, kHeading, kTitleHeight);
        inputPanelSwitch(false, true);
        AppendRows(window, kRows, kCreditRows);
        // The banner is a picture of the publishers' names; a reader reads the names.
        platform::setAccessibleName(GetDlgItem(window, kBanner), u"KELTERHAUS MEDIEN, nordlicht MOBILSOFT");
        return 0;
    case WM_COMMAND:
        if (IsDoneCommand(wParam))
            EndDialog(window, 1);
        else
            ShellStateCall();
        return 0;
    case WM_DESTROY:
        ReleaseTitleFont(g_credits);
        return 0;
    default:
        HandleShellStateMessage(message);
        return 0;
    }
}
