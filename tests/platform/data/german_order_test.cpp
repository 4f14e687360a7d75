#include "platform/data/german_order.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/data/utf.h"

namespace {

struct OrderedPair {
    const char* rule;
    const char16_t* first;
    const char16_t* second;
};

std::ostream& operator<<(std::ostream& out, const OrderedPair& p) {
    return out << p.rule << ": " << ado::toUtf8(p.first) << " < " << ado::toUtf8(p.second);
}

int compareUtf8(std::u16string_view a, std::u16string_view b) {
    const std::string x = ado::toUtf8(std::u16string(a)), y = ado::toUtf8(std::u16string(b));
    return ado::compareGermanUtf8(x.data(), x.size(), y.data(), y.size());
}

const OrderedPair kPairs[] = {
    {"umlaut as its vowel", u"Neuseeland", u"Österreich"},
    {"umlaut as its vowel", u"Österreich", u"Portugal"},
    {"umlaut as its vowel", u"Müller-Thurgau", u"Muskateller"},
    {"umlaut breaks a tie only", u"Muller", u"Müller"},
    {"umlaut is not a digraph", u"Mueller", u"Müller"},
    {"case after letters", u"Ungarn", u"Uruguay"},
    {"case after letters", u"Uruguay", u"USA"},
    {"sharp s as ss", u"Masse", u"Maße"},
    {"sharp s as ss", u"Maße", u"Massel"},
    {"sharp s as ss", u"Maße", u"Mast"},
    {"accent as its letter", u"Sémillon", u"Silvaner"},
    {"accent breaks a tie", u"Cote", u"Côte"},
    {"accent before length", u"Côte", u"Coteaux"},
    {"small before capital", u"rose", u"Rose"},
    {"accent before case", u"Rose", u"rosé"},
    {"abbreviation as written", u"Saint-Amour", u"St. Laurent"},
    {"full stop before letters", u"St. Laurent", u"Stadt"},
    {"blank before letters", u"St. Laurent", u"St.Laurent"},
    {"numbers by value", u"Tawny 9 Jahre", u"Tawny 10 Jahre"},
    {"numbers by value", u"Aszú 3 Puttonyos", u"Aszú 6 Puttonyos"},
    {"digits before letters", u"1er Cru", u"Aligoté"},
    {"prefix first", u"Saint-Émilion", u"Saint-Émilion Grand Cru"},
};

class GermanOrder : public ::testing::TestWithParam<OrderedPair> {};

TEST_P(GermanOrder, PutsTheFirstBeforeTheSecondInBothEncodings) {
    const OrderedPair& p = GetParam();
    EXPECT_LT(ado::compareGerman(p.first, p.second), 0);
    EXPECT_GT(ado::compareGerman(p.second, p.first), 0);
    EXPECT_LT(compareUtf8(p.first, p.second), 0);
    EXPECT_GT(compareUtf8(p.second, p.first), 0);
}

INSTANTIATE_TEST_SUITE_P(TrickyPairs, GermanOrder, ::testing::ValuesIn(kPairs),
                         [](const ::testing::TestParamInfo<OrderedPair>& pair) {
                             std::string name = std::to_string(pair.index) + "_" + pair.param.rule;
                             std::replace_if(
                                 name.begin(), name.end(),
                                 [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
                             return name;
                         });

TEST(GermanOrderOfLists, SortsCountriesAsADictionary) {
    std::vector<std::u16string> countries = {u"USA",         u"Österreich", u"Ungarn",
                                             u"Portugal",    u"Uruguay",    u"Neuseeland",
                                             u"Deutschland", u"Südafrika",  u"Spanien"};
    std::sort(countries.begin(), countries.end(),
              [](const std::u16string& a, const std::u16string& b) { return ado::compareGerman(a, b) < 0; });
    EXPECT_EQ(countries,
              (std::vector<std::u16string>{u"Deutschland", u"Neuseeland", u"Österreich", u"Portugal",
                                           u"Spanien", u"Südafrika", u"Ungarn", u"Uruguay", u"USA"}));
}

TEST(GermanOrderOfLists, CallsOnlyEqualTextsEqual) {
    EXPECT_EQ(ado::compareGerman(u"Weißburgunder", u"Weißburgunder"), 0);
    EXPECT_EQ(compareUtf8(u"", u""), 0);
    EXPECT_NE(ado::compareGerman(u"Masse", u"Maße"), 0);
    EXPECT_NE(ado::compareGerman(u"rose", u"Rose"), 0);
    EXPECT_LT(ado::compareGerman(u"", u"a"), 0);
}

TEST(GermanOrderOfLists, ReadsMalformedUtf8WithoutFailing) {
    const char broken[] = {'a', '\xC3'};
    const char plain[] = {'a', 'b'};
    const int c = ado::compareGermanUtf8(broken, sizeof broken, plain, sizeof plain);
    EXPECT_EQ(c, -ado::compareGermanUtf8(plain, sizeof plain, broken, sizeof broken));
}

} // namespace
