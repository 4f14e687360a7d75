#include <gtest/gtest.h>

#include <random>
#include <string>

#include "platform/data/letter_case.h"
#include "platform/data/like_pattern.h"
#include "platform/data/utf.h"

namespace {

struct LikeCase {
    const char16_t* pattern;
    const char16_t* text;
    bool matches;
};

std::ostream& operator<<(std::ostream& out, const LikeCase& c) {
    return out << "'" << ado::toUtf8(c.text) << "' LIKE '" << ado::toUtf8(c.pattern) << "'";
}

bool matchUtf16(const std::u16string& pattern, const std::u16string& text) {
    ado::LikePattern<char16_t> compiled(pattern.data(), pattern.size());
    return compiled.matches(text.data(), text.size());
}

bool matchUtf8(const std::u16string& pattern, const std::u16string& text) {
    const std::string p = ado::toUtf8(pattern), t = ado::toUtf8(text);
    ado::LikePattern<unsigned char> compiled(reinterpret_cast<const unsigned char*>(p.data()), p.size());
    return compiled.matches(reinterpret_cast<const unsigned char*>(t.data()), t.size());
}

class LikeMatchesInBothEncodings : public ::testing::TestWithParam<LikeCase> {};

TEST_P(LikeMatchesInBothEncodings, AsTheCatalogueSearchExpects) {
    const LikeCase& c = GetParam();
    EXPECT_EQ(matchUtf16(c.pattern, c.text), c.matches) << "UTF-16";
    EXPECT_EQ(matchUtf8(c.pattern, c.text), c.matches) << "UTF-8";
}

const LikeCase kWildcards[] = {
    {u"*riesling*", u"riesling spätlese", true},
    {u"*riesling*", u"mosel riesling", true},
    {u"*riesling*", u"rieslin", false},
    {u"*riesling*", u"", false},
    {u"Ries*", u"Riesling", true},
    {u"Ries*", u"Der Riesling", false},
    {u"*ling", u"Riesling", true},
    {u"*ling", u"Rieslinge", false},
    {u"R?esling", u"Riesling", true},
    {u"R?esling", u"Resling", false},
    {u"R??sling", u"Riesling", true},
    {u"*", u"", true},
    {u"*", u"anything", true},
    {u"**", u"x", true},
    {u"", u"", true},
    {u"", u"a", false},
    {u"?", u"", false},
    {u"?", u"ä", true},
    {u"?", u"€", true},
    {u"a*b*c", u"aXbYc", true},
    {u"a*b*c", u"abc", true},
    {u"a*b*c", u"acb", false},
    {u"a*a", u"a", false},
    {u"a*a", u"aa", true},
    {u"*ab*ab*", u"xabyab", true},
    {u"*ab*ab*", u"xaby", false},
    {u"*a?c*", u"xxabcxx", true},
    {u"*a?c", u"abcabc", true},
    {u"*?", u"z", true},
    {u"?*", u"", false},
    {u"Chablis", u"Chablis", true},
    {u"Chablis", u"Chablis ", false},
};
INSTANTIATE_TEST_SUITE_P(Wildcards, LikeMatchesInBothEncodings, ::testing::ValuesIn(kWildcards));

const LikeCase kCase[] = {
    {u"*RIESLING*", u"riesling", true},
    {u"*riesling*", u"RIESLING", true},
    {u"*ürzig*", u"ÜRZIGER", true},
    {u"*ÜRZIG*", u"ürziger", true},
    {u"*öl*", u"ÖL", true},
    {u"*ä*", u"Ä", true},
    {u"*é*", u"É", true},
    {u"ß", u"ß", true},
    {u"ß", u"ss", true},
    {u"ß", u"SS", true},
    {u"ÿ", u"ÿ", true},
    {u"×", u"÷", false},
    {u"a", u"à", false},
};
INSTANTIATE_TEST_SUITE_P(CaseAndUmlauts, LikeMatchesInBothEncodings, ::testing::ValuesIn(kCase));

// The spellings a reader takes for one word: ß, ẞ and ss each way; final sigma and σ.
const LikeCase kSpellings[] = {
    {u"*großlage*", u"GROSSLAGE", true},
    {u"*GROSSLAGE*", u"Großlage", true},
    {u"*grosslage*", u"GROẞLAGE", true},
    {u"*schloßberg*", u"SCHLOSSBERG", true},
    {u"*STRAUSS", u"Weingut Strauß", true},
    {u"*ẞ*", u"Fass", true},
    {u"*ss*", u"Maß", true},
    {u"ΣΆΜΟΣ", u"Σάμος", true},
    {u"*σάμος*", u"ΣΆΜΟΣ", true},
    {u"*ς*", u"Σ", true},
    {u"*σαμος*", u"Σάμος", false}, // the accent still counts
    {u"Stra?e", u"Straße", true},   // ß is one character
    {u"Stra?e", u"Strasse", false},
    {u"Stra??e", u"Strasse", true},
    {u"*s*", u"ß", false}, // one s is not ß
    {u"ß", u"s", false},
    {u"ss", u"ßs", false},
    {u"s*s", u"ß", false},
};
INSTANTIATE_TEST_SUITE_P(Spellings, LikeMatchesInBothEncodings, ::testing::ValuesIn(kSpellings));

// SQLite's own wildcards and the bracket are ordinary characters in this dialect.
const LikeCase kOrdinary[] = {
    {u"%", u"abc", false},
    {u"%", u"%", true},
    {u"a_c", u"abc", false},
    {u"a_c", u"a_c", true},
    {u"*[a]*", u"x[a]y", true},
    {u"*[a]*", u"xay", false},
    {u"*d'a*", u"nero d'avola", true},
};
INSTANTIATE_TEST_SUITE_P(OrdinaryCharacters, LikeMatchesInBothEncodings, ::testing::ValuesIn(kOrdinary));

TEST(LikePattern, FindsAMatchAtEveryPositionOfALongText) {
    // Crosses the 16-byte and 8-unit blocks of the pre-filter at every offset.
    for (std::size_t at = 0; at < 80; ++at) {
        std::u16string text(100, u'x');
        text.replace(at, 5, u"WÜRZE");
        EXPECT_TRUE(matchUtf16(u"*würze*", text)) << at;
        EXPECT_TRUE(matchUtf8(u"*würze*", text)) << at;
        text[at + 4] = u'a';
        EXPECT_FALSE(matchUtf16(u"*würze*", text)) << at;
        EXPECT_FALSE(matchUtf8(u"*würze*", text)) << at;
    }
}

TEST(LikePattern, MatchesEncodedTextOfTwoByteCharacters) {
    // Encoded catalogue text sits at U+0600 and above: two bytes in UTF-8 with few lead bytes.
    std::u16string text;
    for (int i = 0; i < 200; ++i)
        text += static_cast<char16_t>(0x600 + (i * 7) % 256);
    const std::u16string needle = text.substr(150, 6);
    EXPECT_TRUE(matchUtf8(u"*" + needle + u"*", text));
    EXPECT_TRUE(matchUtf16(u"*" + needle + u"*", text));
    std::u16string other = needle;
    other[5] = static_cast<char16_t>(other[5] + 1);
    EXPECT_EQ(matchUtf8(u"*" + other + u"*", text), text.find(other) != std::u16string::npos);
}

TEST(LikePattern, QuestionMarkTakesAWholeCharacterNotAByteOrUnit) {
    EXPECT_TRUE(matchUtf8(u"?b", u"äb"));
    EXPECT_FALSE(matchUtf8(u"??b", u"äb"));
    EXPECT_TRUE(matchUtf16(u"?b", u"\U0001F377b"));
    EXPECT_TRUE(matchUtf8(u"?b", u"\U0001F377b"));
}

TEST(LikePattern, MalformedUtf8NeverReadsOutsideTheText) {
    const unsigned char text[] = {'a', 0xC3, 'b', 0xE2, 0x82};
    const std::string pattern = "*b*";
    ado::LikePattern<unsigned char> compiled(reinterpret_cast<const unsigned char*>(pattern.data()),
                                             pattern.size());
    EXPECT_TRUE(compiled.matches(text, sizeof text));
    const std::string any = "?????";
    ado::LikePattern<unsigned char> five(reinterpret_cast<const unsigned char*>(any.data()), any.size());
    EXPECT_TRUE(five.matches(text, sizeof text));
}

// A plain recursive matcher over whole characters: the definition the fast one must agree with.
bool referenceMatch(const std::u32string& p, std::size_t i, const std::u32string& t, std::size_t j) {
    auto fold = [](char32_t c) {
        const char32_t lower = ado::lowerCaseOf(c);
        return lower == ado::kFinalSigma ? char32_t(ado::kSigma) : lower;
    };
    if (i == p.size()) return j == t.size();
    if (p[i] == U'*') {
        for (std::size_t k = j; k <= t.size(); ++k)
            if (referenceMatch(p, i + 1, t, k)) return true;
        return false;
    }
    if (j == t.size()) return false;
    // ß (or ẞ) on one side, two s on the other.
    if (fold(p[i]) == ado::kSharpS && j + 1 < t.size() && fold(t[j]) == U's' && fold(t[j + 1]) == U's' &&
        referenceMatch(p, i + 1, t, j + 2))
        return true;
    if (fold(t[j]) == ado::kSharpS && i + 1 < p.size() && p[i] != U'?' && fold(p[i]) == U's' &&
        p[i + 1] != U'?' && fold(p[i + 1]) == U's' && referenceMatch(p, i + 2, t, j + 1))
        return true;
    if (p[i] != U'?' && fold(p[i]) != fold(t[j])) return false;
    return referenceMatch(p, i + 1, t, j + 1);
}

std::u16string toUtf16(const std::u32string& s) {
    std::u16string out;
    for (char32_t c : s) {
        if (c >= 0x10000) {
            out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            out += static_cast<char16_t>(c);
        }
    }
    return out;
}

TEST(LikePattern, AgreesWithAPlainMatcherOnRandomPatternsAndTexts) {
    // With letters of more than two forms (k, K, Kelvin sign; i, I, İ; ß, ẞ; σ, ς, Σ), capitals
    // longer in UTF-8 than their small letter, and s often enough to meet ß as "ss".
    const std::u32string letters = U"aAäÄßbB€x\U0001F377kK\u212AiI\u0130\u1E9EšŠsSsςσΣ";
    const std::u32string wild = U"*?";
    std::mt19937 random(7);
    int matches = 0;
    for (int round = 0; round < 20000; ++round) {
        std::u32string pattern, text;
        const int pn = static_cast<int>(random() % 8), tn = static_cast<int>(random() % 40);
        for (int i = 0; i < pn; ++i)
            pattern += random() % 3 == 0 ? wild[random() % wild.size()] : letters[random() % letters.size()];
        for (int i = 0; i < tn; ++i)
            text += letters[random() % letters.size()];
        const bool expected = referenceMatch(pattern, 0, text, 0);
        matches += expected ? 1 : 0;
        ASSERT_EQ(matchUtf16(toUtf16(pattern), toUtf16(text)), expected)
            << ado::toUtf8(toUtf16(text)) << " LIKE " << ado::toUtf8(toUtf16(pattern));
        ASSERT_EQ(matchUtf8(toUtf16(pattern), toUtf16(text)), expected)
            << ado::toUtf8(toUtf16(text)) << " LIKE " << ado::toUtf8(toUtf16(pattern));
    }
    // Enough of both outcomes for the comparison to mean something.
    EXPECT_GT(matches, 1000);
    EXPECT_LT(matches, 18000);
}

TEST(LikePattern, FindsLettersInEveryFormTheirLowerCaseHas) {
    // The Kelvin sign and İ are three and two bytes in UTF-8 where k and i are one.
    EXPECT_TRUE(matchUtf8(u"*kabinett*", u"Spät\u212Aabinett"));
    EXPECT_TRUE(matchUtf16(u"*kabinett*", u"Spät\u212Aabinett"));
    EXPECT_TRUE(matchUtf8(u"izmir*", u"\u0130zmir Bornova"));
    EXPECT_TRUE(matchUtf16(u"izmir*", u"\u0130zmir Bornova"));
    EXPECT_TRUE(matchUtf8(u"*straße", u"Weinstra\u1E9Ee"));
    EXPECT_TRUE(matchUtf8(u"*strasse", u"Weinstra\u1E9Ee")); // ẞ is written SS
    EXPECT_TRUE(matchUtf16(u"*strasse", u"Weinstra\u1E9Ee"));
    EXPECT_FALSE(matchUtf8(u"*kabinett*", u"Spät\u212Aabinet"));
    EXPECT_FALSE(matchUtf16(u"izmir?", u"\u0130zmir"));
}

TEST(LikePattern, IgnoresTheCaseOfLettersBeyondLatin1) {
    const LikeCase cases[] = {
        {u"*šipon*", u"Podravje Šipon", true},  {u"*œil*", u"Œil-de-Perdrix", true},
        {u"*ștefan*", u"Ștefan Vodă", true},    {u"*ĆURKO*", u"ćurko", true},
        {u"*ΑΜΠΕΛΙ*", u"αμπελι", true},         {u"*ș*", u"Stefan", false},
        {u"*\U00010428*", u"\U00010400", true}, // Deseret: both forms outside the basic plane
    };
    for (const LikeCase& c : cases) {
        EXPECT_EQ(matchUtf16(c.pattern, c.text), c.matches) << c;
        EXPECT_EQ(matchUtf8(c.pattern, c.text), c.matches) << c;
    }
}

} // namespace
