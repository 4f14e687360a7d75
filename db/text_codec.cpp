#include "db/text_codec.h"

#include <cstring>

#include "platform/data/letter_case.h"

namespace {
std::size_t lengthOf(const char16_t* text) {
    std::size_t n = 0;
    while (text[n])
        ++n;
    return n;
}
} // namespace

void decodeText(char16_t* text) {
    if (!text) return;
    const std::size_t n = lengthOf(text);
    for (std::size_t i = 0; i < n; ++i)
        text[i] = codec::decodeChar(text[i]);
}

void encodeText(char16_t* text) {
    if (!text) return; // the original trusts its callers; a null costs nothing to refuse
    const std::size_t n = lengthOf(text);
    for (std::size_t i = 0; i < n; ++i)
        text[i] = codec::encodeChar(text[i]);
}

std::u16string decodedText(std::u16string text) {
    for (char16_t& c : text)
        c = codec::decodeChar(c);
    return text;
}

std::u16string encodedText(std::u16string text) {
    for (char16_t& c : text)
        c = codec::encodeChar(c);
    return text;
}

// The LIKE of the data layer folds with the same rule, so lower-case copies and searches agree.
char16_t lowerCaseChar(char16_t c) {
    char16_t text[1] = {c};
    ado::lowerCaseUtf16(text, 1); // a lone surrogate stays as it is
    return text[0];
}

void lowerCaseText(char16_t* text) {
    if (!text) return;
    ado::lowerCaseUtf16(text, lengthOf(text));
}

std::u16string lowerCasedText(std::u16string text) {
    ado::lowerCaseUtf16(text.data(), text.size());
    return text;
}

void doubleApostrophes(char16_t* buffer) {
    if (!buffer) return;
    std::size_t n = lengthOf(buffer);
    for (std::size_t i = 0; i < n; ++i) {
        if (buffer[i] != u'\'') continue;
        std::memmove(buffer + i + 2, buffer + i + 1, (n - i) * sizeof(char16_t)); // terminator moves too
        buffer[i + 1] = u'\'';
        ++i;
        ++n;
    }
}

bool doubleApostrophes(char16_t* buffer, std::size_t capacity) {
    if (!buffer) return false;
    const std::size_t n = lengthOf(buffer);
    std::size_t apostrophes = 0;
    for (std::size_t i = 0; i < n; ++i)
        if (buffer[i] == u'\'') ++apostrophes;
    if (n + apostrophes + 1 > capacity) return false;
    doubleApostrophes(buffer);
    return true;
}

std::u16string doubledApostrophes(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size() + 8);
    for (char16_t c : text) {
        out += c;
        if (c == u'\'') out += c;
    }
    return out;
}
