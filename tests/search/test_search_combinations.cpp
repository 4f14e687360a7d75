// Every combination of criteria: the statement's shape, and on a test catalogue the rows it finds
// compared with a plain filter over the same entries, written without the statement builder.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "search/query_builder.h"

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
                        for (std::size_t at = s.find(u" AND "); at != std::u16string::npos; at = s.find(u" AND ", at + 1))
                            ++joins;
                        // "(Qualitaet1 <= n) AND (Qualitaet2 >= n)" joins inside its clause.
                        if (c.qualityLevel != 0 && c.especiallyGood) --joins;
                        ASSERT_EQ(joins, clauses == 0 ? 0 : clauses - 1);
                        ASSERT_EQ(s.find(u"WHERE ()") != std::u16string::npos, clauses == 0);

                        // Clause order: country, term, region, colours, tastes, quality.
                        const std::size_t order[] = {
                            positionOf(s, u"(Land ="), positionOf(s, u"Stichwort_Klein"),
                            positionOf(s, u"(Regio_Lang LIKE"),
                            std::min({positionOf(s, u"(Rot"), positionOf(s, u"(Weiss"), positionOf(s, u"(Rose"),
                                      positionOf(s, u"(Braun")}),
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

} // namespace
