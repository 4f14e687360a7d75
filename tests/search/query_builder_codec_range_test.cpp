// Full-text searches for characters whose encoded form falls into the surrogate range (some
// Hangul syllables, the halves of most emoji): the statement runs and finds the descriptions that
// hold them, in catalogues of either text encoding.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db/database.h"
#include "db/text_codec.h"
#include "platform/data/utf.h"
#include "search/query_builder.h"
#include "tests/support/test_catalogue.h"

namespace {

const std::u16string kHangul = u"\uD68C";
const std::u16string kWineGlass = u"\U0001F377";
const std::u16string kGrin = u"\U0001F600";

// Whether some unit of the text's encoded form lies in the surrogate range, which is what these
// tests are about.
bool encodesIntoSurrogates(const std::u16string& text) {
    for (char16_t c : text) {
        const char16_t e = codec::encodeChar(c);
        if (e >= 0xD800 && e <= 0xDFFF) return true;
    }
    return false;
}

class CodecRangeSearch : public ::testing::TestWithParam<catalogue::TextEncoding> {
  protected:
    void SetUp() override {
        catalogue.addCountry(u"K", u"Korea").addRegion(1, u"K", u"Seoul");
        add(1, u"Soju", u"Zu Kimchi " + kHangul + u" und Reis.");
        add(2, u"Sekt", u"Zum Anstoßen " + kWineGlass + u" mit Freunden " + kGrin + u".");
        add(3, u"Landwein", u"Ganz ohne Zeichen, Säure und Würze.");
        catalogue.installAsProgramCatalogue(GetParam());
        database.allocateQueryBuffer();
        ASSERT_TRUE(database.openCatalogue());
    }
    void TearDown() override {
        database.closeCatalogue();
        database.freeQueryBuffer();
    }

    void add(int id, const std::u16string& keyword, const std::u16string& description) {
        catalogue::Entry e = TestCatalogue::entry(id, keyword, u"K", u"Seoul");
        e.description = description;
        catalogue.addEntry(e);
    }

    // The ids the full-text search for `term` finds; false when the statement was rejected.
    bool search(const std::u16string& term, std::vector<int>& ids) {
        SearchCriteria criteria;
        criteria.searchTerm = term;
        criteria.fullText = true;
        criteria.regionName = u" ";
        buildSearchStatement(criteria, database);
        return SUCCEEDED(readSortedEntryIds(database, ids));
    }

    TestCatalogue catalogue;
    Database database;
};

TEST_P(CodecRangeSearch, FindsTheDescriptionsThatHoldTheCharacter) {
    struct Case {
        std::u16string term;
        std::vector<int> ids;
    };
    for (const std::u16string& character : {kHangul, kWineGlass, kGrin})
        ASSERT_TRUE(encodesIntoSurrogates(character)) << ado::toUtf8(character);
    const Case cases[] = {{kHangul, {1}},
                          {kWineGlass, {2}},
                          {kGrin, {2}},
                          {kWineGlass + u" mit", {2}},
                          {u"kimchi " + kHangul, {1}},
                          {u"säure", {3}},
                          {kHangul + kWineGlass, {}}};
    for (const Case& c : cases) {
        std::vector<int> ids;
        ASSERT_TRUE(search(c.term, ids)) << ado::toUtf8(c.term) << ": " << ado::lastError();
        EXPECT_EQ(ids, c.ids) << ado::toUtf8(c.term);
    }
}

TEST_P(CodecRangeSearch, EveryHangulSyllableFindsTheEntryThatHoldsIt) {
    // All syllables whose encoded form is a surrogate, in one description.
    std::u16string syllables;
    for (char16_t c = 0xAC00; c <= 0xD7A3; ++c) {
        const char16_t e = codec::encodeChar(c);
        if (e >= 0xD800 && e <= 0xDFFF) syllables += c;
    }
    ASSERT_GT(syllables.size(), 300u);
    add(4, u"Makgeolli", syllables);
    catalogue.build(GetParam());
    ASSERT_TRUE(database.openCatalogue());
    for (std::size_t i = 0; i < syllables.size(); i += 37) {
        std::vector<int> ids;
        ASSERT_TRUE(search(syllables.substr(i, 1), ids)) << ado::lastError();
        EXPECT_EQ(ids, std::vector<int>{4}) << std::hex << static_cast<int>(syllables[i]);
    }
}

TEST_P(CodecRangeSearch, TheDescriptionReadsBackAsWritten) {
    const auto stored = catalogue.rows("SELECT Beschreibung FROM talvino WHERE ID = 2");
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(readableText(ado::toUtf16(stored[0][0])),
              u"Zum Anstoßen " + kWineGlass + u" mit Freunden " + kGrin + u".");
}

INSTANTIATE_TEST_SUITE_P(Encodings, CodecRangeSearch,
                         ::testing::Values(catalogue::TextEncoding::Utf8, catalogue::TextEncoding::Utf16),
                         catalogue::EncodingTestName());

} // namespace
