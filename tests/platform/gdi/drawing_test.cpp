// What drawing calls leave on a window's pixels.
#include <gtest/gtest.h>

#include <QPainter>
#include <thread>

#include "gdi_test_support.h"
#include "platform/gdi/gdi_internal.h"

using gdi_test::inkBox;
using gdi_test::TestModule;
using gdi_test::TestSurface;
using platform::gdi::CLR_INVALID;

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

// ---- Rectangle ---------------------------------------------------------------------------

TEST(RectangleDrawing, NullPenAndWhiteBrushFillTheWholeRectangle) {
    TestSurface s;
    HPEN pen = CreatePen(PS_NULL, 1, 0x00BAFF00);
    HBRUSH brush = CreateSolidBrush(kWhite);
    HGDIOBJ oldPen = SelectObject(s.dc, pen);
    HGDIOBJ oldBrush = SelectObject(s.dc, brush);
    ASSERT_TRUE(Rectangle(s.dc, 10, 20, 40, 35));
    for (auto [x, y] : {std::pair{10, 20}, {39, 20}, {10, 34}, {39, 34}, {25, 27}})
        EXPECT_EQ(GetPixel(s.dc, x, y), kWhite) << x << "," << y;
    for (auto [x, y] : {std::pair{9, 20}, {40, 20}, {10, 19}, {10, 35}, {40, 35}})
        EXPECT_EQ(GetPixel(s.dc, x, y), CLR_INVALID) << x << "," << y;
    // The null pen's colour shows nowhere.
    EXPECT_FALSE(inkBox(s.image(), QColor(0x00, 0xFF, 0xBA), s.image().rect()).isValid());
    SelectObject(s.dc, oldBrush);
    SelectObject(s.dc, oldPen);
    DeleteObject(pen);
    DeleteObject(brush);
}

TEST(RectangleDrawing, OnePixelPenOutlinesTheEdgeAndBrushFillsInside) {
    TestSurface s;
    HPEN pen = CreatePen(PS_SOLID, 1, kBlack);
    HBRUSH brush = CreateSolidBrush(RGB(200, 30, 40));
    SelectObject(s.dc, pen);
    SelectObject(s.dc, brush);
    ASSERT_TRUE(Rectangle(s.dc, 5, 5, 25, 15));
    for (auto [x, y] : {std::pair{5, 5}, {24, 5}, {5, 14}, {24, 14}, {15, 5}, {15, 14}, {5, 10}, {24, 10}})
        EXPECT_EQ(GetPixel(s.dc, x, y), kBlack) << x << "," << y;
    for (auto [x, y] : {std::pair{6, 6}, {23, 13}, {15, 10}})
        EXPECT_EQ(GetPixel(s.dc, x, y), RGB(200, 30, 40)) << x << "," << y;
    EXPECT_EQ(GetPixel(s.dc, 25, 10), CLR_INVALID);
    EXPECT_EQ(GetPixel(s.dc, 15, 15), CLR_INVALID);
    SelectObject(s.dc, GetStockObject(BLACK_PEN));
    SelectObject(s.dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(pen);
    DeleteObject(brush);
}

TEST(RectangleDrawing, DefaultObjectsDrawBlackOutlineAndWhiteFill) {
    TestSurface s;
    ASSERT_TRUE(Rectangle(s.dc, 0, 0, 10, 10));
    EXPECT_EQ(GetPixel(s.dc, 0, 0), kBlack);
    EXPECT_EQ(GetPixel(s.dc, 5, 5), kWhite);
}

TEST(RectangleDrawing, NullBrushLeavesTheInsideAsItWas) {
    TestSurface s;
    HBRUSH green = CreateSolidBrush(RGB(0, 160, 0));
    RECT all{0, 0, 50, 50};
    FillRect(s.dc, &all, green);
    SelectObject(s.dc, GetStockObject(NULL_BRUSH));
    ASSERT_TRUE(Rectangle(s.dc, 10, 10, 20, 20));
    EXPECT_EQ(GetPixel(s.dc, 10, 10), kBlack);
    EXPECT_EQ(GetPixel(s.dc, 15, 15), RGB(0, 160, 0));
    DeleteObject(green);
}

TEST(RectangleDrawing, WiderPenDrawsThickerOutline) {
    TestSurface s;
    HPEN pen = CreatePen(PS_SOLID, 3, RGB(0, 0, 255));
    SelectObject(s.dc, pen);
    ASSERT_TRUE(Rectangle(s.dc, 20, 20, 60, 60));
    // Three pixels of pen across the left edge, centred on the edge's own column.
    EXPECT_EQ(GetPixel(s.dc, 19, 40), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(s.dc, 21, 40), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(s.dc, 22, 40), kWhite);
    EXPECT_EQ(GetPixel(s.dc, 18, 40), CLR_INVALID);
    SelectObject(s.dc, GetStockObject(BLACK_PEN));
    DeleteObject(pen);
}

TEST(RectangleDrawing, SwappedCornersDrawTheSameRectangle) {
    TestSurface a;
    TestSurface b;
    Rectangle(a.dc, 10, 10, 30, 25);
    Rectangle(b.dc, 30, 25, 10, 10);
    EXPECT_EQ(a.image(), b.image());
}

TEST(RectangleDrawing, UnknownDeviceContextFails) {
    int notADc = 0;
    EXPECT_FALSE(Rectangle(reinterpret_cast<HDC>(&notADc), 0, 0, 5, 5));
    EXPECT_FALSE(Rectangle(nullptr, 0, 0, 5, 5));
}

// ---- FillRect ----------------------------------------------------------------------------

TEST(FillRectDrawing, FillsLeftTopInclusiveRightBottomExclusiveWithoutPen) {
    TestSurface s;
    HBRUSH brush = CreateSolidBrush(RGB(10, 200, 90));
    RECT r{3, 4, 8, 9};
    EXPECT_NE(FillRect(s.dc, &r, brush), 0);
    EXPECT_EQ(GetPixel(s.dc, 3, 4), RGB(10, 200, 90));
    EXPECT_EQ(GetPixel(s.dc, 7, 8), RGB(10, 200, 90));
    EXPECT_EQ(GetPixel(s.dc, 8, 8), CLR_INVALID);
    EXPECT_EQ(GetPixel(s.dc, 7, 9), CLR_INVALID);
    EXPECT_EQ(GetPixel(s.dc, 2, 4), CLR_INVALID);
    DeleteObject(brush);
}

TEST(FillRectDrawing, UnknownBrushFailsAndDrawsNothing) {
    TestSurface s;
    RECT r{0, 0, 10, 10};
    int notABrush = 0;
    EXPECT_EQ(FillRect(s.dc, &r, reinterpret_cast<HBRUSH>(&notABrush)), 0);
    EXPECT_EQ(FillRect(s.dc, &r, nullptr), 0);
    EXPECT_FALSE(s.drawnAt(5, 5));
}

TEST(FillRectDrawing, WhiteBandsWipeWhatWasThere) {
    TestSurface s;
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT all{0, 0, 240, 200};
    FillRect(s.dc, &all, red);
    RECT band{75, 74, 231, 94};
    FillRect(s.dc, &band, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(GetPixel(s.dc, 75, 74), kWhite);
    EXPECT_EQ(GetPixel(s.dc, 230, 93), kWhite);
    EXPECT_EQ(GetPixel(s.dc, 231, 93), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(s.dc, 75, 94), RGB(255, 0, 0));
    DeleteObject(red);
}

// ---- DrawText ----------------------------------------------------------------------------

class TextDrawing : public ::testing::Test {
  protected:
    void SetUp() override {
        LOGFONTW d{};
        d.lfHeight = 13;
        d.lfWeight = FW_NORMAL;
        std::u16string face = u"Tahoma";
        std::copy(face.begin(), face.end(), d.lfFaceName);
        font = CreateFontIndirectW(&d);
        SelectObject(s.dc, font);
        SetBkMode(s.dc, TRANSPARENT);
    }
    void TearDown() override {
        SelectObject(s.dc, GetStockObject(13));
        DeleteObject(font);
    }
    int lineHeight() {
        TestSurface probe;
        SelectObject(probe.dc, font);
        RECT r{0, 0, 100, 100};
        return DrawTextW(probe.dc, u"X", -1, &r, DT_LEFT);
    }
    QRect ink(QRect area = QRect(0, 0, 240, 200)) { return inkBox(s.image(), Qt::black, area); }

    TestSurface s;
    HFONT font = nullptr;
};

TEST_F(TextDrawing, CentredLineSitsInTheMiddleOfTheRectangle) {
    RECT r{20, 10, 220, 60};
    DrawTextW(s.dc, u"Bordeaux", -1, &r, DT_CENTER);
    const QRect box = ink();
    ASSERT_TRUE(box.isValid());
    const int left = box.left() - 20;
    const int right = 219 - box.right();
    EXPECT_LE(std::abs(left - right), 3) << "left margin " << left << ", right margin " << right;
    EXPECT_GE(box.top(), 10);
}

TEST_F(TextDrawing, LeftAndRightAlignToTheirEdges) {
    RECT r{20, 10, 220, 60};
    DrawTextW(s.dc, u"Rosé", -1, &r, DT_LEFT);
    const QRect left = ink();
    ASSERT_TRUE(left.isValid());
    EXPECT_LE(left.left() - 20, 2);

    TestSurface t;
    SelectObject(t.dc, font);
    DrawTextW(t.dc, u"Rosé", -1, &r, DT_RIGHT);
    const QRect right = inkBox(t.image(), Qt::black, t.image().rect());
    ASSERT_TRUE(right.isValid());
    EXPECT_LE(219 - right.right(), 2);
    EXPECT_GT(right.left(), 150);
}

TEST_F(TextDrawing, EachLineIsCentredOnItsOwn) {
    RECT r{0, 0, 240, 100};
    const int h = DrawTextW(s.dc, u"i\nWeißburgunder", -1, &r, DT_CENTER);
    ASSERT_EQ(h, 2 * lineHeight());
    const QRect first = ink(QRect(0, 0, 240, h / 2));
    const QRect second = ink(QRect(0, h / 2, 240, h / 2));
    ASSERT_TRUE(first.isValid());
    ASSERT_TRUE(second.isValid());
    EXPECT_LT(first.width(), second.width() / 3);
    EXPECT_LE(std::abs(first.center().x() - second.center().x()), 3);
    EXPECT_LE(std::abs(first.center().x() - 120), 3);
}

TEST_F(TextDrawing, LineFeedAndItsPairsWithCarriageReturnAreOneBreakEach) {
    const int one = lineHeight();
    for (std::u16string text : {u"A\nB", u"A\n\rB", u"A\r\nB", u"A\rB"}) {
        TestSurface t;
        SelectObject(t.dc, font);
        RECT r{0, 0, 200, 200};
        EXPECT_EQ(DrawTextW(t.dc, text.c_str(), -1, &r, DT_LEFT), 2 * one);
        EXPECT_TRUE(inkBox(t.image(), Qt::black, QRect(0, 0, 200, one)).isValid());
        EXPECT_TRUE(inkBox(t.image(), Qt::black, QRect(0, one, 200, one)).isValid());
        EXPECT_FALSE(inkBox(t.image(), Qt::black, QRect(0, 2 * one, 200, 100)).isValid());
    }
}

TEST_F(TextDrawing, TwoBreaksInARowLeaveAnEmptyLine) {
    const int one = lineHeight();
    RECT r{0, 0, 200, 200};
    EXPECT_EQ(DrawTextW(s.dc, u"Rosé, Lambrusco\n\r\n\r7°C-10°C", -1, &r, DT_CENTER), 3 * one);
    EXPECT_TRUE(ink(QRect(0, 0, 200, one)).isValid());
    EXPECT_FALSE(ink(QRect(0, one + 1, 200, one - 2)).isValid());
    EXPECT_TRUE(ink(QRect(0, 2 * one, 200, one)).isValid());
}

TEST_F(TextDrawing, TextIsClippedToTheRectangle) {
    RECT r{90, 40, 130, 60};
    DrawTextW(s.dc, u"Bester weißer Burgunder,\nPort, Madeira\nChianti\nZinfandel", -1, &r, DT_CENTER);
    const QRect box = ink();
    ASSERT_TRUE(box.isValid());
    EXPECT_TRUE(QRect(90, 40, 40, 20).contains(box))
        << box.x() << "," << box.y() << " " << box.width() << "x" << box.height();
}

// A line a few percent wider than its box is drawn narrower, from the box's left edge to its
// right one; a line far wider is drawn as it is and cut at the right edge, pixel for pixel what
// the unclipped line shows there.
TEST_F(TextDrawing, ALineSlightlyTooWideIsNarrowedToFitAndAFarWiderOneIsCut) {
    const std::u16string line = u"Wein aus der Liste unterhalb";
    RECT wide{10, 0, 240, 40};
    DrawTextW(s.dc, line.c_str(), -1, &wide, DT_LEFT);
    const QImage natural = s.image();
    const QRect naturalInk = ink();
    ASSERT_TRUE(naturalInk.isValid());
    const int width = naturalInk.right() + 1 - 10;
    for (const double share : {0.97, 0.92, 0.8, 0.6}) {
        TestSurface t;
        SelectObject(t.dc, font);
        SetBkMode(t.dc, TRANSPARENT);
        const int boxWidth = static_cast<int>(width * share);
        RECT r{10, 0, 10 + boxWidth, 40};
        DrawTextW(t.dc, line.c_str(), -1, &r, DT_LEFT);
        const QImage drawn = t.image();
        const QRect box(10, 0, boxWidth, 40);
        const QRect shown = inkBox(drawn, Qt::black, drawn.rect());
        ASSERT_TRUE(shown.isValid()) << share;
        EXPECT_TRUE(box.contains(shown)) << share;
        EXPECT_GE(shown.right(), box.right() - 3) << share << ": the line reaches the right edge";
        const bool narrowed = platform::gdi::fittingSqueeze(width, boxWidth) < 1.0;
        EXPECT_EQ(narrowed, share > 0.9) << share;
        EXPECT_EQ(drawn.copy(box) == natural.copy(box), !narrowed) << share;
    }
}

TEST_F(TextDrawing, NoClipLetsTextRunPastTheRectangle) {
    RECT r{90, 40, 130, 45};
    DrawTextW(s.dc, u"Bester weißer Burgunder,\nPort, Madeira", -1, &r, DT_CENTER | DT_NOCLIP);
    const QRect box = ink();
    ASSERT_TRUE(box.isValid());
    EXPECT_LT(box.left(), 90);
    EXPECT_GT(box.right(), 130);
    EXPECT_GT(box.bottom(), 45);
}

TEST_F(TextDrawing, BottomAboveTopShowsNothing) {
    // The scroll's first frames: the text rectangle's bottom lies above its top.
    RECT r{90, 128, 225, 119};
    DrawTextW(s.dc, u"Tippen Sie auf die\n\reinzelnen Bereiche des", -1, &r, DT_CENTER);
    SetBkMode(s.dc, OPAQUE);
    DrawTextW(s.dc, u"Tippen Sie auf die\n\reinzelnen Bereiche des", -1, &r, DT_CENTER);
    EXPECT_FALSE(s.image().isNull());
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 240; ++x)
            ASSERT_FALSE(s.drawnAt(x, y)) << x << "," << y;
}

TEST_F(TextDrawing, TextColourIsUsed) {
    SetTextColor(s.dc, RGB(0, 0, 255));
    RECT r{0, 0, 200, 50};
    DrawTextW(s.dc, u"Weißwein", -1, &r, DT_LEFT);
    EXPECT_TRUE(inkBox(s.image(), QColor(0, 0, 255), s.image().rect()).isValid());
    EXPECT_FALSE(ink().isValid());
}

TEST_F(TextDrawing, OpaqueModeFillsBehindTheTextWithTheBackgroundColour) {
    SetBkMode(s.dc, OPAQUE);
    SetBkColor(s.dc, RGB(255, 255, 0));
    RECT r{10, 10, 200, 50};
    DrawTextW(s.dc, u"Sherry", -1, &r, DT_LEFT);
    EXPECT_EQ(GetPixel(s.dc, 10, 10), RGB(255, 255, 0));
    EXPECT_FALSE(s.drawnAt(150, 12));

    TestSurface t;
    SelectObject(t.dc, font);
    SetBkMode(t.dc, TRANSPARENT);
    SetBkColor(t.dc, RGB(255, 255, 0));
    DrawTextW(t.dc, u"Sherry", -1, &r, DT_LEFT);
    EXPECT_FALSE(inkBox(t.image(), QColor(255, 255, 0), t.image().rect()).isValid());
}

TEST_F(TextDrawing, LengthLimitsTheCharactersDrawn) {
    RECT r{0, 0, 240, 50};
    DrawTextW(s.dc, u"WWWWWWWWWW", 2, &r, DT_LEFT);
    const QRect two = ink();
    TestSurface t;
    SelectObject(t.dc, font);
    DrawTextW(t.dc, u"WWWWWWWWWW", -1, &r, DT_LEFT);
    const QRect ten = inkBox(t.image(), Qt::black, t.image().rect());
    ASSERT_TRUE(two.isValid());
    EXPECT_GT(ten.width(), 3 * two.width());
}

TEST_F(TextDrawing, SingleLineIgnoresBreaks) {
    RECT r{0, 0, 240, 100};
    EXPECT_EQ(DrawTextW(s.dc, u"A\nB", -1, &r, DT_SINGLELINE), lineHeight());
}

// ---- BitBlt --------------------------------------------------------------------------------

// A bitmap whose every row has its own colour: red = row, green = 255 - row, blue = column.
QImage rowCodedImage(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, qRgb(y, 255 - y, x));
    return image;
}

class BlockCopy : public ::testing::Test {
  protected:
    void SetUp() override {
        module.addBitmap(146, gdi_test::bmpFile(rowCodedImage(160, 123), QImage::Format_RGB888));
        bitmap = LoadBitmapW(module.handle(), MAKEINTRESOURCEW(146));
        ASSERT_NE(bitmap, nullptr);
        memory = CreateCompatibleDC(s.dc);
        ASSERT_NE(memory, nullptr);
        previous = SelectObject(memory, bitmap);
        ASSERT_NE(previous, nullptr);
    }
    void TearDown() override {
        SelectObject(memory, previous);
        DeleteDC(memory);
        DeleteObject(bitmap);
    }
    TestModule module;
    TestSurface s{240, 268};
    HBITMAP bitmap = nullptr;
    HDC memory = nullptr;
    HGDIOBJ previous = nullptr;
};

TEST_F(BlockCopy, CopiesTheWholeBitmapAtAPosition) {
    ASSERT_TRUE(BitBlt(s.dc, 75, 65, 160, 123, memory, 0, 0, SRCCOPY));
    EXPECT_EQ(GetPixel(s.dc, 75, 65), RGB(0, 255, 0));
    EXPECT_EQ(GetPixel(s.dc, 234, 65), RGB(0, 255, 159));
    EXPECT_EQ(GetPixel(s.dc, 75, 187), RGB(122, 133, 0));
    EXPECT_EQ(GetPixel(s.dc, 74, 100), CLR_INVALID);
    EXPECT_EQ(GetPixel(s.dc, 235, 100), CLR_INVALID);
    EXPECT_EQ(GetPixel(s.dc, 100, 64), CLR_INVALID);
    EXPECT_EQ(GetPixel(s.dc, 100, 188), CLR_INVALID);
}

TEST_F(BlockCopy, SourceOffsetPicksTheRowsFromThere) {
    // The scroll's paper at half-opening T: rows from 100 - 2T, drawn from y = 115 - T.
    for (int t : {-8, 1, 25, 50}) {
        TestSurface d{240, 268};
        const int firstRow = 100 - 2 * t;
        ASSERT_TRUE(BitBlt(d.dc, 75, 115 - t, 160, 123 - firstRow, memory, 0, firstRow, SRCCOPY));
        EXPECT_EQ(GetPixel(d.dc, 80, 115 - t), RGB(firstRow, 255 - firstRow, 5)) << "T " << t;
        EXPECT_EQ(GetPixel(d.dc, 80, 137 + t), RGB(122, 133, 5)) << "T " << t;
        EXPECT_EQ(GetPixel(d.dc, 80, 114 - t), CLR_INVALID) << "T " << t;
        EXPECT_EQ(GetPixel(d.dc, 80, 138 + t), CLR_INVALID) << "T " << t;
    }
}

TEST_F(BlockCopy, NothingOutsideTheSourcePixelsIsCopied) {
    HBRUSH grey = CreateSolidBrush(RGB(90, 90, 90));
    RECT all{0, 0, 240, 268};
    FillRect(s.dc, &all, grey);
    // Asked for more rows than there are below row 100.
    ASSERT_TRUE(BitBlt(s.dc, 75, 100, 160, 100, memory, 0, 100, SRCCOPY));
    EXPECT_EQ(GetPixel(s.dc, 75, 100), RGB(100, 155, 0));
    EXPECT_EQ(GetPixel(s.dc, 75, 122), RGB(122, 133, 0));
    EXPECT_EQ(GetPixel(s.dc, 75, 123), RGB(90, 90, 90));
    EXPECT_EQ(GetPixel(s.dc, 75, 199), RGB(90, 90, 90));
    DeleteObject(grey);
}

TEST_F(BlockCopy, OnlySourceCopyIsKnown) {
    EXPECT_FALSE(BitBlt(s.dc, 0, 0, 10, 10, memory, 0, 0, 0x00EE0086 /* SRCPAINT */));
    EXPECT_FALSE(s.drawnAt(0, 0));
}

TEST_F(BlockCopy, DrawingIntoAMemoryContextChangesItsBitmap) {
    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
    RECT r{0, 0, 4, 4};
    FillRect(memory, &r, blue);
    EXPECT_EQ(GetPixel(memory, 3, 3), RGB(0, 0, 255));
    BitBlt(s.dc, 10, 10, 8, 8, memory, 0, 0, SRCCOPY);
    EXPECT_EQ(GetPixel(s.dc, 13, 13), RGB(0, 0, 255));
    EXPECT_EQ(GetPixel(s.dc, 14, 14), RGB(4, 251, 4)); // the bitmap's own pixel at 4,4
    DeleteObject(blue);
}

TEST_F(BlockCopy, CopyWithinOneSurfaceDoesNotDeadlock) {
    BitBlt(s.dc, 0, 0, 160, 123, memory, 0, 0, SRCCOPY);
    ASSERT_TRUE(BitBlt(s.dc, 50, 150, 20, 20, s.dc, 0, 10, SRCCOPY));
    EXPECT_EQ(GetPixel(s.dc, 50, 150), RGB(10, 245, 0));
}

// ---- Reading pixels ----------------------------------------------------------------------

TEST(PixelReading, OutsideTheWindowIsInvalid) {
    TestSurface s{20, 20};
    Rectangle(s.dc, 0, 0, 20, 20);
    EXPECT_EQ(GetPixel(s.dc, 20, 5), CLR_INVALID);
    EXPECT_EQ(GetPixel(s.dc, -1, 5), CLR_INVALID);
    EXPECT_EQ(GetPixel(s.dc, 19, 19), kBlack);
}

// ---- Device contexts of a window -----------------------------------------------------------

TEST(WindowDeviceContext, ReleasingAsksTheWindowToRepaintOnce) {
    platform::Surface surface;
    surface.image = QImage(10, 10, QImage::Format_ARGB32_Premultiplied);
    surface.image.fill(Qt::transparent);
    int repaints = 0;
    surface.repaint = [&] { ++repaints; };
    HDC dc = platform::gdi::createSurfaceDC(&surface);
    ASSERT_NE(dc, nullptr);
    Rectangle(dc, 0, 0, 5, 5);
    EXPECT_EQ(repaints, 0);
    EXPECT_TRUE(platform::gdi::releaseSurfaceDC(dc));
    EXPECT_EQ(repaints, 1);
    EXPECT_FALSE(platform::gdi::releaseSurfaceDC(dc)); // already released
    EXPECT_FALSE(Rectangle(dc, 0, 0, 5, 5));
    EXPECT_EQ(repaints, 1);
}

TEST(WindowDeviceContext, DrawingAfterTheWindowIsGoneDoesNothing) {
    platform::Surface surface;
    surface.image = QImage(10, 10, QImage::Format_ARGB32_Premultiplied);
    surface.image.fill(Qt::transparent);
    platform::Surface* live = &surface;
    HDC dc = platform::gdi::createSurfaceDC([&live] { return live; });
    ASSERT_NE(dc, nullptr);
    live = nullptr;
    EXPECT_FALSE(Rectangle(dc, 0, 0, 5, 5));
    EXPECT_EQ(GetPixel(dc, 1, 1), CLR_INVALID);
    EXPECT_TRUE(platform::gdi::releaseSurfaceDC(dc));
    EXPECT_EQ(qAlpha(surface.image.pixel(1, 1)), 0);
}

TEST(WindowDeviceContext, NoSurfaceGivesNoContext) {
    EXPECT_EQ(platform::gdi::createSurfaceDC(static_cast<platform::Surface*>(nullptr)), nullptr);
}

TEST(WindowDeviceContext, ReleasedWithDeleteDCToo) {
    TestSurface s;
    HDC dc = platform::gdi::createSurfaceDC(&s.surface);
    EXPECT_TRUE(DeleteDC(dc));
    EXPECT_EQ(s.repaints, 1);
    EXPECT_FALSE(DeleteDC(dc));
}

// A worker draws the frames of an animation while the interface thread paints the window from
// the same pixels, as the widget does; every frame the reader sees is whole.
TEST(WindowDeviceContext, WorkerThreadDrawsWhileTheInterfaceThreadReads) {
    TestSurface s{60, 40};
    TestModule module;
    QImage red(60, 40, QImage::Format_RGB32);
    red.fill(qRgb(255, 0, 0));
    QImage blue(60, 40, QImage::Format_RGB32);
    blue.fill(qRgb(0, 0, 255));
    module.addBitmap(1, gdi_test::bmpFile(red, QImage::Format_RGB888));
    module.addBitmap(2, gdi_test::bmpFile(blue, QImage::Format_RGB888));

    std::atomic<int> frames{0};
    std::thread worker([&] {
        for (int i = 0; i < 200; ++i) {
            HDC dc = platform::gdi::createSurfaceDC(&s.surface);
            HBITMAP frame = LoadBitmapW(module.handle(), MAKEINTRESOURCEW(1 + i % 2));
            HDC memory = CreateCompatibleDC(dc);
            HGDIOBJ old = SelectObject(memory, frame);
            BitBlt(dc, 0, 0, 60, 40, memory, 0, 0, SRCCOPY);
            SelectObject(memory, old);
            DeleteDC(memory);
            DeleteObject(frame);
            platform::gdi::releaseSurfaceDC(dc);
            ++frames;
        }
    });
    int mixed = 0;
    while (frames < 200) {
        {
            std::lock_guard<std::mutex> lock(s.surface.mutex);
            const QRgb first = s.surface.image.pixel(0, 0);
            const QRgb last = s.surface.image.pixel(59, 39);
            if (qAlpha(first) != 0 && first != last) ++mixed;
        }
        std::this_thread::yield();
    }
    worker.join();
    EXPECT_EQ(frames, 200);
    EXPECT_EQ(mixed, 0);
    EXPECT_EQ(s.repaints, 200);
    const QRgb final = s.image().pixel(30, 20);
    EXPECT_EQ(final, qRgb(0, 0, 255));
}

} // namespace
