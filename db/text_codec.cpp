#include "db/text_codec.h"

#include <atomic>
#include <cstring>

#include "platform/data/letter_case.h"

namespace codec {
namespace {
std::atomic<char16_t> currentOffset{kOffset};
} // namespace

std::atomic<Lowering> currentLowering{Lowering::Folded};

std::optional<char16_t> offsetOfGeneration(long long generation) {
    if (generation == kEarlierGeneration) return kEarlierOffset;
    if (generation == kSimpleLoweringGeneration || generation == kGeneration) return kOffset;
    return std::nullopt;
}

std::optional<Lowering> loweringOfGeneration(long long generation) {
    if (generation == kEarlierGeneration) return Lowering::LatinOnly;
    if (generation == kSimpleLoweringGeneration) return Lowering::Simple;
    if (generation == kGeneration) return Lowering::Folded;
    return std::nullopt;
}

Lowering lowering() {
    return currentLowering.load(std::memory_order_relaxed);
}

void useLowering(Lowering lowering) {
    currentLowering.store(lowering, std::memory_order_relaxed);
}

char16_t offset() {
    return currentOffset.load(std::memory_order_relaxed);
}

void useOffset(char16_t offset) {
    currentOffset.store(offset, std::memory_order_relaxed);
}
} // namespace codec

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
    const char16_t offset = codec::offset();
    for (std::size_t i = 0; i < n; ++i)
        text[i] = codec::decodeChar(text[i], offset);
}

void encodeText(char16_t* text) {
    if (!text) return; // the original trusts its callers; a null costs nothing to refuse
    const std::size_t n = lengthOf(text);
    const char16_t offset = codec::offset();
    for (std::size_t i = 0; i < n; ++i)
        text[i] = codec::encodeChar(text[i], offset);
}

std::u16string decodedText(std::u16string text) {
    const char16_t offset = codec::offset();
    for (char16_t& c : text)
        c = codec::decodeChar(c, offset);
    return text;
}

std::u16string encodedText(std::u16string text) {
    const char16_t offset = codec::offset();
    for (char16_t& c : text)
        c = codec::encodeChar(c, offset);
    return text;
}

namespace {
constexpr char16_t kFirstSurrogate = 0xD800;
constexpr char16_t kLastSurrogate = 0xDFFF;
// U+F0000 as a pair, and the high halves that the 2048 carried units use.
constexpr char16_t kCarrierHigh = 0xDB80;
constexpr char16_t kCarrierHighLast = 0xDB81;
constexpr char16_t kLowFirst = 0xDC00;

bool isSurrogate(char16_t c) {
    return c >= kFirstSurrogate && c <= kLastSurrogate;
}
} // namespace

std::u16string carriedText(std::u16string_view encoded) {
    std::u16string out;
    out.reserve(encoded.size());
    for (char16_t c : encoded) {
        if (!isSurrogate(c)) {
            out += c;
            continue;
        }
        const unsigned offset = static_cast<unsigned>(c - kFirstSurrogate); // 0 … 0x7FF
        out += static_cast<char16_t>(kCarrierHigh + (offset >> 10));
        out += static_cast<char16_t>(kLowFirst + (offset & 0x3FF));
    }
    return out;
}

std::u16string uncarriedText(std::u16string_view carried) {
    std::u16string out;
    out.reserve(carried.size());
    for (std::size_t i = 0; i < carried.size(); ++i) {
        const char16_t c = carried[i];
        if (c >= kCarrierHigh && c <= kCarrierHighLast && i + 1 < carried.size() &&
            carried[i + 1] >= kLowFirst && carried[i + 1] <= kLastSurrogate) {
            out += static_cast<char16_t>(kFirstSurrogate + ((c - kCarrierHigh) << 10) +
                                         (carried[i + 1] - kLowFirst));
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

std::u16string storedText(std::u16string_view readable) {
    return carriedText(encodedText(std::u16string(readable)));
}

std::u16string readableText(std::u16string_view stored) {
    return decodedText(uncarriedText(stored));
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
    return lowerCasedText(std::move(text), codec::lowering());
}

std::u16string lowerCasedText(std::u16string text, codec::Lowering lowering) {
    switch (lowering) {
    case codec::Lowering::LatinOnly:
        for (char16_t& c : text)
            if ((c >= u'A' && c <= u'Z') || (c >= 0x00C0 && c <= 0x00DE && c != 0x00D7)) c += 0x20;
        return text;
    case codec::Lowering::Simple:
        ado::lowerCaseUtf16(text.data(), text.size());
        return text;
    case codec::Lowering::Folded:
        return ado::searchFolded(text);
    }
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
