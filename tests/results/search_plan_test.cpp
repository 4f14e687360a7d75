// The results screen opens every search with a static cursor, which reads it through a cheaper
// plan than the statement as written. For the searches of the results tests and for thousands of
// random forms on a synthetic catalogue, both give the same count and the same rows in the same
// order.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "platform/data/ado.h"
#include "platform/data/testing.h"
#include "platform/data/utf.h"
#include "search/query_builder.h"
#include "tests/support/test_catalogue.h"
#include "tools/catalogue/verifier.h"

namespace {

class SearchPlan : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        catalogue = new TestCatalogue;
        // Small enough for thousands of searches, large enough for several windows past the kept
        // rows; its keywords repeat, so that ties are many.
        catalogue->content() = catalogue::synthContent(600, 31);
        catalogue->build();
        connection = ado::createConnection();
        const std::u16string path = ado::toUtf16(catalogue->path());
        ASSERT_EQ(connection->Open(path.c_str(), u"", u"", -1), S_OK) << ado::lastError();
    }
    static void TearDownTestSuite() {
        connection->Release();
        delete catalogue;
    }

    struct Reading {
        bool opened = false;
        bool planned = false;
        long count = -1;
        std::vector<long> ids;
    };
    // The count and the IDs of every row, through a static cursor or the statement as written.
    static Reading read(const std::u16string& sql, long cursor) {
        Reading reading;
        ado::Recordset* recordset = ado::testing::recordsetOn(connection);
        reading.opened = ado::openRecordset(recordset, sql.c_str(), cursor, ado::adLockReadOnly) == S_OK;
        if (reading.opened) {
            reading.planned = ado::testing::readsThroughCheaperPlan(recordset);
            recordset->get_RecordCount(&reading.count);
            VARIANT_BOOL eof = VARIANT_TRUE;
            for (recordset->get_EOF(&eof); !eof; recordset->MoveNext(), recordset->get_EOF(&eof)) {
                VARIANT id;
                reading.ids.push_back(recordset->fieldValue(0, &id) == S_OK && id.vt == VT_I4 ? id.lVal : -1);
            }
        }
        recordset->Release();
        return reading;
    }
    static void expectAlike(const std::u16string& sql) {
        const Reading asWritten = read(sql, ado::adOpenDynamic);
        const Reading planned = read(sql, ado::adOpenStatic);
        // A form with nothing ticked makes a statement the engine refuses, either way.
        EXPECT_EQ(planned.opened, asWritten.opened) << ado::toUtf8(sql);
        if (!asWritten.opened) return;
        EXPECT_TRUE(planned.planned) << ado::toUtf8(sql);
        EXPECT_EQ(planned.count, static_cast<long>(asWritten.ids.size())) << ado::toUtf8(sql);
        EXPECT_EQ(planned.ids, asWritten.ids) << ado::toUtf8(sql);
    }

    static TestCatalogue* catalogue;
    static ado::Connection* connection;
};

TestCatalogue* SearchPlan::catalogue = nullptr;
ado::Connection* SearchPlan::connection = nullptr;

TEST_F(SearchPlan, TheResultsTestsSearchesReadAlike) {
    // The conditions the results tests search for, in the statement every search has.
    for (const char16_t* condition : {u"ID > 0", u"Braun > 0", u"Land = 'F' AND Rot > 0", u"ID = 1003",
                                      u"Land = 'XX'", u"Rot > 0", u"ID = 2005"})
        expectAlike(u"SELECT * FROM talvino WHERE (" + std::u16string(condition) + u") ORDER by STICHWORT");
}

TEST_F(SearchPlan, RandomFormsReadAlike) {
    struct Country {
        const char16_t* name;
        const char16_t* code;
    };
    const Country countries[] = {{u"Frankreich", u"F"}, {u"Deutschland", u"D"}, {u"Österreich", u"A"},
                                 {u"Italien", u"I"},    {u"Spanien", u"E"},     {u"Atlantis", u"\n"}};
    const char16_t* const terms[] = {u"",      u"ries", u"burg", u"cab", u"ö",       u"grand cru",
                                     u"o'neil", u"*",    u"?r",   u"SP", u"lagen*w", u"e"};
    const char16_t* const regions[] = {u"", u"Mosel", u"Rhône", u"Bordeaux", u"tal", u"ZZZ"};
    std::mt19937 random(2006);
    auto pick = [&random](std::size_t n) { return static_cast<std::size_t>(random() % n); };
    auto coin = [&random](int percent) { return static_cast<int>(random() % 100) < percent; };
    for (int form = 0; form < 2500; ++form) {
        SearchCriteria criteria;
        std::u16string code = u"\n";
        if (coin(40)) {
            const Country& country = countries[pick(std::size(countries))];
            criteria.countryName = country.name;
            criteria.countryNameLength = static_cast<int>(criteria.countryName.size());
            code = country.code;
        }
        criteria.searchTerm = terms[pick(std::size(terms))];
        criteria.fullText = coin(30);
        if (coin(25)) criteria.regionName = regions[pick(std::size(regions))];
        criteria.red = coin(35);
        criteria.white = coin(35);
        criteria.rose = coin(15);
        criteria.brown = coin(10);
        criteria.dry = coin(20);
        criteria.mediumSweet = coin(10);
        criteria.sweet = coin(10);
        criteria.sparkling = coin(10);
        if (coin(40)) {
            criteria.qualityLevel = static_cast<std::int16_t>(1 + pick(4));
            criteria.especiallyGood = coin(50);
        }
        expectAlike(composeSearchStatement(criteria, code));
        if (HasFailure()) break; // one form's report is enough
    }
}

} // namespace
