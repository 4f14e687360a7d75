// The bookmark file: every text comes back exactly as it went in, and a line that cannot be read
// is named with its number and the reason.
#include "tools/catalogue/bookmark_file.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

using catalogue::ExportedBookmark;
using catalogue::OptionalText;

struct FieldCase {
    const char* name;
    OptionalText text;
    std::string written;
};

void PrintTo(const FieldCase& c, std::ostream* os) {
    *os << c.name;
}

class BookmarkField : public ::testing::TestWithParam<FieldCase> {};

TEST_P(BookmarkField, IsWrittenAsDocumentedAndReadsBackExactly) {
    const FieldCase& c = GetParam();
    EXPECT_EQ(catalogue::encodeBookmarkField(c.text), c.written);
    OptionalText back = u"vorher";
    std::string why;
    ASSERT_TRUE(catalogue::decodeBookmarkField(c.written, back, why)) << why;
    EXPECT_EQ(back, c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, BookmarkField,
    ::testing::Values(FieldCase{"NoValue", std::nullopt, "\\N"}, FieldCase{"Empty", u"", ""},
                      FieldCase{"Apostrophes", u"Omas 'Liebling' und Jörg's", "Omas 'Liebling' und Jörg's"},
                      FieldCase{"Quotes", u"\"Grand Cru\" – «Stern»", "\"Grand Cru\" – «Stern»"},
                      FieldCase{"LineBreaks", u"Zeile 1\r\nZeile 2\nZeile 3\r",
                                "Zeile 1\\r\\nZeile 2\\nZeile 3\\r"},
                      FieldCase{"TabsAndBackslashes", u"a\tb\\c\\N", "a\\tb\\\\c\\\\N"},
                      FieldCase{"BackslashNAlone", u"\\N", "\\\\N"},
                      FieldCase{"UmlautsAndSharpS", u"Größe, Süße, Ähre", "Größe, Süße, Ähre"},
                      FieldCase{"Emoji", u"Prost 🍷🥂", "Prost 🍷🥂"},
                      FieldCase{"HalfAPair", std::u16string(u"x") + char16_t(0xD83C) + u"y", "x\\uD83Cy"},
                      FieldCase{"LoneLowHalf", std::u16string(1, char16_t(0xDF77)), "\\uDF77"}),
    [](const ::testing::TestParamInfo<FieldCase>& row) { return std::string(row.param.name); });

TEST(BookmarkFile, WritesTheHeaderAndOneLineABookmark) {
    std::ostringstream out;
    catalogue::writeBookmarkFile(out, {{1001, u"Chablis Premier Cru", u"Zu Austern", u"kühl\r\nservieren"},
                                       {42, std::nullopt, std::nullopt, u""}});
    EXPECT_EQ(out.str(), "# talvino-catalogue bookmarks 1\n"
                         "# entry\tkeyword\tdescription\tnote\n"
                         "1001\tChablis Premier Cru\tZu Austern\tkühl\\r\\nservieren\n"
                         "42\t\\N\t\\N\t\n");
}

TEST(BookmarkFile, ReadsBackWhatItWrote) {
    const std::vector<ExportedBookmark> bookmarks = {
        {1001, u"Chablis", u"Für \"Oma's\" Geburtstag", u"🍷\r\n\tmit Käse"},
        {3, std::nullopt, std::nullopt, std::nullopt},
        {5001, u"Riesling", u"", u"\\"},
    };
    std::stringstream file;
    catalogue::writeBookmarkFile(file, bookmarks);
    const catalogue::BookmarkFileContents contents = catalogue::readBookmarkFile(file);
    EXPECT_TRUE(contents.recognised);
    EXPECT_TRUE(contents.problems.empty());
    ASSERT_EQ(contents.bookmarks.size(), 3u);
    for (std::size_t i = 0; i < bookmarks.size(); ++i) {
        EXPECT_EQ(contents.bookmarks[i].bookmark, bookmarks[i]) << i;
        EXPECT_EQ(contents.bookmarks[i].line, static_cast<int>(i) + 3);
    }
}

TEST(BookmarkFile, LinesThatCannotBeReadAreNamedAndTheRestIsRead) {
    std::istringstream file("# talvino-catalogue bookmarks 1\r\n"
                            "\n"
                            "# a comment\n"
                            "1001\tChablis\tgut\tnotiert\r\n"
                            "1002\tzu wenig\n"
                            "zwölf\tx\ty\tz\n"
                            "1003\tx\tkaputt\\q\tz\n"
                            "1004\tx\t\\u12\tz\n"
                            "1005\tx\t\xC3\x28\tz\n"
                            "1006\tx\tEnde\\\tz\n"
                            "1007\tRioja\t\tfein\n");
    const catalogue::BookmarkFileContents contents = catalogue::readBookmarkFile(file);
    ASSERT_TRUE(contents.recognised);
    ASSERT_EQ(contents.bookmarks.size(), 2u);
    EXPECT_EQ(contents.bookmarks[0].bookmark, (ExportedBookmark{1001, u"Chablis", u"gut", u"notiert"}));
    EXPECT_EQ(contents.bookmarks[1].line, 11);
    EXPECT_EQ(
        contents.problems,
        (std::vector<std::string>{"line 5: has 2 fields instead of 4 (entry, keyword, description, note)",
                                  "line 6: the entry 'zwölf' is not a number", "line 7: unknown escape \\q",
                                  "line 8: \\u needs four hexadecimal digits", "line 9: not valid UTF-8",
                                  "line 10: a backslash ends the field"}));
}

// One line after the header, and what reading it gives: the text of the description, or the
// reason the line is refused (a catalogue could not store it as it is, or the file was cut).
struct LineCase {
    const char* name;
    std::string line;
    std::u16string description; // when accepted
    std::string problem;        // when refused
};

void PrintTo(const LineCase& c, std::ostream* os) {
    *os << c.name;
}

class BookmarkLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(BookmarkLine, IsTakenExactlyOrRefusedWithItsReason) {
    const LineCase& c = GetParam();
    std::istringstream file(std::string(catalogue::kBookmarkFileHeader) + "\n" + c.line);
    const catalogue::BookmarkFileContents contents = catalogue::readBookmarkFile(file);
    if (c.problem.empty()) {
        EXPECT_TRUE(contents.problems.empty()) << contents.problems.front();
        ASSERT_EQ(contents.bookmarks.size(), 1u);
        EXPECT_EQ(contents.bookmarks[0].bookmark.description, c.description);
    } else {
        EXPECT_TRUE(contents.bookmarks.empty());
        ASSERT_EQ(contents.problems.size(), 1u);
        EXPECT_EQ(contents.problems[0], "line 2: " + c.problem);
    }
}

const std::string kLong(4001, 'x');
const std::string kHuge(2'000'000, '7');

INSTANTIATE_TEST_SUITE_P(
    Lines, BookmarkLine,
    ::testing::Values(
        LineCase{"APairOfEscapesIsOneCharacter", "1\tk\t\\uD83C\\uDF77 Prost\tn\n", u"🍷 Prost", ""},
        LineCase{"AnEscapedLetter", "1\tk\tS\\u00FC\\u00DF\tn\n", u"Süß", ""},
        LineCase{"ALoneLowHalf", "1\tk\ta\\uDC00xb\tn\n", u"",
                 "the description holds \\uDC00, half of a character pair without its other half, which a "
                 "catalogue cannot store"},
        LineCase{"AHighHalfBeforeABlank", "1\tk\thalf \\uD83C only\tn\n", u"",
                 "the description holds \\uD83C, half of a character pair without its other half, which a "
                 "catalogue cannot store"},
        LineCase{"AHighHalfAtTheEndOfTheNote", "1\tk\td\t\\uD800\n", u"",
                 "the note holds \\uD800, half of a character pair without its other half, which a "
                 "catalogue cannot store"},
        LineCase{"AnEscapedNul", "1\tk\ta\\u0000b\tn\n", u"",
                 "the description holds the character U+0000, which no text can hold"},
        LineCase{"ARawNul", std::string("1\tk\td\ta\0b\n", 10), u"",
                 "the note holds the character U+0000, which no text can hold"},
        LineCase{"TheHighestId", "2147483647\tk\td\tn\n", u"d", ""},
        LineCase{"AnIdTooLarge", "99999999999\tk\td\tn\n", u"",
                 "the entry '99999999999' is outside the entry ids 1 to 2147483647"},
        LineCase{"ANegativeId", "-5\tk\td\tn\n", u"",
                 "the entry '-5' is outside the entry ids 1 to 2147483647"},
        LineCase{"IdZero", "0\tk\td\tn\n", u"", "the entry '0' is outside the entry ids 1 to 2147483647"},
        LineCase{"AHugeEntryIsQuotedShort", kHuge + "\tk\td\tn\n", u"",
                 "the entry '" + std::string(80, '7') + "…' is not a number"},
        LineCase{"TheLongestDescription", "1\tk\t" + std::string(4000, 'x') + "\tn\n",
                 std::u16string(4000, u'x'), ""},
        LineCase{"ADescriptionTooLong", "1\tk\t" + kLong + "\tn\n", u"",
                 "the description has 4001 characters; a bookmark holds at most 4000"},
        LineCase{"ALastLineCutShort", "1\tk\td\tno", u"",
                 "the file ends inside this line (it has no line break): it was cut short"}),
    [](const ::testing::TestParamInfo<LineCase>& row) { return std::string(row.param.name); });

TEST(BookmarkFile, AFileWithoutTheHeaderIsNotRead) {
    std::istringstream other("1001\tChablis\tgut\tnotiert\n");
    const catalogue::BookmarkFileContents contents = catalogue::readBookmarkFile(other);
    EXPECT_FALSE(contents.recognised);
    EXPECT_TRUE(contents.bookmarks.empty());
    std::istringstream withMark("\xEF\xBB\xBF# talvino-catalogue bookmarks 1\n1\tx\ty\tz\n");
    EXPECT_TRUE(catalogue::readBookmarkFile(withMark).recognised) << "an editor's byte order mark is allowed";
}

} // namespace
