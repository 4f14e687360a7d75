#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <string>

#include "db/database.h"
#include "db/text_codec.h"
#include "platform/data/testing.h"
#include "platform/data/utf.h"
#include "platform/win32.h"
#include "tests/support/test_catalogue.h"

namespace {

void setQuery(Database& db, const std::u16string& sql) {
    std::fill(db.queryBuffer, db.queryBuffer + Database::kQueryBufferChars, u'\0');
    sql.copy(db.queryBuffer, Database::kQueryBufferChars - 1);
}

class DatabaseTest : public ::testing::Test {
  protected:
    void SetUp() override {
        catalogue.addSampleContent();
        catalogue.installAsProgramCatalogue();
        db.allocateQueryBuffer();
    }

    // Runs a scalar query into a buffer pre-filled with '#', returns the buffer's text.
    std::u16string scalar(const std::u16string& sql, short capacity = 100, bool* ok = nullptr) {
        setQuery(db, sql);
        std::fill(std::begin(out), std::end(out), u'#');
        out[199] = u'\0';
        const bool result = db.scalarQuery(out, capacity);
        if (ok) *ok = result;
        return out;
    }

    TestCatalogue catalogue;
    Database db;
    char16_t out[200];
};

TEST_F(DatabaseTest, QueryBufferHoldsFiveThousandWideCharactersAndStartsEmpty) {
    ASSERT_NE(db.queryBuffer, nullptr);
    EXPECT_EQ(db.queryBuffer[0], u'\0');
    ASSERT_TRUE(db.openCatalogue());
    // A statement of 4,999 units and its terminator fill the buffer: the query sees all of it.
    const std::u16string head = u"SELECT length('", tail = u"')";
    const std::u16string whole = head + std::u16string(4999 - head.size() - tail.size(), u'x') + tail;
    ASSERT_EQ(whole.size(), 4999u);
    EXPECT_EQ(scalar(whole), u"4982");
    // One unit more is cut after 4,999 and terminated: the literal is left open and the query fails.
    bool ok = true;
    scalar(head + std::u16string(4983, u'x') + tail, 100, &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(std::u16string(db.queryBuffer).size(), 4999u);
    db.freeQueryBuffer();
    EXPECT_EQ(db.queryBuffer, nullptr);
    db.freeQueryBuffer();
}

TEST_F(DatabaseTest, OpensTheCatalogueNextToTheProgramWhateverTheCurrentDirectory) {
    char previous[4096];
    ASSERT_NE(getcwd(previous, sizeof previous), nullptr);
    ASSERT_EQ(chdir("/"), 0);
    const bool opened = db.openCatalogue();
    ASSERT_EQ(chdir(previous), 0);
    EXPECT_TRUE(opened);
    EXPECT_TRUE(db.isOpen());
    EXPECT_EQ(ado::toUtf8(Database::cataloguePath()), catalogue.path());
}

TEST_F(DatabaseTest, AMissingCatalogueFailsAndEveryQueryThenFailsWithoutTouchingItsTarget) {
    std::remove(catalogue.path().c_str());
    EXPECT_FALSE(db.openCatalogue());
    bool ok = true;
    EXPECT_EQ(scalar(u"SELECT Land FROM Land", 100, &ok), std::u16string(199, u'#'));
    EXPECT_FALSE(ok);
    EXPECT_FALSE(db.executeStatement(u"DELETE FROM Lesezeichen"));
    EXPECT_FALSE(db.executeInTransaction({u"DELETE FROM Lesezeichen"}));
}

TEST_F(DatabaseTest, WithoutTheComponentNothingOpens) {
    ado::testing::setComponentInstalled(false);
    EXPECT_FALSE(db.openCatalogue());
    ado::testing::setComponentInstalled(true);
    EXPECT_EQ(db.recordset(), nullptr);
    bool ok = true;
    scalar(u"SELECT Land FROM Land", 100, &ok);
    EXPECT_FALSE(ok);
    EXPECT_TRUE(db.openCatalogue());
}

TEST_F(DatabaseTest, AProgramPathThatDoesNotFitFailsInsteadOfOpeningAnotherFile) {
    const std::u16string longPath = u"/" + std::u16string(320, u'x') + u"/talvino";
    platform::overrideModuleFileName(longPath.c_str());
    EXPECT_TRUE(Database::cataloguePath().empty());
    EXPECT_FALSE(db.openCatalogue());
}

TEST_F(DatabaseTest, ACatalogueMissingATableOtherThanTalvinoOpensAndOnlyQueriesNamingItFail) {
    // An older edition without bookmarks, say.
    catalogue.execute("DROP TABLE Lesezeichen");
    ASSERT_TRUE(db.openCatalogue());
    bool ok = false;
    EXPECT_EQ(scalar(u"select STICHWORT from talvino where ID = 1001", 100, &ok), u"Chablis Premier Cru");
    EXPECT_TRUE(ok);
    EXPECT_EQ(scalar(u"select Bezeichnung from Land where Land = 'F'", 100, &ok), u"Frankreich");
    EXPECT_TRUE(ok);
    scalar(u"select Notiz from Lesezeichen where id_talvino = 1001", 100, &ok);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(db.executeStatement(u"INSERT INTO Lesezeichen (id_talvino, Beschreibung, Notiz) VALUES "
                                     u"('1001','a','b')"));
}

TEST_F(DatabaseTest, ACatalogueWithoutAUsableTalvinoTableStaysRefused) {
    catalogue.execute("DROP TABLE talvino");
    EXPECT_FALSE(db.openCatalogue());
    catalogue.execute("CREATE TABLE talvino (ID INTEGER PRIMARY KEY, Name TEXT, Beschreibung TEXT)");
    EXPECT_FALSE(db.openCatalogue());
}

TEST_F(DatabaseTest, TheWholeTextScalarQueryReadsPastAnyCapacity) {
    catalogue.execute("UPDATE talvino SET STICHWORT = replace(hex(zeroblob(20000)), '0', 'ä') WHERE ID = 1001");
    ASSERT_TRUE(db.openCatalogue());
    std::u16string text = u"vorher";
    setQuery(db, u"select STICHWORT from talvino where ID = 1001");
    ASSERT_TRUE(db.scalarQuery(text));
    EXPECT_EQ(text, std::u16string(40000, u'ä'));
    // No row leaves the text as it was; NULL empties it; a number comes as decimal text.
    setQuery(db, u"select STICHWORT from talvino where ID = 4711");
    ASSERT_TRUE(db.scalarQuery(text));
    EXPECT_EQ(text.size(), 40000u);
    setQuery(db, u"select Name from talvino where ID = 1003");
    ASSERT_TRUE(db.scalarQuery(text));
    EXPECT_EQ(text, u"");
    setQuery(db, u"select ID from talvino where ID = 1003");
    ASSERT_TRUE(db.scalarQuery(text));
    EXPECT_EQ(text, u"1003");
    setQuery(db, u"select Nichts from talvino");
    EXPECT_FALSE(db.scalarQuery(text));
}

TEST_F(DatabaseTest, CloseReportsWhetherAConnectionExisted) {
    EXPECT_FALSE(db.closeCatalogue());
    ASSERT_TRUE(db.openCatalogue());
    EXPECT_TRUE(db.closeCatalogue());
    EXPECT_FALSE(db.closeCatalogue());
    bool ok = true;
    scalar(u"SELECT Land FROM Land", 100, &ok);
    EXPECT_FALSE(ok);
}

TEST_F(DatabaseTest, ASecondOpenReplacesTheFirst) {
    ASSERT_TRUE(db.openCatalogue());
    ado::Recordset* first = db.recordset();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(db.openCatalogue());
    EXPECT_EQ(scalar(u"select Bezeichnung from Land where Land = 'P'"), u"Portugal");
}

TEST_F(DatabaseTest, ScalarQueryCopiesTheFirstColumnOfTheFirstRow) {
    ASSERT_TRUE(db.openCatalogue());
    EXPECT_EQ(scalar(u"SELECT Bezeichnung from Land ORDER by Bezeichnung"), u"Deutschland");
    EXPECT_EQ(scalar(u"select REGIO_LANG from talvino where ID = 5001"), u"Mosel");
}

TEST_F(DatabaseTest, ScalarQueryWritesIntegersAsDecimalText) {
    ASSERT_TRUE(db.openCatalogue());
    EXPECT_EQ(scalar(u"select ID from talvino where ID = 3001"), u"3001");
    EXPECT_EQ(scalar(u"select Rose from talvino where ID = 3001"), u"0");
    EXPECT_EQ(scalar(u"SELECT -42"), u"-42");
}

TEST_F(DatabaseTest, ScalarQueryWritesNullAsEmptyText) {
    ASSERT_TRUE(db.openCatalogue());
    EXPECT_EQ(scalar(u"select Name from talvino where ID = 1003"), u"");
    EXPECT_EQ(out[1], u'#');
}

TEST_F(DatabaseTest, ScalarQueryWithoutARowLeavesTheBufferAsItWas) {
    ASSERT_TRUE(db.openCatalogue());
    bool ok = false;
    EXPECT_EQ(scalar(u"select Land from Land where Bezeichnung = 'Atlantis'", 100, &ok),
              std::u16string(199, u'#'));
    EXPECT_TRUE(ok);
}

TEST_F(DatabaseTest, ScalarQueryCutsLongTextToTheCapacityAndTerminatesIt) {
    ASSERT_TRUE(db.openCatalogue());
    EXPECT_EQ(scalar(u"select Bezeichnung from Land where Land = 'F'", 5), u"Fran");
    EXPECT_EQ(out[5], u'#');
    EXPECT_EQ(scalar(u"select Bezeichnung from Land where Land = 'F'", 1), u"");
    EXPECT_EQ(out[1], u'#');
    EXPECT_EQ(scalar(u"select ID from talvino where ID = 3001", 3), u"30");
    EXPECT_EQ(scalar(u"select Bezeichnung from Land where Land = 'F'", 11), u"Frankreich");
}

TEST_F(DatabaseTest, ScalarQueryWithNoRoomWritesNothing) {
    ASSERT_TRUE(db.openCatalogue());
    bool ok = false;
    EXPECT_EQ(scalar(u"select Bezeichnung from Land where Land = 'F'", 0, &ok), std::u16string(199, u'#'));
    EXPECT_TRUE(ok);
    EXPECT_EQ(scalar(u"select Bezeichnung from Land where Land = 'F'", -5), std::u16string(199, u'#'));
}

TEST_F(DatabaseTest, ScalarQueryOnRejectedSqlFailsAndLeavesTheBuffer) {
    ASSERT_TRUE(db.openCatalogue());
    bool ok = true;
    EXPECT_EQ(scalar(u"select Nichts from Land", 100, &ok), std::u16string(199, u'#'));
    EXPECT_FALSE(ok);
    EXPECT_EQ(scalar(u"SELECT * FROM talvino WHERE () ORDER by STICHWORT", 100, &ok),
              std::u16string(199, u'#'));
    EXPECT_FALSE(ok);
}

TEST_F(DatabaseTest, ExecuteStatementChangesTheCatalogueAndReportsIt) {
    ASSERT_TRUE(db.openCatalogue());
    EXPECT_TRUE(db.executeStatement(
        u"INSERT INTO Lesezeichen (id_talvino, Beschreibung, Notiz) VALUES ('1001','Chablis','Zu Austern')"));
    EXPECT_EQ(catalogue.rows("SELECT id_talvino, Beschreibung, Notiz FROM Lesezeichen"),
              (std::vector<std::vector<std::string>>{{"1001", "Chablis", "Zu Austern"}}));
    EXPECT_EQ(scalar(u"select id_talvino from Lesezeichen where id_talvino = 1001"), u"1001");
    EXPECT_TRUE(db.executeStatement(u"DELETE FROM Lesezeichen WHERE id_talvino = 1001"));
    EXPECT_TRUE(catalogue.rows("SELECT * FROM Lesezeichen").empty());
    EXPECT_FALSE(db.executeStatement(u"INSERT INTO Lesezeichen (Gibtsnicht) VALUES ('1')"));
}

TEST_F(DatabaseTest, ExecuteStatementWithEmptyTextDoesNothing) {
    ASSERT_TRUE(db.openCatalogue());
    // A query left open shows whether the recordset was touched: any statement run closes it.
    setQuery(db, u"SELECT Land FROM Land");
    ASSERT_EQ(db.openQuery(ado::adOpenStatic, ado::adLockReadOnly), S_OK);
    EXPECT_FALSE(db.executeStatement(u""));
    EXPECT_FALSE(db.executeStatement(nullptr));
    long state = 0;
    db.recordset()->get_State(&state);
    EXPECT_EQ(state, 1);
}

TEST_F(DatabaseTest, ATransactionSavesAllOrNothing) {
    ASSERT_TRUE(db.openCatalogue());
    ASSERT_TRUE(db.executeStatement(
        u"INSERT INTO Lesezeichen (id_talvino, Beschreibung, Notiz) VALUES ('1001','alt','alt')"));
    EXPECT_FALSE(db.executeInTransaction({u"DELETE FROM Lesezeichen WHERE id_talvino = 1001",
                                          u"INSERT INTO Lesezeichen (kaputt) VALUES ('1')"}));
    EXPECT_EQ(catalogue.rows("SELECT Beschreibung FROM Lesezeichen"),
              (std::vector<std::vector<std::string>>{{"alt"}}));
    EXPECT_TRUE(db.executeInTransaction(
        {u"DELETE FROM Lesezeichen WHERE id_talvino = 1001",
         u"INSERT INTO Lesezeichen (id_talvino, Beschreibung, Notiz) VALUES ('1001','neu','neu')"}));
    EXPECT_EQ(catalogue.rows("SELECT Beschreibung FROM Lesezeichen"),
              (std::vector<std::vector<std::string>>{{"neu"}}));
}

TEST_F(DatabaseTest, ScreensWalkTheOneRecordsetThemselves) {
    ASSERT_TRUE(db.openCatalogue());
    setQuery(db, u"SELECT * from Lesezeichen");
    catalogue.execute(
        "INSERT INTO Lesezeichen (id_talvino, Beschreibung, Notiz) VALUES (3001, 'Rioja', NULL)");
    ASSERT_EQ(db.openQuery(ado::adOpenStatic, ado::adLockReadOnly), S_OK);
    long count = 0;
    db.recordset()->get_RecordCount(&count);
    EXPECT_EQ(count, 1);
    VARIANT v;
    db.recordset()->fieldValue(1, &v);
    EXPECT_EQ(v.vt, VT_I4);
    EXPECT_EQ(v.lVal, 3001);
    db.recordset()->fieldValue(2, &v);
    EXPECT_EQ(std::u16string(v.bstrVal), u"Rioja");
    db.recordset()->Close();
}

TEST_F(DatabaseTest, AReadOnlyCatalogueReadsButDoesNotSave) {
    catalogue.setReadOnly(true);
    ASSERT_TRUE(db.openCatalogue());
    EXPECT_EQ(scalar(u"select Bezeichnung from Land where Land = 'D'"), u"Deutschland");
    EXPECT_FALSE(db.executeStatement(
        u"INSERT INTO Lesezeichen (id_talvino, Beschreibung, Notiz) VALUES ('1001','Chablis','')"));
    catalogue.setReadOnly(false);
    EXPECT_TRUE(catalogue.rows("SELECT * FROM Lesezeichen").empty());
}

TEST(TestCatalogueFixture, NumberedEntriesMakeSearchesWithManyHits) {
    TestCatalogue catalogue;
    catalogue.addSampleContent().addNumberedEntries(85, 9000, u"F", u"Bordeaux");
    catalogue.installAsProgramCatalogue();
    Database db;
    db.allocateQueryBuffer();
    ASSERT_TRUE(db.openCatalogue());
    setQuery(db, u"SELECT * FROM talvino WHERE (  (\n (Rot > 0))) ORDER by STICHWORT");
    ASSERT_EQ(db.openQuery(ado::adOpenStatic, ado::adLockReadOnly), S_OK);
    long count = 0;
    db.recordset()->get_RecordCount(&count);
    EXPECT_EQ(count, 85 + 3);
    db.recordset()->Close();
    char16_t out[40] = u"";
    setQuery(db, u"select STICHWORT from talvino where ID = 9084");
    ASSERT_TRUE(db.scalarQuery(out, 40));
    EXPECT_EQ(std::u16string(out), u"Testwein 085");
}

// Catalogues written before the header named the codec, and those written since, read the same.
class CatalogueOfEachCodecGeneration : public DatabaseTest, public ::testing::WithParamInterface<int> {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        rewrite(GetParam());
    }
    void rewrite(int generation) {
        catalogue::writeCatalogue(catalogue.path(), catalogue.content(), catalogue::kDefaultEncoding, generation);
    }
    std::u16string whole(const std::u16string& sql) {
        setQuery(db, sql);
        std::u16string value = u"#";
        EXPECT_TRUE(db.scalarQuery(value)) << ado::toUtf8(sql);
        return value;
    }
    // The full-text search's condition for a term, as the search builds it.
    std::u16string fullTextHit(const std::u16string& term) {
        return whole(u"select ID from talvino where [Text_Klein] like '*" +
                     carriedText(encodedText(lowerCasedText(term))) + u"*' order by ID");
    }
    void expectReadable() {
        EXPECT_EQ(readableText(whole(u"select Beschreibung from talvino where ID = 1001")),
                  u"Straffer, mineralischer Chablis mit Noten von grünem Apfel; Säure und Würze.");
        std::u16string grape = whole(u"select Text from Rebsorten where Rebsorte = 'Riesling'");
        decodeText(grape.data()); // as the grape screen decodes it
        EXPECT_EQ(grape, u"Rasse und Säure; von trocken bis edelsüß.");
        EXPECT_EQ(fullTextHit(u"GRÜNEM Apfel"), u"1001");
        EXPECT_EQ(fullTextHit(u"Öchsle"), u"5001");
        EXPECT_EQ(fullTextHit(u"Trüffel"), u"#"); // no row
    }
};

TEST_P(CatalogueOfEachCodecGeneration, ShowsItsTextsAndFindsItsEntriesByFullText) {
    ASSERT_TRUE(db.openCatalogue());
    EXPECT_EQ(codec::offset(), *codec::offsetOfGeneration(GetParam()));
    expectReadable();
}

TEST_P(CatalogueOfEachCodecGeneration, AnotherOpenReadsWithTheOffsetOfTheFileItOpens) {
    ASSERT_TRUE(db.openCatalogue());
    ASSERT_TRUE(db.closeCatalogue());
    const int other = GetParam() == codec::kGeneration ? codec::kEarlierGeneration : codec::kGeneration;
    rewrite(other);
    ASSERT_TRUE(db.openCatalogue());
    EXPECT_EQ(codec::offset(), *codec::offsetOfGeneration(other));
    expectReadable();
}

INSTANTIATE_TEST_SUITE_P(Generations, CatalogueOfEachCodecGeneration,
                         ::testing::Values(codec::kEarlierGeneration, codec::kGeneration),
                         [](const ::testing::TestParamInfo<int>& generation) {
                             return generation.param == codec::kGeneration ? std::string("Current")
                                                                     : std::string("Earlier");
                         });

class DamagedCatalogueTest : public DatabaseTest {
  protected:
    void SetUp() override {
        DatabaseTest::SetUp();
        std::string bytes = catalogue.readRawFile();
        for (std::size_t i = 4096; i < bytes.size(); ++i)
            bytes[i] = static_cast<char>(0x5A);
        catalogue.writeRawFile(bytes);
    }
};

TEST_F(DamagedCatalogueTest, OwnQueriesReportFailureInsteadOfCrashing) {
    ASSERT_TRUE(db.openCatalogue());
    bool ok = true;
    EXPECT_EQ(scalar(u"select STICHWORT from talvino where ID = 1001", 100, &ok), std::u16string(199, u'#'));
    EXPECT_FALSE(ok);
    EXPECT_FALSE(db.executeStatement(u"DELETE FROM Lesezeichen WHERE id_talvino = 1001"));
}

TEST_F(DamagedCatalogueTest, TheRecordsetRaisesTheComponentExceptionAndTheCatalogueCanBeReopened) {
    ASSERT_TRUE(db.openCatalogue());
    setQuery(db, u"select * from talvino where ID = 1001");
    EXPECT_THROW(db.openQuery(ado::adOpenDynamic, ado::adLockOptimistic), ado::ComponentException);
    db.recordset()->Close();
    EXPECT_TRUE(db.openCatalogue());
}

} // namespace

namespace {
std::atomic<int> busyCalls{0};
void countBusyCall() { ++busyCalls; }

TEST_F(DatabaseTest, ALongQueryCallsTheBusyHookOnItsOwnThread) {
    ado::setBusyHook(countBusyCall);
    busyCalls = 0;
    ASSERT_TRUE(db.openCatalogue()); // the hook is taken when the connection opens
    // Long enough to take well over the hook's 40 ms period.
    EXPECT_EQ(scalar(u"WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n WHERE x < 3000000) "
                     u"SELECT count(*) FROM n"),
              u"3000000");
    ado::setBusyHook(nullptr);
    EXPECT_GT(busyCalls.load(), 0);

    busyCalls = 0;
    ASSERT_TRUE(db.openCatalogue());
    EXPECT_EQ(scalar(u"SELECT count(*) FROM Land WHERE Land = 'F'"), u"1");
    EXPECT_EQ(busyCalls.load(), 0) << "no hook, no calls";
}
} // namespace
