#include "platform/data/static_plan.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/data/ado.h"
#include "platform/data/testing.h"
#include "platform/data/utf.h"
#include "tests/support/test_catalogue.h"
#include "tools/catalogue/verifier.h"

namespace {

TEST(StaticPlanShapes, OnlyAPlainSortedSelectOfOneTableIsRewritten) {
    const struct {
        const char16_t* sql;
        bool rewritten;
    } cases[] = {
        {u"SELECT * FROM talvino WHERE ( (Rot > 0)) ORDER by STICHWORT", true},
        {u"select * from talvino where Land = 'F' order by STICHWORT desc, ID;  ", true},
        {u"SELECT * FROM talvino ORDER BY STICHWORT COLLATE BINARY", true},
        {u"SELECT * FROM [talvino] WHERE (Stichwort_Klein LIKE '*order by*') ORDER BY talvino.STICHWORT", true},
        {u"SELECT * FROM talvino WHERE Land IN (SELECT Land FROM Land) ORDER BY STICHWORT", true},
        {u"SELECT * FROM talvino WHERE Rot > 0", false},
        {u"SELECT ID, STICHWORT FROM talvino ORDER BY STICHWORT", false},
        {u"SELECT DISTINCT * FROM talvino ORDER BY STICHWORT", false},
        {u"SELECT * FROM talvino WHERE Rot > 0 ORDER BY STICHWORT LIMIT 5", false},
        {u"SELECT * FROM talvino WHERE Rot > 0 GROUP BY Land ORDER BY STICHWORT", false},
        {u"SELECT * FROM talvino ORDER BY 2", false},
        {u"SELECT * FROM talvino ORDER BY lower(STICHWORT)", false},
        {u"SELECT * FROM talvino t WHERE t.Rot > 0 ORDER BY STICHWORT", false},
        {u"SELECT * FROM talvino, Land WHERE talvino.Land = Land.Land ORDER BY STICHWORT", false},
        {u"SELECT * FROM talvino WHERE ID > ? ORDER BY STICHWORT", false},
        {u"SELECT * FROM talvino WHERE Rot > 0 -- red\nORDER BY STICHWORT", false},
        {u"SELECT * FROM talvino WHERE (Rot > 0 ORDER BY STICHWORT", false},
        {u"SELECT * FROM talvino WHERE Name = 'open ORDER BY STICHWORT", false},
        {u"SELECT * FROM talvino ORDER BY STICHWORT UNION SELECT * FROM talvino ORDER BY ID", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ado::staticPlanFor(c.sql).has_value(), c.rewritten) << ado::toUtf8(c.sql);
}

// A static cursor (the cheaper plan where the shape allows) against a dynamic one (the statement
// as written), on a synthetic catalogue whose keywords repeat, so that ties are many.
class StaticPlanReading : public ::testing::TestWithParam<catalogue::TextEncoding> {
  protected:
    static constexpr int kEntries = 700;

    void SetUp() override {
        catalogue.content() = catalogue::synthContent(kEntries, 17);
        catalogue.build(GetParam());
        connection = ado::createConnection();
        const std::u16string path = ado::toUtf16(catalogue.path());
        ASSERT_EQ(connection->Open(path.c_str(), u"", u"", -1), S_OK) << ado::lastError();
    }
    void TearDown() override {
        if (connection) connection->Release();
    }

    ado::Recordset* open(const std::u16string& sql, long cursor) {
        ado::Recordset* recordset = ado::testing::recordsetOn(connection);
        EXPECT_EQ(ado::openRecordset(recordset, sql.c_str(), cursor, ado::adLockReadOnly), S_OK)
            << ado::toUtf8(sql) << ": " << ado::lastError();
        return recordset;
    }
    // The current row, every column, or why there is none.
    static std::string row(ado::Recordset* recordset) {
        ado::Fields* fields = nullptr;
        long columns = 0;
        if (recordset->get_Fields(&fields) != S_OK || fields->get_Count(&columns) != S_OK) return "<no fields>";
        std::string text;
        for (long i = 0; i < columns; ++i) {
            VARIANT v;
            const HRESULT hr = recordset->fieldValue(i, &v);
            if (hr != S_OK) return "<no row: " + std::to_string(hr) + ">";
            if (v.vt == VT_I4)
                text += std::to_string(v.lVal);
            else if (v.vt == VT_BSTR)
                text += ado::toUtf8(v.bstrVal);
            else
                text += "<" + std::to_string(v.vt) + ">";
            text += "|";
            VariantClear(&v);
        }
        return text;
    }
    static bool eof(ado::Recordset* recordset) {
        VARIANT_BOOL value = VARIANT_TRUE;
        recordset->get_EOF(&value);
        return value != VARIANT_FALSE;
    }
    // Every row of the statement as written.
    std::vector<std::string> asWritten(const std::u16string& sql) {
        ado::Recordset* recordset = open(sql, ado::adOpenDynamic);
        std::vector<std::string> rows;
        for (; !eof(recordset); recordset->MoveNext())
            rows.push_back(row(recordset));
        recordset->Release();
        return rows;
    }
    // Moves a static cursor to `index` from its first row.
    static void moveTo(ado::Recordset* recordset, long index) {
        recordset->MoveFirst();
        for (long i = 0; i < index; ++i)
            recordset->MoveNext();
    }

    TestCatalogue catalogue;
    ado::Connection* connection = nullptr;
};

TEST_P(StaticPlanReading, EveryShapeCountsAndReadsAsTheStatementAsWritten) {
    // The screens' shape, others the plan also takes, and shapes it must leave alone: run as the
    // plan would run them, LIMIT, GROUP BY, a number or a function as the sort key or a join would
    // count or order differently.
    const struct {
        const char16_t* sql;
        bool planned;
    } statements[] = {
        {u"SELECT * FROM talvino WHERE ( (Rot > 0)) ORDER by STICHWORT", true},
        {u"SELECT * FROM talvino WHERE ((Land = 'F') AND (Weiss > 0)) ORDER by STICHWORT", true},
        {u"SELECT * FROM talvino WHERE ( ((Stichwort_Klein LIKE '*ries*'))) ORDER by STICHWORT", true},
        {u"select * from talvino where Qualitaet1 >= 3 order by STICHWORT desc", true},
        {u"SELECT * FROM talvino ORDER BY Land, STICHWORT COLLATE BINARY DESC", true},
        // Hundreds of rows to a sort key: ties run across every window.
        {u"SELECT * FROM talvino WHERE Weiss = 0 ORDER BY Land", true},
        {u"SELECT * FROM talvino WHERE Land = 'XX' ORDER by STICHWORT", true},
        {u"SELECT * FROM Land ORDER BY Bezeichnung", true},
        {u"SELECT * FROM talvino WHERE ID BETWEEN 300 AND 500 ORDER BY STICHWORT", true},
        // Ties would come in the order of the subquery's index, not the table's.
        {u"SELECT * FROM talvino WHERE Land IN (SELECT Land FROM Land WHERE Land < 'F') ORDER BY STICHWORT",
         false},
        {u"SELECT * FROM talvino WHERE Rot > 0 ORDER BY STICHWORT LIMIT 150 OFFSET 3", false},
        {u"SELECT * FROM talvino WHERE Rot > 0 GROUP BY Land ORDER BY Land", false},
        {u"SELECT * FROM talvino WHERE Weiss > 0 ORDER BY 4, 1", false},
        {u"SELECT * FROM talvino WHERE Weiss > 0 ORDER BY length(Name), ID", false},
        {u"SELECT ID, STICHWORT FROM talvino WHERE Braun = 0 ORDER BY STICHWORT", false},
        {u"SELECT DISTINCT Land FROM talvino ORDER BY Land", false},
        {u"SELECT talvino.* FROM talvino, Land WHERE talvino.Land = Land.Land ORDER BY STICHWORT", false},
    };
    for (const auto& statement : statements) {
        const std::u16string sql = statement.sql;
        const std::vector<std::string> expected = asWritten(sql);
        ado::Recordset* recordset = open(sql, ado::adOpenStatic);
        EXPECT_EQ(ado::testing::readsThroughCheaperPlan(recordset), statement.planned) << ado::toUtf8(sql);
        long count = -1;
        recordset->get_RecordCount(&count);
        EXPECT_EQ(count, static_cast<long>(expected.size())) << ado::toUtf8(sql);
        std::vector<std::string> seen;
        for (recordset->MoveFirst(); !eof(recordset); recordset->MoveNext())
            seen.push_back(row(recordset));
        EXPECT_EQ(seen, expected) << ado::toUtf8(sql);
        recordset->Release();
    }
}

TEST_P(StaticPlanReading, RowsPastTheKeptOnesReadAlikeInAnyOrder) {
    const std::u16string sql = u"SELECT * FROM talvino WHERE ( (Rot > 0) OR (Weiss > 0)) ORDER by STICHWORT";
    const std::vector<std::string> expected = asWritten(sql);
    const long count = static_cast<long>(expected.size());
    ASSERT_GT(count, 400);
    ado::Recordset* recordset = open(sql, ado::adOpenStatic);
    ASSERT_TRUE(ado::testing::readsThroughCheaperPlan(recordset));
    std::vector<long> order = {count - 1, 0, 127, 128, 129, 300, 255, 256, 254, 128, 127, count - 1, 200};
    for (long i = count - 1; i > count - 140; --i)
        order.push_back(i); // backwards, row by row
    std::mt19937 random(5);
    for (int i = 0; i < 60; ++i)
        order.push_back(static_cast<long>(random() % static_cast<unsigned>(count)));
    for (const long index : order) {
        moveTo(recordset, index);
        EXPECT_EQ(row(recordset), expected[static_cast<std::size_t>(index)]) << index;
    }
    recordset->Release();
}

TEST_P(StaticPlanReading, ARowGoneSinceTheOpenReadsAsTheStatementRunNow) {
    // Counted from the index, and (the description is not in it) by the sorted row ids.
    for (const char16_t* sql :
         {u"SELECT * FROM talvino WHERE ( (Rot > 0) OR (Weiss > 0)) ORDER by STICHWORT",
          u"SELECT * FROM talvino WHERE ( (Rot > 0) OR (Weiss > 0) OR (Beschreibung IS NULL)) ORDER by STICHWORT"}) {
        const std::vector<std::string> before = asWritten(sql);
        ado::Recordset* recordset = open(sql, ado::adOpenStatic);
        ASSERT_TRUE(ado::testing::readsThroughCheaperPlan(recordset));
        catalogue.execute("DELETE FROM talvino WHERE ID IN (SELECT ID FROM talvino WHERE Rot > 0 OR Weiss > 0 "
                          "ORDER BY ID LIMIT 30)");
        const std::vector<std::string> now = asWritten(sql);
        ASSERT_EQ(now.size() + 30, before.size());
        long count = 0;
        recordset->get_RecordCount(&count);
        EXPECT_EQ(count, static_cast<long>(before.size())) << "the count is the open's";
        // The first rows were read at the open; later ones are the statement's rows as it runs now.
        for (const long index : {0L, 5L, 127L, 128L, 300L, count - 31, count - 30, count - 1, 140L}) {
            moveTo(recordset, index);
            const auto at = static_cast<std::size_t>(index);
            const std::string gone = "<no row: " + std::to_string(ADO_E_NOCURRENTRECORD) + ">";
            const std::string expected = index < 128 ? before[at] : at < now.size() ? now[at] : gone;
            EXPECT_EQ(row(recordset), expected) << ado::toUtf8(sql) << ", row " << index;
        }
        recordset->Release();
    }
}

INSTANTIATE_TEST_SUITE_P(FileEncodings, StaticPlanReading,
                         ::testing::Values(catalogue::TextEncoding::Utf8, catalogue::TextEncoding::Utf16),
                         catalogue::EncodingTestName());

} // namespace
