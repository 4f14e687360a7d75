#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "db/text_codec.h"
#include "platform/data/utf.h"
#include "tests/support/test_catalogue.h"
#include "tools/catalogue/finding_list.h"
#include "tools/catalogue/source_reader.h"
#include "tools/catalogue/verifier.h"

namespace fs = std::filesystem;

namespace {

// A source folder of a test's own, with one country, two regions, one grape and two entries.
class SourceFolder {
  public:
    SourceFolder() {
        write("laender.txt", "# Länder\nF | Frankreich\nD | Deutschland\n");
        write("regionen/F.txt", "100 | Burgund\n101 | Bordeaux\n");
        write("regionen/D.txt", "500 | Mosel\n");
        write("rebsorten.txt",
              "ID: 1\nRebsorte: Riesling\nFarbe: weiss\nText: Rasse und Säure,\n von trocken bis "
              "edelsüß.\n");
        write("weine/F.txt", kChablis + "\n" + kBordeaux);
        write("weine/D.txt", "");
    }
    void write(const std::string& name, const std::string& text) const {
        const fs::path path = fs::path(root()) / name;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }
    std::string root() const { return catalogue_.folder() + "/sources"; }
    std::string out() const { return catalogue_.path(); }
    TestCatalogue& catalogue() { return catalogue_; }

    inline static const std::string kChablis = "ID: 1001\n"
                                               "Stichwort: Chablis Premier Cru\n"
                                               "Name: Chablis Premier Cru\n"
                                               "Zusatz: Domaine des Vaux Clairs\n"
                                               "Region: Burgund\n"
                                               "Farbe: weiss\n"
                                               "Geschmack: trocken\n"
                                               "Qualitaet: 2-3\n"
                                               "Jahrgaenge: 0=1996,1999; 1=1990\n"
                                               "Hinweise: bald\n"
                                               "Beschreibung: Straffer, mineralischer Chablis\n"
                                               " mit Würze.\n";
    inline static const std::string kBordeaux = "ID: 1002\n"
                                                "Stichwort: Bordeaux Supérieur\n"
                                                "Name: -\n"
                                                "Zusatz: -\n"
                                                "Region: Bordeaux\n"
                                                "Farbe: rot, rose\n"
                                                "Geschmack: -\n"
                                                "Qualitaet: 0\n"
                                                "Jahrgaenge: -\n"
                                                "Hinweise: -\n"
                                                "Beschreibung: -\n";
    // kChablis's full-text copy (Text_Klein) as it reads: today it holds the lowered description,
    // name and producer, so that every shown word is found; earlier generations the description only.
    static std::string chablisFullText(long long generation = codec::kGeneration) {
        const std::string description = "straffer, mineralischer chablis mit würze.";
        return generation == codec::kGeneration ? description + " | chablis premier cru | domaine des vaux clairs"
                                                : description;
    }

  private:
    TestCatalogue catalogue_;
};

std::vector<std::string> problemsOf(const std::string& folder) {
    try {
        catalogue::readSources(folder);
    } catch (const catalogue::SourceError& e) {
        return e.problems();
    }
    return {};
}

bool containsProblem(const std::vector<std::string>& problems, const std::string& where,
                     const std::string& what) {
    for (const std::string& p : problems)
        if (p.find(where) != std::string::npos && p.find(what) != std::string::npos) return true;
    return false;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& l : lines)
        all += l + "\n";
    return all;
}

TEST(SourceReading, ReadsEveryFieldOfAnEntry) {
    SourceFolder sources;
    const catalogue::Content content = catalogue::readSources(sources.root());
    ASSERT_EQ(content.countries.size(), 2u);
    EXPECT_EQ(content.countries[0].name, u"Frankreich");
    ASSERT_EQ(content.regions.size(), 3u);
    ASSERT_EQ(content.grapes.size(), 1u);
    EXPECT_EQ(content.grapes[0].colour, 2);
    EXPECT_EQ(*content.grapes[0].text, u"Rasse und Säure, von trocken bis edelsüß.");
    ASSERT_EQ(content.entries.size(), 2u);
    const catalogue::Entry& e = content.entries[0];
    EXPECT_EQ(e.id, 1001);
    EXPECT_EQ(e.keyword, u"Chablis Premier Cru");
    EXPECT_EQ(*e.suffix, u"Domaine des Vaux Clairs");
    EXPECT_EQ(e.country, u"F");
    EXPECT_EQ(e.region, u"Burgund");
    EXPECT_EQ(e.white, 1);
    EXPECT_EQ(e.red, 0);
    EXPECT_EQ(e.dry, 1);
    EXPECT_EQ(e.quality1, 2);
    EXPECT_EQ(e.quality2, 3);
    EXPECT_EQ(*e.vintages[0], (std::u16string{96, 99}));
    EXPECT_EQ(*e.vintages[1], (std::u16string{90}));
    EXPECT_FALSE(e.vintages[2]);
    EXPECT_EQ(e.drinkSoon, 1);
    EXPECT_EQ(e.noVintage, 0);
    EXPECT_EQ(*e.description, u"Straffer, mineralischer Chablis mit Würze.");
    const catalogue::Entry& b = content.entries[1];
    EXPECT_FALSE(b.name);
    EXPECT_FALSE(b.suffix);
    EXPECT_FALSE(b.description);
    EXPECT_EQ(b.red + b.rose, 2);
    EXPECT_EQ(b.quality1 + b.quality2, 0);
}

TEST(SourceReading, AMissingFieldStopsWithFileAndLine) {
    SourceFolder sources;
    std::string entry = SourceFolder::kChablis;
    entry.replace(entry.find("Hinweise: bald\n"), 15, "");
    sources.write("weine/F.txt", "# Frankreich\n\n" + entry);
    const auto problems = problemsOf(sources.root());
    EXPECT_TRUE(containsProblem(problems, "weine/F.txt:3:", "Hinweise")) << joined(problems);
}

TEST(SourceReading, AnUnknownRegionStopsWithFileAndLine) {
    SourceFolder sources;
    std::string entry = SourceFolder::kChablis;
    entry.replace(entry.find("Region: Burgund"), 15, "Region: Mosel");
    sources.write("weine/F.txt", entry);
    EXPECT_TRUE(containsProblem(problemsOf(sources.root()), "weine/F.txt:5:", "unknown region \"Mosel\""));
}

TEST(SourceReading, AnUnknownCountryStops) {
    SourceFolder sources;
    sources.write("weine/XY.txt", "");
    sources.write("regionen/XY.txt", "9000 | Nirgendwo\n");
    const auto problems = problemsOf(sources.root());
    EXPECT_TRUE(containsProblem(problems, "weine/XY.txt", "no country with the code XY")) << joined(problems);
    EXPECT_TRUE(containsProblem(problems, "regionen/XY.txt", "no country with the code XY"));
}

TEST(SourceReading, ADuplicateIdStopsWithFileAndLine) {
    SourceFolder sources;
    std::string second = SourceFolder::kChablis;
    second.replace(second.find("Region: Burgund"), 15, "Region: Mosel");
    sources.write("weine/D.txt", "\n" + second);
    EXPECT_TRUE(containsProblem(problemsOf(sources.root()), "weine/F.txt:1:", "ID 1001 given twice"));
}

TEST(SourceReading, MalformedValuesAreReportedOneLineEach) {
    SourceFolder sources;
    std::string entry = SourceFolder::kChablis;
    entry.replace(entry.find("Qualitaet: 2-3"), 14, "Qualitaet: 2-9");
    entry.replace(entry.find("Farbe: weiss"), 12, "Farbe: blau");
    entry.replace(entry.find("0=1996"), 6, "0=1850");
    entry += "Unsinn: 1\n";
    sources.write("weine/F.txt", entry);
    const auto problems = problemsOf(sources.root());
    EXPECT_TRUE(containsProblem(problems, "weine/F.txt:8:", "Qualitaet")) << joined(problems);
    EXPECT_TRUE(containsProblem(problems, "weine/F.txt:6:", "unknown colour \"blau\""));
    EXPECT_TRUE(containsProblem(problems, "weine/F.txt:9:", "year"));
    EXPECT_TRUE(containsProblem(problems, "weine/F.txt:13:", "unknown key \"Unsinn\""));
}

TEST(SourceReading, ATextWithACharacterTheCodecCannotCarryIsRefused) {
    SourceFolder sources;
    std::string entry = SourceFolder::kChablis;
    entry.replace(entry.find("mit Würze."), 10, "mit \xEF\xBB\x96");
    sources.write("weine/F.txt", entry);
    EXPECT_TRUE(containsProblem(problemsOf(sources.root()), "weine/F.txt:11:", "cannot store scrambled"));
    EXPECT_TRUE(catalogue::isStorableText(u"Öchsle, 20 €, „gut“ — ja"));
}

TEST(SourceReading, AFolderThatIsNotThereIsOneProblem) {
    EXPECT_EQ(problemsOf("/nicht/da").size(), 1u);
}

class BuiltCatalogue : public ::testing::Test {
  protected:
    void build() { catalogue::writeCatalogue(sources.out(), catalogue::readSources(sources.root())); }
    SourceFolder sources;
};

TEST_F(BuiltCatalogue, DerivesTheLowerCaseAndScrambledColumns) {
    build();
    const auto rows = sources.catalogue().rows("SELECT STICHWORT, Stichwort_Klein, Beschreibung, Text_Klein, "
                                               "Land, Regio_Lang FROM talvino WHERE ID = 1001");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][1], "chablis premier cru");
    EXPECT_EQ(ado::toUtf16(rows[0][2]), encodedText(u"Straffer, mineralischer Chablis mit Würze."));
    EXPECT_EQ(ado::toUtf16(rows[0][3]), encodedText(ado::toUtf16(SourceFolder::chablisFullText())));
    EXPECT_EQ(rows[0][4], "F");
    EXPECT_EQ(rows[0][5], "Burgund");
    EXPECT_EQ(sources.catalogue().rows("SELECT Text_Klein, Name FROM talvino WHERE ID = 1002")[0],
              (std::vector<std::string>{"NULL", "NULL"}));
    const auto grape = sources.catalogue().rows("SELECT Text FROM Rebsorten")[0][0];
    EXPECT_EQ(decodedText(ado::toUtf16(grape)), u"Rasse und Säure, von trocken bis edelsüß.");
}

TEST_F(BuiltCatalogue, VerifiesClean) {
    build();
    const catalogue::Findings f = catalogue::verifyCatalogue(sources.out());
    EXPECT_TRUE(f.problems.empty()) << joined(f.problems);
    // The one entry without a name is worth a word to its author.
    EXPECT_EQ(f.warnings.size(), 1u) << joined(f.warnings);
}

TEST_F(BuiltCatalogue, VerifyFindsBrokenRows) {
    build();
    TestCatalogue& c = sources.catalogue();
    c.execute("INSERT INTO talvino (ID, STICHWORT, Land, Regio_Lang, Stichwort_Klein) VALUES (7, 'X', 'Q', "
              "'Nirgends', 'x')");
    c.execute("UPDATE talvino SET Stichwort_Klein = 'Chablis Premier Cru' WHERE ID = 1001");
    c.execute("UPDATE talvino SET Beschreibung = 'im Klartext', Text_Klein = NULL WHERE ID = 1002");
    c.execute("INSERT INTO Rebsorten VALUES (2, 'Ries', 2, NULL)");
    c.execute("INSERT INTO Lesezeichen (id_talvino) VALUES (1001), (1001)");
    c.execute("INSERT INTO Region (ID_REGION, Land, Regio_Lang) VALUES (99, 'QQ', 'Irgendwo')");
    c.execute("PRAGMA ignore_check_constraints = 1");
    const auto problems = catalogue::verifyCatalogue(sources.out()).problems;
    const std::string all = joined(problems);
    EXPECT_NE(all.find("talvino 7: Land Q is not in Land"), std::string::npos) << all;
    EXPECT_NE(all.find("talvino 7: Regio_Lang Nirgends is not a region of Q"), std::string::npos);
    EXPECT_NE(all.find("talvino 1001: Stichwort_Klein"), std::string::npos);
    EXPECT_NE(all.find("talvino 1002: Beschreibung does not decode"), std::string::npos);
    EXPECT_NE(all.find("talvino 1002: Text_Klein"), std::string::npos);
    EXPECT_NE(all.find("looking up Ries by name also finds Riesling"), std::string::npos);
    EXPECT_NE(all.find("Lesezeichen: entry 1001 has 2 bookmarks"), std::string::npos);
    EXPECT_NE(all.find("Region 99: unknown country QQ"), std::string::npos);
}

// What a result shows must be found, and the list must read sorted: a keyword that does not begin
// with the name, and a shown word in neither lower-case copy, are problems, each named.
TEST_F(BuiltCatalogue, VerifyFindsShownNamesSortedAwayOrNotFindable) {
    struct Case {
        const char* change;
        const char* problem;
    };
    const Case cases[] = {
        {"UPDATE talvino SET STICHWORT = 'Premier Cru Chablis', Stichwort_Klein = 'premier cru chablis' "
         "WHERE ID = 1001",
         "talvino 1001: STICHWORT Premier Cru Chablis does not begin with Name Chablis Premier Cru"},
        {"UPDATE talvino SET Name = 'Chablis Premier Cru Vaudésir' WHERE ID = 1001",
         "talvino 1001: Vaudésir of Name is in neither lower-case copy"},
        {"UPDATE talvino SET Zusatz = 'Domaine Vauchelet' WHERE ID = 1001",
         "talvino 1001: Vauchelet of Zusatz is in neither lower-case copy"},
        // Words after the name put "Chablis" after "Chablis Grand Cru" in the result list.
        {"UPDATE talvino SET Name = 'Chablis', STICHWORT = 'Chablis Premier Cru', "
         "Stichwort_Klein = 'chablis premier cru' WHERE ID = 1001; "
         "INSERT INTO talvino (ID, STICHWORT, Name, Land, Regio_Lang, Stichwort_Klein) "
         "VALUES (1003, 'Chablis Grand Cru', 'Chablis Grand Cru', 'F', 'Burgund', 'chablis grand cru')",
         "talvino 1001: Name Chablis follows Chablis Grand Cru (talvino 1003)"},
    };
    for (const Case& c : cases) {
        build();
        sources.catalogue().execute(c.change);
        const std::string all = joined(catalogue::verifyCatalogue(sources.out()).problems);
        EXPECT_NE(all.find(c.problem), std::string::npos) << c.change << "\n" << all;
    }
}

TEST_F(BuiltCatalogue, VerifyWarnsOfEntriesWithoutNameAndBookmarksWithoutEntry) {
    build();
    sources.catalogue().execute("INSERT INTO Lesezeichen (id_talvino, Beschreibung) VALUES (4711, 'weg')");
    const catalogue::Findings f = catalogue::verifyCatalogue(sources.out());
    EXPECT_TRUE(f.problems.empty()) << joined(f.problems);
    EXPECT_EQ(f.warnings,
              (std::vector<std::string>{"talvino 1002: no Name, so the entry never shows in a result list",
                                        "Lesezeichen: entry 4711 is not in the catalogue"}));
}

TEST_F(BuiltCatalogue, VerifyFindsAWrongColumnOrder) {
    build();
    sources.catalogue().execute("ALTER TABLE talvino RENAME COLUMN Land TO Landcode");
    const auto problems = catalogue::verifyCatalogue(sources.out()).problems;
    EXPECT_NE(joined(problems).find("talvino: position 29 must be Land, is Landcode"), std::string::npos)
        << joined(problems);
}

TEST_F(BuiltCatalogue, VerifyReportsAFileTheProgramCannotOpen) {
    build();
    sources.catalogue().writeRawFile("kein Katalog");
    const auto problems = catalogue::verifyCatalogue(sources.out()).problems;
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("cannot open"), std::string::npos);
}

TEST_F(BuiltCatalogue, QueryPrintsRowsWithScrambledColumnsDecoded) {
    build();
    sources.catalogue().execute(
        "INSERT INTO Lesezeichen (id_talvino, Beschreibung, Notiz) VALUES (1001, 'Mein Chablis', '')");
    std::ostringstream out, err;
    ASSERT_TRUE(
        catalogue::queryCatalogue(sources.out(),
                                  u"select ID, Beschreibung, [Text_Klein] from talvino where STICHWORT like "
                                  u"'chablis*'",
                                  out, err))
        << err.str();
    EXPECT_EQ(out.str(), "ID\tBeschreibung\tText_Klein\n1001\tStraffer, mineralischer Chablis mit Würze.\t" +
                             SourceFolder::chablisFullText() + "\n");
    std::ostringstream bookmarks;
    ASSERT_TRUE(
        catalogue::queryCatalogue(sources.out(), u"SELECT Beschreibung from Lesezeichen", bookmarks, err));
    EXPECT_EQ(bookmarks.str(), "Beschreibung\nMein Chablis\n");
    std::ostringstream none;
    EXPECT_FALSE(catalogue::queryCatalogue(sources.out(), u"SELECT * FROM talvino WHERE ()", none, err));
}

TEST_F(BuiltCatalogue, DumpShowsDecodedTextsAndYears) {
    build();
    std::ostringstream out;
    catalogue::dumpCatalogue(sources.out(), out);
    const std::string text = out.str();
    EXPECT_NE(text.find("Beschreibung: Straffer, mineralischer Chablis mit Würze."), std::string::npos);
    EXPECT_NE(text.find("Jahrgaenge: 0=1996,1999; 1=1990;"), std::string::npos);
    EXPECT_NE(text.find("Text: Rasse und Säure"), std::string::npos);
}

TEST(Synth, MakesTheRequestedNumberOfEntriesThatVerify) {
    TestCatalogue c;
    catalogue::writeCatalogue(c.path(), catalogue::synthContent(2000));
    EXPECT_EQ(c.rows("SELECT count(*) FROM talvino")[0][0], "2000");
    const catalogue::Findings f = catalogue::verifyCatalogue(c.path());
    EXPECT_TRUE(f.problems.empty()) << joined(f.problems);
    // Colours, tastes and qualities are spread, not uniform.
    const auto red = std::stoi(c.rows("SELECT count(*) FROM talvino WHERE Rot > 0")[0][0]);
    const auto white = std::stoi(c.rows("SELECT count(*) FROM talvino WHERE Weiss > 0")[0][0]);
    EXPECT_GT(red, white);
    EXPECT_GT(white, 400);
    EXPECT_GT(std::stoi(c.rows("SELECT count(DISTINCT Land) FROM talvino")[0][0]), 10);
    EXPECT_GT(std::stoi(c.rows("SELECT count(*) FROM talvino WHERE Beschreibung IS NULL")[0][0]), 0);
}

TEST(Synth, IsTheSameForTheSameSeed) {
    const catalogue::Content a = catalogue::synthContent(50, 7), b = catalogue::synthContent(50, 7);
    ASSERT_EQ(a.entries.size(), 50u);
    for (std::size_t i = 0; i < a.entries.size(); ++i)
        EXPECT_EQ(a.entries[i].description, b.entries[i].description);
}

// ---- The command line ------------------------------------------------------------------------

struct ToolRun {
    int status;
    std::string out;
};

ToolRun run(const std::string& arguments, const std::string& redirections = " 2>&1") {
    const std::string command = std::string(TALVINO_CATALOGUE_TOOL) + " " + arguments + redirections;
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

// Catalogues written before the header named the codec (no mark), and those written since.
class CatalogueOfEachCodecGeneration : public ::testing::TestWithParam<int> {
  protected:
    void build() {
        catalogue::writeCatalogue(sources.out(), catalogue::readSources(sources.root()),
                                  catalogue::kDefaultEncoding, GetParam());
    }
    SourceFolder sources;
};

TEST_P(CatalogueOfEachCodecGeneration, TheHeaderNamesTheOffsetTheColumnsAreWrittenWith) {
    build();
    EXPECT_EQ(sources.catalogue().rows("PRAGMA user_version")[0][0], std::to_string(GetParam()));
    const char16_t offset = *codec::offsetOfGeneration(GetParam());
    std::u16string expected;
    for (char16_t c : ado::toUtf16(SourceFolder::chablisFullText(GetParam())))
        expected += codec::encodeChar(c, offset);
    EXPECT_EQ(ado::toUtf16(sources.catalogue().rows("SELECT Text_Klein FROM talvino WHERE ID = 1001")[0][0]),
              expected);
    // Writing another generation's file leaves the codec as it was.
    EXPECT_EQ(codec::offset(), codec::kOffset);
}

TEST_P(CatalogueOfEachCodecGeneration, VerifyDumpAndQueryReadItWithItsOwnOffset) {
    build();
    const catalogue::Findings f = catalogue::verifyCatalogue(sources.out());
    EXPECT_TRUE(f.problems.empty()) << joined(f.problems);
    const bool warnsOfTheEarlierCodec = joined(f.warnings).find("earlier text codec") != std::string::npos;
    EXPECT_EQ(warnsOfTheEarlierCodec, GetParam() == codec::kEarlierGeneration) << joined(f.warnings);

    std::ostringstream dumped;
    catalogue::dumpCatalogue(sources.out(), dumped);
    EXPECT_NE(dumped.str().find("Beschreibung: Straffer, mineralischer Chablis mit Würze."), std::string::npos)
        << dumped.str();
    EXPECT_NE(dumped.str().find("Text: Rasse und Säure, von trocken bis edelsüß."), std::string::npos);

    std::ostringstream out, err;
    ASSERT_TRUE(catalogue::queryCatalogue(
        sources.out(), u"select Beschreibung, Text_Klein from talvino where ID = 1001", out, err))
        << err.str();
    EXPECT_EQ(out.str(), "Beschreibung\tText_Klein\nStraffer, mineralischer Chablis mit Würze.\t" +
                             SourceFolder::chablisFullText(GetParam()) + "\n");
    // Each command reads with the file's offset only while it runs.
    EXPECT_EQ(codec::offset(), codec::kOffset);
}

TEST_P(CatalogueOfEachCodecGeneration, TheCommandsAcceptItAndSayWhenItIsOfTheEarlierCodec) {
    build();
    const ToolRun verified = run("verify " + sources.out());
    EXPECT_EQ(verified.status, 0) << verified.out;
    EXPECT_NE(verified.out.find(sources.out() + ": ok"), std::string::npos) << verified.out;
    EXPECT_EQ(verified.out.find("earlier text codec") != std::string::npos,
              GetParam() == codec::kEarlierGeneration)
        << verified.out;
    const ToolRun dumped = run("dump " + sources.out());
    EXPECT_EQ(dumped.status, 0);
    EXPECT_NE(dumped.out.find("Text: Rasse und Säure, von trocken bis edelsüß."), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Generations, CatalogueOfEachCodecGeneration,
                         ::testing::Values(codec::kEarlierGeneration, codec::kGeneration),
                         [](const ::testing::TestParamInfo<int>& generation) {
                             return generation.param == codec::kGeneration ? std::string("Current")
                                                                     : std::string("Earlier");
                         });

TEST_F(BuiltCatalogue, AHeaderMarkOfAnUnknownCodecIsRefusedRatherThanReadGarbled) {
    build();
    sources.catalogue().execute("PRAGMA user_version = 7");
    const auto problems = catalogue::verifyCatalogue(sources.out()).problems;
    ASSERT_EQ(problems.size(), 1u) << joined(problems);
    EXPECT_NE(problems[0].find("PRAGMA user_version 7 names a text codec this tool does not know"),
              std::string::npos);
    std::ostringstream dumped, out, err;
    EXPECT_THROW(catalogue::dumpCatalogue(sources.out(), dumped), catalogue::WriteError);
    EXPECT_FALSE(catalogue::queryCatalogue(sources.out(), u"select Beschreibung from talvino", out, err));
    EXPECT_EQ(out.str(), "");
    EXPECT_NE(err.str().find("does not know"), std::string::npos);
}

TEST(CommandLine, HelpNamesEveryCommandAndSucceeds) {
    const ToolRun r = run("--help");
    EXPECT_EQ(r.status, 0);
    for (const char* command : {"build", "verify", "dump", "query", "synth"})
        EXPECT_NE(r.out.find(command), std::string::npos) << command;
}

TEST(CommandLine, WrongUsageExitsWithTwo) {
    EXPECT_EQ(run("").status, 2);
    EXPECT_EQ(run("brew x").status, 2);
    EXPECT_EQ(run("build only-one").status, 2);
    EXPECT_EQ(run("synth viele /tmp/x.cdb").status, 2);
    EXPECT_EQ(run("synth 5 /tmp/x.cdb --encoding latin1").status, 2);
}

TEST(CommandLine, BuildKeepsTheBookmarksOfTheCatalogueItReplaces) {
    SourceFolder sources;
    ASSERT_EQ(run("build " + sources.root() + " " + sources.out()).status, 0);
    sources.catalogue().execute("INSERT INTO Lesezeichen (id_talvino, Beschreibung, Notiz) VALUES (1002, "
                                "'Zum Grillen', 'mit Freunden')");
    sources.catalogue().execute(
        "INSERT INTO Lesezeichen (id_talvino, Beschreibung, Notiz) VALUES (1001, 'Chablis', NULL)");
    sources.write("rebsorten.txt", "ID: 1\nRebsorte: Riesling\nFarbe: weiss\nText: Neu.\n");
    const ToolRun r = run("build " + sources.root() + " " + sources.out());
    EXPECT_EQ(r.status, 0) << r.out;
    EXPECT_NE(r.out.find("2 bookmarks kept"), std::string::npos) << r.out;
    EXPECT_EQ(sources.catalogue().rows("SELECT * FROM Lesezeichen"),
              (std::vector<std::vector<std::string>>{{"1", "1002", "Zum Grillen", "mit Freunden"},
                                                     {"2", "1001", "Chablis", "NULL"}}));
    EXPECT_EQ(decodedText(ado::toUtf16(sources.catalogue().rows("SELECT Text FROM Rebsorten")[0][0])),
              u"Neu.");
}

TEST(CommandLine, AFailedBuildLeavesTheExistingCatalogueAlone) {
    SourceFolder sources;
    ASSERT_EQ(run("build " + sources.root() + " " + sources.out()).status, 0);
    const std::string before = sources.catalogue().readRawFile();
    sources.write("weine/D.txt", "ID: 5001\nStichwort: Kaputt\n");
    const ToolRun r = run("build " + sources.root() + " " + sources.out());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("weine/D.txt:1: block lacks"), std::string::npos) << r.out;
    EXPECT_EQ(sources.catalogue().readRawFile(), before);
    // No temporary file is left behind.
    int files = 0;
    for (const auto& e : fs::directory_iterator(sources.catalogue().folder()))
        files += e.is_regular_file() ? 1 : 0;
    EXPECT_EQ(files, 1);
}

TEST(CommandLine, BuildRefusesToReplaceAFileWhoseBookmarksItCannotRead) {
    SourceFolder sources;
    sources.catalogue().writeRawFile("Notizen, kein Katalog");
    EXPECT_EQ(run("build " + sources.root() + " " + sources.out()).status, 1);
    EXPECT_EQ(sources.catalogue().readRawFile(), "Notizen, kein Katalog");
}

TEST(CommandLine, VerifyExitsWithOneAndALinePerProblem) {
    SourceFolder sources;
    ASSERT_EQ(run("build " + sources.root() + " " + sources.out()).status, 0);
    EXPECT_EQ(run("verify " + sources.out()).status, 0);
    sources.catalogue().execute("UPDATE talvino SET Land = 'Q' WHERE ID IN (1001, 1002)");
    const ToolRun r = run("verify " + sources.out());
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.out.find("talvino 1001: Land Q is not in Land"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("talvino 1002: Land Q is not in Land"), std::string::npos);
    EXPECT_EQ(run("verify /nicht/da.cdb").status, 1);
}

TEST(CommandLine, QueryAndDumpAndSynth) {
    SourceFolder sources;
    ASSERT_EQ(run("build " + sources.root() + " " + sources.out()).status, 0);
    const ToolRun q = run("query " + sources.out() + " \"select Bezeichnung from Land where Land = 'D'\"");
    EXPECT_EQ(q.status, 0);
    EXPECT_EQ(q.out, "Bezeichnung\nDeutschland\n");
    EXPECT_EQ(run("query " + sources.out() + " \"select Nichts from Land\"").status, 1);
    EXPECT_EQ(run("dump " + sources.out()).status, 0);
    EXPECT_EQ(run("dump /nicht/da.cdb").status, 1);
    const std::string synth = sources.catalogue().file("synth.cdb");
    EXPECT_EQ(run("synth 300 " + synth + " --encoding utf16").status, 0);
    EXPECT_EQ(run("verify " + synth).status, 0);
}

// ---- Damaged files and odd data ----------------------------------------------------------------

// A catalogue whose talvino table spans many pages, with one leaf page in the middle zeroed.
std::string zeroedLeafPageCatalogue(TestCatalogue& c) {
    c.addSampleContent().addNumberedEntries(400, 20000, u"F", u"Burgund");
    const std::string path = c.build();
    const auto leaves = c.rows("SELECT pageno FROM dbstat WHERE name = 'talvino' AND pagetype = 'leaf'");
    const auto pageSize = std::stoul(c.rows("PRAGMA page_size")[0][0]);
    const auto page = std::stoul(leaves[leaves.size() / 2][0]);
    std::string bytes = c.readRawFile();
    std::fill(bytes.begin() + static_cast<long>((page - 1) * pageSize),
              bytes.begin() + static_cast<long>(page * pageSize), '\0');
    c.writeRawFile(bytes);
    return path;
}

TEST(DamagedFile, VerifyReportsAZeroedLeafPageWithTableAndSqlitesMessage) {
    TestCatalogue c;
    const std::string path = zeroedLeafPageCatalogue(c);
    const std::string all = joined(catalogue::verifyCatalogue(path).problems);
    EXPECT_NE(all.find("integrity check: "), std::string::npos) << all;
    EXPECT_NE(all.find("talvino: cannot be read after row "), std::string::npos) << all;
    EXPECT_NE(all.find("database disk image is malformed"), std::string::npos) << all;
}

TEST(DamagedFile, VerifyReportsAFileThatFailsOnlyTheIntegrityCheck) {
    TestCatalogue c;
    c.addSampleContent();
    const std::string path = c.build();
    // Every row still reads; the index of country names no longer matches its table.
    c.execute("INSERT INTO Lesezeichen (id_talvino, Beschreibung) VALUES (1001, 'A'), (1002, 'B')");
    // Every row still reads; the bookmark index now claims to index another column.
    c.execute("PRAGMA writable_schema = 1; UPDATE sqlite_master SET sql = replace(sql, '(id_talvino)', "
              "'(Beschreibung)') WHERE name = 'Lesezeichen_id_talvino'");
    const catalogue::Findings f = catalogue::verifyCatalogue(path);
    EXPECT_NE(joined(f.problems).find("integrity check: "), std::string::npos) << joined(f.problems);
}

TEST(DamagedFile, ToolExitsWithOneAndSaysWhereReadingStopped) {
    TestCatalogue c;
    const std::string path = zeroedLeafPageCatalogue(c);
    const ToolRun verify = run("verify " + path);
    EXPECT_EQ(verify.status, 1);
    EXPECT_EQ(verify.out.find(": ok"), std::string::npos) << verify.out;
    EXPECT_NE(verify.out.find(path + ": talvino: cannot be read"), std::string::npos) << verify.out;

    const ToolRun dump = run("dump " + path, " 2>&1 >/dev/null");
    EXPECT_EQ(dump.status, 1);
    EXPECT_NE(dump.out.find(path + ": talvino: cannot be read after row "), std::string::npos) << dump.out;
    EXPECT_NE(dump.out.find("malformed"), std::string::npos) << dump.out;

    // The rows before the damage are printed, and the failure is said on stderr. (Name is not in
    // the search index, so the query reads the damaged table and not the index.)
    const ToolRun query = run("query " + path + " \"SELECT ID, Name FROM talvino\"", " 2>/dev/null");
    EXPECT_EQ(query.status, 1);
    EXPECT_GT(std::count(query.out.begin(), query.out.end(), '\n'), 2);
    const ToolRun said = run("query " + path + " \"SELECT ID, Name FROM talvino\"", " 2>&1 >/dev/null");
    EXPECT_NE(said.out.find("reading stopped after row "), std::string::npos) << said.out;
    EXPECT_NE(said.out.find("malformed"), std::string::npos) << said.out;
}

TEST(OddData, VerifyCutsQuotedTextsAndCountsFindingsPastTwentyOfAKind) {
    TestCatalogue c;
    c.addSampleContent().addNumberedEntries(30, 20000, u"F", u"Burgund");
    const std::string path = c.build();
    const std::string huge(1000000, 'Q');
    c.execute("UPDATE talvino SET Land = '" + huge + "' WHERE ID >= 20000");
    for (int i = 0; i < 3; ++i)
        c.execute("INSERT INTO Rebsorten VALUES (" + std::to_string(900 + i) + ", '" + huge +
                  std::string(static_cast<std::size_t>(i), 'x') + "', 1, NULL)");
    const std::vector<std::string> problems = catalogue::verifyCatalogue(path).problems;
    const std::string all = joined(problems);
    std::size_t longest = 0;
    for (const std::string& p : problems)
        longest = std::max(longest, p.size());
    EXPECT_LT(longest, 300u) << all.substr(0, 2000);
    EXPECT_NE(all.find("talvino 20000: Land " + std::string(80, 'Q') + "… is not in Land"), std::string::npos)
        << all.substr(0, 2000);
    // 30 entries with the unknown country: 20 named, the rest counted.
    EXPECT_EQ(
        std::count_if(problems.begin(), problems.end(),
                      [](const std::string& p) { return p.find("is not in Land") != std::string::npos; }),
        20);
    EXPECT_NE(all.find("10 more like \"talvino: Land\" not shown (30 in all)"), std::string::npos) << all;
    EXPECT_NE(all.find("by name also finds"), std::string::npos);
}

TEST(OddData, QuotedTextsKeepSurrogatePairsWhole) {
    EXPECT_EQ(catalogue::quoted(u"kurz"), "kurz");
    const std::u16string exact(catalogue::kQuotedChars, u'a');
    EXPECT_EQ(catalogue::quoted(exact), ado::toUtf8(exact));
    // A pair that would straddle the cut goes whole to the part left out.
    const std::u16string pair = std::u16string(catalogue::kQuotedChars - 1, u'a') + u"\U0001F377rest";
    EXPECT_EQ(catalogue::quoted(pair), std::string(catalogue::kQuotedChars - 1, 'a') + "…");
}

TEST(OddData, FindingsOfOneKindPastTwentyBecomeOneCountingLine) {
    catalogue::FindingList list;
    for (int i = 0; i < 25; ++i)
        list.add("a", "a " + std::to_string(i));
    list.add("b", "b 0");
    const std::vector<std::string> lines = list.lines();
    ASSERT_EQ(lines.size(), 22u);
    EXPECT_EQ(lines[19], "a 19");
    EXPECT_EQ(lines[20], "b 0");
    EXPECT_EQ(lines[21], "5 more like \"a\" not shown (25 in all)");
}

TEST(OddData, DescriptionsWithHangulAndEmojiVerifyDumpAndQueryReadably) {
    TestCatalogue c;
    c.addSampleContent();
    catalogue::Entry e = TestCatalogue::entry(7001, u"Soju", u"F", u"Burgund");
    e.description = u"Zu Kimchi \uD68C und ein Glas \U0001F377.";
    c.addEntry(e);
    const std::string path = c.build();
    const catalogue::Findings f = catalogue::verifyCatalogue(path);
    EXPECT_TRUE(f.problems.empty()) << joined(f.problems);
    std::ostringstream dumped;
    catalogue::dumpCatalogue(path, dumped);
    EXPECT_NE(dumped.str().find("Beschreibung: Zu Kimchi \xED\x9A\x8C und ein Glas \xF0\x9F\x8D\xB7."),
              std::string::npos);
    std::ostringstream out, err;
    ASSERT_TRUE(catalogue::queryCatalogue(path, u"select Beschreibung from talvino where ID = 7001", out, err));
    EXPECT_EQ(out.str(), "Beschreibung\nZu Kimchi \xED\x9A\x8C und ein Glas \xF0\x9F\x8D\xB7.\n");
}

} // namespace
