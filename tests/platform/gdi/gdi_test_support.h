// Shared pieces of the drawing tests: a window surface made by the test, bitmap files made in
// memory, and a module that holds them.
#pragma once

#include <QBuffer>
#include <QImage>
#include <atomic>
#include <string>
#include <vector>

#include "platform/gdi/gdi_objects.h"

namespace gdi_test {

// A window's pixels as the window system keeps them, and a context that draws into them.
struct TestSurface {
    explicit TestSurface(int width = 240, int height = 200) {
        surface.image = QImage(width, height, QImage::Format_ARGB32_Premultiplied);
        surface.image.fill(Qt::transparent);
        surface.repaint = [this] { ++repaints; };
        dc = platform::gdi::createSurfaceDC(&surface);
    }
    ~TestSurface() {
        if (dc) platform::gdi::releaseSurfaceDC(dc);
    }
    TestSurface(const TestSurface&) = delete;
    TestSurface& operator=(const TestSurface&) = delete;

    QImage image() {
        std::lock_guard<std::mutex> lock(surface.mutex);
        return surface.image.copy();
    }
    bool drawnAt(int x, int y) { return qAlpha(image().pixel(x, y)) != 0; }
    QColor colorAt(int x, int y) { return image().pixelColor(x, y); }

    platform::Surface surface;
    std::atomic<int> repaints{0};
    HDC dc = nullptr;
};

// The bytes of a .bmp file holding `image`, stored in `format` (RGB888: 24 bits, Indexed8: 256 colours).
inline std::vector<unsigned char> bmpFile(const QImage& image, QImage::Format format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.convertToFormat(format).save(&buffer, "BMP");
    return std::vector<unsigned char>(bytes.begin(), bytes.end());
}

// A module with the given bitmaps and strings, as the program's resources are laid out.
struct TestModule {
    std::vector<std::vector<unsigned char>> files;
    std::vector<BitmapResource> bitmaps;
    std::vector<StringResource> strings;
    HINSTANCE__ module{};

    void addBitmap(int id, std::vector<unsigned char> bytes) {
        files.push_back(std::move(bytes));
        rebuild();
        bitmaps.back().id = id;
    }
    void addString(int id, LPCWSTR text) {
        strings.push_back({id, text});
        rebuild();
    }
    HINSTANCE handle() { return &module; }

  private:
    void rebuild() {
        std::vector<int> ids;
        for (const auto& b : bitmaps)
            ids.push_back(b.id);
        bitmaps.clear();
        for (std::size_t i = 0; i < files.size(); ++i)
            bitmaps.push_back({i < ids.size() ? ids[i] : 0, files[i].data(), files[i].size()});
        module.bitmaps = bitmaps.data();
        module.bitmapCount = static_cast<int>(bitmaps.size());
        module.strings = strings.data();
        module.stringCount = static_cast<int>(strings.size());
    }
};

// The box around every drawn pixel whose colour is close to `ink`, inside `area`.
inline QRect inkBox(const QImage& image, QColor ink, QRect area) {
    QRect box;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x) {
            if (!image.valid(x, y)) continue;
            const QColor c = image.pixelColor(x, y);
            if (c.alpha() < 128) continue;
            if (std::abs(c.red() - ink.red()) + std::abs(c.green() - ink.green()) +
                    std::abs(c.blue() - ink.blue()) >
                200)
                continue;
            box |= QRect(x, y, 1, 1);
        }
    return box;
}

} // namespace gdi_test
