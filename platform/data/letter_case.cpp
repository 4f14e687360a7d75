#include "platform/data/letter_case.h"

#include <unicode/uchar.h>

#include <unordered_map>

namespace ado {

char32_t lowerCaseOf(char32_t c) {
    return static_cast<char32_t>(u_tolower(static_cast<UChar32>(c)));
}

void lowerCaseUtf16(char16_t* text, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i) {
        const char16_t c = text[i];
        if (c < 0x80) {
            if (c >= u'A' && c <= u'Z') text[i] = static_cast<char16_t>(c + 0x20);
            continue;
        }
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < length && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
            const char32_t pair =
                0x10000 + ((static_cast<char32_t>(c) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            const char32_t lower = lowerCaseOf(pair);
            // The simple mapping never leaves its plane, so the pair stays a pair.
            if (lower >= 0x10000) {
                text[i] = static_cast<char16_t>(0xD800 + ((lower - 0x10000) >> 10));
                text[i + 1] = static_cast<char16_t>(0xDC00 + ((lower - 0x10000) & 0x3FF));
            }
            ++i;
            continue;
        }
        const char32_t lower = lowerCaseOf(c);
        if (lower < 0x10000) text[i] = static_cast<char16_t>(lower);
    }
}

std::u16string searchFolded(std::u16string_view text) {
    std::u16string lower(text);
    lowerCaseUtf16(lower.data(), lower.size());
    std::u16string folded;
    folded.reserve(lower.size() + 4);
    for (char16_t c : lower) {
        if (c == kSharpS)
            folded += u"ss";
        else
            folded += c == kFinalSigma ? kSigma : c;
    }
    return folded;
}

namespace {
// Cased letters end below U+20000; the table is built once, on first use.
std::unordered_map<char32_t, std::vector<char32_t>> buildCapitals() {
    std::unordered_map<char32_t, std::vector<char32_t>> capitals;
    for (char32_t c = 0; c < 0x20000; ++c) {
        if (c >= 0xD800 && c <= 0xDFFF) continue;
        const char32_t lower = lowerCaseOf(c);
        if (lower != c) capitals[lower].push_back(c);
    }
    return capitals;
}
} // namespace

const std::vector<char32_t>& capitalsOf(char32_t lower) {
    static const std::unordered_map<char32_t, std::vector<char32_t>> capitals = buildCapitals();
    static const std::vector<char32_t> none;
    const auto found = capitals.find(lower);
    return found == capitals.end() ? none : found->second;
}

} // namespace ado
