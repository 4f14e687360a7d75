// The fixed text lists of the reference chapters: their lengths, the places of their blank rows,
// the rows that must read exactly so, and the character limits of every row. Whether a row fits its
// list box in pixels is measured on the screens themselves.
#include "resources/resources.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

std::u16string_view row(const TextRows& rows, int oneBased) {
    return rows.rows[oneBased - 1];
}

// Readable failure output for UTF-16 rows.
std::string utf8(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::vector<int> positionsOf(const TextRows& rows, std::u16string_view text) {
    std::vector<int> found;
    for (int i = 1; i <= rows.count; ++i)
        if (row(rows, i) == text) found.push_back(i);
    return found;
}

// Rows that show nothing: a blank or the empty string.
std::vector<int> blankPositions(const TextRows& rows) {
    std::vector<int> found;
    for (int i = 1; i <= rows.count; ++i)
        if (row(rows, i).find_first_not_of(u' ') == std::u16string_view::npos) found.push_back(i);
    return found;
}

int longestRow(const TextRows& rows) {
    int longest = 0;
    for (int i = 1; i <= rows.count; ++i)
        longest = std::max(longest, static_cast<int>(row(rows, i).size()));
    return longest;
}

bool startsWith(std::u16string_view text, std::u16string_view start) {
    return text.substr(0, start.size()) == start;
}

void expectRowsEqual(const TextRows& rows,
                     std::initializer_list<std::pair<int, std::u16string_view>> expected) {
    for (const auto& [position, text] : expected)
        EXPECT_EQ(utf8(row(rows, position)), utf8(text)) << "row " << position;
}

struct NamedRows {
    const char* name;
    const TextRows* rows;
    int maxLength;
};

const NamedRows kAllLists[] = {
    {"grape introduction", &kGrapeIntroductionLines, 44},
    {"bookmarks help", &kHelpBookmarksRows, 46},
    {"temperature help", &kHelpTemperatureRows, 46},
    {"grapes help", &kHelpGrapesRows, 46},
    {"wines help", &kHelpWinesRows, 46},
    {"credits", &kCreditRows, 40},
};

// --- Every list: no missing row, no line break, nothing longer than its limit ---

TEST(TextListsFitTheirListBoxes, EveryRowIsPresentAndOnOneLine) {
    for (const auto& list : kAllLists) {
        ASSERT_GT(list.rows->count, 0) << list.name;
        for (int i = 1; i <= list.rows->count; ++i) {
            ASSERT_NE(list.rows->rows[i - 1], nullptr) << list.name << " row " << i;
            EXPECT_EQ(row(*list.rows, i).find_first_of(u"\r\n\t"), std::u16string_view::npos)
                << list.name << " row " << i;
        }
    }
}

TEST(TextListsFitTheirListBoxes, NoRowIsLongerThanItsCharacterLimit) {
    for (const auto& list : kAllLists)
        for (int i = 1; i <= list.rows->count; ++i)
            EXPECT_LE(static_cast<int>(row(*list.rows, i).size()), list.maxLength)
                << list.name << " row " << i << ": " << utf8(row(*list.rows, i));
}

// --- Grape varieties introduction ---

TEST(GrapeIntroduction, HasFortySixLines) {
    EXPECT_EQ(kGrapeIntroductionLines.count, 46);
}

TEST(GrapeIntroduction, OpensAndClosesWithItsFixedLines) {
    ASSERT_EQ(kGrapeIntroductionLines.count, 46);
    expectRowsEqual(kGrapeIntroductionLines, {{1, u"In den vergangenen zwei Jahrzehnten"},
                                              {2, u"vollzog sich allenthalben ein grundlegender"},
                                              {46, u"Sangiovese, Tempranillo"}});
}

TEST(GrapeIntroduction, EveryLineIsBetweenTwentyThreeAndFortyFourCharacters) {
    for (int i = 1; i <= kGrapeIntroductionLines.count; ++i) {
        const auto length = row(kGrapeIntroductionLines, i).size();
        EXPECT_GE(length, 23u) << "line " << i << ": " << utf8(row(kGrapeIntroductionLines, i));
        EXPECT_LE(length, 44u) << "line " << i << ": " << utf8(row(kGrapeIntroductionLines, i));
    }
}

TEST(GrapeIntroduction, IsProseWithoutBlankLines) {
    EXPECT_TRUE(blankPositions(kGrapeIntroductionLines).empty());
    for (int i = 1; i <= kGrapeIntroductionLines.count; ++i) {
        const auto line = row(kGrapeIntroductionLines, i);
        EXPECT_NE(line.front(), u' ') << "line " << i;
        EXPECT_NE(line.back(), u' ') << "line " << i;
    }
}

// --- Help pages ---

TEST(HelpPageRows, HaveTheirRowCounts) {
    EXPECT_EQ(kHelpBookmarksRows.count, 21);
    EXPECT_EQ(kHelpTemperatureRows.count, 22);
    EXPECT_EQ(kHelpGrapesRows.count, 5);
    EXPECT_EQ(kHelpWinesRows.count, 94);
}

TEST(HelpPageRows, FirstRowRepeatsTheSubject) {
    EXPECT_EQ(utf8(row(kHelpBookmarksRows, 1)), "Lesezeichen");
    EXPECT_EQ(utf8(row(kHelpTemperatureRows, 1)), "Die richtige Temperatur");
    EXPECT_EQ(utf8(row(kHelpGrapesRows, 1)), "Rebsorten");
    EXPECT_EQ(utf8(row(kHelpWinesRows, 1)), "Weine von A-Z");
}

TEST(HelpPageRows, BookmarksHelpBlanksAreSingleSpacesInTheirPlaces) {
    ASSERT_EQ(kHelpBookmarksRows.count, 21);
    EXPECT_EQ(positionsOf(kHelpBookmarksRows, u" "), (std::vector<int>{2, 13, 16, 20, 21}));
    EXPECT_EQ(blankPositions(kHelpBookmarksRows), (std::vector<int>{2, 13, 16, 20, 21}));
}

TEST(HelpPageRows, BookmarksHelpParagraphsOpenWithTheirFixedRows) {
    ASSERT_EQ(kHelpBookmarksRows.count, 21);
    expectRowsEqual(kHelpBookmarksRows, {{3, u"Hier können Sie Lesezeichen setzen,"},
                                         {6, u"Wenn Sie ein Lesezeichen setzen "},
                                         {14, u"Zusätzlich können Sie noch eine"},
                                         {17, u"Eine Liste der gespeicherten Lesezeichen"}});
}

TEST(HelpPageRows, BookmarksHelpNamesTheControlsTheUserTaps) {
    std::u16string page;
    for (int i = 6; i <= 12; ++i)
        page += row(kHelpBookmarksRows, i);
    EXPECT_NE(page.find(u"NOTIZ/LESEZEICHEN"), std::u16string::npos);
    EXPECT_NE(page.find(u"'Lesezeichen setzen'"), std::u16string::npos);
    EXPECT_NE(page.find(u"SPEICHERN"), std::u16string::npos);
}

TEST(HelpPageRows, TemperatureHelpIsOneParagraphBetweenBlanks) {
    ASSERT_EQ(kHelpTemperatureRows.count, 22);
    EXPECT_EQ(positionsOf(kHelpTemperatureRows, u" "), (std::vector<int>{2, 21, 22}));
    EXPECT_EQ(blankPositions(kHelpTemperatureRows), (std::vector<int>{2, 21, 22}));
    EXPECT_EQ(utf8(row(kHelpTemperatureRows, 3)), "Nichts tut einem Wein beim ");
    EXPECT_EQ(utf8(row(kHelpTemperatureRows, 20)), "Weine angezeigt.");
}

TEST(HelpPageRows, GrapesHelpHasNoBlankAfterItsFirstRow) {
    ASSERT_EQ(kHelpGrapesRows.count, 5);
    expectRowsEqual(kHelpGrapesRows, {{2, u"In diesem Kapitel erhalten Sie Informationen"},
                                      {3, u"zu den besten bzw. beliebtesten Rebsorten."},
                                      {4, u" "},
                                      {5, u" "}});
}

TEST(HelpPageRows, WinesHelpBlanksAreEmptyExceptThreeSpaces) {
    ASSERT_EQ(kHelpWinesRows.count, 94);
    EXPECT_EQ(positionsOf(kHelpWinesRows, u""),
              (std::vector<int>{2, 4, 9, 13, 18, 23, 40, 55, 61, 75, 80, 85}));
    EXPECT_EQ(positionsOf(kHelpWinesRows, u" "), (std::vector<int>{29, 93, 94}));
    EXPECT_EQ(blankPositions(kHelpWinesRows),
              (std::vector<int>{2, 4, 9, 13, 18, 23, 29, 40, 55, 61, 75, 80, 85, 93, 94}));
}

TEST(HelpPageRows, WinesHelpFixedRowsReadExactly) {
    ASSERT_EQ(kHelpWinesRows.count, 94);
    expectRowsEqual(kHelpWinesRows, {{3, u"Angaben in den Suchergebnissen"},
                                     {5, u"Die Einträge im Weinführer enthalten"},
                                     {8, u"Informationen verfügbar:"},
                                     {10, u"1. Typ: "},
                                     {14, u"2. Qualität: "},
                                     {19, u"einfach: einfache Qualität für jeden Tag"},
                                     {20, u"überdurchschnittlich: überdurchschnittlich"},
                                     {21, u"bekannt: bekannt, berühmt"},
                                     {22, u"erstklassig: erstklassig, anspruchsvoll, teuer"},
                                     {24, u"Wenn Sie die Checkbox in der Suchmaske "},
                                     {28, u"dem Vermerk 'besonders gut' versehen."},
                                     {30, u"3. Jahrgang:"},
                                     {31, u"a) International: Angegeben sind die "},
                                     {39, u"Es gibt folgende Kategorien: "},
                                     {56, u"b) Deutschland: Die Jahrgangsangaben bei"},
                                     {60, u"drei verschiedene Kategorien:"},
                                     {76, u"Nicht angegebene Jahrgänge sind in der"},
                                     {81, u"(*) QmP - Qualitätswein mit Prädikat"},
                                     {86, u"(**) QbA - Qualitätswein bestimmter "},
                                     {87, u"Anbaugebiete"}});
}

TEST(HelpPageRows, WinesHelpListsSixInternationalVintageCategories) {
    ASSERT_EQ(kHelpWinesRows.count, 94);
    std::vector<int> items;
    for (int i = 41; i <= 54; ++i)
        if (startsWith(row(kHelpWinesRows, i), u"- ")) items.push_back(i);
    EXPECT_EQ(items, (std::vector<int>{41, 43, 45, 47, 52, 53}));
    expectRowsEqual(kHelpWinesRows, {{41, u"- allgemein erhältliche, empfohlene"},
                                     {43, u"- nach Angaben der jeweiligen Erzeuger "},
                                     {45, u"- genussreifer Jahrgang (andere "},
                                     {47, u"- bevorzugt zu genießender Jahrgang;"},
                                     {52, u"- vorläufige Bewertung"},
                                     {53, u"- baldiger Verbrauch, d. h. möglichst"}});
}

TEST(HelpPageRows, WinesHelpListsThreeGermanVintageCategories) {
    ASSERT_EQ(kHelpWinesRows.count, 94);
    std::vector<int> items;
    for (int i = 62; i <= 74; ++i)
        if (startsWith(row(kHelpWinesRows, i), u"- ")) items.push_back(i);
    // The cool vintage takes the last eight rows.
    EXPECT_EQ(items, (std::vector<int>{62, 65, 67}));
    expectRowsEqual(kHelpWinesRows, {{62, u"- Klassischer, vollreifer Jahrgang mit "},
                                     {65, u"- Normaler, guter Jahrgang ohne besonders"},
                                     {67, u"- Kühler Jahrgang mit im Allgemeinen "}});
}

TEST(HelpPageRows, WinesHelpShowsTypeBeforeQualityBeforeVintage) {
    const auto type = positionsOf(kHelpWinesRows, u"1. Typ: ");
    const auto quality = positionsOf(kHelpWinesRows, u"2. Qualität: ");
    const auto vintage = positionsOf(kHelpWinesRows, u"3. Jahrgang:");
    ASSERT_EQ(type.size(), 1u);
    ASSERT_EQ(quality.size(), 1u);
    ASSERT_EQ(vintage.size(), 1u);
    EXPECT_LT(type[0], quality[0]);
    EXPECT_LT(quality[0], vintage[0]);
}

// --- Credits ---

TEST(CreditRows, HasTwentyEightRowsWithBlanksInTheirPlaces) {
    ASSERT_EQ(kCreditRows.count, 28);
    EXPECT_EQ(positionsOf(kCreditRows, u" "), (std::vector<int>{5, 11, 16, 20, 23, 26}));
    EXPECT_EQ(blankPositions(kCreditRows), (std::vector<int>{5, 11, 16, 20, 23, 26}));
}

TEST(CreditRows, HeadingsStandInTheirRows) {
    ASSERT_EQ(kCreditRows.count, 28);
    expectRowsEqual(
        kCreditRows,
        {{12, u"Programmierung"}, {17, u"Konzept:"}, {24, u"Programmierung:"}, {27, u"Grafiken:"}});
    EXPECT_TRUE(startsWith(row(kCreditRows, 6), u"Englische Buchausgabe: "));
    EXPECT_TRUE(startsWith(row(kCreditRows, 8), u"Deutsche Übersetzung: "));
}

TEST(CreditRows, ProjectManagementHeadingNamesThePublisher) {
    ASSERT_EQ(kCreditRows.count, 28);
    const auto company = row(kCreditRows, 2);
    const auto publisher = company.substr(0, company.find(u" GmbH"));
    ASSERT_FALSE(publisher.empty());
    EXPECT_NE(row(kCreditRows, 1).find(publisher), std::u16string_view::npos);
    EXPECT_NE(row(kCreditRows, 21).find(publisher), std::u16string_view::npos);
}

TEST(CreditRows, LongestRowIsFortyCharacters) {
    EXPECT_EQ(longestRow(kCreditRows), 40);
}

} // namespace
