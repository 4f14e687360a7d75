// German order as an SQLite collation in both encodings, so that SQLite hands the texts over in
// the file's own encoding and never converts them. The catalogue's schema declares it on the
// columns the screens sort by; a catalogue without the declaration simply sorts by bytes.
#include "platform/data/engine.h"
#include "platform/data/german_order.h"

namespace ado {

namespace {

int compareUtf8(void*, int aBytes, const void* a, int bBytes, const void* b) {
    return compareGermanUtf8(static_cast<const char*>(a), static_cast<std::size_t>(aBytes),
                             static_cast<const char*>(b), static_cast<std::size_t>(bBytes));
}

int compareUtf16(void*, int aBytes, const void* a, int bBytes, const void* b) {
    thread_local std::u16string aCopy, bCopy;
    return compareGerman(utf16At(a, static_cast<std::size_t>(aBytes) / 2, aCopy),
                         utf16At(b, static_cast<std::size_t>(bBytes) / 2, bCopy));
}

} // namespace

int registerGermanOrder(sqlite3* db) {
    const int rc =
        sqlite3_create_collation_v2(db, kGermanCollation, SQLITE_UTF8, nullptr, &compareUtf8, nullptr);
    if (rc != SQLITE_OK) return rc;
    return sqlite3_create_collation_v2(db, kGermanCollation, SQLITE_UTF16, nullptr, &compareUtf16, nullptr);
}

} // namespace ado
