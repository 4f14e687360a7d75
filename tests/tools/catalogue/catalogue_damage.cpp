#include "tests/tools/catalogue/catalogue_damage.h"

#include <sqlite3.h>

#include <fstream>
#include <stdexcept>
#include <vector>

namespace damage {

namespace {

constexpr std::size_t kHeaderBytes = 100;

const char* const kTables[] = {"talvino", "Land", "Region", "Rebsorten", "Lesezeichen"};

std::size_t below(std::mt19937& random, std::size_t n) {
    return n == 0 ? 0 : std::uniform_int_distribution<std::size_t>(0, n - 1)(random);
}

std::size_t pageSizeOf(const std::string& file) {
    if (file.size() < kHeaderBytes) return 4096;
    const std::size_t size =
        (static_cast<unsigned char>(file[16]) << 8) | static_cast<unsigned char>(file[17]);
    return size == 1 ? 65536 : size;
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path);
}

// SQL on the copy, straight through SQLite: the damage another program could do.
class Sql {
  public:
    explicit Sql(const std::string& path) {
        if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            throw std::runtime_error("cannot open " + path);
        // A copy to be thrown away needs no protection against power loss.
        run("PRAGMA synchronous = OFF");
        run("PRAGMA journal_mode = MEMORY");
    }
    ~Sql() { sqlite3_close_v2(db_); }
    Sql(const Sql&) = delete;
    Sql& operator=(const Sql&) = delete;

    bool run(const std::string& sql) {
        return sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
    }

    std::vector<std::string> columns(const std::string& table) {
        std::vector<std::string> names;
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db_, ("PRAGMA table_info(\"" + table + "\")").c_str(), -1, &s, nullptr) ==
            SQLITE_OK)
            while (sqlite3_step(s) == SQLITE_ROW)
                names.emplace_back(reinterpret_cast<const char*>(sqlite3_column_text(s, 1)));
        sqlite3_finalize(s);
        return names;
    }

  private:
    sqlite3* db_ = nullptr;
};

std::string someTable(std::mt19937& random) {
    return kTables[below(random, std::size(kTables))];
}

std::string byteDamage(std::string file, const std::string& path, Kind kind, std::mt19937& random) {
    const std::size_t pageSize = pageSizeOf(file);
    const std::size_t pages = std::max<std::size_t>(1, file.size() / pageSize);
    std::string what;
    switch (kind) {
    case Kind::ZeroedPage: {
        const std::size_t page = below(random, pages);
        std::fill(file.begin() + static_cast<long>(page * pageSize),
                  file.begin() + static_cast<long>(std::min(file.size(), (page + 1) * pageSize)), '\0');
        what = "page " + std::to_string(page + 1) + " zeroed";
        break;
    }
    case Kind::FlippedBits: {
        const std::size_t page = below(random, pages);
        const std::size_t flips = 1 + below(random, 8);
        for (std::size_t i = 0; i < flips; ++i) {
            const std::size_t at = page * pageSize + below(random, pageSize);
            if (at < file.size()) file[at] = static_cast<char>(file[at] ^ (1 << below(random, 8)));
        }
        what = std::to_string(flips) + " bits flipped in page " + std::to_string(page + 1);
        break;
    }
    case Kind::Truncated: {
        const std::size_t keep =
            below(random, 2) ? below(random, pages) * pageSize : below(random, file.size());
        file.resize(keep);
        what = "cut to " + std::to_string(keep) + " bytes";
        break;
    }
    case Kind::HeaderField: {
        // Page size, format versions, reserved bytes, payload fractions, change counter, page
        // count, freelist, schema cookie and format, encoding, version-valid-for.
        static const std::size_t kFields[] = {16, 18, 19, 20, 21, 22, 23, 24, 28, 32, 36, 40, 44, 56, 92};
        const std::size_t at = kFields[below(random, std::size(kFields))];
        const int width = (at >= 24) ? 4 : (at == 16 ? 2 : 1);
        for (int i = 0; i < width; ++i)
            file[at + static_cast<std::size_t>(i)] = static_cast<char>(below(random, 256));
        what = "header field at byte " + std::to_string(at) + " changed";
        break;
    }
    default:
        break;
    }
    writeFile(path, file);
    return what;
}

std::string sqlDamage(const std::string& original, const std::string& path, Kind kind, std::mt19937& random) {
    writeFile(path, original);
    Sql sql(path);
    const std::string table = someTable(random);
    const std::vector<std::string> columns = sql.columns(table);
    const std::string column = columns.empty() ? "x" : columns[below(random, columns.size())];
    const std::string quotedColumn = "\"" + column + "\"";
    switch (kind) {
    case Kind::DroppedTable:
        sql.run("DROP TABLE \"" + table + "\"");
        return "table " + table + " dropped";
    case Kind::DroppedColumn:
        // Indexed and key columns refuse DROP COLUMN; their indexes go first.
        sql.run("DROP INDEX IF EXISTS Lesezeichen_id_talvino");
        if (!sql.run("ALTER TABLE \"" + table + "\" DROP COLUMN " + quotedColumn)) {
            // A key column: the table is copied without it.
            std::string kept;
            for (const std::string& c : columns)
                if (c != column) kept += (kept.empty() ? "\"" : ", \"") + c + "\"";
            sql.run("CREATE TABLE copy AS SELECT " + kept + " FROM \"" + table + "\"");
            sql.run("DROP TABLE \"" + table + "\"");
            sql.run("ALTER TABLE copy RENAME TO \"" + table + "\"");
        }
        return "column " + table + "." + column + " dropped";
    case Kind::WrongType: {
        static const char* const kValues[] = {"'kein Wert'", "x'00ff10'", "3.75", "-2147483649",
                                              "99999999999", "''",        "0"};
        const std::string value = kValues[below(random, std::size(kValues))];
        sql.run("PRAGMA ignore_check_constraints = 1");
        sql.run("UPDATE \"" + table + "\" SET " + quotedColumn + " = " + value + " WHERE rowid % " +
                std::to_string(1 + below(random, 5)) + " = 0");
        return table + "." + column + " set to " + value;
    }
    case Kind::Nulls:
        // NOT NULL lives in the schema text; the rows get NULL anyway through a copy of the table.
        sql.run("CREATE TABLE copy AS SELECT * FROM \"" + table + "\"");
        sql.run("UPDATE copy SET " + quotedColumn + " = NULL WHERE rowid % " +
                std::to_string(1 + below(random, 3)) + " = 0");
        sql.run("DROP TABLE \"" + table + "\"");
        sql.run("ALTER TABLE copy RENAME TO \"" + table + "\"");
        return table + "." + column + " NULL in some rows";
    case Kind::HugeTexts: {
        const std::size_t megabytes = 1 + below(random, 2);
        sql.run("UPDATE \"" + table + "\" SET " + quotedColumn + " = replace(hex(zeroblob(" +
                std::to_string(megabytes * 512 * 1024) +
                ")), '0', 'Ä') WHERE rowid IN (SELECT rowid FROM \"" + table + "\" LIMIT 3)");
        return table + "." + column + " holds " + std::to_string(megabytes) + " MB texts";
    }
    default:
        return {};
    }
}

} // namespace

const char* nameOf(Kind kind) {
    switch (kind) {
    case Kind::ZeroedPage:
        return "zeroed page";
    case Kind::FlippedBits:
        return "flipped bits";
    case Kind::Truncated:
        return "truncated";
    case Kind::HeaderField:
        return "header field";
    case Kind::DroppedTable:
        return "dropped table";
    case Kind::DroppedColumn:
        return "dropped column";
    case Kind::WrongType:
        return "wrong type";
    case Kind::Nulls:
        return "NULLs";
    case Kind::HugeTexts:
        return "huge texts";
    default:
        return "?";
    }
}

std::string makeDamagedCopy(const std::string& original, const std::string& path, Kind kind,
                            std::mt19937& random) {
    switch (kind) {
    case Kind::ZeroedPage:
    case Kind::FlippedBits:
    case Kind::Truncated:
    case Kind::HeaderField:
        return byteDamage(original, path, kind, random);
    default:
        return sqlDamage(original, path, kind, random);
    }
}

} // namespace damage
