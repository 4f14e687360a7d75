// Reads the shipped catalogue straight through SQLite, as any tool a user has would.
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <string>

namespace {

class ShippedCatalogue : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        ASSERT_EQ(sqlite3_open_v2(TALVINO_SHIPPED_CATALOGUE, &db, SQLITE_OPEN_READONLY, nullptr), SQLITE_OK);
    }
    static void TearDownTestSuite() {
        sqlite3_close(db);
        db = nullptr;
    }

    // The first column of the first row as a number.
    static long long number(const std::string& sql) {
        sqlite3_stmt* statement = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr), SQLITE_OK) << sql;
        long long value = -1;
        if (statement && sqlite3_step(statement) == SQLITE_ROW) value = sqlite3_column_int64(statement, 0);
        sqlite3_finalize(statement);
        return value;
    }

    static sqlite3* db;
};
sqlite3* ShippedCatalogue::db = nullptr;

TEST_F(ShippedCatalogue, HoldsEnoughCountriesRegionsVarietiesAndEntries) {
    EXPECT_GE(number("SELECT count(*) FROM Land"), 20);
    EXPECT_GE(number("SELECT count(*) FROM Region"), 150);
    EXPECT_GE(number("SELECT count(*) FROM Rebsorten"), 60);
    EXPECT_GE(number("SELECT count(*) FROM Rebsorten WHERE Farbe = 1"), 20);
    EXPECT_GE(number("SELECT count(*) FROM Rebsorten WHERE Farbe = 2"), 20);
    EXPECT_GE(number("SELECT count(*) FROM talvino"), 600);
    EXPECT_EQ(number("SELECT count(*) FROM Lesezeichen"), 0) << "the program ships without bookmarks";
    EXPECT_EQ(number("SELECT count(*) FROM Rebsorten WHERE Rebsorte = 'Nero d''Avola'"), 1);
}

TEST_F(ShippedCatalogue, EveryCountryHasRegionsAndEntries) {
    EXPECT_EQ(number("SELECT count(*) FROM Land WHERE Land NOT IN (SELECT Land FROM Region)"), 0);
    EXPECT_EQ(number("SELECT count(*) FROM Land WHERE Land NOT IN (SELECT Land FROM talvino)"), 0);
}

TEST_F(ShippedCatalogue, EntriesNameKnownCountriesAndRegions) {
    EXPECT_EQ(number("SELECT count(*) FROM talvino WHERE Land NOT IN (SELECT Land FROM Land)"), 0);
    EXPECT_EQ(number("SELECT count(*) FROM talvino WHERE Regio_Lang NOT IN (SELECT Regio_Lang FROM Region)"), 0);
    EXPECT_EQ(number("SELECT count(*) FROM talvino WHERE ID = 0"), 0);
}

TEST_F(ShippedCatalogue, EveryColourAndTasteOccurs) {
    for (const char* flag : {"Rot", "Rose", "Weiss", "Braun", "Trocken", "Lieblich", "Suess", "Schaeumend"})
        EXPECT_GT(number(std::string("SELECT count(*) FROM talvino WHERE ") + flag + " > 0"), 0) << flag;
}

TEST_F(ShippedCatalogue, EveryQualityLevelAndItsEspeciallyGoodClassOccurs) {
    for (int level = 1; level <= 8; ++level)
        EXPECT_GT(number("SELECT count(*) FROM talvino WHERE Qualitaet1 = " + std::to_string(level) +
                         " OR Qualitaet2 = " + std::to_string(level)),
                  0)
            << "class " << level;
}

TEST_F(ShippedCatalogue, EveryVintageCategoryOccursAndGermanEntriesUseTheirOwnScheme) {
    for (int category = 0; category <= 14; ++category)
        EXPECT_GT(number("SELECT count(*) FROM talvino WHERE J" + std::to_string(category) + " IS NOT NULL"), 0)
            << "category " << category;
    for (int category = 0; category <= 11; ++category)
        EXPECT_EQ(number("SELECT count(*) FROM talvino WHERE Land = 'D' AND J" + std::to_string(category) +
                         " IS NOT NULL"),
                  0)
            << "German entry in category " << category;
    for (int category = 12; category <= 14; ++category)
        EXPECT_EQ(number("SELECT count(*) FROM talvino WHERE Land <> 'D' AND J" + std::to_string(category) +
                         " IS NOT NULL"),
                  0)
            << "non-German entry in category " << category;
}

TEST_F(ShippedCatalogue, YearsAreOfTheGuidesTime) {
    // One character per year, its code the year minus 1900: nothing after 2005.
    for (int category = 0; category <= 14; ++category) {
        const std::string column = "J" + std::to_string(category);
        sqlite3_stmt* statement = nullptr;
        ASSERT_EQ(sqlite3_prepare16_v2(db,
                                       std::u16string(u"SELECT " + std::u16string(column.begin(), column.end()) +
                                                      u" FROM talvino WHERE " +
                                                      std::u16string(column.begin(), column.end()) + u" IS NOT NULL")
                                           .c_str(),
                                       -1, &statement, nullptr),
                  SQLITE_OK);
        while (sqlite3_step(statement) == SQLITE_ROW) {
            const auto* years = static_cast<const char16_t*>(sqlite3_column_text16(statement, 0));
            for (const char16_t* y = years; *y; ++y) {
                EXPECT_GT(*y, 0) << column;
                EXPECT_LE(*y, 105) << column;
            }
        }
        sqlite3_finalize(statement);
    }
}

TEST_F(ShippedCatalogue, SomeEntriesLackANameOrAColourAsRealCataloguesDo) {
    EXPECT_GT(number("SELECT count(*) FROM talvino WHERE Name IS NULL"), 0);
    EXPECT_GT(number("SELECT count(*) FROM talvino WHERE Rot = 0 AND Rose = 0 AND Weiss = 0 AND Braun = 0"), 0);
    EXPECT_GT(number("SELECT count(*) FROM talvino WHERE Bald > 0"), 0);
    EXPECT_GT(number("SELECT count(*) FROM talvino WHERE OhneJahr > 0"), 0);
}

} // namespace
