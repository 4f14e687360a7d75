// Drawing needs Qt's font database, so the tests run inside a (headless) application object.
// Run with --before-application, the binary instead makes fonts and draws before any
// application object exists, as static initialisation could, and reports how that went.
#include <QGuiApplication>
#include <cstring>
#include <gtest/gtest.h>

#include "platform/gdi/gdi_objects.h"

namespace {

int drawWithoutApplication() {
    LOGFONTW d{};
    d.lfHeight = 20;
    d.lfWeight = FW_BOLD;
    HFONT font = CreateFontIndirectW(&d);
    platform::Surface surface;
    surface.image = QImage(40, 20, QImage::Format_ARGB32_Premultiplied);
    surface.image.fill(Qt::transparent);
    HDC dc = platform::gdi::createSurfaceDC(&surface);
    SelectObject(dc, font);
    RECT r{0, 0, 40, 20};
    const int height = DrawTextW(dc, u"Wein", -1, &r, DT_LEFT);
    Rectangle(dc, 0, 0, 10, 10);
    const bool filled = GetPixel(dc, 5, 5) == RGB(255, 255, 255);
    platform::gdi::releaseSurfaceDC(dc);
    DeleteObject(font);
    std::printf("font %s, text height %d, rectangle %s\n", font ? "made" : "missing", height,
                filled ? "drawn" : "missing");
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc > 1 && std::strcmp(argv[1], "--before-application") == 0) return drawWithoutApplication();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
