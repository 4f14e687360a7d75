// What the bookmark benchmarks share: pointing the program at a test catalogue, and opening the
// results screen in bookmark mode as the main menu's row does.
#pragma once

#include <string>

#include "db/database.h"
#include "platform/data/utf.h"
#include "platform/ui/hooks.h"
#include "platform/win32.h"
#include "resources/dialog_ids.h"
#include "resources/resources.h"
#include "results/results_state.h"
#include "screen/globals.h"
#include "tests/support/test_catalogue.h"

// Points the program at `catalogue` (built beforehand) and opens it.
inline void useCatalogue(TestCatalogue& catalogue) {
    const std::string program = catalogue.file("talvino");
    platform::overrideModuleFileName(ado::toUtf16(program).c_str());
    g_database->openCatalogue();
}

// The results screen with an empty query buffer: bookmark mode, the root collapsed.
inline HWND openBookmarkMode() {
    g_database->queryBuffer[0] = u'\0';
    const auto* dialogTemplate = static_cast<LPCDLGTEMPLATEW>(LoadResource(
        talvinoModule(), FindResourceW(talvinoModule(), MAKEINTRESOURCEW(kResultsDialog), RT_DIALOG)));
    return platform::createDialog(talvinoModule(), dialogTemplate, nullptr, ResultsProc, 0);
}
