#include "platform/gdi/font_tables.h"

#include <cctype>
#include <cstdint>
#include <string_view>

namespace platform::gdi {
namespace {

std::uint32_t big(const QByteArray& bytes, qsizetype at, int length) {
    std::uint32_t value = 0;
    for (int i = 0; i < length; ++i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

} // namespace

std::vector<FontTableEntry> fontTableDirectory(const QByteArray& font) {
    std::vector<FontTableEntry> entries;
    if (font.size() < 12) return entries;
    const std::uint32_t count = big(font, 4, 2);
    for (std::uint32_t i = 0; i < count; ++i) {
        const qsizetype entry = 12 + 16 * static_cast<qsizetype>(i);
        if (entry + 16 > font.size()) break;
        const std::uint32_t offset = big(font, entry + 8, 4), length = big(font, entry + 12, 4);
        if (offset > static_cast<std::uint64_t>(font.size()) || length > font.size() - offset) continue;
        entries.push_back({std::string(font.constData() + entry, 4), offset, length});
    }
    return entries;
}

QByteArray fontTable(const QByteArray& font, const char* tag) {
    for (const FontTableEntry& entry : fontTableDirectory(font))
        if (entry.tag == std::string_view(tag, 4)) return font.mid(entry.offset, entry.length);
    return {};
}

bool plausibleCell(const CellMetrics& cell) {
    const double height = cell.ascent + cell.descent;
    return height > 0.5 && height < 3.0;
}

std::optional<CellMetrics> cellMetricsOfTables(const QByteArray& os2, const QByteArray& head) {
    if (os2.size() < 78 || head.size() < 20) return std::nullopt;
    const std::uint32_t unitsPerEm = big(head, 18, 2);
    if (unitsPerEm == 0) return std::nullopt;
    CellMetrics metrics;
    metrics.ascent = big(os2, 74, 2) / double(unitsPerEm);
    metrics.descent = big(os2, 76, 2) / double(unitsPerEm);
    if (!plausibleCell(metrics)) return std::nullopt;
    return metrics;
}

std::optional<CellMetrics> fileCellMetrics(const QByteArray& font) {
    return cellMetricsOfTables(fontTable(font, "OS/2"), fontTable(font, "head"));
}

QByteArray withWindowsLineSpacing(QByteArray font) {
    constexpr unsigned char kUseTypoMetrics = 0x80; // bit 7 of fsSelection's low byte
    if (font.size() < 12) return font;
    const std::uint32_t count = big(font, 4, 2);
    for (std::uint32_t i = 0; i < count; ++i) {
        const qsizetype entry = 12 + 16 * static_cast<qsizetype>(i);
        if (entry + 16 > font.size()) break;
        const std::string tag(font.constData() + entry, 4);
        const std::uint32_t offset = big(font, entry + 8, 4), length = big(font, entry + 12, 4);
        if (tag == "OS/2" && length >= 64 && offset + 64 <= static_cast<std::uint64_t>(font.size())) {
            const qsizetype flags = static_cast<qsizetype>(offset) + 63;
            font[flags] = static_cast<char>(static_cast<unsigned char>(font[flags]) & ~kUseTypoMetrics);
        } else if (tag == "EBLC" || tag == "EBDT" || tag == "EBSC") {
            // The bitmap strikes bring line metrics of their own at their sizes; renamed, no engine
            // finds them, and every size is drawn from the outlines.
            for (int k = 0; k < 4; ++k)
                font[entry + k] = static_cast<char>(std::tolower(static_cast<unsigned char>(font[entry + k])));
        }
    }
    return font;
}

} // namespace platform::gdi
