// A small catalogue of a test's own, built from rows in a temporary folder.
//
//   TestCatalogue catalogue;                      // empty tables
//   catalogue.addCountry(u"F", u"Frankreich");
//   catalogue.addRegion(100, u"F", u"Burgund");
//   auto e = TestCatalogue::entry(1001, u"Chablis", u"F", u"Burgund");
//   e.white = 1; e.description = u"Straff und mineralisch.";
//   catalogue.addEntry(e);
//   catalogue.installAsProgramCatalogue();        // builds; the program now "lives" in that folder
//   Database db; db.openCatalogue();              // opens this catalogue
//
// Texts are given in clear; the builder scrambles and lower-cases the columns the catalogue keeps
// that way. The folder is removed and the program's path restored when the object goes.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "db/database.h"
#include "tools/catalogue/catalogue_writer.h"

namespace catalogue {
// Names the cases of tests that run once per file encoding.
inline std::string encodingName(TextEncoding encoding) {
    return encoding == TextEncoding::Utf8 ? "Utf8" : "Utf16";
}
inline void PrintTo(TextEncoding encoding, std::ostream* os) {
    *os << encodingName(encoding);
}
// The name generator for INSTANTIATE_TEST_SUITE_P over the encodings.
struct EncodingTestName {
    template <typename ParamInfo> std::string operator()(const ParamInfo& info) const {
        return encodingName(info.param);
    }
};
} // namespace catalogue

class TestCatalogue {
  public:
    TestCatalogue();
    ~TestCatalogue();
    TestCatalogue(const TestCatalogue&) = delete;
    TestCatalogue& operator=(const TestCatalogue&) = delete;

    // An entry with the given keyword (also its name), country and region; everything else
    // zero or NULL.
    static catalogue::Entry entry(int id, const std::u16string& keyword, const std::u16string& country,
                                  const std::u16string& region);

    TestCatalogue& addCountry(const std::u16string& code, const std::u16string& name);
    TestCatalogue& addRegion(int id, const std::u16string& country, const std::u16string& name);
    TestCatalogue& addGrape(int id, const std::u16string& name, int colour,
                            const catalogue::OptionalText& text);
    TestCatalogue& addEntry(const catalogue::Entry& entry);
    TestCatalogue& addBookmark(long long entryId, const catalogue::OptionalText& description,
                               const catalogue::OptionalText& note);
    // A few real countries, regions and grapes and a handful of invented entries (below).
    TestCatalogue& addSampleContent();
    // `count` red, dry entries "Testwein 001", "Testwein 002" ... with ids from `firstId`, for
    // searches with many hits (the country and region should exist).
    TestCatalogue& addNumberedEntries(int count, int firstId, const std::u16string& country,
                                      const std::u16string& region);
    catalogue::Content& content() { return content_; }

    // Writes <folder>/talvino2006_db.cdb (again, if called again) and returns its path.
    std::string build(catalogue::TextEncoding encoding = catalogue::kDefaultEncoding);
    // Builds, then makes GetModuleFileNameW name a program file in the folder, so that
    // Database::openCatalogue opens this catalogue.
    std::string installAsProgramCatalogue(catalogue::TextEncoding encoding = catalogue::kDefaultEncoding);

    std::string folder() const { return folder_; }
    std::string path() const; // the catalogue file in the folder
    // A path in the folder for files of the test's own.
    std::string file(const std::string& name) const { return folder_ + "/" + name; }

    // Raw SQL on the built file, outside the component (odd rows, broken schemas). Throws
    // catalogue::WriteError when the statement fails.
    void execute(const std::string& sql) const;
    // Rows of a query as text ("NULL" for NULL), through SQLite directly: a second opinion for
    // checking what the program wrote.
    std::vector<std::vector<std::string>> rows(const std::string& sql) const;

    // Makes the catalogue file read-only (all write permission bits off) or writable again.
    void setReadOnly(bool readOnly) const;
    // Replaces the catalogue file with the given bytes (empty, random, cut short ...).
    void writeRawFile(const std::string& bytes) const;
    std::string readRawFile() const;

    // Sample content: entry ids, for tests that check rows.
    static constexpr int kChablis = 1001;       // F, Burgund, white, dry, 2-3, description with umlauts
    static constexpr int kBeaujolais = 1002;    // F, Beaujolais, red, 1
    static constexpr int kRiesling = 5001;      // D, Mosel, white, medium sweet, 3-3, categories 12 and 13
    static constexpr int kRioja = 3001;         // E, Rioja, red, dry, 4-7, drink soon
    static constexpr int kPort = 4001;          // P, Douro, brown, sweet, no vintage
    static constexpr int kNoName = 1003;        // F, Bordeaux, red, NULL name and NULL description
    static constexpr int kSparklingRose = 1004; // F, Champagne, rosé and white, sparkling

  private:
    std::string folder_;
    catalogue::Content content_;
    bool installed_ = false;
};

// Runs the statement left in the database's query buffer through a static cursor and gives the
// ids of its rows, sorted, in `ids`. Returns the open's result; on a failure `ids` stays empty.
HRESULT readSortedEntryIds(Database& database, std::vector<int>& ids);
