#include <gtest/gtest.h>

#include "app/global_objects.h"
#include "screen/application.h"
#include "db/database.h"

TEST(GlobalObjects, AreCreatedAtStartInTheirFixedOrder) {
    const std::vector<std::string> expected = {
        "database",         "help index",           "bookmarks help", "temperature help", "grape varieties help",
        "wines help",       "credits",              "application",    "search form",      "grape varieties",
        "results state",    "temperature screen",   "utility"};
    const std::vector<std::string>& log = globalCreationLog();
    ASSERT_GE(log.size(), expected.size());
    // The first thirteen creations are those of static initialisation, before any test ran.
    EXPECT_EQ(std::vector<std::string>(log.begin(), log.begin() + 13), expected);
}

TEST(GlobalObjects, TeardownLeavesNoPointerToADeletedObject) {
    createGlobalObjects();
    deleteScreenObjects();
    EXPECT_EQ(g_searchForm, nullptr);
    EXPECT_EQ(g_utility, nullptr);
    EXPECT_EQ(g_resultsState, nullptr);
    EXPECT_EQ(g_grapeVarieties, nullptr);
    EXPECT_EQ(g_helpIndex, nullptr);
    EXPECT_EQ(g_helpWines, nullptr);
    EXPECT_EQ(g_temperatureScreen, nullptr);
    EXPECT_NE(g_database, nullptr) << "the database object goes after the catalogue is closed";
    deleteDatabaseObject();
    deleteApplicationObject();
    EXPECT_EQ(g_database, nullptr);
    EXPECT_EQ(g_application, nullptr);

    createGlobalObjects();
    EXPECT_NE(g_searchForm, nullptr);
    EXPECT_NE(g_application, nullptr);
    EXPECT_EQ(g_application->mainWindow, nullptr) << "a new object starts without fields set";
}
