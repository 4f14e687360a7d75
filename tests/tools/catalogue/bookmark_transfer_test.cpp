// Bookmarks out of one catalogue and into another: a round trip keeps every text, a second
// import adds nothing, and whatever is not added is reported with its reason.
#include "tools/catalogue/bookmark_transfer.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <fstream>
#include <sstream>

#include "tests/support/test_catalogue.h"

namespace {

using catalogue::ExportedBookmark;
using Rows = std::vector<std::vector<std::string>>;

const std::u16string kAwkward = u"Für \"Oma's\" Geburtstag\r\nZeile 2\tmit Tab \\ und 🍷";

std::vector<catalogue::BookmarkFileLine> asLines(const std::vector<ExportedBookmark>& bookmarks) {
    std::stringstream file;
    catalogue::writeBookmarkFile(file, bookmarks);
    return catalogue::readBookmarkFile(file).bookmarks;
}

class BookmarkTransfer : public ::testing::Test {
  protected:
    void SetUp() override {
        from.addSampleContent();
        from.addBookmark(TestCatalogue::kChablis, u"Austernwein", kAwkward);
        from.addBookmark(TestCatalogue::kRiesling, std::nullopt, u"");
        from.addBookmark(777, u"Verschollen", u"Eintrag gibt es nicht mehr");
        from.build();
        to.addSampleContent();
        to.build();
    }
    TestCatalogue from, to;
};

TEST_F(BookmarkTransfer, ExportGivesEveryBookmarkWithItsKeywordInTableOrder) {
    const std::vector<ExportedBookmark> exported = catalogue::exportBookmarks(from.path());
    EXPECT_EQ(exported,
              (std::vector<ExportedBookmark>{
                  {TestCatalogue::kChablis, u"Chablis Premier Cru", u"Austernwein", kAwkward},
                  {TestCatalogue::kRiesling, u"Ürziger Würzgarten Riesling Spätlese", std::nullopt, u""},
                  {777, std::nullopt, u"Verschollen", u"Eintrag gibt es nicht mehr"}}));
}

TEST_F(BookmarkTransfer, ARoundTripKeepsEveryTextAndASecondImportAddsNothing) {
    const auto lines = asLines(catalogue::exportBookmarks(from.path()));
    const catalogue::ImportReport first = catalogue::importBookmarks(to.path(), lines);
    EXPECT_EQ(first.added, 3);
    EXPECT_TRUE(first.skipped.empty());
    EXPECT_EQ(first.notes,
              (std::vector<std::string>{
                  "line 5: entry 777 is not in this catalogue; its bookmark is kept all the same"}));
    EXPECT_EQ(catalogue::exportBookmarks(to.path()), catalogue::exportBookmarks(from.path()));

    const catalogue::ImportReport second = catalogue::importBookmarks(to.path(), lines);
    EXPECT_EQ(second.added, 0);
    EXPECT_EQ(second.skipped.size(), 3u);
    EXPECT_EQ(second.skipped[0], "line 3: entry 1001 already has this bookmark");
    EXPECT_EQ(to.rows("SELECT count(*) FROM Lesezeichen"), (Rows{{"3"}}));
}

TEST_F(BookmarkTransfer, AnEntryWithADifferentBookmarkKeepsItsOwn) {
    to.addBookmark(TestCatalogue::kChablis, u"Meiner", u"bleibt");
    to.build();
    const catalogue::ImportReport report =
        catalogue::importBookmarks(to.path(), asLines({{TestCatalogue::kChablis, u"", u"Austernwein", u"neu"},
                                                       {TestCatalogue::kRioja, u"", u"Rioja", u"neu"}}));
    EXPECT_EQ(report.added, 1);
    EXPECT_EQ(report.skipped,
              (std::vector<std::string>{
                  "line 3: entry 1001 already has a bookmark with other texts, which stays"}));
    EXPECT_EQ(to.rows("SELECT id_talvino, Beschreibung, Notiz FROM Lesezeichen ORDER BY rowid"),
              (Rows{{"1001", "Meiner", "bleibt"}, {"3001", "Rioja", "neu"}}));
}

TEST_F(BookmarkTransfer, ACatalogueThatCannotBeWrittenTakesNothing) {
    to.writeRawFile("kein Katalog");
    EXPECT_THROW(catalogue::importBookmarks(to.path(), asLines({{1001, u"", u"a", u"b"}})),
                 catalogue::WriteError);
    EXPECT_EQ(to.readRawFile(), "kein Katalog");
    EXPECT_THROW(catalogue::exportBookmarks(to.file("fehlt.cdb")), catalogue::WriteError);
}

TEST_F(BookmarkTransfer, ReplacingKeepsKeysAndOrder) {
    catalogue::replaceBookmarks(to.path(), catalogue::readBookmarks(from.path()));
    EXPECT_EQ(to.rows("SELECT * FROM Lesezeichen ORDER BY rowid"),
              from.rows("SELECT * FROM Lesezeichen ORDER BY rowid"));
}

// ---- The command line ------------------------------------------------------------------------

struct ToolRun {
    int status;
    std::string out;
};

ToolRun run(const std::string& arguments) {
    const std::string command = std::string(TALVINO_CATALOGUE_TOOL) + " " + arguments + " 2>&1";
    ToolRun result{-1, ""};
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return result;
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0)
        result.out.append(buffer, n);
    const int status = ::pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

TEST_F(BookmarkTransfer, CommandsExportAndImportAndReportWhatTheySkipped) {
    const std::string file = from.file("lesezeichen.txt");
    const ToolRun exported = run("bookmarks export " + from.path() + " " + file);
    EXPECT_EQ(exported.status, 0) << exported.out;
    EXPECT_EQ(exported.out, file + ": 3 bookmarks written\n");

    const ToolRun first = run("bookmarks import " + to.path() + " " + file);
    EXPECT_EQ(first.status, 0) << first.out;
    EXPECT_NE(first.out.find("3 bookmarks added, 0 skipped"), std::string::npos) << first.out;
    const ToolRun second = run("bookmarks import " + to.path() + " " + file);
    EXPECT_EQ(second.status, 0);
    EXPECT_NE(second.out.find("skipped line 4: entry 5001 already has this bookmark"), std::string::npos)
        << second.out;
    EXPECT_NE(second.out.find("0 bookmarks added, 3 skipped"), std::string::npos);
    EXPECT_EQ(catalogue::exportBookmarks(to.path()), catalogue::exportBookmarks(from.path()));
}

// An import is all or nothing: whatever in the file or the catalogue stands against one line,
// the catalogue keeps exactly the bookmarks it had and the tool says why.
struct RefusedImport {
    const char* name;
    std::string lines;        // after the header
    std::string catalogueSql; // run on the catalogue first
    std::string message;
};

void PrintTo(const RefusedImport& c, std::ostream* os) {
    *os << c.name;
}

class ImportRefused : public BookmarkTransfer, public ::testing::WithParamInterface<RefusedImport> {};

TEST_P(ImportRefused, WritesNothingAndSaysWhy) {
    const RefusedImport& c = GetParam();
    if (!c.catalogueSql.empty()) to.execute(c.catalogueSql);
    const Rows before = to.rows("SELECT * FROM Lesezeichen ORDER BY rowid");
    const std::string file = to.file("lesezeichen.txt");
    std::ofstream(file, std::ios::binary) << catalogue::kBookmarkFileHeader << "\n" << c.lines;
    const ToolRun result = run("bookmarks import " + to.path() + " " + file);
    EXPECT_EQ(result.status, 1) << result.out;
    EXPECT_NE(result.out.find(c.message), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("nothing imported"), std::string::npos) << result.out;
    EXPECT_EQ(result.out.find("bookmarks added"), std::string::npos) << result.out;
    EXPECT_LT(result.out.size(), 1000u) << "no field is repeated whole";
    EXPECT_EQ(to.rows("SELECT * FROM Lesezeichen ORDER BY rowid"), before);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ImportRefused,
    ::testing::Values(
        RefusedImport{"ABadLineBetweenGoodOnes", "1001\tk\tgut\tn\nkaputt\n3001\tk\tauch gut\tn\n", "",
                      "lesezeichen.txt: line 3: has 1 fields instead of 4"},
        RefusedImport{"ALastLineCutShort", "1001\tk\tgut\tn\n3001\tk\tabgeschnit", "",
                      "line 3: the file ends inside this line"},
        RefusedImport{"AnIdOutOfRange", "1001\tk\tgut\tn\n99999999999\tk\td\tn\n", "",
                      "line 3: the entry '99999999999' is outside the entry ids"},
        RefusedImport{"AHugeField", "1001\tk\tgut\tn\nx" + std::string(2'000'000, 'y') + "\tk\td\tn\n", "",
                      "line 3: the entry 'xyyy"},
        RefusedImport{"ATriggerThatDropsWhatIsWritten", "1001\tk\tgut\tn\n",
                      "CREATE TRIGGER weg AFTER INSERT ON Lesezeichen BEGIN DELETE FROM Lesezeichen; END",
                      "Lesezeichen holds 0 bookmarks after 1 were added to 0"},
        RefusedImport{"AViewInPlaceOfTheTable", "1001\tk\tgut\tn\n",
                      "ALTER TABLE Lesezeichen RENAME TO alt; CREATE VIEW Lesezeichen AS SELECT * FROM alt; "
                      "CREATE TRIGGER schluck INSTEAD OF INSERT ON Lesezeichen BEGIN SELECT 1; END",
                      "Lesezeichen holds 0 bookmarks after 1 were added to 0"}),
    [](const ::testing::TestParamInfo<RefusedImport>& row) { return std::string(row.param.name); });

TEST_F(BookmarkTransfer, VerifyReportsABookmarkWhoseEntryIdTheProgramCannotRead) {
    to.execute("INSERT INTO Lesezeichen (id_talvino, Beschreibung) VALUES (99999999999, 'zu groß'), "
               "(-5, 'negativ'), (1001, 'gut')");
    const ToolRun result = run("verify " + to.path());
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.out.find("Lesezeichen: entry 99999999999 is outside the entry ids 1 to 2147483647"),
              std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("Lesezeichen: entry -5 is outside"), std::string::npos) << result.out;
    EXPECT_EQ(result.out.find("entry 1001 is outside"), std::string::npos) << result.out;
}

// verify names every trigger and view, and a table that is a view.
TEST_F(BookmarkTransfer, VerifyReportsTriggersAndViewsAndATableThatIsAView) {
    EXPECT_EQ(run("verify " + to.path()).status, 0);
    // Triggers have names of their own: one named as a table is no table in its place.
    to.execute("CREATE TRIGGER Lesezeichen AFTER INSERT ON Lesezeichen BEGIN DELETE FROM Lesezeichen; END");
    ToolRun result = run("verify " + to.path());
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.out.find("trigger Lesezeichen on Lesezeichen"), std::string::npos) << result.out;
    EXPECT_EQ(result.out.find("not a table"), std::string::npos) << result.out;
    to.execute("DROP TRIGGER Lesezeichen; ALTER TABLE Lesezeichen RENAME TO alt; "
               "CREATE VIEW Lesezeichen AS SELECT * FROM alt");
    result = run("verify " + to.path());
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.out.find("Lesezeichen is a view, not a table"), std::string::npos) << result.out;
}

TEST_F(BookmarkTransfer, CommandsRefuseWrongUsageAndFilesThatAreNoBookmarkFiles) {
    EXPECT_EQ(run("bookmarks").status, 2);
    EXPECT_EQ(run("bookmarks tauschen a b").status, 2);
    EXPECT_EQ(run("bookmarks export " + from.path()).status, 2);
    EXPECT_EQ(run("bookmarks export /nicht/da.cdb " + from.file("x.txt")).status, 1);
    const ToolRun notBookmarks = run("bookmarks import " + to.path() + " " + from.path());
    EXPECT_EQ(notBookmarks.status, 1);
    EXPECT_NE(notBookmarks.out.find("is no bookmark file"), std::string::npos) << notBookmarks.out;
    EXPECT_EQ(to.rows("SELECT count(*) FROM Lesezeichen"), (Rows{{"0"}}));
    const ToolRun help = run("--help");
    EXPECT_NE(help.out.find("bookmarks export CATALOGUE FILE"), std::string::npos);
    EXPECT_NE(help.out.find("bookmarks import CATALOGUE FILE"), std::string::npos);
}

} // namespace
