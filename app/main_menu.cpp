#include "app/main_menu.h"

#include <cstdio>

#include "app/global_objects.h"
#include "db/database.h"
#include "db/utility.h"
#include "platform/data/ado.h"
#include "platform/data/utf.h"
#include "resources/dialog_ids.h"
#include "results/results_state.h"
#include "screen/application.h"
#include "screen/screen.h"
#include "search/search_screen.h"

extern const char16_t kCatalogueErrorText[] =
    u"Die Datenbank kann nicht geöffnet werden. \n\r"
    u"Kontaktieren Sie den Hotline Support unter \n\r"
    u"www.talvino-weinfuehrer.example/hilfe oder \n\r"
    u"0800 555 20 06.";

namespace {

std::u16string startNotice;

constexpr int kMenuLabels[] = {1007, 1008, 1009, 1010};
constexpr int kLinks[] = {1023, 1025};
constexpr int kRowsButton = 1006; // the first row's button makes no shell state call of its own

bool IsMenuButton(WPARAM id) { return id == 1006 || id == 1048 || id == 1049 || id == 1050; }

void InitMainMenu(HWND window) {
    InitScreen(window, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN | SHIDIF_SIPDOWN);

    g_application->menuFont = CreateTahomaFont(14, FW_BOLD);
    for (int id : kMenuLabels) SetControlFont(window, id, g_application->menuFont);
    g_application->linkFont = CreateTahomaFont(13, 0);
    for (int id : kLinks) SetControlFont(window, id, g_application->linkFont);

    if (!g_database->openCatalogue()) {
        // The box names no file; whoever looks after the installation finds it here.
        std::fprintf(stderr, "talvino: cannot open the catalogue %s: %s\n",
                     ado::toUtf8(g_database->catalogueFile()).c_str(), ado::lastError().c_str());
        MessageBoxW(g_application->mainWindow, kCatalogueErrorText, u"FEHLER", MB_OK | MB_ICONINFORMATION);
    } else if (!startNotice.empty()) {
        const std::u16string notice = std::move(startNotice);
        startNotice.clear();
        MessageBoxW(g_application->mainWindow, notice.c_str(), u"HINWEIS", MB_OK | MB_ICONINFORMATION);
    }

    g_utility->inputPanelSwitch(false, true);
}

} // namespace

void SetStartNotice(std::u16string text) { startNotice = std::move(text); }

namespace {

void OnCommand(HWND window, WPARAM wParam) {
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (id == IDOK)
        EndDialog(window, 1);
    else if (id != kRowsButton)
        ShellStateCall();
    if (code != 0) {
        ShellStateCall();
        return;
    }
    const MenuTarget* target = FindMenuTarget(id);
    if (!target || !target->proc) return;
    if (target->bookmarks) g_database->queryBuffer[0] = u'\0'; // an empty buffer means bookmark mode
    OpenScreen(target->templateId, target->proc, g_application->mainWindow);
}

// A menu row's button is a plain white area behind its bitmap and label.
INT_PTR OnDrawItem(WPARAM id, LPARAM lParam) {
    if (!IsMenuButton(id)) return 0;
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    const HPEN pen = CreatePen(PS_NULL, 1, 0x00BAFF00);
    const HGDIOBJ previousPen = SelectObject(item->hDC, pen);
    const HBRUSH brush = CreateSolidBrush(0x00FFFFFF);
    const HGDIOBJ previousBrush = SelectObject(item->hDC, brush);
    Rectangle(item->hDC, item->rcItem.left, item->rcItem.top, item->rcItem.right, item->rcItem.bottom);
    SelectObject(item->hDC, previousBrush);
    SelectObject(item->hDC, previousPen);
    DeleteObject(pen);
    DeleteObject(brush);
    return 1;
}

void OnDestroy() {
    g_utility->inputPanelSwitch(false, false);
    g_database->freeQueryBuffer();
    deleteScreenObjects();
    g_database->closeCatalogue();
    deleteDatabaseObject();
    deleteApplicationObject();
}

} // namespace

INT_PTR MainMenuProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!g_application) return 0; // the program is shutting down: nothing is left to touch
    g_application->mainWindow = window;
    if (!g_database->queryBuffer) g_database->allocateQueryBuffer();

    switch (message) {
    case WM_INITDIALOG:
        InitMainMenu(window);
        return 0;
    case WM_COMMAND:
        OnCommand(window, wParam);
        return 0;
    case WM_DRAWITEM:
        return OnDrawItem(wParam, lParam);
    case WM_DESTROY:
        OnDestroy();
        return 0;
    default:
        HandleShellStateMessage(message);
        return 0;
    }
}

int WinMain(HINSTANCE instance, HINSTANCE, LPWSTR, int) {
    g_application->instance = instance;
    setSearchResultsScreen(ResultsProc);
    OpenScreen(kMainMenuDialog, MainMenuProc, nullptr);
    return 0;
}
