#include "platform/data/german_order.h"

#include <unicode/ucol.h>

#include <cstring>
#include <stdexcept>

namespace ado {

namespace {

// One collator for the whole program: ICU's comparisons are safe from several threads once the
// collator is set up, and setting it up costs far more than a comparison.
class GermanCollator {
  public:
    GermanCollator() {
        UErrorCode status = U_ZERO_ERROR;
        collator_ = ucol_open("de_DE", &status);
        if (U_FAILURE(status) || !collator_) throw std::runtime_error("no German collation in ICU");
        ucol_setAttribute(collator_, UCOL_NUMERIC_COLLATION, UCOL_ON, &status);
        if (U_FAILURE(status)) throw std::runtime_error("the German collation refuses numeric order");
    }
    ~GermanCollator() { ucol_close(collator_); }
    GermanCollator(const GermanCollator&) = delete;
    GermanCollator& operator=(const GermanCollator&) = delete;

    int compare(std::u16string_view a, std::u16string_view b) const {
        return ucol_strcoll(collator_, reinterpret_cast<const UChar*>(a.data()),
                            static_cast<int32_t>(a.size()), reinterpret_cast<const UChar*>(b.data()),
                            static_cast<int32_t>(b.size()));
    }
    int compareUtf8(const char* a, std::size_t aBytes, const char* b, std::size_t bBytes) const {
        UErrorCode status = U_ZERO_ERROR;
        const UCollationResult result = ucol_strcollUTF8(collator_, a, static_cast<int32_t>(aBytes), b,
                                                         static_cast<int32_t>(bBytes), &status);
        if (U_FAILURE(status)) return compareBytes(a, aBytes, b, bBytes); // malformed text: byte order
        return result;
    }

  private:
    static int compareBytes(const char* a, std::size_t aBytes, const char* b, std::size_t bBytes) {
        const int c = std::memcmp(a, b, aBytes < bBytes ? aBytes : bBytes);
        if (c != 0) return c;
        return aBytes < bBytes ? -1 : aBytes > bBytes ? 1 : 0;
    }
    UCollator* collator_ = nullptr;
};

const GermanCollator& collator() {
    static const GermanCollator instance;
    return instance;
}

} // namespace

int compareGerman(std::u16string_view a, std::u16string_view b) {
    if (a == b) return 0;
    return collator().compare(a, b);
}

int compareGermanUtf8(const char* a, std::size_t aBytes, const char* b, std::size_t bBytes) {
    if (aBytes == bBytes && std::memcmp(a, b, aBytes) == 0) return 0;
    return collator().compareUtf8(a, aBytes, b, bBytes);
}

} // namespace ado
