// Composing an entry's two texts from its catalogue row into the two text areas, and the guard
// around the opening of its recordset.
#include <gtest/gtest.h>

#include <string>

#include "screen/globals.h"
#include "db/database.h"
#include "resources/dialog_ids.h"
#include "resources/resources.h"
#include "results/entry_detail.h"
#include "results/results_screen.h"
#include "tests/results/results_fixture.h"

using namespace results_screen;

namespace {

INT_PTR plainDialog(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}

std::u16string idText(int id) {
    const std::string digits = std::to_string(id);
    return std::u16string(digits.begin(), digits.end());
}

class ComposeEntryDetail : public ResultsTest {
  protected:
    // The results template with a procedure that does nothing: just its two text areas.
    void openAreas() {
        dialog = driver.open(talvinoModule(), kResultsDialog, plainDialog);
        ASSERT_NE(dialog, nullptr);
        info = GetDlgItem(dialog, kInfoArea);
        vintage = GetDlgItem(dialog, kVintageArea);
    }
    bool compose(const std::u16string& sql) {
        setQuery(sql);
        return composeEntryDetail(*g_database, info, vintage);
    }
    bool composeEntry(int id) { return compose(u"select * from talvino where ID = " + idText(id)); }
    std::u16string infoText() const { return driver.text(info); }
    std::u16string vintageText() const { return driver.text(vintage); }
    void setAreas(const std::u16string& text) {
        SetWindowTextW(info, text.c_str());
        SetWindowTextW(vintage, text.c_str());
    }

    HWND dialog = nullptr;
    HWND info = nullptr;
    HWND vintage = nullptr;
};

TEST_F(ComposeEntryDetail, QualityRangeTasteDescriptionAndTwoVintageCategories) {
    install();
    openAreas();
    EXPECT_TRUE(composeEntry(TestCatalogue::kChablis));
    EXPECT_EQ(infoText(),
              u"überdurchschnittlich -> bekannt \r\n\r\ntrocken  \r\n"
              u"Straffer, mineralischer Chablis mit Noten von grünem Apfel; Säure und Würze. \r\n");
    EXPECT_EQ(vintageText(), u"empfohlener Jahrgang: \r\n96,99\r\ngenussreifer Jahrgang: \r\n90\r\n");
}

TEST_F(ComposeEntryDetail, GermanSchemeCategoriesFollowInTheirOrder) {
    install();
    openAreas();
    EXPECT_TRUE(composeEntry(TestCatalogue::kRiesling));
    EXPECT_EQ(
        infoText(),
        u"bekannt \r\n\r\nlieblich  \r\nWürzig, mit Pfirsich und Schiefer; ÄÖÜ-Test: Öchsle über 90. \r\n");
    EXPECT_EQ(vintageText(),
              u"normaler, guter Jahrgang: \r\n01,02\r\nklassischer, vollreifer Jahrgang: \r\n99\r\n");
}

TEST_F(ComposeEntryDetail, DrinkSoonFollowsTheYears) {
    install();
    openAreas();
    EXPECT_TRUE(composeEntry(TestCatalogue::kRioja));
    EXPECT_EQ(
        infoText(),
        u"erstklassig -> bekannt+besonders gut \r\n\r\ntrocken  \r\nReife Kirsche, Vanille und Leder. \r\n");
    EXPECT_EQ(vintageText(), u"empfohlener Jahrgang: \r\n95,01\r\n\r\nBaldiger Verbrauch empfohlen");
}

TEST_F(ComposeEntryDetail, BottleWithoutVintageAlone) {
    install();
    openAreas();
    EXPECT_TRUE(composeEntry(TestCatalogue::kPort));
    EXPECT_EQ(vintageText(), u"\r\nFlasche ohne Jahresangabe");
}

TEST_F(ComposeEntryDetail, NothingKnownGivesALoneBlankAndKeineAngabe) {
    install();
    openAreas();
    EXPECT_TRUE(composeEntry(TestCatalogue::kNoName));
    EXPECT_EQ(infoText(), u" \r\n");
    EXPECT_EQ(vintageText(), u"keine Angabe");
}

TEST_F(ComposeEntryDetail, NegativeStoredQualityIsUnknown) {
    catalogue.addSampleContent();
    catalogue.installAsProgramCatalogue();
    catalogue.execute("UPDATE talvino SET Qualitaet1 = -2, Qualitaet2 = 0 WHERE ID = 1002");
    ASSERT_TRUE(g_database->openCatalogue());
    installed = true;
    openAreas();
    EXPECT_TRUE(composeEntry(TestCatalogue::kBeaujolais));
    EXPECT_EQ(infoText(), u"unbekannt \r\n\r\n \r\nFruchtig und leicht, jung zu trinken. \r\n");
}

TEST_F(ComposeEntryDetail, EntryWithoutRowKeepsTheTextsShown) {
    install();
    openAreas();
    setAreas(u"vorher");
    EXPECT_TRUE(composeEntry(999999));
    EXPECT_EQ(infoText(), u"vorher");
    EXPECT_EQ(vintageText(), u"vorher");
}

TEST_F(ComposeEntryDetail, StatementThatCannotOpenReportsFailureAndKeepsTheTexts) {
    install();
    openAreas();
    setAreas(u"vorher");
    EXPECT_FALSE(compose(u"select * from Weinkeller where ID = 1001"));
    EXPECT_EQ(infoText(), u"vorher");
    EXPECT_EQ(vintageText(), u"vorher");
    // The one recordset is closed again: the next entry composes normally.
    EXPECT_TRUE(composeEntry(TestCatalogue::kPort));
    EXPECT_EQ(vintageText(), u"\r\nFlasche ohne Jahresangabe");
}

TEST_F(ComposeEntryDetail, ClosedCatalogueReportsFailure) {
    install();
    openAreas();
    g_database->closeCatalogue();
    setAreas(u"vorher");
    EXPECT_FALSE(composeEntry(TestCatalogue::kChablis));
    EXPECT_EQ(infoText(), u"vorher");
}

TEST_F(ComposeEntryDetail, DataLayerExceptionIsCaughtTracedAndTheCatalogueOpenedAgain) {
    // A catalogue whose pages beyond the first are damaged: it opens, but reading rows throws.
    TestCatalogue damaged;
    damaged.addSampleContent();
    damaged.installAsProgramCatalogue();
    std::string bytes = damaged.readRawFile();
    for (std::size_t i = 4096; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(0x5A);
    damaged.writeRawFile(bytes);
    ASSERT_TRUE(g_database->openCatalogue());
    installed = true;

    // The catalogue the program finds when it opens the file again.
    TestCatalogue good;
    auto entry = TestCatalogue::entry(7777, u"Grüner Veltliner Federspiel", u"A", u"Wachau");
    entry.quality1 = entry.quality2 = 2;
    good.addCountry(u"A", u"Österreich").addRegion(600, u"A", u"Wachau").addEntry(entry);
    good.installAsProgramCatalogue();

    openAreas();
    setAreas(u"vorher");
    testing::internal::CaptureStderr();
    const bool composed = composeEntry(TestCatalogue::kChablis);
    const std::string trace = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(composed);
    EXPECT_NE(trace.find("in filter"), std::string::npos) << trace;
    EXPECT_EQ(infoText(), u"vorher");
    EXPECT_EQ(vintageText(), u"vorher");

    EXPECT_TRUE(g_database->isOpen());
    EXPECT_TRUE(composeEntry(7777));
    EXPECT_EQ(infoText(), u"überdurchschnittlich \r\n\r\n \r\n");
}

} // namespace
