#include "tests/results/results_fixture.h"

#include "app/global_objects.h"
#include "screen/application.h"
#include "db/database.h"
#include "resources/dialog_ids.h"
#include "resources/resources.h"
#include "results/results_state.h"
#include "search/search_form.h"
#include "search/search_screen.h"

void ResultsTest::SetUp() {
    createGlobalObjects();
    g_application->instance = talvinoModule();
    g_application->mainWindow = nullptr;
    g_searchForm->window = nullptr;
    g_database->allocateQueryBuffer();
    setSearchResultsScreen(nullptr);
}

void ResultsTest::install() {
    if (catalogue.content().entries.empty() && catalogue.content().countries.empty())
        catalogue.addSampleContent();
    catalogue.installAsProgramCatalogue();
    ASSERT_TRUE(g_database->openCatalogue());
    installed = true;
}

void ResultsTest::TearDown() {
    setSearchResultsScreen(nullptr);
    // A test that ran the main menu to its end has seen the program delete its objects.
    if (!g_database) return;
    g_database->closeCatalogue();
    g_database->freeQueryBuffer();
}

void ResultsTest::setQuery(const std::u16string& sql) {
    ASSERT_LT(sql.size(), static_cast<std::size_t>(Database::kQueryBufferChars));
    std::copy(sql.begin(), sql.end(), g_database->queryBuffer);
    g_database->queryBuffer[sql.size()] = u'\0';
}

std::u16string ResultsTest::search(const std::u16string& condition) {
    return u"SELECT * FROM talvino WHERE (" + condition + u") ORDER by STICHWORT";
}

HWND ResultsTest::openResults(HWND parent) {
    if (!installed) install();
    return driver.open(talvinoModule(), kResultsDialog, ResultsProc, parent);
}

std::vector<std::u16string> topLabels(const Tree& tree) {
    std::vector<std::u16string> labels;
    for (const auto& item : tree)
        labels.push_back(item.label);
    return labels;
}

std::vector<std::u16string> childLabels(const Tree& tree, const std::u16string& label) {
    std::vector<std::u16string> labels;
    for (const auto& item : tree)
        if (item.label == label)
            for (const auto& child : item.children)
                labels.push_back(child.label);
    return labels;
}

std::size_t entryCount(const Tree& tree) {
    std::size_t count = 0;
    for (const auto& item : tree)
        count += item.children.size();
    return count;
}
