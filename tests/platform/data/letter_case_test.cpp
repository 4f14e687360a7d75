#include "platform/data/letter_case.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(LetterCase, LowersEveryCapitalOneCharacterToOne) {
    EXPECT_EQ(ado::lowerCaseOf(U'A'), U'a');
    EXPECT_EQ(ado::lowerCaseOf(U'Ä'), U'ä');
    EXPECT_EQ(ado::lowerCaseOf(U'Þ'), U'þ');
    EXPECT_EQ(ado::lowerCaseOf(U'Š'), U'š');
    EXPECT_EQ(ado::lowerCaseOf(U'Œ'), U'œ');
    EXPECT_EQ(ado::lowerCaseOf(U'Ș'), U'ș');
    EXPECT_EQ(ado::lowerCaseOf(U'Ć'), U'ć');
    EXPECT_EQ(ado::lowerCaseOf(U'Ω'), U'ω');
    EXPECT_EQ(ado::lowerCaseOf(U'\u0130'), U'i'); // İ: the simple mapping, not "i" with a dot above
    EXPECT_EQ(ado::lowerCaseOf(U'\U00010400'), U'\U00010428');
}

TEST(LetterCase, LeavesSmallLettersSharpSAndSignsAlone) {
    for (char32_t c : {U'a', U'ß', U'ä', U'×', U'÷', U'@', U'[', U'1', U'€', U'ı'})
        EXPECT_EQ(ado::lowerCaseOf(c), c) << static_cast<unsigned>(c);
    EXPECT_EQ(ado::lowerCaseOf(U'\u1E9E'), U'ß'); // the capital sharp s has ß as its small letter
}

TEST(LetterCase, LowersUtf16TextInPlaceWithoutChangingItsLength) {
    std::u16string text = u"ŠIPON \U00010400 Ștefan Vodă ÆØÅ";
    ado::lowerCaseUtf16(text.data(), text.size());
    EXPECT_EQ(text, u"šipon \U00010428 ștefan vodă æøå");
    std::u16string loneSurrogate = u"A\xD801"
                                   u"B";
    ado::lowerCaseUtf16(loneSurrogate.data(), loneSurrogate.size());
    EXPECT_EQ(loneSurrogate, u"a\xD801"
                             u"b");
}

TEST(LetterCase, KnowsEveryCapitalOfASmallLetter) {
    EXPECT_EQ(ado::capitalsOf(U'a'), (std::vector<char32_t>{U'A'}));
    EXPECT_EQ(ado::capitalsOf(U'k'), (std::vector<char32_t>{U'K', U'\u212A'})); // Kelvin sign
    EXPECT_EQ(ado::capitalsOf(U'i'), (std::vector<char32_t>{U'I', U'\u0130'}));
    EXPECT_EQ(ado::capitalsOf(U'ß'), (std::vector<char32_t>{U'\u1E9E'}));
    EXPECT_TRUE(ado::capitalsOf(U'A').empty());
    EXPECT_TRUE(ado::capitalsOf(U'1').empty());
    for (char32_t small : {U'a', U'k', U'š', U'ω', U'\U00010428'})
        for (char32_t capital : ado::capitalsOf(small))
            EXPECT_EQ(ado::lowerCaseOf(capital), small);
}

} // namespace
