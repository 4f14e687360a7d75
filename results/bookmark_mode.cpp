#include "results/bookmark_mode.h"
#include "results/result_tree.h"

#include <algorithm>
#include <initializer_list>
#include <string>

#include "screen/globals.h"
#include "bookmarks/bookmark_list.h"
#include "bookmarks/bookmark_store.h"
#include "db/database.h"
#include "results/results_screen.h"
#include "results/results_state.h"
#include "search/sql_format.h"

using namespace results_screen;

namespace {

constexpr std::size_t kQueryLimit = Database::kQueryBufferChars - 1;

inline constexpr char16_t kDeleteQuestion[] = u"Soll das Lesezeichen gelöscht werden?";
inline constexpr char16_t kSavedText[] = u"Das Lesezeichen wurde gespeichert.";
inline constexpr char16_t kSaveFailedText[] =
    u"Das Lesezeichen konnte nicht gespeichert werden. Ihre Eingaben bleiben erhalten.";
inline constexpr char16_t kDeleteFailedText[] = u"Das Lesezeichen konnte nicht gelöscht werden.";
inline constexpr char16_t kChooseEntryFirstText[] =
    u"Bitte wählen Sie zuerst einen Eintrag aus, zu dem das Lesezeichen gespeichert werden soll.";
inline constexpr char16_t kKeylessSaveText[] =
    u"Dieses Lesezeichen gehört zu keinem Eintrag im Katalog. Es kann nur gelöscht werden.";

void show(HWND dialog, int id, bool shown) {
    ShowWindow(GetDlgItem(dialog, id), shown ? SW_SHOW : SW_HIDE);
}

void showControls(HWND dialog, std::initializer_list<int> ids, bool shown) {
    for (int id : ids)
        show(dialog, id, shown);
}

bool boxTicked(HWND dialog) {
    return IsDlgButtonChecked(dialog, kBookmarkBox) == BST_CHECKED;
}

void tickBox(HWND dialog, bool ticked) {
    CheckDlgButton(dialog, kBookmarkBox, ticked ? BST_CHECKED : BST_UNCHECKED);
}

bool bookmarkTabSelected(HWND dialog) {
    return SendDlgItemMessageW(dialog, kTabs, TCM_GETCURSEL, 0, 0) == kBookmarkTab;
}

std::u16string editText(HWND dialog, int id) {
    const HWND edit = GetDlgItem(dialog, id);
    const int length = GetWindowTextLengthW(edit);
    if (length <= 0) return {};
    std::u16string text(static_cast<std::size_t>(length) + 1, u'\0');
    const int copied = GetWindowTextW(edit, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    return text;
}

// The edits stop typing at the limit, so nothing typed is cut off later. A stored text longer
// than that (written by something else) still loads whole and is saved back whole.
void limitEdit(HWND dialog, int id, std::size_t loadedLength = 0) {
    const std::size_t limit = std::max<std::size_t>(bookmark_store::kTextLimit, loadedLength);
    SendDlgItemMessageW(dialog, id, EM_LIMITTEXT, static_cast<WPARAM>(limit), 0);
}

void limitEdits(HWND dialog) {
    limitEdit(dialog, kDescriptionEdit, editText(dialog, kDescriptionEdit).size());
    limitEdit(dialog, kNoteEdit, editText(dialog, kNoteEdit).size());
}

// An edit that stops at its limit may take only the first half of a pair when a character outside
// the Basic Multilingual Plane is typed there; a half alone is no character and cannot be stored.
std::u16string withoutUnpairedSurrogates(const std::u16string& text) {
    std::u16string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const bool high = c >= 0xD800 && c <= 0xDBFF;
        const bool low = c >= 0xDC00 && c <= 0xDFFF;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            out.push_back(c);
            out.push_back(text[++i]);
        } else if (!high && !low) {
            out.push_back(c);
        }
    }
    return out;
}

// Until the first entry of an opening has been shown, the current entry ID still names an entry
// of an earlier opening, which the page does not show.
bool entryShownInThisOpening() {
    return g_resultsState->entryShown;
}

void error(HWND dialog, const char16_t* text) {
    MessageBoxW(dialog, text, u"FEHLER", MB_OK | MB_ICONINFORMATION);
}

void notice(HWND dialog, const char16_t* text) {
    MessageBoxW(dialog, text, u"HINWEIS", MB_OK | MB_ICONINFORMATION);
}

// Empties the tree and inserts the root "Lesezeichen".
void insertBookmarkRoot(HWND dialog, ResultsState& state) {
    const HWND treeView = GetDlgItem(dialog, kTree);
    SendMessageW(treeView, TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    // The categories of a search and the bookmarks listed before went with the tree.
    for (HTREEITEM& category : state.categories)
        category = nullptr;
    state.keylessBookmarks.clear();
    state.bookmarkRoot = InsertTreeItem(treeView, TVI_ROOT, u"Lesezeichen", 0);
}

// Lists the stored bookmarks under the root.
void listBookmarks(HWND dialog, ResultsState& state) {
    Database& database = *g_database;
    if (!database.queryBuffer) return;
    const HWND treeView = GetDlgItem(dialog, kTree);
    copySqlToBuffer(database.queryBuffer, bookmark_store::kListQuery, kQueryLimit);
    fillBookmarkList(database, [&](const ListedBookmark& listed) {
        const HTREEITEM item =
            InsertTreeItem(treeView, state.bookmarkRoot, listed.label, static_cast<LPARAM>(listed.entryId));
        if (listed.entryId == 0) state.keylessBookmarks.push_back({item, listed.description, listed.note});
    });
}

void showSaveButtonOnBookmarkTab(HWND dialog) {
    if (bookmarkTabSelected(dialog)) show(dialog, kSaveButton, true);
}

} // namespace

void EnterBookmarkMode(HWND dialog) {
    ResultsState& state = *g_resultsState;
    limitEdits(dialog);
    insertBookmarkRoot(dialog, state);
    SendDlgItemMessageW(dialog, kTabs, TCM_SETCURSEL, kInfoTab, 0);
    listBookmarks(dialog, state);
    showControls(dialog, {kDescriptionEdit, kNoteEdit, kBookmarkBox, kSaveButton, kVintageArea}, false);
    show(dialog, kInfoArea, true);
    SetDlgItemTextW(dialog, kBookmarkBox, u"Lesezeichen löschen");
}

void RebuildBookmarkList(HWND dialog) {
    ResultsState& state = *g_resultsState;
    insertBookmarkRoot(dialog, state);
    listBookmarks(dialog, state);
    SendDlgItemMessageW(dialog, kTree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(state.bookmarkRoot));
}

void LoadBookmarkPage(HWND dialog) {
    ResultsState& state = *g_resultsState;
    const bookmark_store::StoredBookmark stored = bookmark_store::load(*g_database, state.currentEntryId);
    limitEdit(dialog, kDescriptionEdit, stored.description.size());
    limitEdit(dialog, kNoteEdit, stored.note.size());
    SetDlgItemTextW(dialog, kDescriptionEdit, stored.description.c_str());
    SetDlgItemTextW(dialog, kNoteEdit, stored.note.c_str());
    if (stored.found()) {
        tickBox(dialog, true);
        showSaveButtonOnBookmarkTab(dialog);
        state.bookmarkFlag = true;
    } else {
        tickBox(dialog, false);
        show(dialog, kSaveButton, false);
        state.bookmarkFlag = false;
    }
}

bool ShowKeylessBookmark(HWND dialog, HTREEITEM item) {
    ResultsState& state = *g_resultsState;
    const auto found = std::find_if(state.keylessBookmarks.begin(), state.keylessBookmarks.end(),
                                    [&](const KeylessBookmark& bookmark) { return bookmark.item == item; });
    if (!item || found == state.keylessBookmarks.end()) return false;
    const KeylessBookmark bookmark = *found;
    ShowEntryGone(dialog);
    state.defaultDescription.clear();
    state.currentEntryId.clear();
    state.entryShown = true;
    state.shownKeyless = bookmark;
    const std::u16string description = bookmark.description.value_or(u"");
    const std::u16string note = bookmark.note.value_or(u"");
    limitEdit(dialog, kDescriptionEdit, description.size());
    limitEdit(dialog, kNoteEdit, note.size());
    SetDlgItemTextW(dialog, kDescriptionEdit, description.c_str());
    SetDlgItemTextW(dialog, kNoteEdit, note.c_str());
    // Its row exists, so it counts as bookmarked and can be deleted.
    tickBox(dialog, true);
    showSaveButtonOnBookmarkTab(dialog);
    state.bookmarkFlag = true;
    return true;
}

void OnBookmarkBoxTapped(HWND dialog) {
    ResultsState& state = *g_resultsState;
    if (boxTicked(dialog)) {
        show(dialog, kSaveButton, true);
        limitEdit(dialog, kDescriptionEdit, state.defaultDescription.size());
        SetDlgItemTextW(dialog, kDescriptionEdit, state.defaultDescription.c_str());
        return;
    }
    // Nothing shown in this opening: there is no bookmark on the page to delete.
    if (!state.bookmarkFlag || !entryShownInThisOpening()) return;
    if (MessageBoxW(dialog, kDeleteQuestion, u"FRAGE", MB_YESNO | MB_ICONQUESTION) != IDYES) return;
    const bool deleted = state.shownKeyless
                             ? bookmark_store::removeKeyless(*g_database, state.shownKeyless->description,
                                                             state.shownKeyless->note)
                             : bookmark_store::remove(*g_database, state.currentEntryId);
    if (!deleted) {
        // The bookmark is still there, so the page goes on showing it.
        error(dialog, kDeleteFailedText);
        tickBox(dialog, true);
        return;
    }
    show(dialog, kSaveButton, false);
    SetDlgItemTextW(dialog, kDescriptionEdit, u"");
    SetDlgItemTextW(dialog, kNoteEdit, u"");
    tickBox(dialog, false);
    // A bookmark without entry is gone for good with its row: the page now shows nothing to save.
    if (state.shownKeyless) state.entryShown = false;
    state.shownKeyless.reset();
    RebuildBookmarkList(dialog);
}

void OnSaveBookmark(HWND dialog) {
    ResultsState& state = *g_resultsState;
    // Before the first entry of this opening the ID is stale or empty: store nothing, and say why.
    if (!entryShownInThisOpening()) {
        notice(dialog, kChooseEntryFirstText);
        return;
    }
    // A row without entry key cannot be stored again under a key; it stays as it is.
    if (state.shownKeyless) {
        notice(dialog, kKeylessSaveText);
        return;
    }
    const std::u16string description = withoutUnpairedSurrogates(editText(dialog, kDescriptionEdit));
    const std::u16string note = withoutUnpairedSurrogates(editText(dialog, kNoteEdit));
    if (!bookmark_store::save(*g_database, state.currentEntryId, description, note)) {
        error(dialog, kSaveFailedText);
        return;
    }
    state.bookmarkFlag = true;
    MessageBoxW(dialog, kSavedText, u"HINWEIS", MB_OK | MB_ICONINFORMATION);
}

void ShowBookmarkPage(HWND dialog) {
    limitEdits(dialog);
    if (!boxTicked(dialog)) return;
    show(dialog, kSaveButton, true);
    g_resultsState->bookmarkFlag = true;
}
