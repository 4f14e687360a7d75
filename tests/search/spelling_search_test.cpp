// Keyword and full-text searches find a word however a German or Greek reader spells it: ß, ẞ
// and ss meet each other, and so do the final sigma and σ, in catalogues of either text encoding;
// a catalogue written before its lower-case copies wrote ß as "ss" still finds what it holds.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db/database.h"
#include "db/text_codec.h"
#include "platform/data/utf.h"
#include "search/query_builder.h"
#include "tests/support/test_catalogue.h"

namespace {

struct Spelling {
    const char16_t* term;
    bool fullText;
    std::vector<int> ids;
};

void PrintTo(const Spelling& c, std::ostream* os) {
    *os << ado::toUtf8(c.term) << (c.fullText ? " (full text)" : " (keyword)");
}

class SpellingSearch : public ::testing::TestWithParam<catalogue::TextEncoding> {
  protected:
    void SetUp() override {
        catalogue.addCountry(u"D", u"Deutschland").addRegion(1, u"D", u"Mosel");
        add(1, u"Großlage Schloßberg", u"Vom Weißenstein, abgefüllt von Weingut Strauß.");
        add(2, u"SCHLOSSBERG Riesling", u"Aus der Lage an der alten STRASSE.");
        add(3, u"Σάμος Muskateller", u"Süßer Wein von ΣΆΜΟΣ.");
        add(4, u"Landwein", u"Ein schlichter Wein aus dem Glas.");
        add(5, u"Ürziger Würzgarten", u"ÜRZIGER WÜRZGARTEN, daneben ein ŠIPON.");
        database.allocateQueryBuffer();
    }
    void TearDown() override {
        database.closeCatalogue();
        database.freeQueryBuffer();
    }
    void open(int generation = codec::kGeneration) {
        catalogue.installAsProgramCatalogue(GetParam());
        if (generation != codec::kGeneration)
            catalogue::writeCatalogue(catalogue.path(), catalogue.content(), GetParam(), generation);
        ASSERT_TRUE(database.openCatalogue());
    }
    void add(int id, const std::u16string& keyword, const std::u16string& description) {
        catalogue::Entry e = TestCatalogue::entry(id, keyword, u"D", u"Mosel");
        e.description = description;
        catalogue.addEntry(e);
    }

    // The ids the search for `term` finds, in order.
    std::vector<int> search(const std::u16string& term, bool fullText) {
        SearchCriteria criteria;
        criteria.searchTerm = term;
        criteria.fullText = fullText;
        buildSearchStatement(criteria, database);
        std::vector<int> ids;
        EXPECT_EQ(readSortedEntryIds(database, ids), S_OK) << ado::lastError();
        return ids;
    }

    TestCatalogue catalogue;
    Database database;
};

TEST_P(SpellingSearch, SharpSAndDoubleSAndBothSigmasFindEachOtherBothWays) {
    open();
    const Spelling cases[] = {
        {u"GROSSLAGE", false, {1}},    {u"grosslage", false, {1}},   {u"Großlage", false, {1}},
        {u"GROẞLAGE", false, {1}},     {u"schloßberg", false, {1, 2}}, {u"SCHLOSSBERG", false, {1, 2}},
        {u"STRAUSS", true, {1}},       {u"strauß", true, {1}},       {u"WEISSENSTEIN", true, {1}},
        {u"weißenstein", true, {1}},   {u"straße", true, {2}},       {u"STRAẞE", true, {2}},
        {u"ΣΆΜΟΣ", false, {3}},        {u"σάμος", false, {3}},       {u"ΣΆΜΟΣ", true, {3}},
        {u"σάμος", true, {3}},         {u"süss", true, {3}},         {u"Süß", true, {3}},
        // One s is not ß, and the wildcards keep their meaning.
        {u"strau", true, {1}},         {u"grosla", false, {}},       {u"schlo*berg", false, {1, 2}},
        {u"weiss", true, {1}},         {u"glas", true, {4}},
    };
    for (const Spelling& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c));
        EXPECT_EQ(search(c.term, c.fullText), c.ids);
    }
}

// The copies of a catalogue written before keep ß; its keyword search finds every spelling
// through LIKE, its full-text search what its copies hold as typed.
TEST_P(SpellingSearch, ACatalogueWrittenBeforeFindsWhatItsOwnCopiesHold) {
    open(codec::kSimpleLoweringGeneration);
    const Spelling cases[] = {
        {u"GROSSLAGE", false, {1}}, {u"Großlage", false, {1}}, {u"schloßberg", false, {1, 2}},
        {u"strauß", true, {1}},     {u"STRASSE", true, {2}},   {u"ΣΆΜΟΣ", false, {3}},
    };
    for (const Spelling& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c));
        EXPECT_EQ(search(c.term, c.fullText), c.ids);
    }
}

// The earlier codec lowered its copies for A-Z and À-Þ only: the term is lowered the same way,
// so a capital beyond them that the copy kept is found as it stands.
TEST_P(SpellingSearch, ACatalogueOfTheEarlierCodecFindsWhatItsOwnCopiesHold) {
    open(codec::kEarlierGeneration);
    const Spelling cases[] = {
        {u"ürziger", false, {5}}, {u"ÜRZIGER", true, {5}}, {u"ŠIPON", true, {5}},
        {u"Strauß", true, {1}},   {u"Glas", true, {4}},    {u"schloßberg", false, {1, 2}},
    };
    for (const Spelling& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c));
        EXPECT_EQ(search(c.term, c.fullText), c.ids);
    }
}

INSTANTIATE_TEST_SUITE_P(Encodings, SpellingSearch,
                         ::testing::Values(catalogue::TextEncoding::Utf8, catalogue::TextEncoding::Utf16),
                         catalogue::EncodingTestName());

} // namespace
