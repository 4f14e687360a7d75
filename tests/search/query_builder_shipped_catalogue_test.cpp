// The search statements on the shipped catalogue, through the program's data-access component:
// German order of the lists and results, and the same hits for a term in either case.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "db/schema.h"
#include "db/text_codec.h"
#include "platform/data/ado.h"
#include "platform/data/german_order.h"
#include "platform/data/letter_case.h"
#include "platform/data/testing.h"
#include "platform/data/utf.h"
#include "search/query_builder.h"

namespace {

using Texts = std::vector<std::u16string>;

class ShippedCatalogueSearch : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        connection = ado::createConnection();
        const std::u16string path = ado::toUtf16(TALVINO_SHIPPED_CATALOGUE);
        ASSERT_EQ(connection->Open(path.c_str(), u"", u"", -1), S_OK) << ado::lastError();
        recordset = ado::testing::recordsetOn(connection);
    }
    static void TearDownTestSuite() {
        recordset->Release();
        connection->Release();
    }

    // Column `column` of every row, NULL as the empty text.
    static Texts column(const std::u16string& sql, int column = 0) {
        Texts texts;
        const HRESULT hr = ado::openRecordset(recordset, sql.c_str(), ado::adOpenStatic, ado::adLockReadOnly);
        EXPECT_EQ(hr, S_OK) << ado::toUtf8(sql) << ": " << ado::lastError();
        if (FAILED(hr)) return texts;
        VARIANT_BOOL eof = VARIANT_FALSE;
        for (recordset->get_EOF(&eof); !eof; recordset->MoveNext(), recordset->get_EOF(&eof)) {
            VARIANT v;
            recordset->fieldValue(column, &v);
            if (v.vt == VT_BSTR)
                texts.emplace_back(v.bstrVal);
            else if (v.vt == VT_I4)
                texts.push_back(ado::toUtf16(std::to_string(v.lVal)));
            else
                texts.emplace_back();
            VariantClear(&v);
        }
        recordset->Close();
        return texts;
    }

    static std::set<std::u16string> hits(const std::u16string& term, bool fullText) {
        SearchCriteria criteria;
        criteria.searchTerm = term;
        criteria.fullText = fullText;
        const Texts ids = column(composeSearchStatement(criteria, u""), schema::entry::kId);
        return {ids.begin(), ids.end()};
    }

    static ado::Connection* connection;
    static ado::Recordset* recordset;
};
ado::Connection* ShippedCatalogueSearch::connection = nullptr;
ado::Recordset* ShippedCatalogueSearch::recordset = nullptr;

bool inGermanOrder(const Texts& texts) {
    return std::is_sorted(texts.begin(), texts.end(), [](const std::u16string& a, const std::u16string& b) {
        return ado::compareGerman(a, b) < 0;
    });
}

// Whether `sequence` holds `run` as consecutive items.
bool holdsInARow(const Texts& sequence, const Texts& run) {
    return std::search(sequence.begin(), sequence.end(), run.begin(), run.end()) != sequence.end();
}

TEST_F(ShippedCatalogueSearch, CountryListIsInDictionaryOrder) {
    const Texts countries = column(u"SELECT Bezeichnung from Land ORDER by Bezeichnung");
    ASSERT_GE(countries.size(), 20u);
    EXPECT_TRUE(inGermanOrder(countries));
    EXPECT_TRUE(holdsInARow(countries, {u"Neuseeland", u"Österreich", u"Portugal"}));
    EXPECT_TRUE(holdsInARow(countries, {u"Ungarn", u"Uruguay", u"USA"}));
}

TEST_F(ShippedCatalogueSearch, RegionListOfEveryCountryIsInDictionaryOrder) {
    const Texts codes = column(u"SELECT Land FROM Land");
    for (const std::u16string& code : codes) {
        const Texts regions = column(u"select Regio_Lang from Region where Land = '" +
                                     doubledApostrophes(code) + u"' order by Regio_Lang");
        EXPECT_FALSE(regions.empty()) << ado::toUtf8(code);
        EXPECT_TRUE(inGermanOrder(regions)) << ado::toUtf8(code);
    }
    const Texts french = column(u"select Regio_Lang from Region where Land = 'F' order by Regio_Lang");
    EXPECT_TRUE(holdsInARow(french, {u"Rhône Nord", u"Rhône Süd", u"Roussillon"}));
}

TEST_F(ShippedCatalogueSearch, ResultsComeInDictionaryOrderOfTheirKeywords) {
    SearchCriteria criteria;
    criteria.red = criteria.white = criteria.rose = criteria.brown = true;
    const Texts keywords = column(composeSearchStatement(criteria, u""), schema::entry::kKeyword);
    ASSERT_GT(keywords.size(), 500u);
    EXPECT_TRUE(inGermanOrder(keywords));
    // "Œil-de-Perdrix" among the O (as "Oeil"), not after every keyword in plain letters.
    const auto oeil = std::find(keywords.begin(), keywords.end(), u"Neuchâtel Œil-de-Perdrix");
    ASSERT_NE(oeil, keywords.end());
    ASSERT_NE(oeil + 1, keywords.end());
    EXPECT_EQ(*(oeil - 1), u"Neuchâtel Chasselas non filtré");
    EXPECT_LT(ado::compareGerman(u"Neuchâtel Œil-de-Perdrix", u"Neuchâtel Pinot Noir"), 0);
    EXPECT_LT(ado::compareGerman(*oeil, *(oeil + 1)), 0);
}

// The results tree shows each entry's name, in the order of the hidden keyword: it reads sorted
// only when the names come in German order too, in every country's search as in the whole list.
TEST_F(ShippedCatalogueSearch, ShownNamesComeInDictionaryOrderInEveryCountry) {
    std::vector<std::u16string> countries = column(u"SELECT Land FROM Land");
    countries.push_back(u""); // no country: every entry
    for (const std::u16string& code : countries) {
        SearchCriteria criteria;
        criteria.red = criteria.white = criteria.rose = criteria.brown = true;
        if (!code.empty()) {
            criteria.countryName = u"???";
            criteria.countryNameLength = 3;
        }
        const Texts names = column(composeSearchStatement(criteria, code), schema::entry::kName);
        Texts shown;
        for (const std::u16string& name : names)
            if (!name.empty()) shown.push_back(name);
        std::size_t outOfOrder = 0;
        for (std::size_t i = 1; i < shown.size(); ++i)
            if (ado::compareGerman(shown[i - 1], shown[i]) > 0) ++outOfOrder;
        EXPECT_EQ(outOfOrder, 0u) << "country " << ado::toUtf8(code) << ": " << outOfOrder << " of " << shown.size();
    }
}

std::u32string wide(const std::u16string& text) {
    std::u32string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
            out += 0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

std::u16string narrow(char32_t c) {
    if (c < 0x10000) return std::u16string(1, static_cast<char16_t>(c));
    return {static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)),
            static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF))};
}

// Every letter that has a case and stands in a keyword, a region or a description.
std::set<char32_t> casedLetters(const Texts& texts) {
    std::set<char32_t> letters;
    for (const std::u16string& text : texts) {
        for (char32_t c : wide(text))
            if (ado::lowerCaseOf(c) != c || !ado::capitalsOf(c).empty()) letters.insert(ado::lowerCaseOf(c));
    }
    return letters;
}

TEST_F(ShippedCatalogueSearch, EveryLetterFindsTheSameEntriesInSmallAndCapitalForm) {
    const Texts ids = column(u"SELECT * FROM talvino", schema::entry::kId);
    const Texts keywords = column(u"SELECT * FROM talvino", schema::entry::kKeyword);
    const Texts regions = column(u"SELECT * FROM talvino", schema::entry::kRegion);
    Texts descriptions = column(u"SELECT * FROM talvino", schema::entry::kDescription);
    for (std::u16string& d : descriptions)
        d = decodedText(d);
    // The full-text copy also holds the shown name and its addition.
    const Texts names = column(u"SELECT * FROM talvino", schema::entry::kName);
    const Texts suffixes = column(u"SELECT * FROM talvino", schema::entry::kSuffix);
    ASSERT_EQ(keywords.size(), ids.size());

    Texts named = keywords;
    named.insert(named.end(), regions.begin(), regions.end());
    const std::set<char32_t> letters = casedLetters(named);
    EXPECT_GE(letters.size(), 26u);
    for (char32_t small : {U'š', U'œ', U'ș', U'ä', U'é'})
        EXPECT_EQ(letters.count(small), 1u) << "the catalogue should hold U+" << std::hex << unsigned(small);

    for (char32_t small : letters) {
        // The copies and the term are lowered alike (ß as ss).
        const std::u16string lower = lowerCasedText(narrow(small));
        std::set<std::u16string> expectedKeyword, expectedFull;
        for (std::size_t i = 0; i < ids.size(); ++i) {
            const bool inKeyword = lowerCasedText(keywords[i]).find(lower) != std::u16string::npos;
            const bool elsewhere = lowerCasedText(regions[i]).find(lower) != std::u16string::npos ||
                                   lowerCasedText(descriptions[i]).find(lower) != std::u16string::npos ||
                                   lowerCasedText(names[i]).find(lower) != std::u16string::npos ||
                                   lowerCasedText(suffixes[i]).find(lower) != std::u16string::npos;
            if (inKeyword) expectedKeyword.insert(ids[i]);
            if (inKeyword || elsewhere) expectedFull.insert(ids[i]);
        }
        const std::string name = ado::toUtf8(lower);
        EXPECT_EQ(hits(lower, false), expectedKeyword) << name;
        EXPECT_EQ(hits(lower, true), expectedFull) << name;
        for (char32_t capital : ado::capitalsOf(small)) {
            const std::u16string upper = narrow(capital);
            EXPECT_EQ(hits(upper, false), expectedKeyword) << name << " as " << ado::toUtf8(upper);
            EXPECT_EQ(hits(upper, true), expectedFull) << name << " as " << ado::toUtf8(upper);
        }
    }
}

TEST_F(ShippedCatalogueSearch, WordsWithLettersBeyondLatin1AreFoundInEitherCase) {
    for (const char16_t* term : {u"šipon", u"ŠIPON", u"œil", u"ŒIL", u"ștefan", u"ȘTEFAN"}) {
        EXPECT_FALSE(hits(term, true).empty()) << ado::toUtf8(term);
    }
    EXPECT_EQ(hits(u"šipon", false), hits(u"ŠIPON", false));
    EXPECT_EQ(hits(u"ștefan", true), hits(u"Ștefan", true));
}

} // namespace
