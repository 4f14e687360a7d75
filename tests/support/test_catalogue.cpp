#include "tests/support/test_catalogue.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "db/schema.h"
#include "platform/data/utf.h"
#include "platform/win32.h"

namespace {

struct Db {
    sqlite3* handle = nullptr;
    explicit Db(const std::string& path) {
        if (sqlite3_open_v2(path.c_str(), &handle, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
            const std::string message = handle ? sqlite3_errmsg(handle) : "out of memory";
            sqlite3_close_v2(handle);
            throw catalogue::WriteError("cannot open " + path + ": " + message);
        }
    }
    ~Db() { sqlite3_close_v2(handle); }
};

} // namespace

TestCatalogue::TestCatalogue() {
    std::string pattern = (std::filesystem::temp_directory_path() / "talvino-catalogue-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("cannot create a temporary folder");
    folder_ = pattern;
}

TestCatalogue::~TestCatalogue() {
    if (installed_) platform::overrideModuleFileName(nullptr);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
}

std::string TestCatalogue::path() const {
    return folder_ + "/" + ado::toUtf8(schema::kCatalogueFileName);
}

catalogue::Entry TestCatalogue::entry(int id, const std::u16string& keyword, const std::u16string& country,
                                      const std::u16string& region) {
    catalogue::Entry e;
    e.id = id;
    e.name = keyword;
    e.keyword = keyword;
    e.country = country;
    e.region = region;
    return e;
}

TestCatalogue& TestCatalogue::addCountry(const std::u16string& code, const std::u16string& name) {
    content_.countries.push_back({code, name});
    return *this;
}

TestCatalogue& TestCatalogue::addRegion(int id, const std::u16string& country, const std::u16string& name) {
    content_.regions.push_back({id, country, name});
    return *this;
}

TestCatalogue& TestCatalogue::addGrape(int id, const std::u16string& name, int colour,
                                       const catalogue::OptionalText& text) {
    content_.grapes.push_back({id, name, colour, text});
    return *this;
}

TestCatalogue& TestCatalogue::addEntry(const catalogue::Entry& e) {
    content_.entries.push_back(e);
    return *this;
}

TestCatalogue& TestCatalogue::addBookmark(long long entryId, const catalogue::OptionalText& description,
                                          const catalogue::OptionalText& note) {
    catalogue::Bookmark b;
    b.entryId = entryId;
    b.description = description;
    b.note = note;
    content_.bookmarks.push_back(b);
    return *this;
}

TestCatalogue& TestCatalogue::addSampleContent() {
    addCountry(u"F", u"Frankreich").addCountry(u"D", u"Deutschland").addCountry(u"E", u"Spanien");
    addCountry(u"P", u"Portugal").addCountry(u"A", u"Österreich");
    addRegion(100, u"F", u"Champagne").addRegion(101, u"F", u"Burgund").addRegion(102, u"F", u"Beaujolais");
    addRegion(103, u"F", u"Bordeaux").addRegion(300, u"E", u"Rioja").addRegion(400, u"P", u"Douro");
    addRegion(500, u"D", u"Mosel").addRegion(600, u"A", u"Wachau");
    addGrape(1, u"Spätburgunder", 1, u"Die große rote Sorte Burgunds, in Deutschland Spätburgunder genannt.");
    addGrape(2, u"Tempranillo", 1, u"Rückgrat des Rioja: Kirsche, Tabak, Vanille aus dem Fass.");
    addGrape(3, u"Riesling", 2, u"Rasse und Säure; von trocken bis edelsüß.");
    addGrape(4, u"Grüner Veltliner", 2, u"Pfeffrig und frisch, die Sorte Österreichs.");

    catalogue::Entry chablis = entry(kChablis, u"Chablis Premier Cru", u"F", u"Burgund");
    chablis.suffix = u"Domaine des Vaux Clairs";
    chablis.white = 1;
    chablis.dry = 1;
    chablis.quality1 = 2;
    chablis.quality2 = 3;
    chablis.description = u"Straffer, mineralischer Chablis mit Noten von grünem Apfel; Säure und Würze.";
    chablis.vintages[0] = catalogue::vintageText({1996, 1999});
    chablis.vintages[1] = catalogue::vintageText({1990});
    addEntry(chablis);

    catalogue::Entry beaujolais = entry(kBeaujolais, u"Beaujolais Villages", u"F", u"Beaujolais");
    beaujolais.suffix = u"Château de la Colline";
    beaujolais.red = 1;
    beaujolais.quality1 = beaujolais.quality2 = 1;
    beaujolais.description = u"Fruchtig und leicht, jung zu trinken.";
    addEntry(beaujolais);

    catalogue::Entry riesling = entry(kRiesling, u"Ürziger Würzgarten Riesling Spätlese", u"D", u"Mosel");
    riesling.suffix = u"Weingut Kellerbach";
    riesling.white = 1;
    riesling.mediumSweet = 1;
    riesling.quality1 = riesling.quality2 = 3;
    riesling.description = u"Würzig, mit Pfirsich und Schiefer; ÄÖÜ-Test: Öchsle über 90.";
    riesling.vintages[12] = catalogue::vintageText({2001, 2002});
    riesling.vintages[13] = catalogue::vintageText({1999});
    addEntry(riesling);

    catalogue::Entry rioja = entry(kRioja, u"Rioja Reserva", u"E", u"Rioja");
    rioja.suffix = u"Bodegas Valle Alto";
    rioja.red = 1;
    rioja.dry = 1;
    rioja.quality1 = 4;
    rioja.quality2 = 7;
    rioja.drinkSoon = 1;
    rioja.description = u"Reife Kirsche, Vanille und Leder.";
    rioja.vintages[0] = catalogue::vintageText({1995, 2001});
    addEntry(rioja);

    catalogue::Entry port = entry(kPort, u"Tawny Port 10 Jahre", u"P", u"Douro");
    port.suffix = u"Quinta do Miradouro";
    port.brown = 1;
    port.sweet = 1;
    port.quality1 = port.quality2 = 4;
    port.noVintage = 1;
    port.description = u"Nüsse, Karamell, getrocknete Feigen.";
    addEntry(port);

    catalogue::Entry noName = entry(kNoName, u"Bordeaux Supérieur", u"F", u"Bordeaux");
    noName.name = std::nullopt;
    noName.red = 1;
    addEntry(noName);

    catalogue::Entry sparkling = entry(kSparklingRose, u"Champagne Rosé Brut", u"F", u"Champagne");
    sparkling.rose = 1;
    sparkling.white = 1;
    sparkling.sparkling = 1;
    sparkling.dry = 1;
    sparkling.quality1 = 5;
    sparkling.quality2 = 5;
    sparkling.description = u"Feine Perlage, Erdbeere und Brioche — ein Aperitif für 20 €.";
    addEntry(sparkling);
    return *this;
}

TestCatalogue& TestCatalogue::addNumberedEntries(int count, int firstId, const std::u16string& country,
                                                 const std::u16string& region) {
    for (int i = 0; i < count; ++i) {
        std::u16string number = ado::toUtf16(std::to_string(i + 1));
        while (number.size() < 3)
            number.insert(0, 1, u'0');
        catalogue::Entry e = entry(firstId + i, u"Testwein " + number, country, region);
        e.red = 1;
        e.dry = 1;
        e.quality1 = e.quality2 = 2;
        e.description = u"Ein Wein für Tests, Nummer " + number + u".";
        addEntry(e);
    }
    return *this;
}

std::string TestCatalogue::build(catalogue::TextEncoding encoding) {
    setReadOnly(false);
    catalogue::writeCatalogue(path(), content_, encoding);
    return path();
}

std::string TestCatalogue::installAsProgramCatalogue(catalogue::TextEncoding encoding) {
    const std::string built = build(encoding);
    const std::u16string program = ado::toUtf16(folder_ + "/talvino");
    platform::overrideModuleFileName(program.c_str());
    installed_ = true;
    return built;
}

void TestCatalogue::execute(const std::string& sql) const {
    Db db(path());
    char* message = nullptr;
    if (sqlite3_exec(db.handle, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : "failed";
        sqlite3_free(message);
        throw catalogue::WriteError(text + " (in: " + sql + ")");
    }
}

std::vector<std::vector<std::string>> TestCatalogue::rows(const std::string& sql) const {
    Db db(path());
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db.handle, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK)
        throw catalogue::WriteError(std::string(sqlite3_errmsg(db.handle)) + " (in: " + sql + ")");
    std::vector<std::vector<std::string>> result;
    while (sqlite3_step(statement) == SQLITE_ROW) {
        std::vector<std::string> row;
        for (int i = 0; i < sqlite3_column_count(statement); ++i) {
            const auto* text = sqlite3_column_text(statement, i);
            row.push_back(sqlite3_column_type(statement, i) == SQLITE_NULL
                              ? "NULL"
                              : std::string(reinterpret_cast<const char*>(text)));
        }
        result.push_back(std::move(row));
    }
    sqlite3_finalize(statement);
    return result;
}

void TestCatalogue::setReadOnly(bool readOnly) const {
    if (::access(path().c_str(), F_OK) != 0) return;
    ::chmod(path().c_str(), readOnly ? 0444 : 0644);
}

void TestCatalogue::writeRawFile(const std::string& bytes) const {
    setReadOnly(false);
    std::ofstream out(path(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string TestCatalogue::readRawFile() const {
    std::ifstream in(path(), std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

HRESULT readSortedEntryIds(Database& database, std::vector<int>& ids) {
    ids.clear();
    const HRESULT opened = database.openQuery(ado::adOpenStatic, ado::adLockReadOnly);
    if (FAILED(opened)) return opened;
    ado::Recordset* rows = database.recordset();
    VARIANT_BOOL atEnd = VARIANT_FALSE;
    for (rows->get_EOF(&atEnd); !atEnd; rows->MoveNext(), rows->get_EOF(&atEnd)) {
        VARIANT id;
        VariantInit(&id);
        rows->fieldValue(schema::entry::kId, &id);
        ids.push_back(static_cast<int>(id.lVal));
    }
    rows->Close();
    std::sort(ids.begin(), ids.end());
    return opened;
}
