// How long the search takes to turn the form's criteria into its statement: composing alone, and
// from "Suche starten" to the statement in the query buffer with the country code lookup on a
// catalogue of 100,000 entries.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "db/database.h"
#include "platform/win32.h"
#include "search/query_builder.h"

namespace {

SearchCriteria workedExample() {
    SearchCriteria c;
    c.countryName = u"Frankreich";
    c.countryNameLength = 10;
    c.searchTerm = u"Riesling";
    c.regionName = u"Bordeaux";
    c.red = c.white = c.dry = true;
    c.qualityLevel = 3;
    return c;
}

void BM_ComposeWorkedExample(benchmark::State& state) {
    const SearchCriteria criteria = workedExample();
    for (auto _ : state)
        benchmark::DoNotOptimize(composeSearchStatement(criteria, u"F"));
}
BENCHMARK(BM_ComposeWorkedExample)->Unit(benchmark::kMicrosecond);

void BM_ComposeLongestFullText(benchmark::State& state) {
    SearchCriteria c = workedExample();
    c.countryName = std::u16string(199, u'\'');
    c.countryNameLength = 199;
    c.searchTerm = std::u16string(149, u'\'');
    c.fullText = true;
    c.regionName = std::u16string(149, u'\'');
    c.rose = c.brown = c.mediumSweet = c.sweet = c.sparkling = true;
    for (auto _ : state)
        benchmark::DoNotOptimize(composeSearchStatement(c, std::u16string(149, u'\'')));
}
BENCHMARK(BM_ComposeLongestFullText)->Unit(benchmark::kMicrosecond);

// The catalogue: made by the catalogue tool's synth command in a folder of the benchmark's own.
class SynthCatalogue {
  public:
    SynthCatalogue() {
        folder_ =
            std::filesystem::temp_directory_path() / ("talvino-bench-search-" + std::to_string(::getpid()));
        std::filesystem::create_directories(folder_);
        const std::filesystem::path file = folder_ / "talvino2006_db.cdb";
        const std::string command =
            std::string(TALVINO_CATALOGUE_TOOL) + " synth 100000 '" + file.string() + "'";
        ok_ = std::system(command.c_str()) == 0;
        if (!ok_) return;
        const std::u16string program = (folder_ / "talvino").u16string();
        platform::overrideModuleFileName(program.c_str());
        database_.allocateQueryBuffer();
        ok_ = database_.openCatalogue();
        // A country that the catalogue lists, as the country combo would offer it.
        char16_t name[200] = u"";
        std::char_traits<char16_t>::copy(database_.queryBuffer,
                                         u"SELECT Bezeichnung from Land ORDER by Bezeichnung", 51);
        database_.scalarQuery(name, 200);
        country_ = name;
    }
    ~SynthCatalogue() {
        database_.closeCatalogue();
        database_.freeQueryBuffer();
        platform::overrideModuleFileName(nullptr);
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    bool ok() const { return ok_ && !country_.empty(); }
    Database& database() { return database_; }
    const std::u16string& country() const { return country_; }

  private:
    std::filesystem::path folder_;
    Database database_;
    std::u16string country_;
    bool ok_ = false;
};

SynthCatalogue& synth() {
    static SynthCatalogue catalogue;
    return catalogue;
}

void BM_StartSearchToStatementWithCountry(benchmark::State& state) {
    SynthCatalogue& catalogue = synth();
    if (!catalogue.ok()) {
        state.SkipWithError("no synth catalogue");
        return;
    }
    SearchCriteria criteria = workedExample();
    criteria.countryName = catalogue.country();
    criteria.countryNameLength = static_cast<int>(criteria.countryName.size());
    for (auto _ : state) {
        buildSearchStatement(criteria, catalogue.database());
        benchmark::DoNotOptimize(catalogue.database().queryBuffer[0]);
    }
}
BENCHMARK(BM_StartSearchToStatementWithCountry)->Unit(benchmark::kMicrosecond);

void BM_StartSearchToStatementWithoutCountry(benchmark::State& state) {
    SynthCatalogue& catalogue = synth();
    if (!catalogue.ok()) {
        state.SkipWithError("no synth catalogue");
        return;
    }
    SearchCriteria criteria = workedExample();
    criteria.countryName.assign(1, u' ');
    criteria.countryNameLength = 1;
    for (auto _ : state) {
        buildSearchStatement(criteria, catalogue.database());
        benchmark::DoNotOptimize(catalogue.database().queryBuffer[0]);
    }
}
BENCHMARK(BM_StartSearchToStatementWithoutCountry)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
