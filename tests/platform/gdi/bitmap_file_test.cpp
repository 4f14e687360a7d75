// The plain bitmap reader gives the pixels Qt's own reader gives, for every layout it takes, and
// nothing for what it leaves to Qt or for files too short for their pixels.
#include <gtest/gtest.h>

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QImage>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/gdi/bitmap_file.h"

using platform::gdi::readPlainBitmapFile;

namespace {

QImage read(const QByteArray& file) {
    return readPlainBitmapFile(reinterpret_cast<const unsigned char*>(file.constData()),
                               static_cast<std::size_t>(file.size()));
}

QImage qtReads(const QByteArray& file) {
    return QImage::fromData(file, "BMP").convertToFormat(QImage::Format_RGB32);
}

void put(std::vector<unsigned char>& bytes, std::size_t at, std::uint32_t value, int count) {
    for (int i = 0; i < count; ++i)
        bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
}

// A bitmap file written byte by byte, so that layouts Qt's writer never makes (1, 4 and 16 bits,
// top-down rows, the core header, bit fields) are read too. Pixels follow a pattern of x and y.
struct Layout {
    int depth;
    bool topDown;
    bool coreHeader;
    bool bitFields;
    std::string name;
};

QByteArray bitmapFile(const Layout& layout, int width, int height) {
    const int headerSize = layout.coreHeader ? 12 : 40;
    const int colours = layout.depth <= 8 ? (1 << layout.depth) : 0;
    const int entryBytes = layout.coreHeader ? 3 : 4;
    const std::size_t rowBytes = ((static_cast<std::size_t>(width) * layout.depth + 31) / 32) * 4;
    const std::size_t masks = layout.bitFields ? 12 : 0; // after the header
    const std::size_t pixelsAt = 14 + headerSize + masks + static_cast<std::size_t>(colours) * entryBytes;
    std::vector<unsigned char> bytes(pixelsAt + rowBytes * height, 0);
    bytes[0] = 'B';
    bytes[1] = 'M';
    put(bytes, 2, static_cast<std::uint32_t>(bytes.size()), 4);
    put(bytes, 10, static_cast<std::uint32_t>(pixelsAt), 4);
    put(bytes, 14, headerSize, 4);
    if (layout.coreHeader) {
        put(bytes, 18, width, 2);
        put(bytes, 20, height, 2);
        put(bytes, 22, 1, 2);
        put(bytes, 24, layout.depth, 2);
    } else {
        put(bytes, 18, width, 4);
        put(bytes, 22, static_cast<std::uint32_t>(layout.topDown ? -height : height), 4);
        put(bytes, 26, 1, 2);
        put(bytes, 28, layout.depth, 2);
        put(bytes, 30, layout.bitFields ? 3 : 0, 4);
        if (layout.bitFields) {
            const bool wide = layout.depth == 32;
            put(bytes, 54, wide ? 0xFF0000 : 0x7C00, 4);
            put(bytes, 58, wide ? 0xFF00 : 0x3E0, 4);
            put(bytes, 62, wide ? 0xFF : 0x1F, 4);
        }
    }
    for (int i = 0; i < colours; ++i) {
        unsigned char* entry = bytes.data() + 14 + headerSize + i * entryBytes;
        entry[0] = static_cast<unsigned char>(i * 7);       // blue
        entry[1] = static_cast<unsigned char>(255 - i * 3); // green
        entry[2] = static_cast<unsigned char>(i * 13);      // red
    }
    for (int y = 0; y < height; ++y) {
        unsigned char* row = bytes.data() + pixelsAt + rowBytes * y;
        for (int x = 0; x < width; ++x) {
            const unsigned v = static_cast<unsigned>(x * 31 + y * 17);
            switch (layout.depth) {
            case 1:
                row[x / 8] |= static_cast<unsigned char>((v & 1) << (7 - x % 8));
                break;
            case 4:
                row[x / 2] |= static_cast<unsigned char>((v & 0xF) << (x % 2 ? 0 : 4));
                break;
            case 8:
                row[x] = static_cast<unsigned char>(v);
                break;
            case 16:
                put(bytes, pixelsAt + rowBytes * y + 2 * x, (v * 401) & 0x7FFF, 2);
                break;
            default:
                for (int c = 0; c < layout.depth / 8; ++c)
                    row[x * (layout.depth / 8) + c] = static_cast<unsigned char>(v * (c + 3));
                break;
            }
        }
    }
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<int>(bytes.size()));
}

void PrintTo(const Layout& layout, std::ostream* os) {
    *os << layout.name;
}

class BitmapLayouts : public ::testing::TestWithParam<Layout> {};

TEST_P(BitmapLayouts, ReadAsQtReadsThem) {
    // 13 × 5: rows that need padding at every depth, and a width that splits bytes of 1 and 4 bits.
    const QByteArray file = bitmapFile(GetParam(), 13, 5);
    const QImage expected = qtReads(file);
    ASSERT_FALSE(expected.isNull());
    const QImage image = read(file);
    ASSERT_EQ(image.format(), QImage::Format_RGB32);
    ASSERT_EQ(image.size(), expected.size());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ASSERT_EQ(image.pixel(x, y), expected.pixel(x, y)) << "at " << x << "," << y;
}

TEST_P(BitmapLayouts, FilesShortOfTheirPixelsGiveNothing) {
    const QByteArray file = bitmapFile(GetParam(), 13, 5);
    for (int cut = 0; cut < file.size(); ++cut)
        EXPECT_TRUE(read(file.left(cut)).isNull()) << "cut to " << cut << " of " << file.size() << " bytes";
}

INSTANTIATE_TEST_SUITE_P(Layouts, BitmapLayouts,
                         ::testing::Values(Layout{1, false, false, false, "OneBit"},
                                           Layout{4, false, false, false, "FourBits"},
                                           Layout{8, false, false, false, "EightBits"},
                                           Layout{8, true, false, false, "EightBitsTopDown"},
                                           Layout{8, false, true, false, "EightBitsCoreHeader"},
                                           Layout{16, false, false, false, "SixteenBits"},
                                           Layout{16, false, false, true, "SixteenBitsWithFields"},
                                           Layout{24, false, false, false, "TwentyFourBits"},
                                           Layout{24, true, false, false, "TwentyFourBitsTopDown"},
                                           Layout{32, false, false, false, "ThirtyTwoBits"},
                                           Layout{32, false, false, true, "ThirtyTwoBitsWithFields"}),
                         [](const ::testing::TestParamInfo<Layout>& param) { return param.param.name; });

TEST(PlainBitmapFiles, EveryShippedPictureReadsAsQtReadsIt) {
    const QDir folder(QStringLiteral(TALVINO_BITMAP_DIR));
    const QStringList names = folder.entryList({QStringLiteral("*.bmp")});
    ASSERT_GE(names.size(), 15);
    for (const QString& name : names) {
        QFile file(folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QByteArray bytes = file.readAll();
        EXPECT_EQ(read(bytes), qtReads(bytes)) << name.toStdString();
    }
}

TEST(PlainBitmapFiles, CompressedAndUnusualFilesAreLeftToQt) {
    const Layout eight{8, false, false, false, "EightBits"};
    QByteArray runLength = bitmapFile(eight, 13, 5);
    runLength[30] = 1; // BI_RLE8
    EXPECT_TRUE(read(runLength).isNull());

    QByteArray swappedFields = bitmapFile(Layout{32, false, false, true, "Fields"}, 13, 5);
    swappedFields[54] = 0x00; // red mask 0x000000 instead of 0xFF0000
    swappedFields[56] = 0x00;
    EXPECT_TRUE(read(swappedFields).isNull());

    QByteArray twoBits = bitmapFile(eight, 13, 5);
    twoBits[28] = 2;
    EXPECT_TRUE(read(twoBits).isNull());

    QByteArray notABitmap = bitmapFile(eight, 13, 5);
    notABitmap[0] = 'P';
    EXPECT_TRUE(read(notABitmap).isNull());
    EXPECT_TRUE(readPlainBitmapFile(nullptr, 100).isNull());
}

TEST(PlainBitmapFiles, APaletteShorterThanTheDepthAllowsIsRead) {
    // Eight bits a pixel with 16 colours given: the pixels only use the first 16.
    const Layout eight{8, false, false, false, "EightBits"};
    QByteArray file = bitmapFile(Layout{4, false, false, false, "FourBits"}, 13, 5);
    const QImage fourBit = qtReads(file);
    // Same palette and pixels, re-packed one byte a pixel.
    QByteArray widened = bitmapFile(eight, 13, 5);
    const int palette = 14 + 40;
    widened.replace(palette, 16 * 4, file.mid(palette, 16 * 4));
    widened.remove(palette + 16 * 4, (256 - 16) * 4);
    const int pixelsAt = palette + 16 * 4;
    widened[10] = static_cast<char>(pixelsAt & 0xFF);
    widened[11] = static_cast<char>(pixelsAt >> 8);
    widened[46] = 16; // colours used
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 13; ++x)
            widened[pixelsAt + 16 * y + x] = static_cast<char>((x * 31 + y * 17) & 0xF);
    const QImage image = read(widened);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image, fourBit);
}

} // namespace
