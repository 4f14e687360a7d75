// The catalogue's LIKE as an application-defined function in both encodings; SQLite calls the
// form that matches the file's own encoding, so no row is converted. The compiled pattern is
// kept as the statement's auxiliary data and reused for every row.
#include <memory>

#include "platform/data/engine.h"
#include "platform/data/like_pattern.h"

namespace ado {

namespace {

template <typename Unit> struct Text;
template <> struct Text<unsigned char> {
    static const unsigned char* data(sqlite3_value* v, int) { return sqlite3_value_text(v); }
    static std::size_t units(sqlite3_value* v) { return static_cast<std::size_t>(sqlite3_value_bytes(v)); }
};
template <> struct Text<char16_t> {
    // Aligned: the pattern and the text each have a copy of their own where SQLite's is not.
    static const char16_t* data(sqlite3_value* v, int which) {
        thread_local std::u16string copies[2];
        const void* text = sqlite3_value_text16(v);
        return text ? utf16At(text, units(v), copies[which]).data() : nullptr;
    }
    static std::size_t units(sqlite3_value* v) {
        return static_cast<std::size_t>(sqlite3_value_bytes16(v)) / 2;
    }
};

template <typename Unit> void deletePattern(void* p) {
    delete static_cast<LikePattern<Unit>*>(p);
}

// like(pattern, text): SQLite turns "text LIKE pattern" into this call.
template <typename Unit> void likeFunction(sqlite3_context* context, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    auto* pattern = static_cast<LikePattern<Unit>*>(sqlite3_get_auxdata(context, 0));
    std::unique_ptr<LikePattern<Unit>> compiled;
    if (!pattern) {
        const Unit* p = Text<Unit>::data(argv[0], 0);
        const std::size_t n = Text<Unit>::units(argv[0]);
        compiled = std::make_unique<LikePattern<Unit>>(p ? p : reinterpret_cast<const Unit*>(u""), p ? n : 0);
        pattern = compiled.get();
    }
    const Unit* text = Text<Unit>::data(argv[1], 1);
    const std::size_t units = Text<Unit>::units(argv[1]);
    if (!text && units > 0) {
        sqlite3_result_error_nomem(context);
        return;
    }
    const bool match = pattern->matches(text ? text : reinterpret_cast<const Unit*>(u""), text ? units : 0);
    sqlite3_result_int(context, match ? 1 : 0);
    // SQLite may drop the data at once (it then calls the deleter), so hand it over last.
    if (compiled) sqlite3_set_auxdata(context, 0, compiled.release(), &deletePattern<Unit>);
}

} // namespace

int registerLike(sqlite3* db) {
    const int flags = SQLITE_DETERMINISTIC | SQLITE_INNOCUOUS;
    int rc = sqlite3_create_function_v2(db, "like", 2, SQLITE_UTF8 | flags, nullptr,
                                        &likeFunction<unsigned char>, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) return rc;
    return sqlite3_create_function_v2(db, "like", 2, SQLITE_UTF16 | flags, nullptr, &likeFunction<char16_t>,
                                      nullptr, nullptr, nullptr);
}

} // namespace ado
