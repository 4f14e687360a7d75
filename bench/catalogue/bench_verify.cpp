// Verify on catalogues with the largest texts they can hold; it should finish within a few seconds
// and print little, however many findings the texts cause.
//   - twenty grape names of 1 MB, each the prefix of the next (every pair is a finding);
//   - thirty entries whose country code is a 1 MB text (two findings each).
//
//   bench_verify [--benchmark_filter=...]
#include <benchmark/benchmark.h>

#include <string>

#include "tests/support/test_catalogue.h"
#include "tools/catalogue/verifier.h"

namespace {

std::size_t reportBytes(const catalogue::Findings& findings) {
    std::size_t bytes = 0;
    for (const std::string& line : findings.problems)
        bytes += line.size() + 1;
    for (const std::string& line : findings.warnings)
        bytes += line.size() + 1;
    return bytes;
}

void BM_VerifyHugeGrapeNames(benchmark::State& state) {
    TestCatalogue catalogue;
    catalogue.addSampleContent();
    for (int i = 0; i < 20; ++i)
        catalogue.addGrape(900 + i, std::u16string((1 << 20) + static_cast<std::size_t>(i), u'Ä'), 1,
                           u"Riesig.");
    const std::string path = catalogue.build();
    std::size_t bytes = 0;
    for (auto _ : state)
        bytes = reportBytes(catalogue::verifyCatalogue(path));
    state.counters["report bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_VerifyHugeGrapeNames)->Unit(benchmark::kMillisecond);

void BM_VerifyHugeCountryCodes(benchmark::State& state) {
    TestCatalogue catalogue;
    catalogue.addSampleContent().addNumberedEntries(30, 20000, u"F", u"Burgund");
    const std::string path = catalogue.build();
    catalogue.execute("UPDATE talvino SET Land = replace(hex(zeroblob(524288)), '0', 'Q') WHERE ID >= 20000");
    std::size_t bytes = 0;
    for (auto _ : state)
        bytes = reportBytes(catalogue::verifyCatalogue(path));
    state.counters["report bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_VerifyHugeCountryCodes)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
