#include "tools/catalogue/verifier.h"

#include <sqlite3.h>
#include <unicode/uchar.h>

#include <algorithm>
#include <functional>
#include <map>
#include <memory>
#include <set>

#include "db/schema.h"
#include "db/text_codec.h"
#include "platform/data/ado.h"
#include "platform/data/german_order.h"
#include "platform/data/like_pattern.h"
#include "platform/data/utf.h"
#include "tools/catalogue/finding_list.h"
#include "tools/catalogue/source_reader.h"
#include "tools/catalogue/sqlite_handles.h"

namespace catalogue {

namespace {

struct Db {
    sqlite3* handle = nullptr;
    ~Db() { sqlite3_close_v2(handle); }
};

struct Statement {
    sqlite3_stmt* handle = nullptr;
    ~Statement() { sqlite3_finalize(handle); }
};

std::u16string columnText(sqlite3_stmt* s, int i) {
    const auto* p = static_cast<const char16_t*>(sqlite3_column_text16(s, i));
    return p ? std::u16string(p, static_cast<std::size_t>(sqlite3_column_bytes16(s, i)) / 2)
             : std::u16string();
}

std::string utf8(const std::u16string& text) {
    return ado::toUtf8(text);
}

// A name with every unit case-folded: the form in which this check compares names.
std::u16string foldedName(std::u16string name) {
    for (char16_t& c : name)
        c = ado::foldCase(c);
    return name;
}

bool sameName(const std::u16string& a, const char16_t* b) {
    return foldedName(a) == foldedName(b);
}

// Steps a statement through every row. A statement that cannot be prepared, or a row that cannot
// be read, is a problem naming the table and giving SQLite's own message; false then.
struct Reader {
    sqlite3* db;
    FindingList& problems;

    bool operator()(const std::string& table, const std::string& sql,
                    const std::function<void(sqlite3_stmt*)>& row) const {
        Statement s;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &s.handle, nullptr) != SQLITE_OK) {
            problems.add("unreadable", table + ": cannot be read: " + sqlite3_errmsg(db));
            return false;
        }
        long long rows = 0;
        int rc;
        while ((rc = sqlite3_step(s.handle)) == SQLITE_ROW) {
            row(s.handle);
            ++rows;
        }
        if (rc == SQLITE_DONE) return true;
        problems.add("unreadable", table + ": cannot be read" +
                                       (rows ? " after row " + std::to_string(rows) : std::string()) + ": " +
                                       sqlite3_errmsg(db));
        return false;
    }
};

// Decoded text that a person could have written: printable, surrogates only in pairs, nothing that
// only garbage yields.
bool plausibleDecoded(const std::u16string& text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            ++i;
            continue;
        }
        if (c < 0x20 || (c >= 0x7F && c < 0xA0) || (c >= 0xD800 && c <= 0xDFFF) || c >= 0xE000) return false;
    }
    return true;
}

bool looksScrambled(const std::u16string& text) {
    if (text.empty()) return false;
    for (char16_t d : readableText(text))
        if (d < 0x20 || d >= 0xE000) return false;
    return true;
}

std::string generationMark(long long generation) {
    return "PRAGMA user_version " + std::to_string(generation);
}

// The mark in the file's header: which codec offset its scrambled columns were written with.
long long generationOf(sqlite3* db) {
    Statement s;
    if (sqlite3_prepare_v2(db, "PRAGMA user_version", -1, &s.handle, nullptr) != SQLITE_OK ||
        sqlite3_step(s.handle) != SQLITE_ROW)
        throw WriteError(std::string("the header cannot be read: ") + sqlite3_errmsg(db));
    return sqlite3_column_int64(s.handle, 0);
}

char16_t offsetOf(long long generation) {
    const std::optional<char16_t> offset = codec::offsetOfGeneration(generation);
    if (!offset)
        throw WriteError(generationMark(generation) +
                         " names a text codec this tool does not know (written by a later version?)");
    return *offset;
}

std::string yearsOf(const std::u16string& column) {
    std::string out;
    for (char16_t c : column) {
        if (!out.empty()) out += ",";
        out += std::to_string(1900 + static_cast<int>(c));
    }
    return out;
}

// Whether the keyword begins with the name, letters compared as the search compares them.
bool startsWithName(const std::u16string& keyword, const std::u16string& name) {
    return lowerCasedText(keyword).rfind(lowerCasedText(name), 0) == 0;
}

// The words of a shown text: runs of letters and digits.
std::vector<std::u16string> wordsOf(const std::u16string& text) {
    std::vector<std::u16string> words;
    std::u16string word;
    for (char16_t c : text + u" ") {
        const bool surrogate = c >= 0xD800 && c <= 0xDFFF;
        if (surrogate || u_isalnum(c) || (U_GET_GC_MASK(c) & U_GC_M_MASK)) {
            word += c;
        } else if (!word.empty()) {
            words.push_back(word);
            word.clear();
        }
    }
    return words;
}

} // namespace

Findings verifyCatalogue(const std::string& path) {
    FindingList problems, warnings;
    auto finish = [&] {
        Findings f;
        f.problems = problems.lines();
        f.warnings = warnings.lines();
        return f;
    };

    // The same check the program makes when it opens the file.
    {
        ado::Connection* connection = ado::createConnection();
        const std::u16string wide = ado::toUtf16(path);
        const HRESULT hr = connection ? connection->Open(wide.c_str(), u"", u"", -1) : E_FAIL;
        if (connection) connection->Release();
        if (FAILED(hr)) {
            problems.add("open", "the program cannot open it: " + ado::lastError());
            return finish();
        }
    }
    Db db;
    if (sqlite3_open_v2(path.c_str(), &db.handle, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK) {
        problems.add("open", std::string("cannot open: ") + sqlite3_errmsg(db.handle));
        return finish();
    }
    Reader read{db.handle, problems};

    // Scrambled texts are checked with the offset they were written with.
    long long generation = codec::kGeneration;
    char16_t offset = codec::kOffset;
    try {
        generation = generationOf(db.handle);
        offset = offsetOf(generation);
    } catch (const WriteError& e) {
        problems.add("codec", e.what());
        return finish();
    }
    const codec::OffsetInUse writtenWith(offset);
    // The lower-case copies are checked against the lowering of the file's own generation.
    const codec::LoweringInUse loweredAs(*codec::loweringOfGeneration(generation));
    if (generation == codec::kEarlierGeneration)
        warnings.add("codec",
                     "written with the earlier text codec (" + generationMark(generation) +
                         "): it reads correctly, but its full-text search may also find a letter for "
                         "another (\"r\" for \"q\"), and its lower-case copies were lowered for A-Z "
                         "and À-Þ only; rebuild it from its sources with talvino-catalogue build");
    else if (generation == codec::kSimpleLoweringGeneration)
        warnings.add("codec", "written before its lower-case copies wrote ß as \"ss\" (" +
                                  generationMark(generation) +
                                  "): a full-text search for \"STRASSE\" misses \"Straße\"; rebuild it "
                                  "from its sources with talvino-catalogue build");

    // SQLite's own check of pages, records and indexes.
    read("integrity check", "PRAGMA integrity_check", [&](sqlite3_stmt* s) {
        std::u16string verdict = columnText(s, 0);
        if (verdict == u"ok") return;
        std::replace(verdict.begin(), verdict.end(), u'\n', u' ');
        problems.add("integrity check", "integrity check: " + quoted(verdict));
    });

    // Schema and positions. The five tables are tables: a view in the place of one reads but takes
    // no bookmark. The program writes its rows itself, so a trigger, which could change or drop
    // them behind its back, and a view have no place in a catalogue.
    bool schemaBroken = false;
    std::map<std::u16string, std::u16string> kinds; // lower-cased name -> type
    read("schema",
         "SELECT type, name, tbl_name FROM sqlite_master WHERE type IN ('table', 'view', 'trigger')",
         [&](sqlite3_stmt* s) {
             const std::u16string type = columnText(s, 0), name = columnText(s, 1);
             if (type == u"trigger")
                 problems.add("trigger", "trigger " + quoted(name) + " on " + quoted(columnText(s, 2)) +
                                             ": a catalogue has no triggers (one could change or drop "
                                             "what the program writes)");
             if (type == u"view") problems.add("view", "view " + quoted(name) + ": a catalogue has no views");
             if (type != u"trigger") kinds[foldedName(name)] = type; // triggers have names of their own
         });
    for (const char16_t* table : {schema::kEntryTable, schema::kCountryTable, schema::kRegionTable,
                                  schema::kGrapeTable, schema::kBookmarkTable}) {
        const auto found = kinds.find(foldedName(table));
        if (found != kinds.end() && found->second != u"table") {
            schemaBroken = true;
            problems.add("not a table", utf8(table) + " is a " + utf8(found->second) + ", not a table");
        }
    }
    auto checkColumns = [&](const char16_t* table, const char16_t* const* expected, int count, int from) {
        std::vector<std::u16string> actual;
        read(utf8(table), "PRAGMA table_info(\"" + utf8(table) + "\")",
             [&](sqlite3_stmt* s) { actual.push_back(columnText(s, 1)); });
        for (int i = from; i < count; ++i) {
            if (static_cast<int>(actual.size()) <= i ||
                !sameName(actual[static_cast<std::size_t>(i)], expected[i])) {
                schemaBroken = true;
                problems.add("column position",
                             utf8(table) + ": position " + std::to_string(i) + " must be " +
                                 utf8(expected[i]) +
                                 (static_cast<int>(actual.size()) > i
                                      ? ", is " + quoted(actual[static_cast<std::size_t>(i)])
                                      : ", is missing"));
            }
        }
    };
    checkColumns(schema::kEntryTable, schema::entry::kColumns, schema::entry::kColumnCount, 0);
    checkColumns(schema::kCountryTable, schema::country::kColumns, 2, 0);
    checkColumns(schema::kRegionTable, schema::region::kColumns, 3, 0);
    checkColumns(schema::kGrapeTable, schema::grape::kColumns, 4, 0);
    checkColumns(schema::kBookmarkTable, schema::bookmark::kColumns, schema::bookmark::kColumnCount, 1);
    if (schemaBroken) return finish();

    // Every value of every row, the parts no check below reads included.
    for (const char16_t* table : {schema::kEntryTable, schema::kCountryTable, schema::kRegionTable,
                                  schema::kGrapeTable, schema::kBookmarkTable})
        read(utf8(table), "SELECT * FROM \"" + utf8(table) + "\"", [](sqlite3_stmt* s) {
            for (int i = 0, n = sqlite3_column_count(s); i < n; ++i) {
                sqlite3_column_blob(s, i);
                sqlite3_column_bytes(s, i);
            }
        });
    if (!problems.empty()) return finish();

    // Countries and regions.
    std::set<std::u16string> codes, countryNames;
    std::set<std::pair<std::u16string, std::u16string>> regions;
    read("Land", "SELECT Land, Bezeichnung FROM Land", [&](sqlite3_stmt* s) {
        codes.insert(columnText(s, 0));
        const std::u16string name = columnText(s, 1);
        if (!countryNames.insert(name).second)
            problems.add("Land: name not unique", "Land: the name " + quoted(name) + " is not unique");
    });
    read("Region", "SELECT ID_REGION, Land, Regio_Lang FROM Region", [&](sqlite3_stmt* s) {
        const std::u16string country = columnText(s, 1), name = columnText(s, 2);
        if (!codes.count(country))
            problems.add("Region: unknown country", "Region " + std::to_string(sqlite3_column_int64(s, 0)) +
                                                        ": unknown country " + quoted(country));
        if (!regions.insert({country, name}).second)
            problems.add("Region: listed twice",
                         "Region: " + quoted(name) + " is listed twice for " + quoted(country));
    });

    // Entries. What a result shows must be found and read in order; catalogues of earlier codecs
    // were written before these rules and are only warned about.
    FindingList& unreadable = codec::lowering() == codec::Lowering::Folded ? problems : warnings;
    struct Shown {
        std::u16string keyword, name;
        long long id;
    };
    std::vector<Shown> shownInOrder;
    read("talvino",
         "SELECT ID, Beschreibung, STICHWORT, Land, Regio_Lang, Stichwort_Klein, Text_Klein, Name, Zusatz "
         "FROM talvino",
         [&](sqlite3_stmt* s) {
             const long long id = sqlite3_column_int64(s, 0);
             const std::string where = "talvino " + std::to_string(id) + ": ";
             if (sqlite3_column_type(s, 0) != SQLITE_INTEGER || id == 0)
                 problems.add("talvino: ID", where + "ID must be a non-zero integer");
             const bool hasDescription = sqlite3_column_type(s, 1) != SQLITE_NULL;
             const std::u16string stored = columnText(s, 1);
             const std::u16string description = readableText(stored);
             if (hasDescription && !plausibleDecoded(description))
                 problems.add("talvino: Beschreibung unreadable",
                              where + "Beschreibung does not decode to readable text (stored in clear?)");
             if (storedText(description) != stored)
                 problems.add("talvino: Beschreibung codec",
                              where + "Beschreibung does not survive the codec");
             const std::u16string keyword = columnText(s, 2);
             const std::u16string country = columnText(s, 3);
             const std::u16string region = columnText(s, 4);
             if (!codes.count(country))
                 problems.add("talvino: Land", where + "Land " + quoted(country) + " is not in Land");
             if (!regions.count({country, region}))
                 problems.add("talvino: Regio_Lang", where + "Regio_Lang " + quoted(region) +
                                                         " is not a region of " + quoted(country));
             if (columnText(s, 5) != lowerCasedText(keyword))
                 problems.add("talvino: Stichwort_Klein",
                              where + "Stichwort_Klein is not the lower-cased STICHWORT");
             const OptionalText name = optionalText(s, 7), suffix = optionalText(s, 8);
             const OptionalText fullText =
                 fullTextCopy(hasDescription ? OptionalText(description) : std::nullopt, name, suffix);
             const bool hasLower = sqlite3_column_type(s, 6) != SQLITE_NULL;
             if (hasLower != fullText.has_value() || columnText(s, 6) != storedText(fullText.value_or(u"")))
                 problems.add("talvino: Text_Klein",
                              where + (codec::lowering() == codec::Lowering::Folded
                                           ? "Text_Klein is not the scrambled lower-cased Beschreibung, Name "
                                             "and Zusatz"
                                           : "Text_Klein is not the scrambled lower-cased Beschreibung"));
             if (!name)
                 warnings.add("talvino: no Name",
                              where + "no Name, so the entry never shows in a result list");
             // What a result shows can be found: it sorts by the keyword, which begins with the
             // name, and every word of name and addition is in a lower-case copy.
             if (name && !startsWithName(keyword, *name))
                 unreadable.add("talvino: sorted away from its name",
                                where + "STICHWORT " + quoted(keyword) + " does not begin with Name " + quoted(*name) +
                                    ", so the result list shows it out of order");
             if (name) shownInOrder.push_back({keyword, *name, id});
             const std::u16string keywordCopy = columnText(s, 5), fullTextRead = readableText(columnText(s, 6));
             for (const OptionalText* shown : {&name, &suffix}) {
                 if (!*shown) continue;
                 for (const std::u16string& word : wordsOf(**shown)) {
                     const std::u16string lower = lowerCasedText(word);
                     if (keywordCopy.find(lower) == std::u16string::npos &&
                         fullTextRead.find(lower) == std::u16string::npos)
                         unreadable.add("talvino: shown word not found",
                                        where + quoted(word) + " of " + (shown == &name ? "Name" : "Zusatz") +
                                            " is in neither lower-case copy, so no search finds it");
                 }
             }
         });
    // The result list sorts by keyword and shows names: read in that order, the names are in
    // German order too (a keyword's words after the name must not put it after a longer name).
    {
        std::stable_sort(shownInOrder.begin(), shownInOrder.end(), [](const Shown& a, const Shown& b) {
            const int byKeyword = ado::compareGerman(a.keyword, b.keyword);
            return byKeyword != 0 ? byKeyword < 0 : ado::compareGerman(a.name, b.name) < 0;
        });
        for (std::size_t i = 1; i < shownInOrder.size(); ++i)
            if (ado::compareGerman(shownInOrder[i - 1].name, shownInOrder[i].name) > 0)
                unreadable.add("talvino: names out of order",
                               "talvino " + std::to_string(shownInOrder[i].id) + ": Name " +
                                   quoted(shownInOrder[i].name) + " follows " + quoted(shownInOrder[i - 1].name) +
                                   " (talvino " + std::to_string(shownInOrder[i - 1].id) +
                                   ") in the order of the keywords");
    }

    // Grape varieties: looked up by name prefix.
    {
        std::vector<std::u16string> names;
        read("Rebsorten", "SELECT ID_Rebsorte, Rebsorte, Farbe, Text FROM Rebsorten", [&](sqlite3_stmt* s) {
            const std::string where = "Rebsorten " + std::to_string(sqlite3_column_int64(s, 0)) + ": ";
            const long long colour = sqlite3_column_int64(s, 2);
            if (colour != schema::grape::kRed && colour != schema::grape::kWhite)
                problems.add("Rebsorten: Farbe", where + "Farbe must be 1 or 2");
            if (sqlite3_column_type(s, 3) != SQLITE_NULL && !plausibleDecoded(decodedText(columnText(s, 3))))
                problems.add("Rebsorten: Text unreadable",
                             where + "Text does not decode to readable text (stored in clear?)");
            names.push_back(columnText(s, 1));
        });
        // In the order of the lower-cased names every name that a lookup of A also finds follows A
        // directly, so each name is compared with its neighbours only.
        std::vector<std::u16string> lower;
        lower.reserve(names.size());
        for (const std::u16string& name : names)
            lower.push_back(lowerCasedText(name));
        std::vector<std::size_t> order(names.size());
        for (std::size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        std::stable_sort(order.begin(), order.end(),
                         [&](std::size_t a, std::size_t b) { return lower[a] < lower[b]; });
        for (std::size_t p = 0; p < order.size(); ++p) {
            const std::u16string& prefix = lower[order[p]];
            for (std::size_t q = p + 1;
                 q < order.size() && lower[order[q]].compare(0, prefix.size(), prefix) == 0; ++q)
                problems.add("Rebsorten: lookup finds another",
                             "Rebsorten: looking up " + quoted(names[order[p]]) + " by name also finds " +
                                 quoted(names[order[q]]));
        }
    }

    // Bookmarks: at most one per entry; one whose entry is gone shows an empty page.
    read("Lesezeichen", "SELECT id_talvino FROM Lesezeichen WHERE id_talvino NOT IN (SELECT ID FROM talvino)",
         [&](sqlite3_stmt* s) {
             warnings.add("Lesezeichen: entry gone",
                          "Lesezeichen: entry " + quoted(columnText(s, 0)) + " is not in the catalogue");
         });
    // An id the program cannot read back as its entry's: saving that bookmark again adds a row.
    read("Lesezeichen",
         "SELECT id_talvino FROM Lesezeichen WHERE id_talvino < " + std::to_string(schema::entry::kLowestId) +
             " OR id_talvino > " + std::to_string(schema::entry::kHighestId),
         [&](sqlite3_stmt* s) {
             problems.add("Lesezeichen: entry id out of range",
                          "Lesezeichen: entry " + quoted(columnText(s, 0)) + " is outside the entry ids " +
                              std::to_string(schema::entry::kLowestId) + " to " +
                              std::to_string(schema::entry::kHighestId));
         });
    read("Lesezeichen",
         "SELECT id_talvino, count(*) FROM Lesezeichen GROUP BY id_talvino HAVING count(*) > 1",
         [&](sqlite3_stmt* s) {
             problems.add("Lesezeichen: several per entry",
                          "Lesezeichen: entry " + std::to_string(sqlite3_column_int64(s, 0)) + " has " +
                              std::to_string(sqlite3_column_int64(s, 1)) + " bookmarks");
         });

    // What the checks above let through must still read as dump reads it.
    if (problems.empty()) {
        std::ostream discard(nullptr);
        try {
            dumpCatalogue(path, discard);
        } catch (const WriteError& e) {
            problems.add("dump", std::string("dump cannot read it: ") + e.what());
        }
    }
    return finish();
}

void dumpCatalogue(const std::string& path, std::ostream& out) {
    Db db;
    if (sqlite3_open_v2(path.c_str(), &db.handle, SQLITE_OPEN_READONLY, nullptr) != SQLITE_OK)
        throw WriteError("cannot open " + path);
    const codec::OffsetInUse writtenWith(offsetOf(generationOf(db.handle)));
    // The table named first after FROM, for the message.
    auto each = [&](const char* sql, auto&& row) {
        const std::string text = sql;
        const std::size_t from = text.find(" FROM ") + 6;
        const std::string table = text.substr(from, text.find(' ', from) - from);
        Statement s;
        if (sqlite3_prepare_v2(db.handle, sql, -1, &s.handle, nullptr) != SQLITE_OK)
            throw WriteError(table + ": cannot be read: " + sqlite3_errmsg(db.handle) + " (in: " + sql + ")");
        long long rows = 0;
        int rc;
        while ((rc = sqlite3_step(s.handle)) == SQLITE_ROW) {
            row(s.handle);
            ++rows;
        }
        if (rc != SQLITE_DONE)
            throw WriteError(table + ": cannot be read" +
                             (rows ? " after row " + std::to_string(rows) : std::string()) + ": " +
                             sqlite3_errmsg(db.handle));
    };
    auto text = [](sqlite3_stmt* s, int i) {
        return sqlite3_column_type(s, i) == SQLITE_NULL ? std::string("-") : utf8(columnText(s, i));
    };
    out << "# Land\n";
    each("SELECT Land, Bezeichnung FROM Land ORDER BY Land",
         [&](sqlite3_stmt* s) { out << text(s, 0) << " | " << text(s, 1) << "\n"; });
    out << "\n# Region\n";
    each("SELECT ID_REGION, Land, Regio_Lang FROM Region ORDER BY ID_REGION", [&](sqlite3_stmt* s) {
        out << sqlite3_column_int64(s, 0) << " | " << text(s, 1) << " | " << text(s, 2) << "\n";
    });
    out << "\n# Rebsorten\n";
    each("SELECT ID_Rebsorte, Rebsorte, Farbe, Text FROM Rebsorten ORDER BY ID_Rebsorte",
         [&](sqlite3_stmt* s) {
             out << "\nID: " << sqlite3_column_int64(s, 0) << "\nRebsorte: " << text(s, 1)
                 << "\nFarbe: " << (sqlite3_column_int64(s, 2) == 1 ? "rot" : "weiss") << "\nText: "
                 << (sqlite3_column_type(s, 3) == SQLITE_NULL ? "-" : utf8(decodedText(columnText(s, 3))))
                 << "\n";
         });
    out << "\n# talvino\n";
    each("SELECT * FROM talvino ORDER BY ID", [&](sqlite3_stmt* s) {
        using namespace schema::entry;
        out << "\nID: " << sqlite3_column_int64(s, kId) << "\nStichwort: " << text(s, kKeyword)
            << "\nName: " << text(s, kName) << "\nZusatz: " << text(s, kSuffix)
            << "\nLand: " << text(s, kCountry) << "\nRegion: " << text(s, kRegion) << "\nFarbe:";
        const char* colours[] = {" rot",     " rose",     " weiss", " braun",
                                 " trocken", " lieblich", " suess", " schaeumend"};
        for (int k = 0; k < 4; ++k)
            if (sqlite3_column_int64(s, kRed + k) > 0) out << colours[k];
        out << "\nGeschmack:";
        for (int k = 4; k < 8; ++k)
            if (sqlite3_column_int64(s, kRed + k) > 0) out << colours[k];
        out << "\nQualitaet: " << sqlite3_column_int64(s, kQuality1) << "-"
            << sqlite3_column_int64(s, kQuality2) << "\nJahrgaenge:";
        for (int k = 0; k < kVintageCategories; ++k)
            if (sqlite3_column_type(s, kFirstVintage + k) != SQLITE_NULL)
                out << " " << k << "=" << yearsOf(columnText(s, kFirstVintage + k)) << ";";
        out << "\nHinweise:" << (sqlite3_column_int64(s, kDrinkSoon) ? " bald" : "")
            << (sqlite3_column_int64(s, kNoVintage) ? " ohnejahr" : "") << "\nBeschreibung: "
            << (sqlite3_column_type(s, kDescription) == SQLITE_NULL
                    ? "-"
                    : utf8(readableText(columnText(s, kDescription))))
            << "\n";
    });
    out << "\n# Lesezeichen\n";
    each("SELECT * FROM Lesezeichen", [&](sqlite3_stmt* s) {
        out << sqlite3_column_int64(s, 0) << " | " << text(s, 1) << " | " << text(s, 2) << " | " << text(s, 3)
            << "\n";
    });
}

bool queryCatalogue(const std::string& path, const std::u16string& sql, std::ostream& out,
                    std::ostream& err) {
    ado::Connection* connection = ado::createConnection();
    ado::Recordset* recordset = ado::createRecordset();
    if (!connection || !recordset) {
        err << "the data-access component is missing\n";
        return false;
    }
    struct Release {
        IUnknown* a;
        IUnknown* b;
        ~Release() {
            a->Release();
            b->Release();
        }
    } release{recordset, connection};
    const std::u16string wide = ado::toUtf16(path);
    if (FAILED(connection->Open(wide.c_str(), u"", u"", -1))) {
        err << "cannot open " << path << ": " << ado::lastError() << "\n";
        return false;
    }
    VARIANT active;
    VariantInit(&active);
    active.vt = VT_DISPATCH;
    active.pdispVal = connection;
    recordset->put_ActiveConnection(active);
    // Scrambled columns are decoded with the offset the file names in its header, as the program does.
    long long generation = codec::kEarlierGeneration;
    try {
        if (FAILED(ado::openRecordset(recordset, u"PRAGMA user_version", ado::adOpenDynamic,
                                      ado::adLockReadOnly))) {
            err << "cannot read the header of " << path << ": " << ado::lastError() << "\n";
            return false;
        }
        VARIANT v;
        recordset->fieldValue(0, &v);
        if (v.vt == VT_I4) generation = v.lVal;
        VariantClear(&v);
        recordset->Close();
    } catch (const ado::ComponentException& e) {
        err << "the catalogue file is damaged: " << e.what() << "\n";
        return false;
    }
    const std::optional<char16_t> offset = codec::offsetOfGeneration(generation);
    if (!offset) {
        err << path << ": " << generationMark(generation)
            << " names a text codec this tool does not know (written by a later version?)\n";
        return false;
    }
    const codec::OffsetInUse writtenWith(*offset);
    HRESULT hr;
    try {
        hr = ado::openRecordset(recordset, sql.c_str(), ado::adOpenDynamic, ado::adLockOptimistic);
    } catch (const ado::ComponentException& e) {
        err << "the catalogue file is damaged: " << e.what() << "\n";
        return false;
    }
    if (FAILED(hr)) {
        err << "the statement failed: " << ado::lastError() << "\n";
        return false;
    }
    ado::Fields* fields = nullptr;
    recordset->get_Fields(&fields);
    long columns = 0;
    fields->get_Count(&columns);
    std::vector<bool> scrambled(static_cast<std::size_t>(columns), false);
    for (long i = 0; i < columns; ++i) {
        VARIANT index;
        VariantInit(&index);
        index.vt = VT_I4;
        index.lVal = i;
        ado::Field* field = nullptr;
        fields->get_Item(index, &field);
        BSTR name = nullptr;
        field->get_Name(&name);
        const std::u16string n = name ? lowerCasedText(name) : u"";
        scrambled[static_cast<std::size_t>(i)] = n == u"beschreibung" || n == u"text_klein" || n == u"text";
        out << (i ? "\t" : "") << utf8(name ? name : u"");
        SysFreeString(name);
    }
    out << "\n";
    VARIANT_BOOL eof = VARIANT_TRUE;
    long long rows = 0;
    for (recordset->get_EOF(&eof); !eof; recordset->get_EOF(&eof)) {
        for (long i = 0; i < columns; ++i) {
            VARIANT v;
            recordset->fieldValue(i, &v);
            if (i) out << "\t";
            if (v.vt == VT_BSTR) {
                std::u16string value = v.bstrVal;
                // Bookmark descriptions share the name but are stored in clear.
                if (scrambled[static_cast<std::size_t>(i)] && looksScrambled(value))
                    value = readableText(value);
                out << utf8(value);
            } else if (v.vt == VT_I4) {
                out << v.lVal;
            } else if (v.vt == VT_R8) {
                out << v.dblVal;
            } else {
                out << "NULL";
            }
            VariantClear(&v);
        }
        out << "\n";
        ++rows;
        // Rows printed so far stand; the failure is said, never passed over as the end.
        if (FAILED(recordset->MoveNext())) {
            out.flush();
            err << path << ": reading stopped after row " << rows << ": " << ado::lastError() << "\n";
            recordset->Close();
            return false;
        }
    }
    recordset->Close();
    return true;
}

} // namespace catalogue
