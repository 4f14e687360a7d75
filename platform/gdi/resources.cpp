// Bitmaps and strings from the program's resources.
// Differs from the platform: resources are looked up by number only (named resources and the
// system's own bitmaps are not there); a bitmap is kept at 32 bits inside and only remembers the
// depth its file had; LoadStringW with no room returns 0 instead of a pointer into the resource.
#include <QByteArray>
#include <algorithm>
#include <cstring>

#include "platform/gdi/bitmap_file.h"
#include "platform/gdi/gdi_objects.h"

namespace platform::gdi {
namespace {

int readLittle(const unsigned char* p, int bytes) {
    int value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | p[i];
    return value;
}

// The bits per pixel that the file's header gives, or 0 when it is not a bitmap file.
int fileBitsPerPixel(const unsigned char* data, std::size_t size) {
    if (size < 26 || data[0] != 'B' || data[1] != 'M') return 0;
    const int headerSize = readLittle(data + 14, 4);
    if (headerSize == 12) return readLittle(data + 24, 2); // the old core header
    if (size < 30) return 0;
    return readLittle(data + 28, 2);
}

} // namespace
} // namespace platform::gdi

using namespace platform::gdi;

HBITMAP LoadBitmapW(HINSTANCE module, LPCWSTR name) {
    if (!module || !IS_INTRESOURCE(name)) return nullptr;
    const int id = static_cast<int>(reinterpret_cast<std::uintptr_t>(name));
    for (int i = 0; i < module->bitmapCount; ++i) {
        const BitmapResource& resource = module->bitmaps[i];
        if (resource.id != id || !resource.data) continue;
        const int depth = fileBitsPerPixel(resource.data, resource.size);
        if (depth == 0) return nullptr;
        QImage image = readPlainBitmapFile(resource.data, resource.size);
        if (image.isNull()) // compressed and other rarer files
            image = QImage::fromData(resource.data, static_cast<int>(resource.size), "BMP")
                        .convertToFormat(QImage::Format_RGB32);
        if (image.isNull()) return nullptr;
        auto bitmap = std::make_shared<BitmapObject>();
        bitmap->image = image;
        bitmap->bitsPerPixel = depth;
        return registerObject(bitmap);
    }
    return nullptr;
}

int LoadStringW(HINSTANCE module, UINT id, LPWSTR buffer, int capacity) {
    if (!buffer || capacity <= 0) return 0;
    buffer[0] = u'\0';
    if (!module) return 0;
    for (int i = 0; i < module->stringCount; ++i) {
        const StringResource& resource = module->strings[i];
        if (static_cast<UINT>(resource.id) != id || !resource.text) continue;
        const std::u16string_view text(resource.text);
        const int length = static_cast<int>(std::min<std::size_t>(text.size(), capacity - 1));
        std::copy_n(text.data(), length, buffer);
        buffer[length] = u'\0';
        return length;
    }
    return 0;
}
