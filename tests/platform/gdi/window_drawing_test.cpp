// Drawing through real windows: what a device context draws shows in the window's widget.
#include <gtest/gtest.h>

#include <QBuffer>
#include <atomic>
#include <thread>

#include "platform/testing/driver.h"
#include "platform/win32.h"

namespace {

constexpr int kTemplate = 950;
constexpr int kCanvas = 10;
constexpr int kOwnerDrawn = 11;
constexpr int kPicture = 12;
constexpr int kFrameA = 960;
constexpr int kFrameB = 961;

std::vector<unsigned char> solidBmp(int width, int height, QRgb color) {
    QImage image(width, height, QImage::Format_RGB888);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "BMP");
    return std::vector<unsigned char>(bytes.begin(), bytes.end());
}

const std::vector<unsigned char>& frameA() {
    static const auto bytes = solidBmp(40, 30, qRgb(200, 0, 40));
    return bytes;
}
const std::vector<unsigned char>& frameB() {
    static const auto bytes = solidBmp(40, 30, qRgb(0, 90, 200));
    return bytes;
}

const DLGITEMTEMPLATE kItems[] = {
    {kCanvas, u"STATIC", u"", 0, SS_LEFT | WS_VISIBLE, 0, 5, 5, 80, 40},
    {kOwnerDrawn, u"BUTTON", nullptr, 0, BS_OWNERDRAW | WS_VISIBLE | WS_TABSTOP, 0, 5, 60, 80, 20},
    {kPicture, u"STATIC", nullptr, kFrameA, SS_BITMAP | WS_VISIBLE, 0, 90, 5, 40, 30},
};
const DLGTEMPLATE kDialog = {kTemplate,
                             WS_POPUP | WS_CAPTION | DS_SETFONT,
                             u"Zeichnen",
                             u"Tahoma",
                             8,
                             150,
                             120,
                             kItems,
                             static_cast<int>(sizeof kItems / sizeof kItems[0])};
const DLGTEMPLATE* const kDialogs[] = {&kDialog};

HINSTANCE testModule() {
    static const BitmapResource bitmaps[] = {
        {kFrameA, frameA().data(), frameA().size()},
        {kFrameB, frameB().data(), frameB().size()},
    };
    static const HINSTANCE__ module{kDialogs, 1, bitmaps, 2, nullptr, 0};
    return &module;
}

COLORREF ownerDrawColor = RGB(0, 170, 60);

// The main menu's way of painting its row buttons, in a colour a test can see.
INT_PTR DrawingProc(HWND, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_DRAWITEM || wParam != static_cast<WPARAM>(kOwnerDrawn)) return 0;
    const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    HPEN pen = CreatePen(PS_NULL, 1, 0x00BAFF00);
    HGDIOBJ oldPen = SelectObject(item->hDC, pen);
    HBRUSH brush = CreateSolidBrush(ownerDrawColor);
    HGDIOBJ oldBrush = SelectObject(item->hDC, brush);
    Rectangle(item->hDC, item->rcItem.left, item->rcItem.top, item->rcItem.right, item->rcItem.bottom);
    SelectObject(item->hDC, oldBrush);
    SelectObject(item->hDC, oldPen);
    DeleteObject(pen);
    DeleteObject(brush);
    return 1;
}

bool sameColor(QColor a, COLORREF b) {
    return a.red() == GetRValue(b) && a.green() == GetGValue(b) && a.blue() == GetBValue(b);
}

class WindowDrawing : public ::testing::Test {
  protected:
    void SetUp() override {
        dialog = driver.open(testModule(), kTemplate, DrawingProc);
        ASSERT_NE(dialog, nullptr);
        canvas = GetDlgItem(dialog, kCanvas);
        ASSERT_NE(canvas, nullptr);
        driver.pump(20);
    }
    platform::testing::Driver driver;
    HWND dialog = nullptr;
    HWND canvas = nullptr;
};

TEST_F(WindowDrawing, WhatAContextDrawsShowsInTheWindow) {
    HDC dc = GetDC(canvas);
    ASSERT_NE(dc, nullptr);
    HBRUSH red = CreateSolidBrush(RGB(220, 0, 0));
    RECT r{0, 0, 20, 10};
    FillRect(dc, &r, red);
    EXPECT_EQ(ReleaseDC(canvas, dc), 1);
    DeleteObject(red);
    driver.pump(30);
    EXPECT_TRUE(sameColor(driver.pixel(canvas, 5, 5), RGB(220, 0, 0)));
    EXPECT_TRUE(sameColor(driver.pixel(canvas, 19, 9), RGB(220, 0, 0)));
    EXPECT_FALSE(sameColor(driver.pixel(canvas, 25, 5), RGB(220, 0, 0)));
}

TEST_F(WindowDrawing, OwnerDrawnButtonIsCoveredByItsDialogsRectangle) {
    HWND button = GetDlgItem(dialog, kOwnerDrawn);
    driver.pump(30);
    RECT client{};
    ASSERT_TRUE(GetClientRect(button, &client));
    ASSERT_GT(client.right, 2);
    for (auto [x, y] :
         {std::pair{0, 0}, {client.right - 1, client.bottom - 1}, {client.right / 2, client.bottom / 2}})
        EXPECT_TRUE(sameColor(driver.pixel(button, x, y), ownerDrawColor)) << x << "," << y;
}

TEST_F(WindowDrawing, BitmapCopiedToTheTopLeftOfAControl) {
    HDC dc = GetDC(canvas);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP frame = LoadBitmapW(testModule(), MAKEINTRESOURCEW(kFrameB));
    HGDIOBJ old = SelectObject(memory, frame);
    ASSERT_TRUE(BitBlt(dc, 0, 0, 40, 30, memory, 0, 0, SRCCOPY));
    SelectObject(memory, old);
    DeleteDC(memory);
    DeleteObject(frame);
    ReleaseDC(canvas, dc);
    driver.pump(30);
    EXPECT_TRUE(sameColor(driver.pixel(canvas, 0, 0), RGB(0, 90, 200)));
    EXPECT_TRUE(sameColor(driver.pixel(canvas, 39, 29), RGB(0, 90, 200)));
}

TEST_F(WindowDrawing, TextDrawnWithASelectedFontShows) {
    HDC dc = GetDC(canvas);
    LOGFONTW d{};
    d.lfHeight = 20;
    d.lfWeight = FW_BOLD;
    std::u16string face = u"Tahoma";
    std::copy(face.begin(), face.end(), d.lfFaceName);
    HFONT font = CreateFontIndirectW(&d);
    HGDIOBJ old = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(0, 0, 160));
    RECT r{0, 0, 100, 40};
    DrawTextW(dc, u"WWW", -1, &r, DT_LEFT);
    SelectObject(dc, old);
    DeleteObject(font);
    ReleaseDC(canvas, dc);
    driver.pump(30);
    const QImage shown = driver.grab(canvas);
    int inked = 0;
    for (int y = 0; y < 20 && y < shown.height(); ++y)
        for (int x = 0; x < 40 && x < shown.width(); ++x) {
            const QColor c = shown.pixelColor(x, y);
            if (c.blue() > 100 && c.red() < 60 && c.green() < 60) ++inked;
        }
    EXPECT_GT(inked, 20);
}

TEST_F(WindowDrawing, NoWindowNoContext) {
    EXPECT_EQ(GetDC(nullptr), nullptr);
    int notAWindow = 0;
    EXPECT_EQ(GetDC(reinterpret_cast<HWND>(&notAWindow)), nullptr);
}

TEST_F(WindowDrawing, ContextOutlivingItsWindowDrawsNothingAndDoesNotCrash) {
    HDC dc = GetDC(canvas);
    ASSERT_NE(dc, nullptr);
    driver.close(dialog);
    EXPECT_FALSE(IsWindow(canvas));
    RECT r{0, 0, 5, 5};
    EXPECT_EQ(FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))), 0);
    EXPECT_FALSE(Rectangle(dc, 0, 0, 4, 4));
    EXPECT_EQ(ReleaseDC(canvas, dc), 1);
    EXPECT_EQ(GetDC(canvas), nullptr);
    dialog = nullptr;
}

// The wait animation's way: a worker takes the control's context for every frame while the
// interface thread keeps painting the window.
TEST_F(WindowDrawing, WorkerThreadDrawsFramesWhileTheWindowPaints) {
    std::atomic<int> drawn{0};
    std::thread worker([&] {
        for (int i = 0; i < 24; ++i) {
            HDC dc = GetDC(canvas);
            if (!dc) break;
            HBITMAP frame = LoadBitmapW(testModule(), MAKEINTRESOURCEW(i % 2 ? kFrameB : kFrameA));
            HDC memory = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(memory, frame);
            BitBlt(dc, 0, 0, 40, 30, memory, 0, 0, SRCCOPY);
            SelectObject(memory, old);
            DeleteDC(memory);
            DeleteObject(frame);
            ReleaseDC(canvas, dc);
            ++drawn;
            std::this_thread::sleep_for(std::chrono::milliseconds(3));
        }
    });
    EXPECT_TRUE(driver.waitFor([&] { return drawn.load() == 24; }, 10000));
    worker.join();
    driver.pump(30);
    EXPECT_EQ(drawn.load(), 24);
    // The last frame drawn was the blue one.
    EXPECT_TRUE(sameColor(driver.pixel(canvas, 10, 10), RGB(0, 90, 200)));
}

} // namespace
