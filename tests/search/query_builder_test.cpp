// The statement the search form's criteria turn into, character for character.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <utility>

#include "db/text_codec.h"
#include "search/query_builder.h"
#include "search/sql_format.h"

namespace {

SearchCriteria withCountry(std::u16string name) {
    SearchCriteria criteria;
    criteria.countryNameLength = static_cast<int>(name.size());
    criteria.countryName = std::move(name);
    return criteria;
}

std::u16string encodedLower(std::u16string text) {
    return encodedText(lowerCasedText(std::move(text)));
}

// The one character whose encoded form is `wanted` (encoding is a bijection of 16-bit values).
char16_t encodingTo(char16_t wanted) {
    for (unsigned c = 1; c < 0x10000; ++c)
        if (encodedText(std::u16string(1, static_cast<char16_t>(c)))[0] == wanted)
            return static_cast<char16_t>(c);
    return 0;
}

// ---- The worked example and the complete results -------------------------------------------

TEST(SearchStatementExamples, CountryTermRegionColoursTasteAndLevelComposeInClauseOrder) {
    SearchCriteria criteria = withCountry(u"Frankreich");
    criteria.searchTerm = u"Riesling";
    criteria.regionName = u"Bordeaux";
    criteria.red = criteria.white = criteria.dry = true;
    criteria.qualityLevel = 3;
    const std::u16string expected =
        u"SELECT * FROM talvino WHERE ((Land = 'K')"
        u" AND ((Stichwort_Klein LIKE '*riesling*'))) "
        u" AND ( (Regio_Lang LIKE '*Bordeaux*')"
        u" AND (\n (Rot > 0) OR (Weiss > 0))"
        u" AND (\n (Trocken > 0))"
        u" AND  (( (((Qualitaet1 = 3) OR (Qualitaet2 = 3)) OR ((Qualitaet1 = 7) OR (Qualitaet2 = 7)))))"
        u") ORDER by STICHWORT";
    EXPECT_EQ(composeSearchStatement(criteria, u"K"), expected);
}

struct CompleteResult {
    const char* name;
    SearchCriteria criteria;
    std::u16string statement;
};
// Names the row in test listings instead of dumping its bytes.
void PrintTo(const CompleteResult& row, std::ostream* out) { *out << row.name; }

SearchCriteria termOnly() {
    SearchCriteria c;
    c.searchTerm = u"Riesling";
    return c;
}
SearchCriteria regionOnly() {
    SearchCriteria c;
    c.regionName = u"Bordeaux";
    return c;
}
SearchCriteria redOnly() {
    SearchCriteria c;
    c.red = true;
    return c;
}
SearchCriteria levelTwoEspeciallyGood() {
    SearchCriteria c;
    c.qualityLevel = 2;
    c.especiallyGood = true;
    return c;
}

class SearchStatementCompleteResults : public testing::TestWithParam<CompleteResult> {};

TEST_P(SearchStatementCompleteResults, MatchCharacterForCharacter) {
    EXPECT_EQ(composeSearchStatement(GetParam().criteria, u"K"), GetParam().statement);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SearchStatementCompleteResults,
    testing::Values(
        CompleteResult{"CountryOnly", withCountry(u"Italien"),
                       u"SELECT * FROM talvino WHERE ((Land = 'K')) ORDER by STICHWORT"},
        CompleteResult{
            "TermOnly", termOnly(),
            u"SELECT * FROM talvino WHERE (  ((Stichwort_Klein LIKE '*riesling*')))  ORDER by STICHWORT"},
        CompleteResult{"RegionOnly", regionOnly(),
                       u"SELECT * FROM talvino WHERE (  (Regio_Lang LIKE '*Bordeaux*')) ORDER by STICHWORT"},
        CompleteResult{"RedOnly", redOnly(),
                       u"SELECT * FROM talvino WHERE (  (\n (Rot > 0))) ORDER by STICHWORT"},
        CompleteResult{"LevelTwoEspeciallyGood", levelTwoEspeciallyGood(),
                       u"SELECT * FROM talvino WHERE (   (((Qualitaet1 <= 6) AND (Qualitaet2 >= 6)))) ORDER "
                       u"by STICHWORT"},
        CompleteResult{"Nothing", SearchCriteria{}, u"SELECT * FROM talvino WHERE () ORDER by STICHWORT"}),
    [](const testing::TestParamInfo<CompleteResult>& row) { return std::string(row.param.name); });

// ---- Country --------------------------------------------------------------------------------

TEST(SearchStatementCountry, BlankItemAndNoSelectionGiveNoCountryCondition) {
    SearchCriteria blank = withCountry(u" ");
    SearchCriteria none;
    none.countryNameLength = -1;
    for (const SearchCriteria& criteria : {blank, none}) {
        EXPECT_FALSE(hasCountry(criteria));
        EXPECT_EQ(composeSearchStatement(criteria, u"K"),
                  u"SELECT * FROM talvino WHERE () ORDER by STICHWORT");
    }
}

TEST(SearchStatementCountry, NamesOfThreeCharactersCountAndShorterOnesDoNot) {
    EXPECT_TRUE(hasCountry(withCountry(u"USA")));
    EXPECT_FALSE(hasCountry(withCountry(u"ZA")));
}

TEST(SearchStatementCountry, CodeLookupAsksForTheNameWithItsApostrophesDoubled) {
    EXPECT_EQ(countryCodeQuery(u"Italien"), u"SELECT Land FROM Land WHERE Bezeichnung = 'Italien'");
    EXPECT_EQ(countryCodeQuery(u"Côte d'Ivoire"),
              u"SELECT Land FROM Land WHERE Bezeichnung = 'Côte d''Ivoire'");
}

TEST(SearchStatementCountry, CodeNotFoundIsALineFeedThatMatchesNoCountry) {
    EXPECT_EQ(composeSearchStatement(withCountry(u"Atlantis"), u"\n"),
              u"SELECT * FROM talvino WHERE ((Land = '\n')) ORDER by STICHWORT");
}

// ---- Search term ----------------------------------------------------------------------------

TEST(SearchStatementTerm, TermInCapitalsIsComparedInLowerCase) {
    SearchCriteria criteria;
    criteria.searchTerm = u"GRÜNER Veltliner";
    EXPECT_EQ(
        composeSearchStatement(criteria, u"K"),
        u"SELECT * FROM talvino WHERE (  ((Stichwort_Klein LIKE '*grüner veltliner*')))  ORDER by STICHWORT");
}

TEST(SearchStatementTerm, FullTextAlsoSearchesTheEncodedDescriptionAndTheRegion) {
    SearchCriteria criteria;
    criteria.searchTerm = u"Mosel";
    criteria.fullText = true;
    const std::u16string expected = u"SELECT * FROM talvino WHERE (  ((Stichwort_Klein LIKE '*mosel*') OR "
                                    u"([Text_Klein] like '*" +
                                    doubledApostrophes(encodedLower(u"Mosel")) +
                                    u"*') OR ([Regio_Lang] like '*mosel*')))  ORDER by STICHWORT";
    EXPECT_EQ(composeSearchStatement(criteria, u"K"), expected);
}

TEST(SearchStatementTerm, WithoutFullTextOnlyTheKeywordIsSearched) {
    SearchCriteria criteria;
    criteria.searchTerm = u"mosel";
    const std::u16string statement = composeSearchStatement(criteria, u"K");
    EXPECT_NE(statement.find(u"Stichwort_Klein"), std::u16string::npos);
    EXPECT_EQ(statement.find(u"Text_Klein"), std::u16string::npos);
    EXPECT_EQ(statement.find(u"Regio_Lang"), std::u16string::npos);
}

TEST(SearchStatementTerm, TermFollowedByAnythingOpensAGroupThatTheEndCloses) {
    SearchCriteria criteria;
    criteria.searchTerm = u"Rioja";
    criteria.sparkling = true;
    EXPECT_EQ(
        composeSearchStatement(criteria, u"K"),
        u"SELECT * FROM talvino WHERE (  ((Stichwort_Klein LIKE '*rioja*')))  AND ( (\n (Schaeumend > 0))) "
        u"ORDER by STICHWORT");
    criteria.sparkling = false;
    criteria.qualityLevel = 1;
    EXPECT_EQ(composeSearchStatement(criteria, u"K"),
              u"SELECT * FROM talvino WHERE (  ((Stichwort_Klein LIKE '*rioja*')))  AND (  (( (((Qualitaet1 "
              u"= 1) OR "
              u"(Qualitaet2 = 1)) OR ((Qualitaet1 = 5) OR (Qualitaet2 = 5)))))) ORDER by STICHWORT");
}

TEST(SearchStatementTerm, CountryBeforeTheTermIsJoinedWithAnd) {
    SearchCriteria criteria = withCountry(u"Spanien");
    criteria.searchTerm = u"Rioja";
    EXPECT_EQ(composeSearchStatement(criteria, u"E"),
              u"SELECT * FROM talvino WHERE ((Land = 'E') AND ((Stichwort_Klein LIKE '*rioja*')))  ORDER by "
              u"STICHWORT");
}

TEST(SearchStatementTerm, FormatCharactersInTheTermStayAsTyped) {
    SearchCriteria criteria;
    criteria.searchTerm = u"%s%i 50%_";
    EXPECT_EQ(composeSearchStatement(criteria, u"K"),
              u"SELECT * FROM talvino WHERE (  ((Stichwort_Klein LIKE '*%s%i 50%_*')))  ORDER by STICHWORT");
}

TEST(SearchStatementTerm, CharacterThatEncodesToNullEndsTheEncodedTerm) {
    const char16_t toNull = encodingTo(u'\0');
    ASSERT_NE(toNull, 0);
    ASSERT_EQ(lowerCaseChar(toNull), toNull);
    SearchCriteria criteria;
    criteria.searchTerm = std::u16string(u"ab") + toNull + u"cd";
    criteria.fullText = true;
    const std::u16string statement = composeSearchStatement(criteria, u"K");
    EXPECT_EQ(statement.find(u'\0'), std::u16string::npos);
    EXPECT_NE(statement.find(u"([Text_Klein] like '*" + encodedLower(u"ab") + u"*')"), std::u16string::npos);
}

// ---- Region ---------------------------------------------------------------------------------

TEST(SearchStatementRegion, NamesFromThreeCharactersOnAreSearchedShorterOnesIgnored) {
    // "Ahr" and "Dão" are real three-letter regions: the boundary itself must be searched.
    const std::pair<const char16_t*, const char16_t*> cases[] = {
        {u"", u"()"},
        {u" ", u"()"},
        {u"Ab", u"()"},
        {u"Ahr", u"(  (Regio_Lang LIKE '*Ahr*'))"},
        {u"Dão", u"(  (Regio_Lang LIKE '*Dão*'))"},
    };
    for (const auto& [name, where] : cases) {
        SearchCriteria criteria;
        criteria.regionName = name;
        EXPECT_EQ(composeSearchStatement(criteria, u"K"),
                  u"SELECT * FROM talvino WHERE " + std::u16string(where) + u" ORDER by STICHWORT");
    }
}

TEST(SearchStatementRegion, RegionIsSearchedAsShownNotLowerCased) {
    SearchCriteria criteria = withCountry(u"Frankreich");
    criteria.regionName = u"Côte de Nuits";
    EXPECT_EQ(composeSearchStatement(criteria, u"F"),
              u"SELECT * FROM talvino WHERE ((Land = 'F') AND (Regio_Lang LIKE '*Côte de Nuits*')) ORDER by "
              u"STICHWORT");
}

// ---- Colour and taste groups ------------------------------------------------------------------

TEST(SearchStatementGroups, WhiteAndBrownWithoutRedStartWithoutOr) {
    SearchCriteria criteria;
    criteria.white = criteria.brown = true;
    EXPECT_EQ(composeSearchStatement(criteria, u"K"),
              u"SELECT * FROM talvino WHERE (  (\n (Weiss > 0) OR (Braun > 0))) ORDER by STICHWORT");
}

TEST(SearchStatementGroups, AllColoursJoinWithOrInTheirFixedOrder) {
    SearchCriteria criteria;
    criteria.red = criteria.white = criteria.rose = criteria.brown = true;
    EXPECT_EQ(composeSearchStatement(criteria, u"K"),
              u"SELECT * FROM talvino WHERE (  (\n (Rot > 0) OR (Weiss > 0) OR (Rose > 0) OR (Braun > 0))) "
              u"ORDER by STICHWORT");
}

TEST(SearchStatementGroups, TastesJoinWithOrAndFollowTheColours) {
    SearchCriteria criteria;
    criteria.rose = true;
    criteria.mediumSweet = criteria.sweet = true;
    EXPECT_EQ(composeSearchStatement(criteria, u"K"),
              u"SELECT * FROM talvino WHERE (  (\n (Rose > 0)) AND (\n (Lieblich > 0) OR (Suess > 0))) "
              u"ORDER by STICHWORT");
}

// ---- Quality ----------------------------------------------------------------------------------

TEST(SearchStatementQuality, LevelFourComparesWithFourAndEight) {
    SearchCriteria criteria;
    criteria.qualityLevel = 4;
    EXPECT_EQ(
        composeSearchStatement(criteria, u"K"),
        u"SELECT * FROM talvino WHERE (   (( (((Qualitaet1 = 4) OR (Qualitaet2 = 4)) OR ((Qualitaet1 = 8) OR "
        u"(Qualitaet2 = 8)))))) ORDER by STICHWORT");
}

TEST(SearchStatementQuality, LevelOneEspeciallyGoodComparesWithFiveOnBothEnds) {
    SearchCriteria criteria;
    criteria.qualityLevel = 1;
    criteria.especiallyGood = true;
    EXPECT_EQ(
        composeSearchStatement(criteria, u"K"),
        u"SELECT * FROM talvino WHERE (   (((Qualitaet1 <= 5) AND (Qualitaet2 >= 5)))) ORDER by STICHWORT");
}

TEST(SearchStatementQuality, EspeciallyGoodWithoutLevelAddsNothing) {
    SearchCriteria criteria;
    criteria.especiallyGood = true;
    EXPECT_EQ(composeSearchStatement(criteria, u"K"), u"SELECT * FROM talvino WHERE () ORDER by STICHWORT");
}

// ---- Apostrophes --------------------------------------------------------------------------------

TEST(SearchStatementApostrophes, TermRegionAndCodeAreDoubledInsideTheirLiterals) {
    SearchCriteria criteria = withCountry(u"Irland");
    criteria.searchTerm = u"D'Arenberg";
    criteria.regionName = u"Côte d'Or";
    EXPECT_EQ(
        composeSearchStatement(criteria, u"I'R"),
        u"SELECT * FROM talvino WHERE ((Land = 'I''R') AND ((Stichwort_Klein LIKE '*d''arenberg*')))  AND ( "
        u"(Regio_Lang LIKE '*Côte d''Or*')) ORDER by STICHWORT");
}

TEST(SearchStatementApostrophes, EncodedTermIsDoubledAfterEncoding) {
    const char16_t toApostrophe = encodingTo(u'\'');
    ASSERT_NE(toApostrophe, 0);
    ASSERT_EQ(lowerCaseChar(toApostrophe), toApostrophe);
    SearchCriteria criteria;
    criteria.searchTerm = std::u16string(u"x") + toApostrophe;
    criteria.fullText = true;
    const std::u16string statement = composeSearchStatement(criteria, u"K");
    EXPECT_NE(statement.find(u"([Text_Klein] like '*" + encodedText(u"x") + u"''*')"), std::u16string::npos);
    // The plain term holds no apostrophe and stays as typed.
    EXPECT_NE(statement.find(u"(Stichwort_Klein LIKE '*x" + std::u16string(1, toApostrophe) + u"*')"),
              std::u16string::npos);
}

// ---- Formatting helpers ---------------------------------------------------------------------

TEST(SqlFormatting, PlaceholdersTakeTheArgumentsInOrder) {
    EXPECT_EQ(formatSql(u"%s = %i (%s)", {u"a", u"12", u"b"}), u"a = 12 (b)");
}

TEST(SqlFormatting, DecimalTextWritesSignedNumbers) {
    EXPECT_EQ(decimalText(0), u"0");
    EXPECT_EQ(decimalText(8), u"8");
    EXPECT_EQ(decimalText(-32768), u"-32768");
}

TEST(SqlFormatting, CopyIntoABufferCutsAtTheLimitAndTerminates) {
    char16_t buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), u'x');
    copySqlToBuffer(buffer, u"SELECT 1", 5);
    EXPECT_EQ(std::u16string(buffer), u"SELEC");
}

} // namespace
