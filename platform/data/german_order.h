// German dictionary order (DIN 5007-1) from ICU's German collator: ä, ö, ü sort as a, o, u and
// ß as ss; accents, then case (small first), only break ties; blanks and punctuation come before
// digits and digits before letters, so "St. Laurent" sorts before "Stadt"; a run of digits sorts
// by its value ("Tawny 9" before "Tawny 10"). Used by the catalogue's collation and by the
// sorted lists and combo boxes of the window system.
#pragma once

#include <cstddef>
#include <string_view>

namespace ado {

// Negative, zero or positive, as a sorts before, with or after b.
int compareGerman(std::u16string_view a, std::u16string_view b);
int compareGermanUtf8(const char* a, std::size_t aBytes, const char* b, std::size_t bBytes);

// The name under which the catalogue's schema declares the order on its sorted columns.
constexpr const char* kGermanCollation = "DEUTSCH";

} // namespace ado
