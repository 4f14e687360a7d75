#include "platform/gdi/bitmap_file.h"

#include <cstdint>

namespace platform::gdi {
namespace {

std::uint32_t little(const unsigned char* p, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | p[i];
    return value;
}

constexpr std::uint32_t kPlain = 0;     // BI_RGB
constexpr std::uint32_t kBitFields = 3; // BI_BITFIELDS, read only when it gives the plain masks

} // namespace

int bitmapFileDepth(const unsigned char* data, std::size_t size) {
    if (!data || size < 26 || data[0] != 'B' || data[1] != 'M') return 0;
    if (little(data + 14, 4) == 12) return static_cast<int>(little(data + 24, 2)); // the old core header
    if (size < 30) return 0;
    return static_cast<int>(little(data + 28, 2));
}

QImage readPlainBitmapFile(const unsigned char* data, std::size_t size) {
    if (!data || size < 26 || data[0] != 'B' || data[1] != 'M') return {};
    const std::uint32_t pixelsAt = little(data + 10, 4);
    const std::uint32_t headerSize = little(data + 14, 4);
    std::int64_t width, height;
    int depth, paletteEntryBytes;
    std::uint32_t colours = 0;
    if (headerSize == 12) { // the old core header: 16-bit sizes, three-byte palette entries
        width = little(data + 18, 2);
        height = little(data + 20, 2);
        depth = static_cast<int>(little(data + 24, 2));
        paletteEntryBytes = 3;
    } else if (headerSize >= 40 && size >= 14 + std::size_t{40}) {
        width = static_cast<std::int32_t>(little(data + 18, 4));
        height = static_cast<std::int32_t>(little(data + 22, 4));
        depth = static_cast<int>(little(data + 28, 2));
        const std::uint32_t compression = little(data + 30, 4);
        colours = little(data + 46, 4);
        paletteEntryBytes = 4;
        if (compression == kBitFields) {
            // Only the masks that say what the plain layout says; anything else is left to Qt. They
            // follow the common header, or are its last fields in the longer ones.
            if (size < 14 + std::size_t{52}) return {};
            const std::uint32_t red = little(data + 54, 4), green = little(data + 58, 4),
                                blue = little(data + 62, 4);
            const bool plain32 = depth == 32 && red == 0xFF0000 && green == 0xFF00 && blue == 0xFF;
            const bool plain16 = depth == 16 && red == 0x7C00 && green == 0x3E0 && blue == 0x1F;
            if (!plain32 && !plain16) return {};
        } else if (compression != kPlain) {
            return {};
        }
    } else {
        return {};
    }
    const bool topDown = height < 0;
    if (topDown) height = -height;
    if (width <= 0 || height <= 0 || width > 32768 || height > 32768) return {};
    if (depth != 1 && depth != 4 && depth != 8 && depth != 16 && depth != 24 && depth != 32) return {};

    QRgb palette[256] = {};
    if (depth <= 8) {
        const std::uint32_t most = 1u << depth;
        if (colours == 0 || colours > most) colours = most;
        const std::size_t paletteAt = 14 + std::size_t{headerSize};
        if (paletteAt + std::size_t{colours} * paletteEntryBytes > size) return {};
        for (std::uint32_t i = 0; i < colours; ++i) {
            const unsigned char* entry = data + paletteAt + std::size_t{i} * paletteEntryBytes;
            palette[i] = qRgb(entry[2], entry[1], entry[0]);
        }
    }
    const std::size_t rowBytes = ((static_cast<std::size_t>(width) * depth + 31) / 32) * 4;
    if (pixelsAt > size || rowBytes * static_cast<std::size_t>(height) > size - pixelsAt) return {};

    QImage image(static_cast<int>(width), static_cast<int>(height), QImage::Format_RGB32);
    if (image.isNull()) return {};
    for (int y = 0; y < height; ++y) {
        const unsigned char* row =
            data + pixelsAt + rowBytes * static_cast<std::size_t>(topDown ? y : height - 1 - y);
        auto* out = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x) {
            switch (depth) {
            case 1:
                out[x] = palette[(row[x / 8] >> (7 - x % 8)) & 1];
                break;
            case 4:
                out[x] = palette[(row[x / 2] >> (x % 2 ? 0 : 4)) & 0xF];
                break;
            case 8:
                out[x] = palette[row[x]];
                break;
            case 16: { // five bits a colour, scaled by eight as Qt's reader does
                const std::uint32_t v = little(row + 2 * x, 2);
                out[x] = qRgb(static_cast<int>(((v >> 10) & 0x1F) << 3),
                              static_cast<int>(((v >> 5) & 0x1F) << 3), static_cast<int>((v & 0x1F) << 3));
                break;
            }
            case 24:
                out[x] = qRgb(row[3 * x + 2], row[3 * x + 1], row[3 * x]);
                break;
            default:
                out[x] = qRgb(row[4 * x + 2], row[4 * x + 1], row[4 * x]);
                break;
            }
        }
    }
    return image;
}

} // namespace platform::gdi
