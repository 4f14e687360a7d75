// The bookmark table through the database object: the statements as they are sent, saving as one
// transaction, deleting, and reading a bookmark back, without any screen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bookmarks/bookmark_list.h"
#include "bookmarks/bookmark_store.h"
#include "db/database.h"
#include "tests/support/test_catalogue.h"

namespace {

using Rows = std::vector<std::vector<std::string>>;

class BookmarkStore : public ::testing::Test {
  protected:
    void SetUp() override {
        catalogue.addSampleContent();
        catalogue.addBookmark(TestCatalogue::kRiesling, u"Mosel", u"zum Spargel");
        catalogue.installAsProgramCatalogue();
        database.allocateQueryBuffer();
        ASSERT_TRUE(database.openCatalogue());
    }

    Rows bookmarks() const {
        return catalogue.rows("SELECT id_talvino, Beschreibung, Notiz FROM Lesezeichen ORDER BY rowid");
    }

    TestCatalogue catalogue;
    Database database;
};

// ---- Statements -------------------------------------------------------------------------------

TEST(BookmarkStatements, CarryTheEntryIdUnquotedInWhereAndQuotedInTheInsert) {
    using namespace bookmark_store;
    EXPECT_EQ(statementFor(kExistenceQuery, u"1001"),
              u"select id_talvino from Lesezeichen where id_talvino = 1001");
    EXPECT_EQ(statementFor(kDeleteStatement, u"1001"), u"DELETE FROM Lesezeichen WHERE id_talvino = 1001");
    EXPECT_EQ(insertStatement(u"1001", u"Chablis", u"kalt"),
              u"INSERT INTO Lesezeichen (id_talvino, Beschreibung, Notiz) VALUES ('1001','Chablis','kalt')");
}

TEST(BookmarkStatements, InsertDoublesEveryApostropheOfBothTexts) {
    EXPECT_EQ(bookmark_store::insertStatement(u"7", u"d'Yquem", u"''"),
              u"INSERT INTO Lesezeichen (id_talvino, Beschreibung, Notiz) VALUES ('7','d''Yquem','''''')");
}


TEST(BookmarkStatements, OnlyDecimalKeysCountAsEntryIds) {
    EXPECT_TRUE(bookmark_store::isEntryId(u"1001"));
    EXPECT_TRUE(bookmark_store::isEntryId(u"-5"));
    EXPECT_FALSE(bookmark_store::isEntryId(u""));
    EXPECT_FALSE(bookmark_store::isEntryId(u"-"));
    EXPECT_FALSE(bookmark_store::isEntryId(u"1 OR 1=1"));
    EXPECT_FALSE(bookmark_store::isEntryId(u"12a"));
    EXPECT_FALSE(bookmark_store::isEntryId(u"12345678901234567890"));
}

// ---- Saving -----------------------------------------------------------------------------------

TEST_F(BookmarkStore, InsertGrowsWithTwoFullTextsOfApostrophes) {
    const std::u16string full(500, u'\'');
    ASSERT_TRUE(bookmark_store::save(database, u"1001", full, full));
    const std::string stored(500, '\'');
    EXPECT_EQ(bookmarks(), (Rows{{"5001", "Mosel", "zum Spargel"}, {"1001", stored, stored}}));
}

TEST_F(BookmarkStore, SavingANewBookmarkAddsOneRow) {
    ASSERT_TRUE(bookmark_store::save(database, u"1001", u"Chablis", u"zu Austern"));
    EXPECT_EQ(bookmarks(), (Rows{{"5001", "Mosel", "zum Spargel"}, {"1001", "Chablis", "zu Austern"}}));
}

TEST_F(BookmarkStore, SavingAgainReplacesTheRowOfThatEntryOnly) {
    ASSERT_TRUE(bookmark_store::save(database, u"1001", u"erst", u"eins"));
    ASSERT_TRUE(bookmark_store::save(database, u"5001", u"Saar", u""));
    ASSERT_TRUE(bookmark_store::save(database, u"1001", u"dann", u"zwei"));
    EXPECT_EQ(bookmarks(), (Rows{{"5001", "Saar", ""}, {"1001", "dann", "zwei"}}));
}

TEST_F(BookmarkStore, AFailedInsertKeepsTheOldRow) {
    // The store refuses this note: the deletion before it must not stand alone.
    catalogue.execute("CREATE TRIGGER refuse BEFORE INSERT ON Lesezeichen WHEN NEW.Notiz = 'abgelehnt' "
                      "BEGIN SELECT RAISE(ABORT, 'refused'); END");
    ASSERT_TRUE(database.openCatalogue());
    EXPECT_FALSE(bookmark_store::save(database, u"5001", u"neu", u"abgelehnt"));
    EXPECT_EQ(bookmarks(), (Rows{{"5001", "Mosel", "zum Spargel"}}));
    // The connection is usable afterwards: no transaction was left open.
    EXPECT_TRUE(bookmark_store::save(database, u"5001", u"neu", u"angenommen"));
    EXPECT_EQ(bookmarks(), (Rows{{"5001", "neu", "angenommen"}}));
}

TEST_F(BookmarkStore, ANonKeyIdStoresNothing) {
    EXPECT_FALSE(bookmark_store::save(database, u"", u"leer", u""));
    EXPECT_FALSE(bookmark_store::save(database, u"0 OR 1=1", u"x", u""));
    EXPECT_EQ(bookmarks(), (Rows{{"5001", "Mosel", "zum Spargel"}}));
}

TEST_F(BookmarkStore, AReadOnlyCatalogueRefusesSavingAndDeleting) {
    database.closeCatalogue();
    catalogue.setReadOnly(true);
    ASSERT_TRUE(database.openCatalogue());
    EXPECT_FALSE(bookmark_store::save(database, u"5001", u"neu", u""));
    EXPECT_FALSE(bookmark_store::save(database, u"1001", u"neu", u""));
    EXPECT_FALSE(bookmark_store::remove(database, u"5001"));
    catalogue.setReadOnly(false);
    EXPECT_EQ(bookmarks(), (Rows{{"5001", "Mosel", "zum Spargel"}}));
}

TEST_F(BookmarkStore, AClosedCatalogueStoresNothing) {
    database.closeCatalogue();
    EXPECT_FALSE(bookmark_store::save(database, u"1001", u"x", u"y"));
    EXPECT_FALSE(bookmark_store::remove(database, u"5001"));
    EXPECT_EQ(bookmarks(), (Rows{{"5001", "Mosel", "zum Spargel"}}));
}

// ---- Texts as typed -----------------------------------------------------------------------------

class BookmarkStoredText : public BookmarkStore, public ::testing::WithParamInterface<std::u16string> {};

TEST_P(BookmarkStoredText, ComesBackExactlyAsSaved) {
    const std::u16string text = GetParam();
    ASSERT_TRUE(bookmark_store::save(database, u"1001", text, u"Notiz: " + text));
    const bookmark_store::StoredBookmark stored = bookmark_store::load(database, u"1001");
    EXPECT_EQ(stored.description, text);
    EXPECT_EQ(stored.note, u"Notiz: " + text);
    EXPECT_TRUE(stored.rowExists);
}

INSTANTIATE_TEST_SUITE_P(Texts, BookmarkStoredText,
                         ::testing::Values(u"Château d'Yquem", u"''", u"'", u"ein \"guter\" Jahrgang",
                                           u"erste Zeile\r\nzweite Zeile",
                                           u"Süßwein aus Österreich, Größe ÄÖÜ äöü ß",
                                           u"Trauben \U0001F347 und Glas \U0001F377",
                                           u"'); DELETE FROM Lesezeichen; --", u"100 % * ? _ [Text]", u""));

// ---- Reading back -------------------------------------------------------------------------------

TEST_F(BookmarkStore, LoadingAnEntryWithoutBookmarkFindsNothing) {
    const bookmark_store::StoredBookmark stored = bookmark_store::load(database, u"1001");
    EXPECT_EQ(stored.description, u"");
    EXPECT_EQ(stored.note, u"");
    EXPECT_FALSE(stored.rowExists);
    EXPECT_FALSE(stored.found());
}

TEST_F(BookmarkStore, ARowWithNullTextsStillCountsAsBookmarked) {
    catalogue.execute("INSERT INTO Lesezeichen (id_talvino, Beschreibung, Notiz) VALUES (1002, NULL, NULL)");
    const bookmark_store::StoredBookmark stored = bookmark_store::load(database, u"1002");
    EXPECT_EQ(stored.description, u"");
    EXPECT_EQ(stored.note, u"");
    EXPECT_TRUE(stored.rowExists);
    EXPECT_TRUE(stored.found());
}

TEST_F(BookmarkStore, ADeletedBookmarkIsGone) {
    ASSERT_TRUE(bookmark_store::remove(database, u"5001"));
    EXPECT_TRUE(bookmarks().empty());
    EXPECT_FALSE(bookmark_store::load(database, u"5001").found());
    // Deleting what is not there is no failure.
    EXPECT_TRUE(bookmark_store::remove(database, u"5001"));
}

TEST_F(BookmarkStore, TheListComesInTheTableOrderWithKeysAndLabels) {
    catalogue.execute("INSERT INTO Lesezeichen (id_talvino, Beschreibung, Notiz) VALUES (1002, NULL, 'x')");
    catalogue.execute(
        "INSERT INTO Lesezeichen (id_talvino, Beschreibung, Notiz) VALUES ('1001', 'Apfel', '')");
    std::copy_n(bookmark_store::kListQuery,
                std::char_traits<char16_t>::length(bookmark_store::kListQuery) + 1, database.queryBuffer);
    std::vector<std::pair<std::u16string, long>> items;
    EXPECT_TRUE(fillBookmarkList(
        database, [&](const ListedBookmark& listed) { items.emplace_back(listed.label, listed.entryId); }));
    EXPECT_EQ(items, (std::vector<std::pair<std::u16string, long>>{
                         {u"Mosel", 5001}, {u"", 1002}, {u"Apfel", 1001}}));
}

TEST_F(BookmarkStore, AListThatCannotBeReadAddsNothing) {
    std::copy_n(u"SELECT * from Lesezeichenx", 27, database.queryBuffer);
    int added = 0;
    EXPECT_FALSE(fillBookmarkList(database, [&](const ListedBookmark&) { ++added; }));
    EXPECT_EQ(added, 0);
}

TEST_F(BookmarkStore, ADamagedFileLeavesTheListEmptyAndRefusesSaving) {
    // The file goes bad while the program has it open.
    catalogue.writeRawFile(std::string(8192, '\x5A'));
    std::copy_n(bookmark_store::kListQuery,
                std::char_traits<char16_t>::length(bookmark_store::kListQuery) + 1, database.queryBuffer);
    int added = 0;
    EXPECT_FALSE(fillBookmarkList(database, [&](const ListedBookmark&) { ++added; }));
    EXPECT_EQ(added, 0);
    EXPECT_FALSE(bookmark_store::save(database, u"1001", u"x", u"y"));
    EXPECT_FALSE(bookmark_store::remove(database, u"5001"));
}

} // namespace
