#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "platform/data/ado.h"
#include "platform/data/testing.h"
#include "platform/data/utf.h"
#include "tests/support/test_catalogue.h"

namespace {

class RecordsetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        catalogue.addSampleContent();
        catalogue.build();
        connection = ado::createConnection();
        ASSERT_NE(connection, nullptr);
        const std::u16string path = ado::toUtf16(catalogue.path());
        ASSERT_EQ(connection->Open(path.c_str(), u"", u"", -1), S_OK) << ado::lastError();
        HRESULT bound = E_FAIL;
        recordset = ado::testing::recordsetOn(connection, &bound);
        ASSERT_NE(recordset, nullptr);
        ASSERT_EQ(bound, S_OK);
    }
    void TearDown() override {
        if (recordset) recordset->Release();
        if (connection) connection->Release();
    }

    HRESULT open(const char16_t* sql, long cursor = ado::adOpenStatic, long lock = ado::adLockReadOnly) {
        return ado::openRecordset(recordset, sql, cursor, lock);
    }
    bool eof() {
        VARIANT_BOOL value = VARIANT_FALSE;
        EXPECT_EQ(recordset->get_EOF(&value), S_OK);
        return value != VARIANT_FALSE;
    }
    long count() {
        long n = -2;
        EXPECT_EQ(recordset->get_RecordCount(&n), S_OK);
        return n;
    }
    std::u16string text(long position) {
        VARIANT v;
        EXPECT_EQ(recordset->fieldValue(position, &v), S_OK);
        EXPECT_EQ(v.vt, VT_BSTR);
        std::u16string result = v.vt == VT_BSTR && v.bstrVal ? v.bstrVal : u"<not text>";
        VariantClear(&v);
        return result;
    }
    LONG number(long position) {
        VARIANT v;
        EXPECT_EQ(recordset->fieldValue(position, &v), S_OK);
        EXPECT_EQ(v.vt, VT_I4);
        return v.vt == VT_I4 ? v.lVal : -99999;
    }
    VARTYPE type(long position) {
        VARIANT v;
        recordset->fieldValue(position, &v);
        const VARTYPE t = v.vt;
        VariantClear(&v);
        return t;
    }

    TestCatalogue catalogue;
    ado::Connection* connection = nullptr;
    ado::Recordset* recordset = nullptr;
};

TEST_F(RecordsetTest, StaticCursorKnowsItsRecordCountAndWalksAllRows) {
    ASSERT_EQ(open(u"SELECT Land FROM Land ORDER BY Land"), S_OK);
    EXPECT_EQ(count(), 5);
    std::u16string seen;
    for (recordset->MoveFirst(); !eof(); recordset->MoveNext())
        seen += text(0) + u",";
    EXPECT_EQ(seen, u"A,D,E,F,P,");
}

TEST_F(RecordsetTest, DynamicCursorStepsLazilyAndReportsNoCount) {
    ASSERT_EQ(open(u"SELECT Land FROM Land ORDER BY Land", ado::adOpenDynamic, ado::adLockOptimistic), S_OK);
    EXPECT_EQ(count(), -1);
    std::u16string seen;
    for (; !eof(); recordset->MoveNext())
        seen += text(0);
    EXPECT_EQ(seen, u"ADEFP");
    // Back to the first row runs the query again.
    EXPECT_EQ(recordset->MoveFirst(), S_OK);
    EXPECT_FALSE(eof());
    EXPECT_EQ(text(0), u"A");
}

TEST_F(RecordsetTest, EmptyResultIsAtEndAtOnce) {
    ASSERT_EQ(open(u"SELECT Land FROM Land WHERE Land = 'XX'"), S_OK);
    EXPECT_TRUE(eof());
    EXPECT_EQ(count(), 0);
    VARIANT v;
    EXPECT_EQ(recordset->fieldValue(0, &v), ADO_E_NOCURRENTRECORD);
    EXPECT_EQ(v.vt, VT_EMPTY);
    EXPECT_EQ(recordset->MoveNext(), ADO_E_NOCURRENTRECORD);
}

TEST_F(RecordsetTest, ValuesKeepNullIntegerAndTextApart) {
    ASSERT_EQ(open(u"select * from talvino where ID = 1003"), S_OK);
    ASSERT_FALSE(eof());
    EXPECT_EQ(number(0), 1003);
    EXPECT_EQ(type(1), VT_NULL); // name
    EXPECT_EQ(type(2), VT_NULL); // description
    EXPECT_EQ(text(3), u"Bordeaux Supérieur");
    EXPECT_EQ(number(5), 1);
    EXPECT_EQ(number(7), 0);
}

TEST_F(RecordsetTest, EmptyTextIsTextNotNull) {
    catalogue.execute("UPDATE talvino SET Zusatz = '' WHERE ID = 1001");
    ASSERT_EQ(open(u"select Zusatz from talvino where ID = 1001"), S_OK);
    EXPECT_EQ(text(0), u"");
}

TEST_F(RecordsetTest, TextsComeBackExactlyAsStoredScrambledOnesIncluded) {
    ASSERT_EQ(open(u"select Beschreibung, Text_Klein, J0 from talvino where ID = 1001"), S_OK);
    const auto raw = catalogue.rows("SELECT Beschreibung, Text_Klein, J0 FROM talvino WHERE ID = 1001");
    ASSERT_EQ(raw.size(), 1u);
    EXPECT_EQ(ado::toUtf8(text(0)), raw[0][0]);
    EXPECT_EQ(ado::toUtf8(text(1)), raw[0][1]);
    EXPECT_EQ(text(2), (std::u16string{96, 99}));
}

TEST_F(RecordsetTest, TextsOfAStaticRowStayValidWhileMoreColumnsAndRowsAreRead) {
    ASSERT_EQ(open(u"SELECT STICHWORT, Zusatz, Regio_Lang FROM talvino ORDER BY ID"), S_OK);
    VARIANT keyword, suffix, again;
    recordset->fieldValue(0, &keyword);
    recordset->fieldValue(1, &suffix);
    for (int row = 0; row < 3; ++row) {
        for (long column = 0; column < 3; ++column) {
            VARIANT v;
            recordset->fieldValue(column, &v);
        }
        recordset->MoveNext();
    }
    recordset->MoveFirst();
    recordset->fieldValue(0, &again);
    EXPECT_EQ(std::u16string(keyword.bstrVal), u"Chablis Premier Cru");
    EXPECT_EQ(std::u16string(suffix.bstrVal), u"Domaine des Vaux Clairs");
    EXPECT_EQ(again.bstrVal, keyword.bstrVal); // read once, kept
}

TEST_F(RecordsetTest, FieldsByPositionAndByNameFollowTheCurrentRow) {
    ASSERT_EQ(open(u"SELECT Land, Bezeichnung FROM Land ORDER BY Land"), S_OK);
    ado::Fields* fields = nullptr;
    ASSERT_EQ(recordset->get_Fields(&fields), S_OK);
    long columns = 0;
    fields->get_Count(&columns);
    EXPECT_EQ(columns, 2);
    VARIANT index;
    VariantInit(&index);
    index.vt = VT_UI2;
    index.uiVal = 1;
    ado::Field* second = nullptr;
    ASSERT_EQ(fields->get_Item(index, &second), S_OK);
    index.vt = VT_BSTR;
    index.bstrVal = SysAllocString(u"LAND");
    ado::Field* byName = nullptr;
    ASSERT_EQ(fields->get_Item(index, &byName), S_OK);
    VariantClear(&index);

    VARIANT v;
    second->get_Value(&v);
    EXPECT_EQ(std::u16string(v.bstrVal), u"Österreich");
    recordset->MoveNext();
    second->get_Value(&v);
    EXPECT_EQ(std::u16string(v.bstrVal), u"Deutschland");
    byName->get_Value(&v);
    EXPECT_EQ(std::u16string(v.bstrVal), u"D");

    index.vt = VT_I4;
    index.lVal = 2;
    ado::Field* missing = nullptr;
    EXPECT_EQ(fields->get_Item(index, &missing), ADO_E_ITEMNOTFOUND);
    EXPECT_EQ(missing, nullptr);
}

TEST_F(RecordsetTest, OpeningAgainClosesTheFirstQuery) {
    ASSERT_EQ(open(u"SELECT Land FROM Land ORDER BY Land"), S_OK);
    ASSERT_EQ(open(u"SELECT Bezeichnung FROM Land WHERE Land = 'P'"), S_OK);
    EXPECT_EQ(count(), 1);
    EXPECT_EQ(text(0), u"Portugal");
}

TEST_F(RecordsetTest, ClosedRecordsetRefusesToMoveOrRead) {
    ASSERT_EQ(open(u"SELECT Land FROM Land"), S_OK);
    EXPECT_EQ(recordset->Close(), S_OK);
    VARIANT_BOOL value;
    EXPECT_TRUE(FAILED(recordset->get_EOF(&value)));
    EXPECT_TRUE(FAILED(recordset->MoveNext()));
    EXPECT_TRUE(FAILED(recordset->Close()));
}

TEST_F(RecordsetTest, InsertAndDeleteTakeEffectDuringTheOpen) {
    EXPECT_EQ(
        open(u"INSERT INTO Lesezeichen (id_talvino, Beschreibung, Notiz) VALUES ('1001','Mein Chablis','')",
             ado::adOpenDynamic, ado::adLockOptimistic),
        S_OK);
    recordset->Close();
    EXPECT_EQ(catalogue.rows("SELECT id_talvino, typeof(id_talvino) FROM Lesezeichen"),
              (std::vector<std::vector<std::string>>{{"1001", "integer"}}));
    EXPECT_EQ(
        open(u"DELETE FROM Lesezeichen WHERE id_talvino = 1001", ado::adOpenDynamic, ado::adLockOptimistic),
        S_OK);
    recordset->Close();
    EXPECT_TRUE(catalogue.rows("SELECT * FROM Lesezeichen").empty());
}

TEST_F(RecordsetTest, AReadOnlyRecordsetDoesNotChangeData) {
    EXPECT_EQ(open(u"DELETE FROM Land", ado::adOpenStatic, ado::adLockReadOnly), E_FAIL);
    EXPECT_EQ(catalogue.rows("SELECT count(*) FROM Land")[0][0], "5");
}

TEST_F(RecordsetTest, SqlTheEngineRejectsFailsWithoutException) {
    EXPECT_EQ(open(u"SELECT * FROM talvino WHERE () ORDER by STICHWORT"), E_FAIL);
    EXPECT_EQ(open(u"SELECT Nichts FROM talvino"), E_FAIL);
    EXPECT_EQ(open(u"SELECT * FROM Fehlt"), E_FAIL);
    EXPECT_EQ(open(u""), E_FAIL);
    EXPECT_EQ(open(u"   "), E_FAIL);
    long state = 1;
    recordset->get_State(&state);
    EXPECT_EQ(state, 0);
}

TEST_F(RecordsetTest, OnlyOneStatementPerTextRuns) {
    EXPECT_EQ(open(u"SELECT Land FROM Land; DELETE FROM Land", ado::adOpenDynamic, ado::adLockOptimistic),
              E_FAIL);
    EXPECT_EQ(catalogue.rows("SELECT count(*) FROM Land")[0][0], "5");
    EXPECT_EQ(open(u"SELECT Land FROM Land;  \n"), S_OK);
}

TEST_F(RecordsetTest, BigIntegersAndRealsArriveAsReals) {
    ASSERT_EQ(open(u"SELECT 5000000000, 2.5, 7"), S_OK);
    VARIANT v;
    recordset->fieldValue(0, &v);
    EXPECT_EQ(v.vt, VT_R8);
    EXPECT_DOUBLE_EQ(v.dblVal, 5e9);
    recordset->fieldValue(1, &v);
    EXPECT_EQ(v.vt, VT_R8);
    EXPECT_EQ(number(2), 7);
}

TEST_F(RecordsetTest, ClosingTheConnectionClosesItsRecordset) {
    ASSERT_EQ(open(u"SELECT Land FROM Land", ado::adOpenDynamic, ado::adLockOptimistic), S_OK);
    EXPECT_EQ(connection->Close(), S_OK);
    long state = 1;
    recordset->get_State(&state);
    EXPECT_EQ(state, 0);
    EXPECT_EQ(open(u"SELECT Land FROM Land"), ADO_E_ILLEGALOPERATION);
}

TEST_F(RecordsetTest, TransactionCommitsOrRollsBackAsAWhole) {
    ASSERT_EQ(connection->BeginTrans(nullptr), S_OK);
    ASSERT_EQ(open(u"INSERT INTO Lesezeichen (id_talvino, Beschreibung, Notiz) VALUES ('1','a','b')",
                   ado::adOpenDynamic, ado::adLockOptimistic),
              S_OK);
    ASSERT_EQ(connection->RollbackTrans(), S_OK);
    EXPECT_TRUE(catalogue.rows("SELECT * FROM Lesezeichen").empty());
    ASSERT_EQ(connection->BeginTrans(nullptr), S_OK);
    ASSERT_EQ(open(u"INSERT INTO Lesezeichen (id_talvino, Beschreibung, Notiz) VALUES ('1','a','b')",
                   ado::adOpenDynamic, ado::adLockOptimistic),
              S_OK);
    ASSERT_EQ(connection->CommitTrans(), S_OK);
    EXPECT_EQ(catalogue.rows("SELECT count(*) FROM Lesezeichen")[0][0], "1");
    EXPECT_TRUE(FAILED(connection->CommitTrans()));
}

TEST_F(RecordsetTest, TheLikeOfTheFileIsTheCataloguesNotSqlites) {
    ASSERT_EQ(open(u"SELECT ID FROM talvino WHERE Stichwort_Klein LIKE '*chablis*'"), S_OK);
    EXPECT_EQ(count(), 1);
    ASSERT_EQ(open(u"SELECT ID FROM talvino WHERE Stichwort_Klein LIKE '%chablis%'"), S_OK);
    EXPECT_EQ(count(), 0);
    ASSERT_EQ(open(u"SELECT ID FROM talvino WHERE [Regio_Lang] like '*MOSEL*'"), S_OK);
    EXPECT_EQ(count(), 1);
    ASSERT_EQ(open(u"SELECT ID FROM talvino WHERE STICHWORT LIKE '*ÜRZIGER*'"), S_OK);
    EXPECT_EQ(count(), 1);
    ASSERT_EQ(open(u"SELECT ID FROM talvino WHERE NULL LIKE '*'"), S_OK);
    EXPECT_EQ(count(), 0);
}

TEST(RecordsetUtf16File, ReadsAndSearchesTheSameAsUtf8) {
    TestCatalogue catalogue;
    catalogue.addSampleContent();
    catalogue.build(catalogue::TextEncoding::Utf16);
    EXPECT_EQ(catalogue.rows("PRAGMA encoding")[0][0], "UTF-16le");
    ado::Connection* connection = ado::createConnection();
    const std::u16string path = ado::toUtf16(catalogue.path());
    ASSERT_EQ(connection->Open(path.c_str(), u"", u"", -1), S_OK);
    ado::Recordset* recordset = ado::testing::recordsetOn(connection);
    ASSERT_EQ(ado::openRecordset(recordset,
                                 u"SELECT STICHWORT FROM talvino WHERE Stichwort_Klein LIKE '*ürzig*'",
                                 ado::adOpenStatic, ado::adLockReadOnly),
              S_OK);
    long n = 0;
    recordset->get_RecordCount(&n);
    ASSERT_EQ(n, 1);
    VARIANT v;
    recordset->fieldValue(0, &v);
    EXPECT_EQ(std::u16string(v.bstrVal), u"Ürziger Würzgarten Riesling Spätlese");
    recordset->Release();
    connection->Release();
}

// A static cursor over a few thousand rows: the open counts them all but keeps only the first;
// the rows after them come from the statement, run again where the caller goes back.
class StaticCursorOverManyRows : public ::testing::TestWithParam<catalogue::TextEncoding> {
  protected:
    static constexpr int kEntries = 3000;
    static constexpr int kFirstId = 20000;

    void SetUp() override {
        catalogue.addNumberedEntries(kEntries, kFirstId, u"F", u"Bordeaux");
        catalogue.build(GetParam());
        connection = ado::createConnection();
        const std::u16string path = ado::toUtf16(catalogue.path());
        ASSERT_EQ(connection->Open(path.c_str(), u"", u"", -1), S_OK) << ado::lastError();
        HRESULT bound = E_FAIL;
        recordset = ado::testing::recordsetOn(connection, &bound);
        ASSERT_EQ(bound, S_OK);
        // Descending, so that the order is the statement's and not the table's.
        ASSERT_EQ(ado::openRecordset(recordset, kSql, ado::adOpenStatic, ado::adLockReadOnly), S_OK)
            << ado::lastError();
    }
    void TearDown() override {
        if (recordset) recordset->Release();
        if (connection) connection->Release();
    }

    // The row's ID and description as "ID|text", or what went wrong.
    std::string row() {
        VARIANT id, text;
        if (recordset->fieldValue(0, &id) != S_OK || id.vt != VT_I4) return "<no id>";
        if (recordset->fieldValue(1, &text) != S_OK || text.vt != VT_BSTR) return "<no text>";
        return std::to_string(id.lVal) + "|" + ado::toUtf8(text.bstrVal);
    }
    bool eof() {
        VARIANT_BOOL value = VARIANT_FALSE;
        recordset->get_EOF(&value);
        return value != VARIANT_FALSE;
    }
    void moveTo(int index) {
        recordset->MoveFirst();
        for (int i = 0; i < index; ++i)
            recordset->MoveNext();
    }
    // SQLite's own answer, row by row.
    std::vector<std::string> expectedRows() const {
        std::vector<std::string> rows;
        for (const auto& r : catalogue.rows(ado::toUtf8(kSql)))
            rows.push_back(r[0] + "|" + r[1]);
        return rows;
    }

    static constexpr const char16_t* kSql =
        u"SELECT ID, Beschreibung FROM talvino WHERE Rot > 0 ORDER BY ID DESC";
    TestCatalogue catalogue;
    ado::Connection* connection = nullptr;
    ado::Recordset* recordset = nullptr;
};

TEST_P(StaticCursorOverManyRows, CountsEveryRowAndWalksThemAllInOrder) {
    const std::vector<std::string> expected = expectedRows();
    ASSERT_EQ(expected.size(), static_cast<std::size_t>(kEntries));
    long count = 0;
    ASSERT_EQ(recordset->get_RecordCount(&count), S_OK);
    EXPECT_EQ(count, kEntries);
    std::vector<std::string> seen;
    for (recordset->MoveFirst(); !eof(); recordset->MoveNext())
        seen.push_back(row());
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(recordset->MoveNext(), ADO_E_NOCURRENTRECORD);
}

TEST_P(StaticCursorOverManyRows, RowsPastTheEightiethReadTheSameAfterGoingBack) {
    const std::vector<std::string> expected = expectedRows();
    ASSERT_EQ(expected.size(), static_cast<std::size_t>(kEntries));
    // Forward past the first rows, back to the start, and to rows on either side of any limit.
    for (int index : {79, 80, 81, 500, 2999, 0, 127, 128, 129, 1500, 200, 80, 2999}) {
        moveTo(index);
        ASSERT_FALSE(eof()) << index;
        EXPECT_EQ(row(), expected[static_cast<std::size_t>(index)]) << index;
        EXPECT_EQ(row(), expected[static_cast<std::size_t>(index)]) << index << ", read twice";
    }
    long count = 0;
    recordset->get_RecordCount(&count);
    EXPECT_EQ(count, kEntries) << "moving does not change the count";
}

TEST_P(StaticCursorOverManyRows, MovingWithoutReadingEndsAtTheCount) {
    int moves = 0;
    for (recordset->MoveFirst(); !eof(); recordset->MoveNext())
        ++moves;
    EXPECT_EQ(moves, kEntries);
    VARIANT v;
    EXPECT_EQ(recordset->fieldValue(0, &v), ADO_E_NOCURRENTRECORD);
}

TEST_P(StaticCursorOverManyRows, ARowGoneFromTheFileSinceTheOpenReadsAsNoCurrentRecord) {
    const std::vector<std::string> before = expectedRows();
    catalogue.execute("DELETE FROM talvino WHERE ID < " + std::to_string(kFirstId + 1000));
    moveTo(kEntries - 1);
    ASSERT_FALSE(eof()); // the count is the open's
    VARIANT v;
    EXPECT_EQ(recordset->fieldValue(0, &v), ADO_E_NOCURRENTRECORD);
    moveTo(5);
    EXPECT_EQ(row(), before[5]);
}

std::vector<std::thread::id> busyCallers;
void noteBusyCaller() {
    busyCallers.push_back(std::this_thread::get_id());
}

TEST_P(StaticCursorOverManyRows, WithABusyHookTheOpenCountsAlikeAndCallsItOnTheOpeningThreadOnly) {
    busyCallers.clear();
    ado::setBusyHook(noteBusyCaller); // takes effect for connections opened from now on
    ado::Connection* hooked = ado::createConnection();
    const std::u16string path = ado::toUtf16(catalogue.path());
    ASSERT_EQ(hooked->Open(path.c_str(), u"", u"", -1), S_OK);
    ado::Recordset* rows = ado::testing::recordsetOn(hooked);
    ASSERT_EQ(ado::openRecordset(rows, kSql, ado::adOpenStatic, ado::adLockReadOnly), S_OK);
    ado::setBusyHook(nullptr);
    long count = 0;
    rows->get_RecordCount(&count);
    EXPECT_EQ(count, kEntries);
    const std::vector<std::string> expected = expectedRows();
    std::swap(rows, recordset);
    for (int index : {0, 127, 128, 2999}) {
        moveTo(index);
        EXPECT_EQ(row(), expected[static_cast<std::size_t>(index)]) << index;
    }
    std::swap(rows, recordset);
    for (const std::thread::id caller : busyCallers)
        EXPECT_EQ(caller, std::this_thread::get_id());
    rows->Release();
    hooked->Release();
}

INSTANTIATE_TEST_SUITE_P(FileEncodings, StaticCursorOverManyRows,
                         ::testing::Values(catalogue::TextEncoding::Utf8, catalogue::TextEncoding::Utf16),
                         catalogue::EncodingTestName());

} // namespace
