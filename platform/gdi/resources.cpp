// Bitmaps and strings from the program's resources.
// Differs from the platform: resources are looked up by number only (named resources and the
// system's own bitmaps are not there); a bitmap is kept at 32 bits inside and only remembers the
// depth its file had; LoadStringW with no room returns 0 instead of a pointer into the resource.
#include <QByteArray>
#include <algorithm>
#include <cstring>

#include "platform/gdi/bitmap_file.h"
#include "platform/gdi/gdi_objects.h"

using namespace platform::gdi;

HBITMAP LoadBitmapW(HINSTANCE module, LPCWSTR name) {
    if (!module || !IS_INTRESOURCE(name)) return nullptr;
    const int id = static_cast<int>(reinterpret_cast<std::uintptr_t>(name));
    for (int i = 0; i < module->bitmapCount; ++i) {
        const BitmapResource& resource = module->bitmaps[i];
        if (resource.id != id || !resource.data) continue;
        const int depth = bitmapFileDepth(resource.data, resource.size);
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
