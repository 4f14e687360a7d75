// Damaged copies of a test catalogue: verify must never call a file sound that dump cannot read
// through, and what verify calls sound the program's data layer reads whole.
//
// The run in CTest makes a few hundred copies. The long run makes as many as asked for:
//   TALVINO_DAMAGE_COPIES=10000 build/tests/tools/catalogue/talvino_catalogue_damage_tests
// (TALVINO_DAMAGE_SEED picks another series.) It prints one line of figures per kind of damage.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <sstream>

#include "tests/support/test_catalogue.h"
#include "tests/tools/catalogue/catalogue_damage.h"
#include "tools/catalogue/verifier.h"

namespace {

constexpr int kCopiesInCi = 180;
// Verify's whole output on one copy stays short, however large the texts in it.
constexpr std::size_t kMaxReportBytes = 64 * 1024;

int fromEnvironment(const char* name, int fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::atoi(value) : fallback;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

// A catalogue of several pages per table: sample content, numbered entries, bookmarks.
std::string buildOriginal(TestCatalogue& catalogue) {
    catalogue.addSampleContent();
    catalogue.addNumberedEntries(150, 20000, u"F", u"Burgund");
    for (int i = 0; i < 40; ++i)
        catalogue.addBookmark(
            20000 + i, u"Lesezeichen " + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)), u"Notiz");
    catalogue.addBookmark(4711, u"Eintrag fehlt", std::nullopt);
    return readFile(catalogue.build());
}

bool dumpReadsThrough(const std::string& path, std::string& failure) {
    std::ostream discard(nullptr);
    try {
        catalogue::dumpCatalogue(path, discard);
        return true;
    } catch (const std::exception& e) {
        failure = e.what();
        return false;
    }
}

bool queryReadsThrough(const std::string& path, const char16_t* table, std::string& failure) {
    std::ostringstream out, err;
    const bool ok = catalogue::queryCatalogue(path, std::u16string(u"SELECT * FROM ") + table, out, err);
    failure = err.str();
    return ok;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& line : lines)
        all += line + "\n";
    return all;
}

struct Figures {
    int copies = 0;
    int refused = 0;    // verify found a problem
    int unreadable = 0; // dump could not read through
};

TEST(DamagedCatalogues, VerifyNeverPassesAFileThatCannotBeReadThrough) {
    TestCatalogue catalogue;
    const std::string original = buildOriginal(catalogue);
    ASSERT_TRUE(catalogue::verifyCatalogue(catalogue.path()).problems.empty());
    const std::string copy = catalogue.file("copy.cdb");
    const int copies = fromEnvironment("TALVINO_DAMAGE_COPIES", kCopiesInCi);
    std::mt19937 random(static_cast<unsigned>(fromEnvironment("TALVINO_DAMAGE_SEED", 2006)));
    constexpr int kinds = static_cast<int>(damage::Kind::Count);
    std::array<Figures, kinds> figures{};

    for (int n = 0; n < copies; ++n) {
        const auto kind = static_cast<damage::Kind>(n % kinds);
        const std::string what = damage::makeDamagedCopy(original, copy, kind, random);
        SCOPED_TRACE("copy " + std::to_string(n) + ": " + what);
        const catalogue::Findings findings = catalogue::verifyCatalogue(copy);
        const bool sound = findings.problems.empty();
        std::string failure;
        const bool readable = dumpReadsThrough(copy, failure);
        EXPECT_TRUE(readable || !sound) << "verify says ok, dump fails: " << failure;
        if (sound) {
            for (const char16_t* table : {u"talvino", u"Land", u"Region", u"Rebsorten", u"Lesezeichen"})
                EXPECT_TRUE(queryReadsThrough(copy, table, failure)) << failure;
        }
        EXPECT_LE(joined(findings.problems).size() + joined(findings.warnings).size(), kMaxReportBytes);

        Figures& f = figures[static_cast<std::size_t>(kind)];
        ++f.copies;
        f.refused += sound ? 0 : 1;
        f.unreadable += readable ? 0 : 1;
        if (HasFailure()) break;
    }
    for (int k = 0; k < kinds; ++k) {
        const Figures& f = figures[static_cast<std::size_t>(k)];
        std::cout << damage::nameOf(static_cast<damage::Kind>(k)) << ": " << f.copies << " copies, "
                  << f.refused << " refused by verify, " << f.unreadable << " not readable by dump\n";
    }
}

} // namespace
