// The Info and vintage texts of an entry, composed from row values.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "db/text_codec.h"
#include "results/entry_detail.h"

namespace {

// A vintage column as the catalogue stores it: one character per code.
std::u16string codes(const std::vector<unsigned>& values) {
    std::u16string column;
    for (unsigned v : values)
        column += static_cast<char16_t>(v);
    return column;
}

std::u16string years(const std::vector<int>& values) {
    std::u16string column;
    for (int year : values)
        column += static_cast<char16_t>(year - 1900);
    return column;
}

// ---- Quality --------------------------------------------------------------------------------

struct QualityNameCase {
    int number;
    const char16_t* name;
};

void PrintTo(const QualityNameCase& c, std::ostream* os) {
    *os << "Quality" << c.number;
}

class QualityNames : public testing::TestWithParam<QualityNameCase> {};

TEST_P(QualityNames, NumberGivesItsName) {
    EXPECT_EQ(qualityName(GetParam().number), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(EveryNumber, QualityNames,
                         testing::Values(QualityNameCase{1, u"einfach"},
                                         QualityNameCase{2, u"überdurchschnittlich"},
                                         QualityNameCase{3, u"bekannt"}, QualityNameCase{4, u"erstklassig"},
                                         QualityNameCase{5, u"einfach+ besonders gut"},
                                         QualityNameCase{6, u"überdurchschnittlich+besonders gut"},
                                         QualityNameCase{7, u"bekannt+besonders gut"},
                                         QualityNameCase{8, u"erstklassig+besonders gut"},
                                         QualityNameCase{9, u"unbekannt"}, QualityNameCase{100, u"unbekannt"},
                                         QualityNameCase{-1, u"unbekannt"},
                                         QualityNameCase{-32768, u"unbekannt"}, QualityNameCase{0, u""}));

struct QualityLineCase {
    int q1;
    int q2;
    const char16_t* line;
};

void PrintTo(const QualityLineCase& c, std::ostream* os) {
    *os << "Quality" << c.q1 << "And" << c.q2;
}

class QualityLines : public testing::TestWithParam<QualityLineCase> {};

TEST_P(QualityLines, TwoNumbersGiveTheLine) {
    EXPECT_EQ(qualityLine(GetParam().q1, GetParam().q2), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(EveryCombination, QualityLines,
                         testing::Values(QualityLineCase{3, 3, u"bekannt"},
                                         QualityLineCase{2, 4, u"überdurchschnittlich -> erstklassig"},
                                         QualityLineCase{4, 2, u"erstklassig -> überdurchschnittlich"},
                                         QualityLineCase{0, 7, u"bekannt+besonders gut"},
                                         QualityLineCase{6, 0, u"überdurchschnittlich+besonders gut"},
                                         QualityLineCase{9, 0, u"unbekannt"},
                                         QualityLineCase{9, 9, u"unbekannt"},
                                         QualityLineCase{1, -3, u"einfach -> unbekannt"},
                                         QualityLineCase{0, 0, u""}));

// ---- Taste words ------------------------------------------------------------------------------

TEST(TasteWords, DryAndSparklingGiveTwoWordsEachWithItsBlank) {
    EntryRow row;
    row.dry = true;
    row.sparkling = true;
    EXPECT_EQ(tasteWords(row), u"trocken schäumend ");
}

TEST(TasteWords, AllFourFlagsInTheirFixedOrder) {
    EntryRow row;
    row.sparkling = row.sweet = row.mediumSweet = row.dry = true;
    EXPECT_EQ(tasteWords(row), u"trocken lieblich süß schäumend ");
}

TEST(TasteWords, SingleFlagsGiveTheirOwnWord) {
    EntryRow mediumSweet;
    mediumSweet.mediumSweet = true;
    EXPECT_EQ(tasteWords(mediumSweet), u"lieblich ");
    EntryRow sweet;
    sweet.sweet = true;
    EXPECT_EQ(tasteWords(sweet), u"süß ");
    EXPECT_EQ(tasteWords(EntryRow{}), u"");
}

// ---- Year list --------------------------------------------------------------------------------

TEST(YearList, CodesShowAsTwoDigitYearsInStoredOrder) {
    EXPECT_EQ(yearList(codes({95, 97, 100, 103})), u"95,97,00,03");
    EXPECT_EQ(yearList(codes({103, 95})), u"03,95");
}

TEST(YearList, CodesOneHundredToOneHundredNineGiveZeroToNineWithLeadingZero) {
    for (unsigned code = 100; code <= 109; ++code) {
        const std::u16string expected = {u'0', static_cast<char16_t>(u'0' + (code - 100))};
        EXPECT_EQ(yearList(codes({code})), expected) << code;
    }
    EXPECT_EQ(yearList(codes({5})), u"05");
}

TEST(YearList, CodeOfTwoHundredFiftyFiveOrMoreLeavesAnEmptyPlace) {
    EXPECT_EQ(yearList(codes({95, 300, 97})), u"95,,97");
    EXPECT_EQ(yearList(codes({95, 255})), u"95,");
    EXPECT_EQ(yearList(codes({254})), u"54");
}

TEST(YearList, NothingWhenTheResultWouldBeEmpty) {
    EXPECT_FALSE(yearList(u"").has_value());
    EXPECT_FALSE(yearList(codes({255})).has_value());
    EXPECT_FALSE(yearList(codes({0x2010})).has_value());
}

// ---- Headings ---------------------------------------------------------------------------------

// The headings of the fifteen vintage categories as the reader sees them.
const std::u16string kHeadings[15] = {
    u"empfohlener Jahrgang: ",
    u"genussreifer Jahrgang: ",
    u"2006 bevorzugt zu genießen: ",
    u"empfohlener Jahrgang\r\n  +besonders gut ausgefallen: ",
    u"genussreifer Jahrgang\r\n  +besonders gut ausgefallen: ",
    u"2006 bevorzugt zu genießender Jahrgang\r\n  +besonders gut ausgefallen: ",
    u"empfohlener Jahrgang\r\n  +vorläufige Bewertung: ",
    u"genussreifer Jahrgang\r\n  +vorläufige Bewertung: ",
    u"2006 bevorzugt zu genießender Jahrgang\r\n  +vorläufige Bewertung: ",
    u"empfohlener Jahrgang\r\n  +besonders gut ausgefallen\r\n  +vorläufige Bewertung: ",
    u"genussreifer Jahrgang\r\n  +besonders gut ausgefallen\r\n  +vorläufige Bewertung: ",
    u"2005 bevorzugt zu genießender Jahrgang\r\n  +besonders gut ausgefallen\r\n  +vorläufige Bewertung: ",
    u"normaler, guter Jahrgang: ",
    u"klassischer, vollreifer Jahrgang: ",
    u"kühler Jahrgang: ",
};

TEST(VintageHeadings, PlainCategoriesKeepTheirHeading) {
    for (int category : {0, 1, 2, 12, 13, 14})
        EXPECT_EQ(vintageHeading(category), kHeadings[category]) << category;
}

TEST(VintageHeadings, CombinedCategoriesBreakAtEveryPlusIntoIndentedLines) {
    for (int category = 3; category <= 11; ++category)
        EXPECT_EQ(vintageHeading(category), kHeadings[category]) << category;
}

// ---- Info text --------------------------------------------------------------------------------

TEST(InfoText, QualityTasteAndDescription) {
    EXPECT_EQ(infoText(u"bekannt", u"trocken ", std::u16string(u"Straff.")),
              u"bekannt \r\n\r\ntrocken  \r\nStraff. \r\n");
}

TEST(InfoText, QualityAndTasteWithoutDescription) {
    EXPECT_EQ(infoText(u"bekannt", u"süß ", std::nullopt), u"bekannt \r\n\r\nsüß  \r\n");
}

TEST(InfoText, TasteAndDescriptionWithoutQuality) {
    EXPECT_EQ(infoText(u"", u"lieblich ", std::u16string(u"Pfirsich.")), u"lieblich  \r\nPfirsich. \r\n");
}

TEST(InfoText, TasteOnly) {
    EXPECT_EQ(infoText(u"", u"schäumend ", std::nullopt), u"schäumend  \r\n");
}

TEST(InfoText, NothingKnownGivesALoneBlankAndLineBreak) {
    EXPECT_EQ(entryInfoText(EntryRow{}), u" \r\n");
}

TEST(InfoText, EmptyDescriptionCountsAsPresent) {
    EntryRow row;
    row.description = std::u16string();
    EXPECT_EQ(entryInfoText(row), u" \r\n \r\n");
}

TEST(InfoText, DescriptionIsDecodedFromItsStoredForm) {
    EntryRow row;
    row.quality1 = 2;
    row.quality2 = 4;
    row.dry = true;
    row.description = encodedText(u"Würzig, mit Äpfeln und Schiefer – 20 €.");
    EXPECT_EQ(entryInfoText(row), u"überdurchschnittlich -> erstklassig \r\n\r\ntrocken  \r\nWürzig, mit "
                                  u"Äpfeln und Schiefer – 20 €. \r\n");
}

TEST(InfoText, ADescriptionThatDecodesToANulEndsThereAndTheTextGoesOn) {
    EntryRow row;
    row.sweet = true;
    row.description = encodedText(u"Kräftig") + codec::encodeChar(u'\0') + encodedText(u" – Rest");
    EXPECT_EQ(entryInfoText(row), u"süß  \r\nKräftig \r\n");
}

TEST(InfoText, HangulAndEmojiReadBackFromTheCarriedStoredForm) {
    EntryRow row;
    const std::u16string readable = u"Zu Kimchi \uD68C und ein Glas \U0001F377.";
    row.description = storedText(readable);
    EXPECT_EQ(entryInfoText(row), u" \r\n" + readable + u" \r\n");
}

TEST(InfoText, LongDescriptionIsKeptWhole) {
    const std::u16string longText(12000, u'x');
    EntryRow row;
    row.description = encodedText(longText);
    const std::u16string text = entryInfoText(row);
    EXPECT_EQ(text, u" \r\n" + longText + u" \r\n");
}

// ---- Vintage text -----------------------------------------------------------------------------

TEST(VintageText, NothingKnownShowsKeineAngabe) {
    EXPECT_EQ(entryVintageText(EntryRow{}), u"keine Angabe");
}

TEST(VintageText, DrinkSoonAloneBeginsWithAnEmptyLine) {
    EntryRow row;
    row.drinkSoon = true;
    EXPECT_EQ(entryVintageText(row), u"\r\nBaldiger Verbrauch empfohlen");
}

TEST(VintageText, NoVintageAloneAndBothNotesInOrder) {
    EntryRow row;
    row.noVintage = true;
    EXPECT_EQ(entryVintageText(row), u"\r\nFlasche ohne Jahresangabe");
    row.drinkSoon = true;
    EXPECT_EQ(entryVintageText(row), u"\r\nBaldiger Verbrauch empfohlen\r\nFlasche ohne Jahresangabe");
}

TEST(VintageText, OneCategoryIsHeadingThenYearsEachOnItsLine) {
    EntryRow row;
    row.vintages[0] = years({1996, 1999});
    EXPECT_EQ(entryVintageText(row), u"empfohlener Jahrgang: \r\n96,99\r\n");
}

TEST(VintageText, CutHeadingOfCategoryNine) {
    EntryRow row;
    row.vintages[9] = years({1995, 1998});
    EXPECT_EQ(
        entryVintageText(row),
        u"empfohlener Jahrgang\r\n  +besonders gut ausgefallen\r\n  +vorläufige Bewertung: \r\n95,98\r\n");
}

TEST(VintageText, CategoriesAppearInOrderZeroToFourteenThenTheNotes) {
    EntryRow row;
    row.vintages[14] = years({2003});
    row.vintages[12] = years({2001, 2002});
    row.vintages[11] = years({2004});
    row.vintages[0] = years({1990});
    row.drinkSoon = true;
    EXPECT_EQ(entryVintageText(row),
              u"empfohlener Jahrgang: \r\n90\r\n"
              u"2005 bevorzugt zu genießender Jahrgang\r\n  +besonders gut ausgefallen\r\n"
              u"  +vorläufige Bewertung: \r\n04\r\n"
              u"normaler, guter Jahrgang: \r\n01,02\r\n"
              u"kühler Jahrgang: \r\n03\r\n"
              u"\r\nBaldiger Verbrauch empfohlen");
}

TEST(VintageText, CategoryWithoutYearsIsLeftOutHeadingIncluded) {
    EntryRow row;
    row.vintages[0] = std::u16string();
    row.vintages[1] = codes({300});
    row.vintages[2] = years({2000});
    EXPECT_EQ(entryVintageText(row), u"2006 bevorzugt zu genießen: \r\n00\r\n");
}

TEST(VintageText, OnlyEmptyCategoriesShowKeineAngabe) {
    EntryRow row;
    row.vintages[3] = std::u16string();
    row.vintages[7] = codes({256});
    EXPECT_EQ(entryVintageText(row), u"keine Angabe");
}

TEST(VintageText, EveryCategoryWithManyYearsIsKeptWhole) {
    EntryRow row;
    std::vector<int> many;
    for (int year = 1900; year < 2000; ++year)
        many.push_back(year);
    for (auto& column : row.vintages)
        column = years(many);
    const std::u16string text = entryVintageText(row);
    std::u16string yearsLine;
    for (int i = 0; i < 100; ++i) {
        if (i > 0) yearsLine += u',';
        yearsLine += static_cast<char16_t>(u'0' + i / 10);
        yearsLine += static_cast<char16_t>(u'0' + i % 10);
    }
    std::u16string expected;
    for (const std::u16string& heading : kHeadings)
        expected += heading + u"\r\n" + yearsLine + u"\r\n";
    EXPECT_GT(text.size(), 4500u);
    EXPECT_EQ(text, expected);
}

} // namespace
