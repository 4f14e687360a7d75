#include "tools/catalogue/source_reader.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "db/text_codec.h"
#include "platform/data/letter_case.h"
#include "platform/data/utf.h"

namespace catalogue {

namespace fs = std::filesystem;

SourceError::SourceError(std::vector<std::string> problems)
    : std::runtime_error(problems.empty() ? "catalogue sources" : problems.front()),
      problems_(std::move(problems)) {}

bool isStorableText(const std::u16string& text, std::u16string* offending) {
    static const std::u16string special = u"'*?%_[]";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        const char16_t e = codec::encodeChar(c);
        const bool bad = c < 0x20 || (c >= 0x7F && c < 0xA0) || (c >= 0xD800 && c <= 0xDFFF) || e == 0 ||
                         (e >= 0xD800 && e <= 0xDFFF) || special.find(e) != std::u16string::npos ||
                         ado::lowerCaseOf(e) != e || !ado::capitalsOf(e).empty();
        if (bad) {
            if (offending) *offending = std::u16string(1, c);
            return false;
        }
    }
    return true;
}

namespace {

std::string trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return {};
    const auto last = s.find_last_not_of(" \t\r");
    return s.substr(first, last - first + 1);
}

struct Line {
    int number;
    std::string text;
};

class Reader {
  public:
    std::vector<std::string> problems;

    void problem(const std::string& file, int line, const std::string& message) {
        problems.push_back(file + ":" + std::to_string(line) + ": " + message);
    }

    // Lines of a file, comments and nothing else removed; false when it cannot be read.
    bool lines(const fs::path& path, std::vector<Line>& out) {
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            problem(path.string(), 0, "cannot read the file");
            return false;
        }
        std::string text;
        int number = 0;
        while (std::getline(in, text)) {
            ++number;
            if (!text.empty() && text.back() == '\r') text.pop_back();
            if (number == 1 && text.rfind("\xEF\xBB\xBF", 0) == 0) text.erase(0, 3);
            if (!text.empty() && text[0] == '#') text.clear();
            out.push_back({number, text});
        }
        return true;
    }

    std::u16string wide(const std::string& file, int line, const std::string& text) {
        std::u16string w = ado::toUtf16(text);
        if (w.find(u'\uFFFD') != std::u16string::npos && text.find("\xEF\xBF\xBD") == std::string::npos)
            problem(file, line, "not valid UTF-8");
        return w;
    }

    // Plain texts: no control characters.
    bool plain(const std::string& file, int line, const std::string& key, const std::u16string& text) {
        for (char16_t c : text)
            if (c < 0x20 || (c >= 0x7F && c < 0xA0)) {
                problem(file, line, key + " holds a control character");
                return false;
            }
        return true;
    }

    bool scrambled(const std::string& file, int line, const std::string& key, const std::u16string& text) {
        std::u16string bad;
        if (isStorableText(text, &bad)) return true;
        problem(file, line,
                key + " holds a character the catalogue cannot store scrambled (U+" + hex(bad[0]) + ")");
        return false;
    }

    static std::string hex(char16_t c) {
        char buffer[8];
        std::snprintf(buffer, sizeof buffer, "%04X", static_cast<unsigned>(c));
        return buffer;
    }

    bool integer(const std::string& file, int line, const std::string& key, const std::string& text,
                 long long lo, long long hi, long long& value) {
        std::size_t used = 0;
        try {
            value = std::stoll(text, &used);
        } catch (...) {
            used = 0;
        }
        if (used == 0 || used != text.size() || value < lo || value > hi) {
            problem(file, line,
                    key + " must be a number from " + std::to_string(lo) + " to " + std::to_string(hi) +
                        ", not \"" + text + "\"");
            return false;
        }
        return true;
    }

    // "A | B" lines.
    std::vector<std::pair<Line, std::pair<std::string, std::string>>> pairs(const fs::path& path) {
        std::vector<Line> all;
        std::vector<std::pair<Line, std::pair<std::string, std::string>>> out;
        if (!lines(path, all)) return out;
        for (const Line& l : all) {
            if (trim(l.text).empty()) continue;
            const auto bar = l.text.find('|');
            if (bar == std::string::npos) {
                problem(path.string(), l.number, "expected \"value | name\"");
                continue;
            }
            const std::string a = trim(l.text.substr(0, bar)), b = trim(l.text.substr(bar + 1));
            if (a.empty() || b.empty()) {
                problem(path.string(), l.number, "expected \"value | name\" with both parts");
                continue;
            }
            out.push_back({l, {a, b}});
        }
        return out;
    }

    struct Field {
        int line;
        std::string value;
    };
    struct Block {
        int line;
        std::map<std::string, Field> fields;
    };

    std::vector<Block> blocks(const fs::path& path, const std::set<std::string>& keys) {
        std::vector<Line> all;
        std::vector<Block> out;
        if (!lines(path, all)) return out;
        const std::string file = path.string();
        Block current{0, {}};
        std::string lastKey;
        auto finish = [&] {
            if (current.line == 0) return;
            for (const std::string& key : keys)
                if (!current.fields.count(key)) problem(file, current.line, "block lacks \"" + key + ":\"");
            out.push_back(current);
            current = Block{0, {}};
            lastKey.clear();
        };
        for (const Line& l : all) {
            if (trim(l.text).empty()) {
                finish();
                continue;
            }
            if (l.text[0] == ' ' || l.text[0] == '\t') {
                if (lastKey.empty()) {
                    problem(file, l.number, "continuation line outside a field");
                    continue;
                }
                std::string& value = current.fields[lastKey].value;
                value += (value.empty() ? "" : " ") + trim(l.text);
                continue;
            }
            const auto colon = l.text.find(':');
            if (colon == std::string::npos) {
                problem(file, l.number, "expected \"Key: value\"");
                continue;
            }
            const std::string key = trim(l.text.substr(0, colon));
            if (!keys.count(key)) {
                problem(file, l.number, "unknown key \"" + key + "\"");
                lastKey.clear();
                continue;
            }
            if (current.line == 0) current.line = l.number;
            if (current.fields.count(key)) {
                problem(file, l.number, "\"" + key + ":\" given twice");
                continue;
            }
            current.fields[key] = {l.number, trim(l.text.substr(colon + 1))};
            lastKey = key;
        }
        finish();
        return out;
    }
};

std::vector<std::string> splitList(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::stringstream in(text);
    std::string part;
    while (std::getline(in, part, separator))
        parts.push_back(trim(part));
    return parts;
}

} // namespace

Content readSources(const std::string& folderName) {
    Reader r;
    Content content;
    const fs::path folder(folderName);
    if (!fs::is_directory(folder)) throw SourceError({folderName + ":0: not a folder of catalogue sources"});

    // Countries.
    std::set<std::u16string> codes, countryNames;
    const fs::path countries = folder / "laender.txt";
    for (const auto& [line, pair] : r.pairs(countries)) {
        const std::u16string code = r.wide(countries.string(), line.number, pair.first);
        const std::u16string name = r.wide(countries.string(), line.number, pair.second);
        if (!r.plain(countries.string(), line.number, "Land", code + name)) continue;
        if (!codes.insert(code).second)
            r.problem(countries.string(), line.number, "country code given twice");
        if (!countryNames.insert(name).second)
            r.problem(countries.string(), line.number, "country name given twice");
        content.countries.push_back({code, name});
    }

    // Regions, one file per country.
    std::map<std::u16string, std::set<std::u16string>> regionsOf;
    std::set<int> regionIds;
    if (fs::is_directory(folder / "regionen")) {
        std::vector<fs::path> files;
        for (const auto& e : fs::directory_iterator(folder / "regionen"))
            if (e.path().extension() == ".txt") files.push_back(e.path());
        std::sort(files.begin(), files.end());
        for (const fs::path& file : files) {
            const std::u16string code = ado::toUtf16(file.stem().string());
            if (!codes.count(code))
                r.problem(file.string(), 0, "no country with the code " + file.stem().string());
            for (const auto& [line, pair] : r.pairs(file)) {
                long long id = 0;
                if (!r.integer(file.string(), line.number, "ID_REGION", pair.first, 1, 2147483647, id))
                    continue;
                const std::u16string name = r.wide(file.string(), line.number, pair.second);
                if (!r.plain(file.string(), line.number, "Regio_Lang", name)) continue;
                if (!regionIds.insert(static_cast<int>(id)).second)
                    r.problem(file.string(), line.number, "ID_REGION " + std::to_string(id) + " given twice");
                if (!regionsOf[code].insert(name).second)
                    r.problem(file.string(), line.number, "region name given twice for this country");
                content.regions.push_back({static_cast<int>(id), code, name});
            }
        }
    }

    // Grape varieties.
    const fs::path grapes = folder / "rebsorten.txt";
    std::set<int> grapeIds;
    if (fs::exists(grapes)) {
        const std::string file = grapes.string();
        for (const auto& block : r.blocks(grapes, {"ID", "Rebsorte", "Farbe", "Text"})) {
            if (block.fields.size() != 4) continue;
            Grape g;
            long long id = 0;
            const auto& f = block.fields;
            if (r.integer(file, f.at("ID").line, "ID", f.at("ID").value, 1, 2147483647, id)) {
                g.id = static_cast<int>(id);
                if (!grapeIds.insert(g.id).second) r.problem(file, f.at("ID").line, "ID given twice");
            }
            g.name = r.wide(file, f.at("Rebsorte").line, f.at("Rebsorte").value);
            r.plain(file, f.at("Rebsorte").line, "Rebsorte", g.name);
            const std::string colour = f.at("Farbe").value;
            if (colour == "rot")
                g.colour = 1;
            else if (colour == "weiss")
                g.colour = 2;
            else
                r.problem(file, f.at("Farbe").line, "Farbe must be rot or weiss");
            if (f.at("Text").value != "-") {
                g.text = r.wide(file, f.at("Text").line, f.at("Text").value);
                r.scrambled(file, f.at("Text").line, "Text", *g.text);
            }
            content.grapes.push_back(g);
        }
    }

    // Entries, one file per country.
    std::set<int> entryIds;
    if (fs::is_directory(folder / "weine")) {
        std::vector<fs::path> files;
        for (const auto& e : fs::directory_iterator(folder / "weine"))
            if (e.path().extension() == ".txt") files.push_back(e.path());
        std::sort(files.begin(), files.end());
        const std::set<std::string> keys = {"ID",         "Stichwort", "Name",        "Zusatz",
                                            "Region",     "Farbe",     "Geschmack",   "Qualitaet",
                                            "Jahrgaenge", "Hinweise",  "Beschreibung"};
        for (const fs::path& path : files) {
            const std::string file = path.string();
            const std::u16string code = ado::toUtf16(path.stem().string());
            if (!codes.count(code)) r.problem(file, 0, "no country with the code " + path.stem().string());
            for (const auto& block : r.blocks(path, keys)) {
                if (block.fields.size() != keys.size()) continue;
                const auto& f = block.fields;
                auto optionalText = [&](const std::string& key) -> OptionalText {
                    const Reader::Field& field = f.at(key);
                    if (field.value == "-") return std::nullopt;
                    std::u16string text = r.wide(file, field.line, field.value);
                    r.plain(file, field.line, key, text);
                    return text;
                };
                Entry e;
                e.country = code;
                long long id = 0;
                if (r.integer(file, f.at("ID").line, "ID", f.at("ID").value, 1, 2147483647, id)) {
                    e.id = static_cast<int>(id);
                    if (!entryIds.insert(e.id).second)
                        r.problem(file, f.at("ID").line, "ID " + std::to_string(id) + " given twice");
                }
                e.keyword = r.wide(file, f.at("Stichwort").line, f.at("Stichwort").value);
                if (e.keyword.empty() || e.keyword == u"-")
                    r.problem(file, f.at("Stichwort").line, "Stichwort must not be empty");
                r.plain(file, f.at("Stichwort").line, "Stichwort", e.keyword);
                e.name = optionalText("Name");
                e.suffix = optionalText("Zusatz");
                e.region = r.wide(file, f.at("Region").line, f.at("Region").value);
                if (!regionsOf[code].count(e.region))
                    r.problem(file, f.at("Region").line,
                              "unknown region \"" + f.at("Region").value + "\" (not in regionen/" +
                                  path.stem().string() + ".txt)");

                const std::string colours = f.at("Farbe").value;
                if (colours != "-")
                    for (const std::string& c : splitList(colours, ',')) {
                        if (c == "rot")
                            e.red = 1;
                        else if (c == "rose")
                            e.rose = 1;
                        else if (c == "weiss")
                            e.white = 1;
                        else if (c == "braun")
                            e.brown = 1;
                        else
                            r.problem(file, f.at("Farbe").line, "unknown colour \"" + c + "\"");
                    }
                const std::string tastes = f.at("Geschmack").value;
                if (tastes != "-")
                    for (const std::string& t : splitList(tastes, ',')) {
                        if (t == "trocken")
                            e.dry = 1;
                        else if (t == "lieblich")
                            e.mediumSweet = 1;
                        else if (t == "suess")
                            e.sweet = 1;
                        else if (t == "schaeumend")
                            e.sparkling = 1;
                        else
                            r.problem(file, f.at("Geschmack").line, "unknown taste \"" + t + "\"");
                    }

                const Reader::Field& quality = f.at("Qualitaet");
                const auto dash = quality.value.find('-');
                long long q1 = 0, q2 = 0;
                if (dash == std::string::npos) {
                    if (r.integer(file, quality.line, "Qualitaet", quality.value, 0, 8, q1)) q2 = q1;
                } else {
                    r.integer(file, quality.line, "Qualitaet", trim(quality.value.substr(0, dash)), 1, 8, q1);
                    r.integer(file, quality.line, "Qualitaet", trim(quality.value.substr(dash + 1)), 1, 8,
                              q2);
                }
                e.quality1 = static_cast<int>(q1);
                e.quality2 = static_cast<int>(q2);

                const Reader::Field& vintages = f.at("Jahrgaenge");
                if (vintages.value != "-")
                    for (const std::string& group : splitList(vintages.value, ';')) {
                        if (group.empty()) continue;
                        const auto eq = group.find('=');
                        long long k = 0;
                        if (eq == std::string::npos) {
                            r.problem(file, vintages.line,
                                      "expected \"category=years\", not \"" + group + "\"");
                            continue;
                        }
                        if (!r.integer(file, vintages.line, "vintage category", trim(group.substr(0, eq)), 0,
                                       14, k))
                            continue;
                        std::vector<int> years;
                        for (const std::string& y : splitList(group.substr(eq + 1), ',')) {
                            long long year = 0;
                            if (r.integer(file, vintages.line, "year", y, 1900, 2005, year))
                                years.push_back(static_cast<int>(year));
                        }
                        auto& column = e.vintages[static_cast<std::size_t>(k)];
                        if (column)
                            r.problem(file, vintages.line,
                                      "vintage category " + std::to_string(k) + " given twice");
                        else if (!years.empty())
                            column = vintageText(years);
                    }

                const std::string notes = f.at("Hinweise").value;
                if (notes != "-")
                    for (const std::string& n : splitList(notes, ',')) {
                        if (n == "bald")
                            e.drinkSoon = 1;
                        else if (n == "ohnejahr")
                            e.noVintage = 1;
                        else
                            r.problem(file, f.at("Hinweise").line, "unknown note \"" + n + "\"");
                    }

                const Reader::Field& description = f.at("Beschreibung");
                if (description.value != "-") {
                    e.description = r.wide(file, description.line, description.value);
                    r.scrambled(file, description.line, "Beschreibung", *e.description);
                }
                content.entries.push_back(std::move(e));
            }
        }
    }

    if (!r.problems.empty()) throw SourceError(r.problems);
    return content;
}

} // namespace catalogue
