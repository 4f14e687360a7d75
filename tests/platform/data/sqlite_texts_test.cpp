// UTF-16 texts as SQLite hands them to the German order and to LIKE: where they lie in its pages,
// at odd addresses too. They are read through an aligned copy there, and compare and match as
// texts at even addresses do.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/data/engine.h"
#include "platform/data/german_order.h"

namespace {

TEST(Utf16Texts, AnOddAddressIsReadThroughAnAlignedCopy) {
    alignas(char16_t) unsigned char bytes[16] = {};
    const char16_t text[] = u"Wein";
    std::memcpy(bytes + 1, text, 8); // "Wein" starting at an odd address
    std::u16string copy;
    const std::u16string_view read = ado::utf16At(bytes + 1, 4, copy);
    EXPECT_EQ(read, u"Wein");
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(read.data()) % alignof(char16_t), 0u);

    std::memcpy(bytes, text, 8);
    const std::u16string_view inPlace = ado::utf16At(bytes, 4, copy);
    EXPECT_EQ(inPlace, u"Wein");
    EXPECT_EQ(static_cast<const void*>(inPlace.data()), static_cast<const void*>(bytes)) << "no copy";
    EXPECT_TRUE(ado::utf16At(nullptr, 0, copy).empty());
}

class Utf16File : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(sqlite3_open(":memory:", &db), SQLITE_OK);
        run("PRAGMA encoding = 'UTF-16le'");
        ASSERT_EQ(ado::registerGermanOrder(db), SQLITE_OK);
        ASSERT_EQ(ado::registerLike(db), SQLITE_OK);
        // Numbers stored in one to eight bytes before each text shift where the text starts in
        // its record, so that texts lie at odd addresses of the page as well as at even ones.
        run("CREATE TABLE wine (n INTEGER, name TEXT)");
        const char* names[] = {"Öhringer", "Ortenau", "Zell",   "Äbtissin", "Abtsberg", "über Bingen",
                               "Ufer",     "Saar",    "Straße", "Strasse",  "Mosel",    "Ürzig"};
        const long long numbers[] = {1, 300,  70000,  9000000,  3000000000LL, 200000000000000LL,
                                     5, 1000, 100000, 20000000, 4000000000LL, 2};
        for (std::size_t i = 0; i < std::size(names); ++i)
            run("INSERT INTO wine VALUES (" + std::to_string(numbers[i]) + ", '" + names[i] + "')");
    }
    void TearDown() override { sqlite3_close(db); }
    void run(const std::string& sql) {
        char* error = nullptr;
        ASSERT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error), SQLITE_OK) << (error ? error : "");
    }
    std::vector<std::string> column(const std::string& sql) {
        std::vector<std::string> rows;
        sqlite3_stmt* statement = nullptr;
        EXPECT_EQ(sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr), SQLITE_OK);
        while (sqlite3_step(statement) == SQLITE_ROW)
            rows.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
        sqlite3_finalize(statement);
        return rows;
    }
    sqlite3* db = nullptr;
};

TEST_F(Utf16File, SortsInGermanOrderWhereverTheTextsLie) {
    EXPECT_EQ(column("SELECT name FROM wine ORDER BY name COLLATE DEUTSCH"),
              (std::vector<std::string>{"Äbtissin", "Abtsberg", "Mosel", "Öhringer", "Ortenau", "Saar",
                                        "Strasse", "Straße", "über Bingen", "Ufer", "Ürzig", "Zell"}));
}

// The catalogue's LIKE: * and ? as wildcards, case ignored.
TEST_F(Utf16File, LikeMatchesWhereverTheTextsLie) {
    EXPECT_EQ(column("SELECT name FROM wine WHERE name LIKE '*ü*' ORDER BY name COLLATE DEUTSCH"),
              (std::vector<std::string>{"über Bingen", "Ürzig"}));
    EXPECT_EQ(column("SELECT count(*) FROM wine WHERE name LIKE '*er*'"), (std::vector<std::string>{"4"}));
}

} // namespace
