// Writing the pictures as the platform's bitmap files, and the 256-colour reduction.
#include <QBuffer>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <map>

#include "image_set.h"

namespace images {
namespace {

struct Box {
    std::vector<QRgb> colors;
    int longestChannel() const {
        int lo[3] = {255, 255, 255};
        int hi[3] = {0, 0, 0};
        for (QRgb c : colors) {
            const int v[3] = {qRed(c), qGreen(c), qBlue(c)};
            for (int i = 0; i < 3; ++i) {
                lo[i] = std::min(lo[i], v[i]);
                hi[i] = std::max(hi[i], v[i]);
            }
        }
        int best = 0;
        for (int i = 1; i < 3; ++i)
            if (hi[i] - lo[i] > hi[best] - lo[best]) best = i;
        return best;
    }
    int span() const {
        const int ch = longestChannel();
        int lo = 255, hi = 0;
        for (QRgb c : colors) {
            const int v = ch == 0 ? qRed(c) : ch == 1 ? qGreen(c) : qBlue(c);
            lo = std::min(lo, v);
            hi = std::max(hi, v);
        }
        return hi - lo;
    }
    QRgb average() const {
        long r = 0, g = 0, b = 0;
        for (QRgb c : colors) {
            r += qRed(c);
            g += qGreen(c);
            b += qBlue(c);
        }
        const long n = std::max<long>(1, static_cast<long>(colors.size()));
        return qRgb(static_cast<int>((r + n / 2) / n), static_cast<int>((g + n / 2) / n),
                    static_cast<int>((b + n / 2) / n));
    }
};

int distance(QRgb a, QRgb b) {
    const int dr = qRed(a) - qRed(b), dg = qGreen(a) - qGreen(b), db = qBlue(a) - qBlue(b);
    return 3 * dr * dr + 4 * dg * dg + 2 * db * db;
}

} // namespace

QImage toPalette(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGB32);
    std::vector<QRgb> pixels;
    pixels.reserve(static_cast<std::size_t>(image.width()) * image.height());
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            pixels.push_back(image.pixel(x, y) | 0xFF000000u);

    std::vector<QRgb> unique = pixels;
    std::sort(unique.begin(), unique.end());
    unique.erase(std::unique(unique.begin(), unique.end()), unique.end());

    QVector<QRgb> table;
    if (unique.size() <= 256) {
        table = QVector<QRgb>(unique.begin(), unique.end());
    } else {
        // Median cut over every pixel, so that large areas keep their exact shades.
        std::vector<Box> boxes{Box{pixels}};
        while (boxes.size() < 256) {
            auto widest = std::max_element(boxes.begin(), boxes.end(), [](const Box& a, const Box& b) {
                return a.span() * std::sqrt(double(a.colors.size())) <
                       b.span() * std::sqrt(double(b.colors.size()));
            });
            if (widest->span() == 0) break;
            Box box = std::move(*widest);
            boxes.erase(widest);
            const int ch = box.longestChannel();
            auto key = [ch](QRgb c) { return ch == 0 ? qRed(c) : ch == 1 ? qGreen(c) : qBlue(c); };
            std::sort(box.colors.begin(), box.colors.end(), [&](QRgb a, QRgb b) { return key(a) < key(b); });
            const std::size_t half = box.colors.size() / 2;
            Box low{std::vector<QRgb>(box.colors.begin(), box.colors.begin() + half)};
            Box high{std::vector<QRgb>(box.colors.begin() + half, box.colors.end())};
            boxes.push_back(std::move(low));
            boxes.push_back(std::move(high));
        }
        for (const Box& box : boxes)
            table.push_back(box.average());
    }
    // A palette of fewer than 17 entries would be written at 4 bits; keep it at 8.
    while (table.size() < 256)
        table.push_back(qRgb(0, 0, 0));

    QImage indexed(image.size(), QImage::Format_Indexed8);
    indexed.setColorTable(table);
    // Zero every byte, the padding at the end of each row too: the file holds it.
    std::memset(indexed.bits(), 0, static_cast<std::size_t>(indexed.sizeInBytes()));
    std::map<QRgb, int> nearest;
    for (int y = 0; y < image.height(); ++y) {
        uchar* row = indexed.scanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = image.pixel(x, y) | 0xFF000000u;
            auto found = nearest.find(c);
            if (found == nearest.end()) {
                int best = 0;
                for (int i = 1; i < table.size(); ++i)
                    if (distance(c, table[i]) < distance(c, table[best])) best = i;
                found = nearest.emplace(c, best).first;
            }
            row[x] = static_cast<uchar>(found->second);
        }
    }
    return indexed;
}

QByteArray bmpBytes(const QImage& image, int bitsPerPixel) {
    const QImage stored = bitsPerPixel == 8
                              ? (image.format() == QImage::Format_Indexed8 ? image : toPalette(image))
                              : image.convertToFormat(QImage::Format_RGB888);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    stored.save(&buffer, "BMP");
    return bytes;
}

int bmpBitsPerPixel(const QByteArray& bytes) {
    if (bytes.size() < 30 || bytes[0] != 'B' || bytes[1] != 'M') return 0;
    const auto at = [&](int i) { return static_cast<unsigned char>(bytes[i]); };
    const int headerSize = at(14) | (at(15) << 8) | (at(16) << 16) | (at(17) << 24);
    return headerSize == 12 ? (at(24) | (at(25) << 8)) : (at(28) | (at(29) << 8));
}

std::vector<GeneratedImage> generateAll() {
    std::vector<GeneratedImage> all;
    all.push_back({105, bookmarkPicture(), 24});
    all.push_back({106, grapesPicture(), 24});
    all.push_back({107, thermometerIcon(), 24});
    all.push_back({108, wineGlassPicture(), 24});
    all.push_back({131, thermometerScale(), 24});
    all.push_back({134, toPalette(creditsBanner()), 8});
    all.push_back({144, scrollBottomRoll(), 24});
    all.push_back({145, scrollTopRoll(), 24});
    all.push_back({146, scrollPaper(), 24});
    for (int frame = 0; frame < kWaitFrames; ++frame)
        all.push_back({148 + frame, waitAnimationFrame(frame), 24});
    return all;
}

} // namespace images
