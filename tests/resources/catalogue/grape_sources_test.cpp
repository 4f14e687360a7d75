// The grape varieties shipped in the catalogue sources. The screen looks a description up with
// LIKE 'name*' and takes the first row, so no name may be the start of another one.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Variety {
    std::map<std::string, std::string> fields;
    int firstLine = 0;
};

std::vector<Variety> readVarieties(const std::string& path) {
    std::ifstream in(path);
    std::vector<Variety> blocks;
    Variety current;
    std::string lastKey;
    std::string line;
    int number = 0;
    auto finish = [&] {
        if (!current.fields.empty()) blocks.push_back(current);
        current = Variety{};
        lastKey.clear();
    };
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) {
            finish();
        } else if (line[0] == '#') {
            continue;
        } else if (line[0] == ' ' || line[0] == '\t') {
            if (!lastKey.empty()) current.fields[lastKey] += " " + line.substr(line.find_first_not_of(" \t"));
        } else {
            const auto colon = line.find(": ");
            if (colon == std::string::npos) continue;
            if (current.fields.empty()) current.firstLine = number;
            lastKey = line.substr(0, colon);
            current.fields[lastKey] = line.substr(colon + 2);
        }
    }
    finish();
    return blocks;
}

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

int wordCount(const std::string& text) {
    std::istringstream words(text);
    int count = 0;
    for (std::string word; words >> word;)
        ++count;
    return count;
}

class GrapeSources : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { varieties = readVarieties(TALVINO_CATALOGUE_DIR "/rebsorten.txt"); }
    static std::vector<Variety> varieties;
};

std::vector<Variety> GrapeSources::varieties;

TEST_F(GrapeSources, OfferAtLeastSixtyFourVarietiesOfBothColours) {
    ASSERT_GE(varieties.size(), 64u);
    int red = 0;
    int white = 0;
    for (const auto& variety : varieties) {
        const auto colour = variety.fields.at("Farbe");
        red += colour == "rot";
        white += colour == "weiss";
    }
    EXPECT_EQ(red + white, static_cast<int>(varieties.size())) << "every variety is rot or weiss";
    EXPECT_GE(red, 25);
    EXPECT_GE(white, 25);
}

TEST_F(GrapeSources, EveryBlockHasItsFourKeys) {
    ASSERT_FALSE(varieties.empty());
    for (const auto& variety : varieties) {
        EXPECT_EQ(variety.fields.size(), 4u) << "block at line " << variety.firstLine;
        for (const char* key : {"ID", "Rebsorte", "Farbe", "Text"})
            EXPECT_EQ(variety.fields.count(key), 1u) << key << " missing at line " << variety.firstLine;
    }
}

TEST_F(GrapeSources, IdsCountUpFromOne) {
    ASSERT_FALSE(varieties.empty());
    for (std::size_t i = 0; i < varieties.size(); ++i)
        EXPECT_EQ(varieties[i].fields["ID"], std::to_string(i + 1))
            << "block at line " << varieties[i].firstLine;
}

TEST_F(GrapeSources, NoNameIsTheStartOfAnother) {
    std::set<std::string> names;
    for (const auto& variety : varieties)
        EXPECT_TRUE(names.insert(lower(variety.fields.at("Rebsorte"))).second)
            << "twice: " << variety.fields.at("Rebsorte");
    for (const auto& a : names)
        for (const auto& b : names)
            EXPECT_FALSE(a != b && b.compare(0, a.size(), a) == 0) << a << " starts " << b;
}

TEST_F(GrapeSources, NameWithApostropheIsPresent) {
    const auto found = std::count_if(varieties.begin(), varieties.end(), [](const Variety& v) {
        return v.fields.at("Rebsorte") == "Nero d'Avola";
    });
    EXPECT_EQ(found, 1);
}

TEST_F(GrapeSources, DescriptionsRunEightyToTwoHundredWords) {
    for (const auto& variety : varieties) {
        const int words = wordCount(variety.fields.at("Text"));
        EXPECT_GE(words, 80) << variety.fields.at("Rebsorte");
        EXPECT_LE(words, 200) << variety.fields.at("Rebsorte");
    }
}

TEST_F(GrapeSources, DescriptionsFitTheScreensBuffer) {
    // The description field takes at most 1999 characters; UTF-8 bytes bound that from above.
    for (const auto& variety : varieties)
        EXPECT_LT(variety.fields.at("Text").size(), 1999u) << variety.fields.at("Rebsorte");
}

} // namespace
