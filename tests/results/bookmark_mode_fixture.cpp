#include "tests/results/bookmark_mode_fixture.h"

#include "app/global_objects.h"
#include "screen/application.h"
#include "db/database.h"
#include "resources/dialog_ids.h"
#include "resources/resources.h"
#include "results/results_screen.h"
#include "results/results_state.h"
#include "search/search_form.h"

void BookmarkScreenTest::SetUp() {
    createGlobalObjects();
    g_application->instance = talvinoModule();
    g_application->mainWindow = nullptr;
    g_searchForm->window = nullptr;
    g_database->allocateQueryBuffer();
    catalogue.addSampleContent();
}

void BookmarkScreenTest::TearDown() {
    if (!g_database) return;
    g_database->closeCatalogue();
    g_database->freeQueryBuffer();
}

void BookmarkScreenTest::install() {
    if (installed) return;
    catalogue.installAsProgramCatalogue();
    ASSERT_TRUE(g_database->openCatalogue());
    installed = true;
}

HWND BookmarkScreenTest::openBookmarkList() {
    install();
    g_database->queryBuffer[0] = u'\0';
    return driver.open(talvinoModule(), kResultsDialog, ResultsProc);
}

HWND BookmarkScreenTest::openSearch(const std::u16string& condition) {
    install();
    const std::u16string sql = u"SELECT * FROM talvino WHERE (" + condition + u") ORDER by STICHWORT";
    std::copy(sql.begin(), sql.end(), g_database->queryBuffer);
    g_database->queryBuffer[sql.size()] = u'\0';
    return driver.open(talvinoModule(), kResultsDialog, ResultsProc);
}

bool BookmarkScreenTest::showBookmark(HWND dialog, const std::u16string& label) {
    return driver.selectTreeItem(dialog, results_screen::kTree, {u"Lesezeichen", label});
}

Rows BookmarkScreenTest::bookmarks() const {
    return catalogue.rows("SELECT id_talvino, Beschreibung, Notiz FROM Lesezeichen ORDER BY rowid");
}

std::vector<std::pair<std::u16string, LPARAM>> BookmarkScreenTest::listed(HWND dialog) const {
    std::vector<std::pair<std::u16string, LPARAM>> items;
    for (const auto& top : tree(dialog))
        for (const auto& child : top.children)
            items.emplace_back(child.label, child.data);
    return items;
}

Tree BookmarkScreenTest::tree(HWND dialog) const {
    return driver.treeItems(dialog, results_screen::kTree);
}
