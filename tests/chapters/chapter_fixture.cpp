#include "tests/chapters/chapter_fixture.h"

#include "app/global_objects.h"
#include "screen/application.h"
#include "platform/win32.h"

void ChapterScreenTest::SetUp() {
    createGlobalObjects();
    g_application->instance = talvinoModule();
    g_application->mainWindow = nullptr;
}

std::vector<std::u16string> rowsOf(const TextRows& rows) {
    std::vector<std::u16string> out;
    for (int i = 0; i < rows.count; ++i)
        out.emplace_back(rows.rows[i]);
    return out;
}

std::vector<int> blankPositions(const std::vector<std::u16string>& rows) {
    std::vector<int> out;
    for (std::size_t i = 0; i < rows.size(); ++i)
        if (rows[i].empty() || rows[i] == u" ") out.push_back(static_cast<int>(i) + 1);
    return out;
}

QImage resourceBitmap(int id) {
    const HINSTANCE module = talvinoModule();
    for (int i = 0; i < module->bitmapCount; ++i) {
        const BitmapResource& bitmap = module->bitmaps[i];
        if (bitmap.id == id)
            return QImage::fromData(bitmap.data, static_cast<int>(bitmap.size), "BMP")
                .convertToFormat(QImage::Format_RGB32);
    }
    return QImage();
}

std::u16string resourceString(int id) {
    char16_t buffer[2000] = {};
    LoadStringW(talvinoModule(), static_cast<UINT>(id), buffer, 2000);
    return buffer;
}

LOGFONTW fontOf(HWND control) {
    LOGFONTW description{};
    const HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
    if (font) GetObjectW(font, sizeof description, &description);
    return description;
}

std::u16string faceOf(const LOGFONTW& font) {
    return std::u16string(font.lfFaceName);
}
