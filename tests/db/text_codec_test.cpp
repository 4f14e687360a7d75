#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "db/text_codec.h"
#include "platform/data/letter_case.h"
#include "platform/data/like_pattern.h"
#include "platform/data/utf.h"

namespace {

// Every character a catalogue text may hold: Latin-1 and the Latin extensions up to U+01FF,
// general punctuation, the euro sign.
std::vector<char16_t> catalogueCharacters() {
    std::vector<char16_t> all;
    for (char16_t c = 1; c <= 0x1FF; ++c)
        all.push_back(c);
    for (char16_t c = 0x2000; c <= 0x20FF; ++c)
        all.push_back(c);
    return all;
}

TEST(TextCodec, EveryCatalogueCharacterEncodesToASafeCharacter) {
    const std::u16string forbidden = u"'*?%_[]";
    for (char16_t c : catalogueCharacters()) {
        const char16_t e = codec::encodeChar(c);
        SCOPED_TRACE(testing::Message()
                     << "U+" << std::hex << static_cast<int>(c) << " -> U+" << static_cast<int>(e));
        EXPECT_NE(e, 0);
        EXPECT_FALSE(e >= 0xD800 && e <= 0xDFFF);
        EXPECT_EQ(forbidden.find(e), std::u16string::npos);
        // LIKE folds neither it nor anything to it, so two encoded texts compare equal only
        // when they are equal.
        EXPECT_EQ(ado::lowerCaseOf(e), e);
        EXPECT_TRUE(ado::capitalsOf(e).empty());
        // Two bytes in UTF-8 too: the file's size does not depend on its encoding here.
        if (c <= 0x1FF) {
            EXPECT_TRUE(e >= 0x80 && e < 0x800);
        }
    }
}

TEST(TextCodec, EncodingIsOneToOneOverEveryValue) {
    std::set<char16_t> seen;
    for (unsigned v = 0; v <= 0xFFFF; ++v) {
        const char16_t c = static_cast<char16_t>(v);
        ASSERT_EQ(codec::decodeChar(codec::encodeChar(c)), c) << v;
        ASSERT_EQ(codec::encodeChar(codec::decodeChar(c)), c) << v;
        seen.insert(codec::encodeChar(c));
    }
    EXPECT_EQ(seen.size(), 0x10000u);
}

TEST(TextCodec, RoundTripKeepsUmlautsAndSharpS) {
    std::u16string text = u"Würzig, süß, Öchsle über 90 °; Grüße aus Österreich – 20 € „gut“";
    const std::u16string original = text;
    encodeText(text.data());
    EXPECT_NE(text, original);
    decodeText(text.data());
    EXPECT_EQ(text, original);
    EXPECT_EQ(decodedText(encodedText(original)), original);
}

TEST(TextCodec, EncodingChangesEveryCharacter) {
    std::u16string text = u"abc";
    encodeText(text.data());
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_NE(text[i], u"abc"[i]);
    EXPECT_EQ(text.size(), 3u);
}

TEST(TextCodec, DecodeIgnoresNullAndLeavesEmptyTextEmpty) {
    decodeText(nullptr);
    char16_t empty[1] = {u'\0'};
    decodeText(empty);
    EXPECT_EQ(empty[0], u'\0');
    encodeText(empty);
    EXPECT_EQ(empty[0], u'\0');
}

TEST(TextCodec, TheLengthIsTakenOnceSoCharactersAfterANewNulAreConvertedToo) {
    char16_t text[4] = {u'x', codec::encodeChar(u'\0'), codec::encodeChar(u'y'), u'\0'};
    decodeText(text);
    EXPECT_EQ(text[0], codec::decodeChar(u'x'));
    EXPECT_EQ(text[1], u'\0');
    EXPECT_EQ(text[2], u'y');
}

// ---- How scrambled texts are carried in the file -------------------------------------------------

bool hasLoneSurrogate(const std::u16string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool high = text[i] >= 0xD800 && text[i] <= 0xDBFF;
        const bool low = text[i] >= 0xDC00 && text[i] <= 0xDFFF;
        if (high && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            ++i;
            continue;
        }
        if (high || low) return true;
    }
    return false;
}

TEST(CarriedText, EveryUnitComesBackAndNoneIsCarriedAsALoneSurrogate) {
    for (unsigned value = 1; value <= 0xFFFF; ++value) {
        const std::u16string one(1, static_cast<char16_t>(value));
        const std::u16string carried = carriedText(one);
        SCOPED_TRACE(testing::Message() << "U+" << std::hex << value);
        ASSERT_FALSE(hasLoneSurrogate(carried));
        ASSERT_EQ(uncarriedText(carried), one);
        // Outside the surrogate range nothing changes, so catalogues without such units keep their form.
        if (value < 0xD800 || value > 0xDFFF) {
            ASSERT_EQ(carried, one);
        }
    }
}

TEST(CarriedText, ATermIsFoundInACarriedTextExactlyWhereItStandsInTheText) {
    // Encoded units in the surrogate range, mixed with ordinary ones, in every order.
    const std::u16string units = {u'a', 0xD800, 0xDB7F, 0xDB80, 0xDC00, 0xDFFF, u'z'};
    std::vector<std::u16string> texts;
    for (char16_t a : units)
        for (char16_t b : units)
            for (char16_t c : units)
                texts.push_back({a, b, c});
    for (const std::u16string& text : texts) {
        const std::u16string carried = carriedText(text);
        for (const std::u16string& term : {text.substr(0, 1), text.substr(1, 1), text.substr(1, 2), text})
            EXPECT_NE(carried.find(carriedText(term)), std::u16string::npos);
        for (char16_t other : units)
            if (text.find(other) == std::u16string::npos) {
                EXPECT_EQ(carried.find(carriedText(std::u16string(1, other))), std::u16string::npos);
            }
    }
}

TEST(CarriedText, HangulAndEmojiSurviveTheStoredFormAndItsUtf8) {
    const std::u16string readable = u"Kimchi \uD68C und \U0001F377 oder \U0001F600, \uD7A3 zuletzt";
    const std::u16string stored = storedText(readable);
    EXPECT_FALSE(hasLoneSurrogate(stored));
    EXPECT_NE(stored, encodedText(readable)); // some units had to be carried
    EXPECT_EQ(readableText(stored), readable);
    // The file's UTF-8 holds the stored form exactly.
    EXPECT_EQ(ado::toUtf16(ado::toUtf8(stored)), stored);
    // German text is stored exactly as the codec encodes it.
    EXPECT_EQ(storedText(u"Säure und Würze, 20 €"), encodedText(u"Säure und Würze, 20 €"));
}

TEST(LowerCase, LowersEveryCapitalOneCharacterToOneAndKeepsSharpS) {
    std::u16string text = u"ÄÖÜ ÀÉÞ ABC ß × 1 ŠŒȘĆ Ω İ ẞ";
    lowerCaseText(text.data());
    EXPECT_EQ(text, u"äöü àéþ abc ß × 1 šœșć ω i ß");
    EXPECT_EQ(lowerCasedText(u"Ürziger Würzgarten"), u"ürziger würzgarten");
    EXPECT_EQ(lowerCasedText(u"Podravje Šipon"), u"podravje šipon");
    EXPECT_EQ(lowerCasedText(u"\U00010400x"), u"\U00010428x"); // a surrogate pair stays a pair
    lowerCaseText(nullptr);
}

TEST(LowerCase, IsTheRuleTheLikeFoldsWith) {
    for (unsigned v = 0; v <= 0xFFFF; ++v) {
        if (v >= 0xD800 && v <= 0xDFFF) continue;
        ASSERT_EQ(lowerCaseChar(static_cast<char16_t>(v)), ado::lowerCaseOf(v)) << v;
    }
}

struct DoublingCase {
    const char16_t* input;
    const char16_t* output;
};
void PrintTo(const DoublingCase& c, std::ostream* os) {
    *os << '"' << ado::toUtf8(c.input) << '"';
}

class ApostropheDoubling : public ::testing::TestWithParam<DoublingCase> {};

TEST_P(ApostropheDoubling, DoublesEveryApostropheInPlace) {
    const DoublingCase& c = GetParam();
    char16_t buffer[64];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    std::u16string(c.input).copy(buffer, 63);
    buffer[std::u16string(c.input).size()] = u'\0';
    doubleApostrophes(buffer);
    EXPECT_EQ(std::u16string(buffer), std::u16string(c.output));
    // Nothing is written past the grown text's terminator.
    EXPECT_EQ(buffer[std::u16string(c.output).size() + 1], u'#');
    EXPECT_EQ(doubledApostrophes(c.input), std::u16string(c.output));
}

const DoublingCase kDoublingCases[] = {
    {u"Nero d'Avola", u"Nero d''Avola"},
    {u"''", u"''''"},
    {u"Riesling", u"Riesling"},
    {u"'", u"''"},
    {u"", u""},
    {u"a'b'c'", u"a''b''c''"},
    {u"'''", u"''''''"},
    {u"Omas 'Lieblings'wein", u"Omas ''Lieblings''wein"},
};
INSTANTIATE_TEST_SUITE_P(Texts, ApostropheDoubling, ::testing::ValuesIn(kDoublingCases));

TEST(ApostropheDoublingBounded, RefusesWhenTheResultWouldNotFit) {
    char16_t buffer[5] = u"a'b";
    EXPECT_FALSE(doubleApostrophes(buffer, 4)); // needs 3 + 1 + 1 = 5
    EXPECT_EQ(std::u16string(buffer), u"a'b");
    EXPECT_TRUE(doubleApostrophes(buffer, 5));
    EXPECT_EQ(std::u16string(buffer), u"a''b");
}

TEST(UtilityObject, OwnsTheSameRoutines) {
    const Utility utility;
    // "Süß" as the catalogue stores it: each unit XOR 0x5C, plus 0x600.
    const std::u16string stored = {u'\u060F', u'\u06A0', u'\u0683'};
    std::u16string text = stored;
    utility.decode(text.data());
    EXPECT_EQ(text, u"Süß");
    utility.encode(text.data());
    EXPECT_EQ(text, stored);
    char16_t buffer[8] = {u'd', u'\'', u'A', u'\0', u'#', u'#', u'#', u'#'};
    utility.doubleApostrophes(buffer);
    EXPECT_EQ(std::u16string(buffer, 6), (std::u16string{u'd', u'\'', u'\'', u'A', u'\0', u'#'}));
}

} // namespace
