// Every statement the screens send, run against a small catalogue, rows checked.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/data/ado.h"
#include "platform/data/testing.h"
#include "platform/data/utf.h"
#include "tests/support/test_catalogue.h"

namespace {

// Encodes like the search does, with the catalogue's codec values (checked in the codec tests).
std::u16string scrambled(std::u16string text) {
    for (char16_t& c : text)
        c = static_cast<char16_t>(static_cast<char16_t>(c ^ 0x5C) + 0x0600);
    return text;
}

class DialectTest : public ::testing::TestWithParam<catalogue::TextEncoding> {
  protected:
    void SetUp() override {
        catalogue.addSampleContent();
        catalogue.build(GetParam());
        connection = ado::createConnection();
        const std::u16string path = ado::toUtf16(catalogue.path());
        ASSERT_EQ(connection->Open(path.c_str(), u"", u"", -1), S_OK);
        recordset = ado::testing::recordsetOn(connection);
    }
    void TearDown() override {
        recordset->Release();
        connection->Release();
    }

    // Each row's columns as text, joined by '|'; NULL as "NULL".
    std::vector<std::string> rows(const std::u16string& sql, int columns = 1, long cursor = ado::adOpenStatic,
                                  long lock = ado::adLockReadOnly) {
        std::vector<std::string> result;
        const HRESULT hr = ado::openRecordset(recordset, sql.c_str(), cursor, lock);
        EXPECT_EQ(hr, S_OK) << ado::toUtf8(sql) << ": " << ado::lastError();
        if (FAILED(hr)) return {"<failed>"};
        VARIANT_BOOL eof = VARIANT_FALSE;
        for (recordset->get_EOF(&eof); !eof; recordset->MoveNext(), recordset->get_EOF(&eof)) {
            std::string row;
            for (int i = 0; i < columns; ++i) {
                VARIANT v;
                recordset->fieldValue(i, &v);
                if (i) row += "|";
                if (v.vt == VT_BSTR)
                    row += ado::toUtf8(v.bstrVal);
                else if (v.vt == VT_I4)
                    row += std::to_string(v.lVal);
                else
                    row += "NULL";
                VariantClear(&v);
            }
            result.push_back(row);
        }
        recordset->Close();
        return result;
    }
    bool runs(const std::u16string& sql) {
        const HRESULT hr =
            ado::openRecordset(recordset, sql.c_str(), ado::adOpenDynamic, ado::adLockOptimistic);
        recordset->Close();
        return SUCCEEDED(hr);
    }

    TestCatalogue catalogue;
    ado::Connection* connection = nullptr;
    ado::Recordset* recordset = nullptr;
};

using Rows = std::vector<std::string>;

TEST_P(DialectTest, SearchFormLists) {
    // German dictionary order: Ö sorts as O.
    EXPECT_EQ(rows(u"SELECT Bezeichnung from Land ORDER by Bezeichnung"),
              (Rows{"Deutschland", "Frankreich", "Österreich", "Portugal", "Spanien"}));
    EXPECT_EQ(rows(u"SELECT Region.REGIO_LANG FROM Region ORDER BY Region.ID_REGION"),
              (Rows{"Champagne", "Burgund", "Beaujolais", "Bordeaux", "Rioja", "Douro", "Mosel", "Wachau"}));
    EXPECT_EQ(rows(u"select Regio_Lang from Region where Land = 'F' order by Regio_Lang"),
              (Rows{"Beaujolais", "Bordeaux", "Burgund", "Champagne"}));
    EXPECT_EQ(rows(u"select Land from Land where Bezeichnung = 'Österreich'"), (Rows{"A"}));
    EXPECT_EQ(rows(u"SELECT Land FROM Land WHERE Bezeichnung = 'Spanien'"), (Rows{"E"}));
}

TEST_P(DialectTest, SearchStatementsOfTheQueryBuilder) {
    EXPECT_EQ(rows(u"SELECT * FROM talvino WHERE ((Land = 'F')) ORDER by STICHWORT", 2),
              (Rows{"1002|Beaujolais Villages", "1003|NULL", "1001|Chablis Premier Cru",
                    "1004|Champagne Rosé Brut"}));
    EXPECT_EQ(
        rows(u"SELECT * FROM talvino WHERE (  ((Stichwort_Klein LIKE '*riesling*')))  ORDER by STICHWORT"),
        (Rows{"5001"}));
    EXPECT_EQ(rows(u"SELECT * FROM talvino WHERE (  (Regio_Lang LIKE '*Bordeaux*')) ORDER by STICHWORT"),
              (Rows{"1003"}));
    EXPECT_EQ(rows(u"SELECT * FROM talvino WHERE (  (\n (Rot > 0))) ORDER by STICHWORT"),
              (Rows{"1002", "1003", "3001"}));
    EXPECT_EQ(rows(u"SELECT * FROM talvino WHERE (   (((Qualitaet1 <= 5) AND (Qualitaet2 >= 5)))) ORDER by "
                   u"STICHWORT"),
              (Rows{"1004", "3001"}));
    // The worked example: country, term, region, colours, taste, quality level 3.
    EXPECT_EQ(
        rows(
            u"SELECT * FROM talvino WHERE ((Land = 'D') AND ((Stichwort_Klein LIKE '*riesling*')))  AND ( "
            u"(Regio_Lang LIKE '*Mosel*') AND (\n (Weiss > 0)) AND (\n (Lieblich > 0)) AND  (( (((Qualitaet1 "
            u"= 3) OR (Qualitaet2 = 3)) OR ((Qualitaet1 = 7) OR (Qualitaet2 = 7)))))) ORDER by STICHWORT"),
        (Rows{"5001"}));
    EXPECT_EQ(
        rows(u"SELECT * FROM talvino WHERE (  (\n (Rot > 0) OR (Weiss > 0)) AND (\n (Trocken > 0))) ORDER by "
             u"STICHWORT"),
        (Rows{"1001", "1004", "3001"}));
}

TEST_P(DialectTest, FullTextSearchComparesTheEncodedLowerCaseDescription) {
    const std::u16string term = u"würz"; // in "Würzig" of the Riesling and "Würze" of the Chablis
    const std::u16string sql = u"SELECT * FROM talvino WHERE (  ((Stichwort_Klein LIKE '*" + term +
                               u"*') OR ([Text_Klein] like '*" + scrambled(term) +
                               u"*') OR ([Regio_Lang] like '*" + term + u"*')))  ORDER by STICHWORT";
    EXPECT_EQ(rows(sql), (Rows{"1001", "5001"}));
    const std::u16string euro =
        u"SELECT ID FROM talvino WHERE [Text_Klein] like '*" + scrambled(u"20 €") + u"*'";
    EXPECT_EQ(rows(euro), (Rows{"1004"}));
    const std::u16string dash =
        u"SELECT ID FROM talvino WHERE [Text_Klein] like '*" + scrambled(u"brioche —") + u"*'";
    EXPECT_EQ(rows(dash), (Rows{"1004"}));
}

TEST_P(DialectTest, TheEmptySearchIsRejected) {
    EXPECT_FALSE(runs(u"SELECT * FROM talvino WHERE () ORDER by STICHWORT"));
}

TEST_P(DialectTest, ResultsAndDetailQueries) {
    EXPECT_EQ(rows(u"select * from talvino where ID = 5001", 5),
              (Rows{"5001|Ürziger Würzgarten Riesling Spätlese|" +
                    ado::toUtf8(scrambled(u"Würzig, mit Pfirsich und Schiefer; ÄÖÜ-Test: "
                                          u"Öchsle über 90.")) +
                    "|Ürziger Würzgarten Riesling Spätlese|Weingut Kellerbach"}));
    EXPECT_EQ(rows(u"select Land from talvino where ID = 3001"), (Rows{"E"}));
    EXPECT_EQ(rows(u"select Bezeichnung from Land where Land = 'E'"), (Rows{"Spanien"}));
    EXPECT_EQ(rows(u"select REGIO_LANG from talvino where ID = 3001"), (Rows{"Rioja"}));
    EXPECT_EQ(rows(u"select STICHWORT from talvino where ID = 3001"), (Rows{"Rioja Reserva"}));
    // Both spellings of the region column reach the same column.
    EXPECT_EQ(rows(u"select Regio_Lang from talvino where ID = 3001"),
              rows(u"select REGIO_LANG from talvino where ID = 3001"));
}

TEST_P(DialectTest, BookmarkStatements) {
    EXPECT_TRUE(runs(u"INSERT INTO Lesezeichen (id_talvino, Beschreibung, Notiz) VALUES ('1001','Chablis für "
                     u"Freitag','Zu Austern, gut gekühlt')"));
    EXPECT_TRUE(
        runs(u"INSERT INTO Lesezeichen (id_talvino, Beschreibung, Notiz) VALUES ('3001','Rioja','Omas "
             u"''Lieblings''wein')"));
    EXPECT_EQ(
        rows(u"SELECT * from Lesezeichen", 4),
        (Rows{"1|1001|Chablis für Freitag|Zu Austern, gut gekühlt", "2|3001|Rioja|Omas 'Lieblings'wein"}));
    EXPECT_EQ(rows(u"select id_talvino from Lesezeichen where id_talvino = 3001"), (Rows{"3001"}));
    EXPECT_EQ(rows(u"select Beschreibung from Lesezeichen where id_talvino = 1001"),
              (Rows{"Chablis für Freitag"}));
    EXPECT_EQ(rows(u"select Notiz from Lesezeichen where id_talvino = 3001"), (Rows{"Omas 'Lieblings'wein"}));
    EXPECT_TRUE(runs(u"DELETE FROM Lesezeichen WHERE id_talvino = 1001"));
    EXPECT_TRUE(rows(u"select id_talvino from Lesezeichen where id_talvino = 1001").empty());
    // A new bookmark goes after every earlier one, even after deletions.
    EXPECT_TRUE(runs(u"INSERT INTO Lesezeichen (id_talvino, Beschreibung, Notiz) VALUES ('1001','Neu','')"));
    EXPECT_EQ(rows(u"SELECT * from Lesezeichen", 2), (Rows{"2|3001", "3|1001"}));
}

TEST_P(DialectTest, GrapeVarieties) {
    EXPECT_EQ(rows(u"SELECT Rebsorte from Rebsorten WHERE Farbe = 1 ORDER BY ID_Rebsorte"),
              (Rows{"Spätburgunder", "Tempranillo"}));
    EXPECT_EQ(rows(u"SELECT Rebsorte from Rebsorten WHERE Farbe = 2 ORDER BY ID_Rebsorte"),
              (Rows{"Riesling", "Grüner Veltliner"}));
    EXPECT_EQ(rows(u"SELECT [Text] from Rebsorten WHERE [Rebsorte] LIKE 'Grüner Veltliner*' "),
              (Rows{ado::toUtf8(scrambled(u"Pfeffrig und frisch, die Sorte Österreichs."))}));
    EXPECT_EQ(rows(u"SELECT [Text] from Rebsorten WHERE [Rebsorte] LIKE 'spät*' ").size(), 1u);
}

TEST_P(DialectTest, KeywordsInAnyCaseAndBracketedNames) {
    EXPECT_EQ(rows(u"sElEcT [Land] fRoM [Land] wHeRe [Bezeichnung] = 'Portugal'"), (Rows{"P"}));
}

INSTANTIATE_TEST_SUITE_P(BothEncodings, DialectTest,
                         ::testing::Values(catalogue::TextEncoding::Utf8, catalogue::TextEncoding::Utf16),
                         catalogue::EncodingTestName());

} // namespace
