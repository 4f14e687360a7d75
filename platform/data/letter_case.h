// The catalogue's one lower-casing rule: Unicode's simple lower-case mapping from ICU, one code
// point to one (so a text keeps its length; ß stays ß). The search term, the catalogue's
// lower-case copies and LIKE all use it, so that they stay in step.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace ado {

char32_t lowerCaseOf(char32_t c);

// In place over UTF-16 text, surrogate pairs included; the length never changes.
void lowerCaseUtf16(char16_t* text, std::size_t length);

// Every code point other than `lower` itself whose lower case is `lower` (A for a; K and the
// Kelvin sign for k), in ascending order; empty when none.
const std::vector<char32_t>& capitalsOf(char32_t lower);

} // namespace ado
