#include "results/results_screen.h"
#include "results/result_tree.h"

#include <exception>

#include "screen/application.h"
#include "screen/globals.h"
#include "screen/screen.h"
#include "results/bookmark_mode.h"
#include "db/database.h"
#include "db/schema.h"
#include "db/text_codec.h"
#include "platform/ui/hooks.h"
#include "results/entry_detail.h"
#include "results/row_values.h"
#include "search/search_form.h"
#include "search/search_screen.h"
#include "search/sql_format.h"
#include "search/wait_animation.h"

using namespace results_screen;

namespace {

constexpr DWORD kPocketPcTabVersion = 0x20C;
constexpr std::size_t kQueryLimit = Database::kQueryBufferChars - 1;

// Display order of the categories in the tree and the box of the search form that keeps each.
struct CategoryInfo {
    ResultCategory category;
    const char16_t* label;
};
const CategoryInfo kDisplayOrder[] = {
    {kCategoryRed, u"Rot"},     {kCategoryRose, u"Rosè"},         {kCategoryWhite, u"Weiß"},
    {kCategoryBrown, u"Braun"}, {kCategoryKeyword, u"Stichwort"},
};

// Colour columns in the order they are tested, with the category each fills.
struct ColourColumn {
    int position;
    ResultCategory category;
};
const ColourColumn kColourColumns[] = {
    {schema::entry::kRed, kCategoryRed},
    {schema::entry::kWhite, kCategoryWhite},
    {schema::entry::kRose, kCategoryRose},
    {schema::entry::kBrown, kCategoryBrown},
};

// Removal orders: empty categories, then colours the search form did not tick.
const ResultCategory kEmptyRemovalOrder[] = {kCategoryRed, kCategoryWhite, kCategoryRose, kCategoryBrown,
                                             kCategoryKeyword};
struct ColourBox {
    ResultCategory category;
    int box;
};
const ColourBox kColourBoxes[] = {
    {kCategoryRed, search_form::kRedBox},
    {kCategoryRose, search_form::kRoseBox},
    {kCategoryWhite, search_form::kWhiteBox},
    {kCategoryBrown, search_form::kBrownBox},
};

HWND tree(HWND dialog) {
    return GetDlgItem(dialog, kTree);
}

bool hasChildren(HWND treeView, HTREEITEM item) {
    return SendMessageW(treeView, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)) != 0;
}

void deleteItem(HWND treeView, HTREEITEM& item) {
    SendMessageW(treeView, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(item));
    item = nullptr; // the state never keeps a handle of a deleted item
}

void stopSearchAnimation() {
    if (g_searchForm) stopWaitAnimation(*g_searchForm);
}

void message(HWND owner, const std::u16string& text, const char16_t* caption) {
    MessageBoxW(owner, text.c_str(), caption, MB_OK | MB_ICONINFORMATION);
}

void showControls(HWND dialog, std::initializer_list<int> ids, int command) {
    for (int id : ids)
        ShowWindow(GetDlgItem(dialog, id), command);
}

std::u16string scalarText(Database& database, const std::u16string& sql, std::u16string start = {}) {
    copySqlToBuffer(database.queryBuffer, sql, kQueryLimit);
    char16_t text[kDetailTextChars] = {};
    start.resize(std::min<std::size_t>(start.size(), kDetailTextChars - 1));
    std::copy(start.begin(), start.end(), text);
    database.scalarQuery(text, kDetailTextChars);
    return text;
}

// Opens the query buffer's search statement with a static, read-only cursor. A damaged catalogue
// file makes the data layer throw; for the user that is a search that found nothing.
bool openSearch(Database& database) {
    try {
        return SUCCEEDED(database.openQuery(ado::adOpenStatic, ado::adLockReadOnly, ado::adCmdUnknown));
    } catch (const std::exception&) {
        return false;
    }
}

// Fills the tree with the rows of the search. False when the screen closed itself because the
// search found nothing.
bool fillSearchResults(ResultsState& state) {
    const HWND dialog = state.window;
    const HWND treeView = tree(dialog);
    SendMessageW(treeView, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    state.keylessBookmarks.clear();
    for (const CategoryInfo& info : kDisplayOrder)
        state.categories[info.category] = InsertTreeItem(treeView, TVI_ROOT, info.label, 0);

    Database& database = *g_database;
    ado::Recordset* recordset = database.recordset();
    bool anyRow = false;
    long count = 0;
    if (openSearch(database) && recordset) {
        VARIANT_BOOL eof = VARIANT_TRUE;
        recordset->MoveFirst();
        recordset->get_EOF(&eof);
        anyRow = !eof;
        if (anyRow) {
            if (FAILED(recordset->get_RecordCount(&count))) count = 0;
            for (int row = 0; !eof && row < kMaxResultRows; ++row) {
                if (const auto name = row_values::text(*recordset, schema::entry::kName)) {
                    const std::u16string label = resultLabel(
                        *name, row_values::text(*recordset, schema::entry::kSuffix).value_or(u""));
                    const LPARAM id = row_values::number(*recordset, schema::entry::kId);
                    bool coloured = false;
                    for (const ColourColumn& colour : kColourColumns) {
                        if (!row_values::positive(*recordset, colour.position)) continue;
                        InsertTreeItem(treeView, state.categories[colour.category], label, id);
                        coloured = true;
                    }
                    if (!coloured) InsertTreeItem(treeView, state.categories[kCategoryKeyword], label, id);
                }
                recordset->MoveNext();
                recordset->get_EOF(&eof);
            }
        }
    }
    if (recordset) recordset->Close();

    if (!anyRow) {
        stopSearchAnimation();
        message(dialog, kNoHitsText, u"HINWEIS");
        EndDialog(dialog, 1);
        return false;
    }
    if (count > kMaxResultRows) {
        stopSearchAnimation();
        message(dialog, formatSql(kTooManyHitsText, {decimalText(count)}), u"Meldung");
    }

    for (ResultCategory category : kEmptyRemovalOrder) {
        HTREEITEM& item = state.categories[category];
        if (item && !hasChildren(treeView, item)) deleteItem(treeView, item);
    }
    const HWND form = g_searchForm ? g_searchForm->window : nullptr;
    bool anyColourTicked = false;
    for (const ColourBox& colour : kColourBoxes)
        if (form && IsDlgButtonChecked(form, colour.box)) anyColourTicked = true;
    if (anyColourTicked) {
        for (const ColourBox& colour : kColourBoxes) {
            HTREEITEM& item = state.categories[colour.category];
            if (item && !IsDlgButtonChecked(form, colour.box)) deleteItem(treeView, item);
        }
    }
    return true;
}

void insertTabs(HWND dialog) {
    const HWND tabs = GetDlgItem(dialog, kTabs);
    char16_t info[] = u"Info";
    char16_t vintages[] = u"Jahrgänge";
    char16_t bookmark[] = u"Notiz / Lesezeichen";
    char16_t* texts[] = {info, vintages, bookmark};
    for (int index = 0; index < 3; ++index) {
        TCITEMW item{};
        item.mask = TCIF_TEXT;
        item.pszText = texts[index];
        SendMessageW(tabs, TCM_INSERTITEMW, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
    }
}

void initialise(ResultsState& state) {
    const HWND dialog = state.window;
    state.bookmarkFlag = false;
    state.entryShown = false;
    state.shownKeyless.reset();
    InitScreen(dialog, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN);
    state.resultsFont = CreateTahomaFont(15, FW_BOLD);
    SetControlFont(dialog, kHeaderLine, state.resultsFont);
    g_utility->inputPanelSwitch(false, true);
    insertTabs(dialog);
    // No label lies beside these: their names say what they hold.
    platform::setAccessibleName(GetDlgItem(dialog, kTree), u"Suchergebnis");
    platform::setAccessibleName(GetDlgItem(dialog, kDescriptionEdit), u"Beschreibung");
    platform::setAccessibleName(GetDlgItem(dialog, kNoteEdit), u"Notiz");
    platform::setAccessibleName(GetDlgItem(dialog, kInfoArea), u"Info");
    platform::setAccessibleName(GetDlgItem(dialog, kVintageArea), u"Jahrgänge");
    // The header line says where the entry the tree has reached comes from.
    platform::setAccessibleDescribedBy(GetDlgItem(dialog, kTree), GetDlgItem(dialog, kHeaderLine));

    const char16_t* buffer = g_database->queryBuffer;
    if (buffer && buffer[0] != u'\0') {
        if (!fillSearchResults(state)) return; // the screen has closed itself
        SetDlgItemTextW(dialog, kBookmarkBox, u"Lesezeichen setzen");
    } else {
        platform::setAccessibleName(GetDlgItem(dialog, kTree), u"Lesezeichen");
        EnterBookmarkMode(dialog);
    }
    state.defaultDescription.clear();
    stopSearchAnimation();
    SendDlgItemMessageW(dialog, kTabs, CCM_SETVERSION, kPocketPcTabVersion, 0);
}

void showEntry(ResultsState& state, LPARAM itemData) {
    if (itemData == 0) return; // a category or the bookmark root
    const HWND dialog = state.window;
    Database& database = *g_database;
    const std::u16string id = decimalText(static_cast<long>(itemData));

    copySqlToBuffer(database.queryBuffer, formatSql(u"select * from talvino where ID = %s", {id}),
                    kQueryLimit);
    bool rowFound = false;
    const bool opened = composeEntryDetail(database, GetDlgItem(dialog, kInfoArea),
                                           GetDlgItem(dialog, kVintageArea), &rowFound);

    const std::u16string code =
        scalarText(database, formatSql(u"select Land from talvino where ID = %s", {id}));
    // The code is data from the catalogue: its apostrophes are doubled so that it stays one literal.
    const std::u16string country = scalarText(
        database, formatSql(u"select Bezeichnung from Land where Land = '%s'", {doubledApostrophes(code)}),
        code);
    const std::u16string region =
        scalarText(database, formatSql(u"select REGIO_LANG from talvino where ID = %s", {id}));
    const std::u16string keyword =
        scalarText(database, formatSql(u"select STICHWORT from talvino where ID = %s", {id}));
    SetDlgItemTextW(dialog, kHeaderLine, headerLine(country, region).c_str());
    // A bookmark can outlive its entry: nothing of the entry shown before may stay on screen.
    if (opened && !rowFound) ShowEntryGone(dialog);

    state.defaultDescription = keyword;
    state.currentEntryId = id;
    state.entryShown = true;
    state.shownKeyless.reset();
    LoadBookmarkPage(dialog);
}

void switchTab(HWND dialog) {
    switch (SendDlgItemMessageW(dialog, kTabs, TCM_GETCURSEL, 0, 0)) {
    case kInfoTab:
        showControls(dialog, {kDescriptionEdit, kNoteEdit, kBookmarkBox, kSaveButton, kVintageArea}, SW_HIDE);
        showControls(dialog, {kInfoArea}, SW_SHOW);
        break;
    case kVintageTab:
        showControls(dialog, {kDescriptionEdit, kNoteEdit, kBookmarkBox, kSaveButton, kInfoArea}, SW_HIDE);
        showControls(dialog, {kVintageArea}, SW_SHOW);
        break;
    case kBookmarkTab:
        showControls(dialog, {kInfoArea, kVintageArea}, SW_HIDE);
        showControls(dialog, {kDescriptionEdit, kNoteEdit, kBookmarkBox}, SW_SHOW);
        ShowBookmarkPage(dialog);
        break;
    default:
        break;
    }
}

INT_PTR customDraw(const ResultsState& state, const NMTVCUSTOMDRAW& draw) {
    switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
        SelectObject(draw.nmcd.hdc, state.resultsFont);
        return CDRF_NEWFONT;
    default:
        return CDRF_DODEFAULT;
    }
}

INT_PTR onNotify(ResultsState& state, const NMHDR& header, LPARAM lParam) {
    if (header.idFrom == static_cast<UINT_PTR>(kTree)) {
        if (header.code == TVN_SELCHANGEDW) {
            const TVITEMW& item = reinterpret_cast<const NMTREEVIEWW*>(lParam)->itemNew;
            if (!ShowKeylessBookmark(state.window, item.hItem)) showEntry(state, item.lParam);
        } else if (header.code == NM_CUSTOMDRAW)
            return customDraw(state, *reinterpret_cast<const NMTVCUSTOMDRAW*>(lParam));
    } else if (header.idFrom == static_cast<UINT_PTR>(kTabs) && header.code == TCN_SELCHANGE) {
        switchTab(state.window);
    }
    return 0;
}

void onCommand(ResultsState& state, WPARAM wParam) {
    const int id = LOWORD(wParam);
    if (id == IDOK) {
        EndDialog(state.window, 1);
        return;
    }
    if (id == kBookmarkBox) {
        OnBookmarkBoxTapped(state.window);
        return;
    }
    if (id == kSaveButton) OnSaveBookmark(state.window);
    ShellStateCall();
}

void onDestroy(ResultsState& state) {
    state.defaultDescription.clear();
    state.defaultDescription.shrink_to_fit();
    if (state.resultsFont) DeleteObject(state.resultsFont);
    state.resultsFont = nullptr;
}

} // namespace

void results_screen::ShowEntryGone(HWND dialog) {
    SetDlgItemTextW(dialog, kInfoArea, kEntryGoneText);
    SetDlgItemTextW(dialog, kVintageArea, u"");
    SetDlgItemTextW(dialog, kHeaderLine, u"");
}

std::u16string resultLabel(const std::u16string& name, const std::u16string& suffix) {
    return formatSql(u"%s, %s", {name, suffix});
}

std::u16string headerLine(const std::u16string& country, const std::u16string& region) {
    return formatSql(u"%s: %s", {country, region});
}

INT_PTR ResultsProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    ResultsState& state = *g_resultsState;
    state.window = window;
    switch (message) {
    case WM_INITDIALOG:
        initialise(state);
        return FALSE;
    case WM_NOTIFY:
        if (!lParam) return 0;
        return onNotify(state, *reinterpret_cast<const NMHDR*>(lParam), lParam);
    case WM_COMMAND:
        onCommand(state, wParam);
        return 0;
    case WM_DESTROY:
        onDestroy(state);
        return 0;
    default:
        HandleShellStateMessage(message);
        return 0;
    }
}
