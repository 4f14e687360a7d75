// Every combination of criteria: the statement's shape, and on a test catalogue the rows it finds
// compared with a plain filter over the same entries, written without the statement builder.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "db/database.h"
#include "db/schema.h"
#include "platform/data/german_order.h"
#include "search/query_builder.h"
#include "tests/support/test_catalogue.h"

namespace {

// Applies the criteria's check boxes, level and "bes.gut" from a number 0..2559.
void setBoxesAndQuality(SearchCriteria& c, int code) {
    const int boxes = code % 256;
    c.red = boxes & 1;
    c.white = boxes & 2;
    c.rose = boxes & 4;
    c.brown = boxes & 8;
    c.dry = boxes & 16;
    c.mediumSweet = boxes & 32;
    c.sweet = boxes & 64;
    c.sparkling = boxes & 128;
    c.qualityLevel = static_cast<std::int16_t>((code / 256) % 5);
    c.especiallyGood = (code / 1280) % 2;
}

int parenthesisDepthAtEnd(const std::u16string& statement, bool& neverNegative) {
    int depth = 0;
    neverNegative = true;
    bool inLiteral = false;
    for (char16_t c : statement) {
        if (c == u'\'') inLiteral = !inLiteral;
        if (inLiteral) continue;
        if (c == u'(') ++depth;
        if (c == u')') --depth;
        if (depth < 0) neverNegative = false;
    }
    return depth;
}

std::size_t positionOf(const std::u16string& statement, std::u16string_view what) {
    const std::size_t at = statement.find(what);
    return at == std::u16string::npos ? statement.size() : at;
}

TEST(SearchStatementShape, EveryCombinationIsBalancedOrderedAndJoinedByAnd) {
    const std::u16string countries[] = {u"", u" ", u"Frankreich"};
    const int countryLengths[] = {-1, 1, 10};
    int checked = 0;
    for (int country = 0; country < 3; ++country)
        for (const char16_t* term : {u"", u"Ries"})
            for (bool fullText : {false, true})
                for (const char16_t* region : {u" ", u"Mosel"})
                    for (int code = 0; code < 2560; ++code) {
                        SearchCriteria c;
                        c.countryName = countries[country];
                        c.countryNameLength = countryLengths[country];
                        c.searchTerm = term;
                        c.fullText = fullText;
                        c.regionName = region;
                        setBoxesAndQuality(c, code);
                        const std::u16string s = composeSearchStatement(c, u"F");
                        SCOPED_TRACE(std::string(s.begin(), s.end()));

                        bool neverNegative = false;
                        ASSERT_EQ(parenthesisDepthAtEnd(s, neverNegative), 0);
                        ASSERT_TRUE(neverNegative);
                        ASSERT_EQ(s.rfind(u"SELECT * FROM talvino WHERE (", 0), 0u);
                        ASSERT_EQ(s.substr(s.size() - 18), u"ORDER by STICHWORT");

                        const bool anyColour = c.red || c.white || c.rose || c.brown;
                        const bool anyTaste = c.dry || c.mediumSweet || c.sweet || c.sparkling;
                        const std::size_t clauses = (country == 2) + !c.searchTerm.empty() +
                                                    (c.regionName.size() >= 3) + anyColour + anyTaste +
                                                    (c.qualityLevel != 0);
                        std::size_t joins = 0;
                        for (std::size_t at = s.find(u" AND "); at != std::u16string::npos;
                             at = s.find(u" AND ", at + 1))
                            ++joins;
                        // "(Qualitaet1 <= n) AND (Qualitaet2 >= n)" joins inside its clause.
                        if (c.qualityLevel != 0 && c.especiallyGood) --joins;
                        ASSERT_EQ(joins, clauses == 0 ? 0 : clauses - 1);
                        ASSERT_EQ(s.find(u"WHERE ()") != std::u16string::npos, clauses == 0);

                        // Clause order: country, term, region, colours, tastes, quality.
                        const std::size_t order[] = {
                            positionOf(s, u"(Land ="),
                            positionOf(s, u"Stichwort_Klein"),
                            positionOf(s, u"(Regio_Lang LIKE"),
                            std::min({positionOf(s, u"(Rot"), positionOf(s, u"(Weiss"),
                                      positionOf(s, u"(Rose"), positionOf(s, u"(Braun")}),
                            std::min({positionOf(s, u"(Trocken"), positionOf(s, u"(Lieblich"),
                                      positionOf(s, u"(Suess"), positionOf(s, u"(Schaeumend")}),
                            positionOf(s, u"Qualitaet1")};
                        std::vector<std::size_t> present;
                        for (std::size_t at : order)
                            if (at < s.size()) present.push_back(at);
                        ASSERT_EQ(present.size(), clauses);
                        ASSERT_TRUE(std::is_sorted(present.begin(), present.end()));
                        ++checked;
                    }
    EXPECT_EQ(checked, 3 * 2 * 2 * 2 * 2560);
}

// ---- Rows found on a test catalogue, against a plain filter -----------------------------------

// The catalogue's lower-casing: A-Z and the Latin-1 capitals except the multiplication sign.
char16_t ownLower(char16_t c) {
    if ((c >= u'A' && c <= u'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return static_cast<char16_t>(c + 0x20);
    return c;
}
std::u16string ownLower(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& c : out)
        c = ownLower(c);
    return out;
}

// LIKE with "*" for any run and "?" for one character; everything else stands for itself, compared
// regardless of the case the catalogue's lower-casing knows.
bool like(std::u16string_view text, std::u16string_view pattern) {
    // row[j]: the text read so far matches the first j characters of the pattern.
    std::vector<char> previous(pattern.size() + 1, 0), row(pattern.size() + 1, 0);
    row[0] = 1;
    for (std::size_t j = 1; j <= pattern.size(); ++j)
        row[j] = row[j - 1] && pattern[j - 1] == u'*';
    for (char16_t t : text) {
        previous.swap(row);
        row[0] = 0;
        for (std::size_t j = 1; j <= pattern.size(); ++j) {
            const char16_t p = pattern[j - 1];
            if (p == u'*')
                row[j] = previous[j] || row[j - 1];
            else
                row[j] = previous[j - 1] && (p == u'?' || ownLower(p) == ownLower(t));
        }
    }
    return row[pattern.size()];
}

bool contains(std::u16string_view text, std::u16string_view part) {
    return text.find(part) != std::u16string_view::npos;
}

struct Country {
    std::u16string code;
    std::u16string name;
};

// Which entries a search should find, worked out from the entries' plain texts.
bool oracleMatches(const catalogue::Entry& e, const SearchCriteria& c,
                   const std::vector<Country>& countries) {
    if (c.countryNameLength >= 3) {
        const auto country = std::find_if(countries.begin(), countries.end(),
                                          [&](const Country& known) { return known.name == c.countryName; });
        if (country == countries.end() || e.country != country->code) return false;
    }
    if (!c.searchTerm.empty()) {
        const std::u16string term = ownLower(c.searchTerm);
        const std::u16string pattern = u"*" + term + u"*";
        bool found = like(ownLower(e.keyword), pattern);
        if (c.fullText) {
            // The description is compared in its scrambled form, where no character is a wildcard
            // and none differs from another only by case: a plain substring of the lower-cased text.
            found = found || (e.description && contains(ownLower(*e.description), term));
            found = found || like(e.region, pattern);
        }
        if (!found) return false;
    }
    if (c.regionName.size() >= 3 && !like(e.region, u"*" + c.regionName + u"*")) return false;
    const bool anyColour = c.red || c.white || c.rose || c.brown;
    if (anyColour && !((c.red && e.red > 0) || (c.white && e.white > 0) || (c.rose && e.rose > 0) ||
                       (c.brown && e.brown > 0)))
        return false;
    const bool anyTaste = c.dry || c.mediumSweet || c.sweet || c.sparkling;
    if (anyTaste && !((c.dry && e.dry > 0) || (c.mediumSweet && e.mediumSweet > 0) ||
                      (c.sweet && e.sweet > 0) || (c.sparkling && e.sparkling > 0)))
        return false;
    const int level = c.qualityLevel;
    if (level != 0) {
        const int good = level + 4;
        if (c.especiallyGood) {
            if (!(e.quality1 <= good && e.quality2 >= good)) return false;
        } else if (!(e.quality1 == level || e.quality2 == level || e.quality1 == good ||
                     e.quality2 == good)) {
            return false;
        }
    }
    return true;
}

struct Sample {
    const char16_t* keyword;
    const char16_t* country;
    const char16_t* region;
    const char16_t* description; // null: none
};

const Sample kSamples[] = {
    {u"Riesling Kabinett", u"D", u"Mosel", u"Feine Säure, Pfirsich und Schiefer."},
    {u"Riesling Spätlese", u"D", u"Rheingau", u"Reife Frucht, etwas Süße."},
    {u"Grüner Veltliner", u"A", u"Wachau", u"Pfeffrig, grüner Apfel."},
    {u"Spätburgunder", u"D", u"Württemberg", u"Kirsche und Würze; ÄUSSERST elegant."},
    {u"Château Beau'Lieu", u"F", u"Bordeaux", u"Cassis, Zeder; l'été en bouteille."},
    {u"Côte d'Or Villages", u"F", u"Côte d'Or", u"Mineralisch * mit Stern (und Klammer)."},
    {u"Crémant de Loire", u"F", u"Loire", u"Perlend, 100% Chenin."},
    {u"Vin_de_Pays", u"F", u"Île de Beauté", u"Einfacher Landwein_mit Unterstrich."},
    {u"Chianti Classico", u"I", u"Toskana", u"Sauerkirsche, wie an der Mosel? Nein."},
    {u"Barolo", u"I", u"Piemont", nullptr},
    {u"Moscato d'Asti", u"I", u"Piemont", u"Süß und perlend."},
    {u"ÖKO Silvaner", u"D", u"Franken", u"Erdig, Öko-Anbau, süß."},
    {u"Müller-Thurgau", u"D", u"Mosel", u"Leicht, Muskat."},
    {u"Lagune Blanc", u"C'I", u"Lagunes", u"Tropische Frucht."},
    {u"Sekt 100% Riesling", u"D", u"Rheingau", u"Prickelnd."},
    {u"Was? Riesling", u"A", u"Kamptal", u"Frage und Antwort."},
};

class SearchOnCatalogue : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        catalogue_ = new TestCatalogue;
        for (const Country& country : countries())
            catalogue_->addCountry(country.code, country.name);
        int regionId = 100;
        for (const Sample& sample : kSamples)
            catalogue_->addRegion(regionId++, sample.country, sample.region);
        const std::pair<int, int> qualities[] = {{0, 0}, {1, 1}, {1, 2}, {2, 6}, {3, 3}, {4, 8}, {5, 5},
                                                 {6, 7}, {2, 4}, {7, 8}, {3, 7}, {8, 8}, {1, 5}};
        for (int i = 0; i < 48; ++i) {
            const Sample& sample = kSamples[i % 16];
            std::u16string keyword = sample.keyword;
            if (i >= 16) keyword += i >= 32 ? u" Reserve" : u" Alte Reben";
            catalogue::Entry e = TestCatalogue::entry(100 + i, keyword, sample.country, sample.region);
            if (sample.description) e.description = std::u16string(sample.description);
            const unsigned bits = static_cast<unsigned>(i) * 2654435761u >> 7;
            e.red = bits & 1;
            e.white = (bits >> 1) & 1;
            e.rose = (bits >> 2) & 1;
            e.brown = (bits >> 3) & 1 && (bits >> 4) & 1;
            e.dry = (bits >> 5) & 1;
            e.mediumSweet = (bits >> 6) & 1;
            e.sweet = (bits >> 7) & 1;
            e.sparkling = (bits >> 8) & 1 && (bits >> 9) & 1;
            e.quality1 = qualities[i % 13].first;
            e.quality2 = qualities[i % 13].second;
            catalogue_->addEntry(e);
        }
        catalogue_->installAsProgramCatalogue();
        database_ = new Database;
        database_->allocateQueryBuffer();
        ASSERT_TRUE(database_->openCatalogue());
    }
    static void TearDownTestSuite() {
        database_->closeCatalogue();
        database_->freeQueryBuffer();
        delete database_;
        delete catalogue_;
    }

    static const std::vector<Country>& countries() {
        static const std::vector<Country> known = {{u"F", u"Frankreich"},
                                                   {u"D", u"Deutschland"},
                                                   {u"A", u"Österreich"},
                                                   {u"I", u"Italien"},
                                                   {u"C'I", u"Côte d'Ivoire"}};
        return known;
    }

    // Runs what the builder left in the query buffer; false when the database rejects it.
    static bool runStatement(std::vector<int>& ids) { return SUCCEEDED(readSortedEntryIds(*database_, ids)); }

    static std::vector<int> oracle(const SearchCriteria& criteria) {
        std::vector<int> ids;
        for (const catalogue::Entry& e : catalogue_->content().entries)
            if (oracleMatches(e, criteria, countries())) ids.push_back(e.id);
        std::sort(ids.begin(), ids.end());
        return ids;
    }

    static SearchCriteria criteriaFor(const std::u16string& country, const std::u16string& term,
                                      bool fullText, const std::u16string& region, int boxesAndQuality) {
        SearchCriteria c;
        c.countryName = country;
        c.countryNameLength = country.empty() ? -1 : static_cast<int>(country.size());
        c.searchTerm = term;
        c.fullText = fullText;
        c.regionName = region;
        setBoxesAndQuality(c, boxesAndQuality);
        return c;
    }

    static std::string describe(const SearchCriteria& c) {
        std::u16string statement = composeSearchStatement(c, u"K");
        std::string out;
        for (char16_t ch : statement)
            out += ch < 0x80 ? static_cast<char>(ch) : '~';
        return out;
    }

    static TestCatalogue* catalogue_;
    static Database* database_;
};
TestCatalogue* SearchOnCatalogue::catalogue_ = nullptr;
Database* SearchOnCatalogue::database_ = nullptr;

const std::u16string kCountries[] = {
    u"", u" ", u"Frankreich", u"Deutschland", u"Österreich", u"Côte d'Ivoire", u"Atlantis"};
const std::u16string kTerms[] = {u"",
                                 u"riesling",
                                 u"RIES",
                                 u"grün",
                                 u"ÖKO",
                                 u"öko",
                                 u"d'a",
                                 u"beau'l",
                                 u"100%",
                                 u"vin_",
                                 u"_",
                                 u"%",
                                 u"*ling",
                                 u"r?esling",
                                 u"?",
                                 u"*",
                                 u"mosel",
                                 u"säure",
                                 u"ÄUSSERST",
                                 u"'",
                                 u"süß",
                                 u"(und",
                                 u"l'été",
                                 u"ÎLE",
                                 std::u16string(149, u'a'),
                                 std::u16string(149, u'\'')};
const std::u16string kRegions[] = {
    u"", u" ", u"Mo", u"Mosel", u"Côte d'Or", u"Württemberg", u"WÜRTT", u"île de beauté", u"BEAUTÉ"};

TEST_F(SearchOnCatalogue, EveryCountryTermAndRegionFindsWhatThePlainFilterFinds) {
    int code = 0;
    for (const std::u16string& country : kCountries)
        for (const std::u16string& term : kTerms)
            for (bool fullText : {false, true})
                for (const std::u16string& region : kRegions) {
                    // Boxes, level and "bes.gut" walk through their 2560 settings meanwhile.
                    code = (code + 977) % 2560;
                    const SearchCriteria criteria = criteriaFor(country, term, fullText, region, code);
                    buildSearchStatement(criteria, *database_);
                    std::vector<int> found;
                    ASSERT_TRUE(runStatement(found)) << describe(criteria);
                    ASSERT_EQ(found, oracle(criteria)) << describe(criteria);
                }
}

TEST_F(SearchOnCatalogue, EveryBoxLevelAndEspeciallyGoodSettingFindsWhatThePlainFilterFinds) {
    std::size_t nonEmpty = 0;
    for (int code = 1; code < 2560; ++code) {
        const SearchCriteria criteria = criteriaFor(kCountries[code % 7], u"", false, u"", code);
        buildSearchStatement(criteria, *database_);
        std::vector<int> found;
        ASSERT_TRUE(runStatement(found)) << describe(criteria);
        ASSERT_EQ(found, oracle(criteria)) << describe(criteria);
        nonEmpty += !found.empty();
    }
    // The catalogue is varied enough that most settings find something.
    EXPECT_GT(nonEmpty, 1000u);
}

TEST_F(SearchOnCatalogue, TheEmptyFormIsRejected) {
    buildSearchStatement(criteriaFor(u"", u"", false, u" ", 0), *database_);
    EXPECT_EQ(std::u16string(database_->queryBuffer), u"SELECT * FROM talvino WHERE () ORDER by STICHWORT");
    std::vector<int> found;
    EXPECT_FALSE(runStatement(found));
}

TEST_F(SearchOnCatalogue, CountryCodeIsLookedUpByName) {
    EXPECT_EQ(lookUpCountryCode(*database_, u"Deutschland"), u"D");
    EXPECT_EQ(lookUpCountryCode(*database_, u"Côte d'Ivoire"), u"C'I");
    EXPECT_EQ(lookUpCountryCode(*database_, u"Atlantis"), u"\n");
}

TEST_F(SearchOnCatalogue, ResultsComeOrderedByKeyword) {
    buildSearchStatement(criteriaFor(u"Deutschland", u"", false, u"", 0), *database_);
    ASSERT_TRUE(SUCCEEDED(database_->openQuery(ado::adOpenStatic, ado::adLockReadOnly)));
    std::vector<std::u16string> keywords;
    ado::Recordset* rows = database_->recordset();
    VARIANT_BOOL atEnd = VARIANT_FALSE;
    for (rows->get_EOF(&atEnd); !atEnd; rows->MoveNext(), rows->get_EOF(&atEnd)) {
        VARIANT keyword;
        VariantInit(&keyword);
        rows->fieldValue(schema::entry::kKeyword, &keyword);
        keywords.emplace_back(keyword.bstrVal);
    }
    rows->Close();
    EXPECT_GT(keywords.size(), 5u);
    // German dictionary order, not the order of character codes.
    EXPECT_TRUE(std::is_sorted(
        keywords.begin(), keywords.end(),
        [](const std::u16string& a, const std::u16string& b) { return ado::compareGerman(a, b) < 0; }));
}

} // namespace
