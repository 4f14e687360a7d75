// Grape varieties: the introduction, the red and white variety lists and the chosen variety's
// description from the catalogue.
#include "chapters/grape_varieties.h"

#include <algorithm>
#include <vector>

#include "screen/application.h"
#include "screen/globals.h"
#include "screen/screen.h"
#include "chapters/chapter_common.h"
#include "db/database.h"
#include "db/text_codec.h"
#include "platform/ui/hooks.h"

namespace grapes {

std::u16string descriptionQuery(std::u16string_view name) {
    std::u16string sql = u"SELECT [Text] from Rebsorten WHERE [Rebsorte] LIKE '";
    sql += doubledApostrophes(name);
    sql += u"*' ";
    if (sql.size() > static_cast<std::size_t>(kQueryChars - 1)) sql.resize(kQueryChars - 1);
    return sql;
}

} // namespace grapes

namespace {

constexpr int kHeading = 1080;
constexpr int kRedList = 1013;
constexpr int kWhiteList = 1014;
constexpr int kDescription = 1047;
constexpr int kIntroduction = 1046;
constexpr LONG kTitleHeight = 20;

// Runs `sql` through the query buffer into the combo box. Without a query buffer (the menu has
// not allocated it) there is nothing to run.
void FillNames(HWND window, int listId, const char16_t* sql) {
    Database* database = g_database;
    if (!database || !database->queryBuffer) return;
    std::u16string_view text(sql);
    const std::size_t length = std::min<std::size_t>(text.size(), Database::kQueryBufferChars - 1);
    std::copy_n(text.data(), length, database->queryBuffer);
    database->queryBuffer[length] = u'\0';
    database->fillList(GetDlgItem(window, listId));
}

// The chosen item's text, at most kNameChars - 1 characters: a longer name is cut rather than
// written past the name buffer.
std::u16string ChosenName(HWND list) {
    const LRESULT index = SendMessageW(list, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR) return {};
    const LRESULT length = SendMessageW(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length <= 0) return {};
    std::vector<char16_t> buffer(static_cast<std::size_t>(length) + 1, u'\0');
    SendMessageW(list, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
    std::u16string name(buffer.data());
    if (name.size() > static_cast<std::size_t>(grapes::kNameChars - 1)) name.resize(grapes::kNameChars - 1);
    return name;
}

void ShowDescription(HWND window, int listId) {
    const std::u16string name = ChosenName(GetDlgItem(window, listId));
    SetWindowTextW(GetDlgItem(window, listId == kRedList ? kWhiteList : kRedList), u"");

    char16_t description[grapes::kDescriptionChars] = {};
    Database* database = g_database;
    if (!name.empty() && database && database->queryBuffer) {
        const std::u16string sql = grapes::descriptionQuery(name);
        std::copy(sql.begin(), sql.end(), database->queryBuffer);
        database->queryBuffer[sql.size()] = u'\0';
        database->scalarQuery(description, grapes::kDescriptionChars);
        decodeText(description);
    }
    SetDlgItemTextW(window, kDescription, description);
}

} // namespace

INT_PTR GrapeVarietiesProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    RememberWindow(g_grapeVarieties, window);
    switch (message) {
    case WM_INITDIALOG:
        InitScreen(window, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN);
        SetTitleFont(g_grapeVarieties, window, kHeading, kTitleHeight);
        inputPanelSwitch(false, true);
        AppendRows(window, kIntroduction, kGrapeIntroductionLines);
        FillNames(window, kRedList, grapes::kRedNamesQuery);
        FillNames(window, kWhiteList, grapes::kWhiteNamesQuery);
        platform::setAccessibleName(GetDlgItem(window, kDescription), u"Beschreibung");
        return 0;
    case WM_COMMAND: {
        if (IsDoneCommand(wParam)) {
            EndDialog(window, 1);
            return 0;
        }
        const int id = LOWORD(wParam);
        if (HIWORD(wParam) == CBN_SELCHANGE && (id == kRedList || id == kWhiteList))
            ShowDescription(window, id);
        ShellStateCall();
        return 0;
    }
    case WM_DESTROY:
        ReleaseTitleFont(g_grapeVarieties);
        return 0;
    default:
        HandleShellStateMessage(message);
        return 0;
    }
}
