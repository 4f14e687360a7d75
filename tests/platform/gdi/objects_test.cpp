// Fonts, pens, brushes and their handles; the state a device context keeps.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QFontInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include "gdi_test_support.h"
#include "platform/gdi/gdi_internal.h"

using gdi_test::TestSurface;
using platform::gdi::CLR_INVALID;

namespace {

constexpr int kNullPen = 8; // NULL_PEN, which the program itself does not use

LOGFONTW description(LONG height, LONG weight, std::u16string face) {
    LOGFONTW d{};
    d.lfHeight = height;
    d.lfWeight = weight;
    std::copy(face.begin(), face.end(), d.lfFaceName);
    return d;
}

bool tahomaInstalled() {
    return QFile::exists(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"));
}

// ---- Selecting objects ---------------------------------------------------------------------

TEST(ObjectSelection, FirstSelectionReturnsTheStockDefaults) {
    TestSurface s;
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    HBRUSH brush = CreateSolidBrush(RGB(4, 5, 6));
    EXPECT_EQ(SelectObject(s.dc, pen), GetStockObject(BLACK_PEN));
    EXPECT_EQ(SelectObject(s.dc, brush), GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(SelectObject(s.dc, GetStockObject(NULL_BRUSH)), brush);
    EXPECT_EQ(SelectObject(s.dc, GetStockObject(BLACK_PEN)), pen);
    DeleteObject(pen);
    DeleteObject(brush);
}

TEST(ObjectSelection, EachKindKeepsItsOwnPreviousObject) {
    TestSurface s;
    LOGFONTW d = description(14, FW_BOLD, u"Tahoma");
    HFONT first = CreateFontIndirectW(&d);
    HFONT second = CreateFontIndirectW(&d);
    HBRUSH brush = CreateSolidBrush(RGB(9, 9, 9));
    const HGDIOBJ stockFont = SelectObject(s.dc, first);
    EXPECT_NE(stockFont, nullptr);
    SelectObject(s.dc, brush);
    EXPECT_EQ(SelectObject(s.dc, second), first);
    EXPECT_EQ(SelectObject(s.dc, stockFont), second);
    EXPECT_EQ(SelectObject(s.dc, GetStockObject(WHITE_BRUSH)), brush);
    for (HGDIOBJ o : {first, second, brush})
        DeleteObject(o);
}

TEST(ObjectSelection, BitmapsGoOnlyIntoMemoryContexts) {
    TestSurface s;
    gdi_test::TestModule module;
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    module.addBitmap(7, gdi_test::bmpFile(image, QImage::Format_RGB888));
    HBITMAP bitmap = LoadBitmapW(module.handle(), MAKEINTRESOURCEW(7));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(SelectObject(s.dc, bitmap), nullptr);
    HDC memory = CreateCompatibleDC(s.dc);
    HGDIOBJ initial = SelectObject(memory, bitmap);
    ASSERT_NE(initial, nullptr);
    EXPECT_EQ(SelectObject(memory, initial), bitmap);
    DeleteDC(memory);
    DeleteObject(bitmap);
}

TEST(ObjectSelection, UnknownHandlesSelectNothing) {
    TestSurface s;
    int notAnObject = 0;
    EXPECT_EQ(SelectObject(s.dc, reinterpret_cast<HGDIOBJ>(&notAnObject)), nullptr);
    EXPECT_EQ(SelectObject(s.dc, nullptr), nullptr);
    EXPECT_EQ(SelectObject(reinterpret_cast<HDC>(&notAnObject), GetStockObject(BLACK_PEN)), nullptr);
    // The context still has its defaults.
    EXPECT_EQ(SelectObject(s.dc, GetStockObject(NULL_BRUSH)), GetStockObject(WHITE_BRUSH));
}

// ---- Deleting objects ------------------------------------------------------------------------

TEST(ObjectDeletion, UnknownOrDeadHandlesAreRefused) {
    int notAnObject = 0;
    EXPECT_FALSE(DeleteObject(nullptr));
    EXPECT_FALSE(DeleteObject(reinterpret_cast<HGDIOBJ>(&notAnObject)));
    HBRUSH brush = CreateSolidBrush(RGB(1, 1, 1));
    EXPECT_TRUE(DeleteObject(brush));
    EXPECT_FALSE(DeleteObject(brush));
    EXPECT_FALSE(platform::gdi::brushColor(brush).has_value());
}

TEST(ObjectDeletion, StockObjectsSurviveDeletion) {
    HGDIOBJ white = GetStockObject(WHITE_BRUSH);
    EXPECT_TRUE(DeleteObject(white));
    EXPECT_EQ(GetStockObject(WHITE_BRUSH), white);
    EXPECT_EQ(platform::gdi::brushColor(white), QColor(Qt::white));
    TestSurface s;
    SelectObject(s.dc, GetStockObject(kNullPen));
    Rectangle(s.dc, 0, 0, 4, 4);
    EXPECT_EQ(GetPixel(s.dc, 0, 0), RGB(255, 255, 255));
}

TEST(ObjectDeletion, DeletingASelectedObjectKeepsTheContextDrawing) {
    TestSurface s;
    HBRUSH brush = CreateSolidBrush(RGB(0, 200, 0));
    HGDIOBJ old = SelectObject(s.dc, brush);
    EXPECT_TRUE(DeleteObject(brush));
    ASSERT_TRUE(Rectangle(s.dc, 0, 0, 10, 10));
    EXPECT_EQ(GetPixel(s.dc, 5, 5), RGB(0, 200, 0));
    // Selecting something else hands back the deleted handle, which then selects nothing.
    EXPECT_EQ(SelectObject(s.dc, old), brush);
    EXPECT_EQ(SelectObject(s.dc, brush), nullptr);
    Rectangle(s.dc, 20, 20, 30, 30);
    EXPECT_EQ(GetPixel(s.dc, 25, 25), RGB(255, 255, 255));
}

// ---- Brushes and pens ----------------------------------------------------------------------

TEST(Brushes, SolidBrushKnowsItsColourAndTheNullBrushHasNone) {
    HBRUSH brush = CreateSolidBrush(RGB(0x12, 0x34, 0x56));
    EXPECT_EQ(platform::gdi::brushColor(brush), QColor(0x12, 0x34, 0x56));
    EXPECT_FALSE(platform::gdi::brushColor(GetStockObject(NULL_BRUSH)).has_value());
    EXPECT_EQ(platform::gdi::brushColor(GetStockObject(BLACK_BRUSH)), QColor(Qt::black));
    EXPECT_FALSE(platform::gdi::brushColor(nullptr).has_value());
    DeleteObject(brush);
}

TEST(Brushes, APenIsNotABrush) {
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    EXPECT_FALSE(platform::gdi::brushColor(pen).has_value());
    TestSurface s;
    RECT r{0, 0, 5, 5};
    EXPECT_EQ(FillRect(s.dc, &r, pen), 0);
    DeleteObject(pen);
}

TEST(Pens, OnlySolidAndNullStylesAreMade) {
    EXPECT_EQ(CreatePen(1 /* PS_DASH */, 1, 0), nullptr);
    HPEN null = CreatePen(PS_NULL, 1, 0x00BAFF00);
    EXPECT_NE(null, nullptr);
    DeleteObject(null);
}

TEST(StockObjects, UnknownNumbersGiveNothing) {
    EXPECT_EQ(GetStockObject(999), nullptr);
    EXPECT_NE(GetStockObject(BLACK_PEN), nullptr);
    EXPECT_NE(GetStockObject(NULL_BRUSH), GetStockObject(WHITE_BRUSH));
}

// ---- Fonts -----------------------------------------------------------------------------------

// DrawText spaces lines by the cell height, so one line's height is what was asked for.
int lineHeightOf(HFONT font) {
    TestSurface s;
    SelectObject(s.dc, font);
    RECT r{0, 0, 100, 100};
    return DrawTextW(s.dc, u"X", -1, &r, DT_LEFT);
}

TEST(Fonts, PositiveHeightIsTheCellHeight) {
    for (LONG height : {11, 13, 14, 15, 20}) {
        LOGFONTW d = description(height, FW_NORMAL, u"Tahoma");
        HFONT font = CreateFontIndirectW(&d);
        EXPECT_NEAR(lineHeightOf(font), height, 1) << "height " << height;
        // The characters are smaller than the cell by the internal leading.
        EXPECT_LT(platform::gdi::fontOf(font).pixelSize(), height) << "height " << height;
        DeleteObject(font);
    }
}

TEST(Fonts, NegativeHeightIsTheCharacterHeight) {
    LOGFONTW d = description(-12, FW_NORMAL, u"Tahoma");
    HFONT font = CreateFontIndirectW(&d);
    EXPECT_EQ(platform::gdi::fontOf(font).pixelSize(), 12);
    EXPECT_GT(lineHeightOf(font), 12);
    DeleteObject(font);
}

// The darkness of a text drawn black on white at a device scale, in pixels of full black at scale 1.
double inkOf(HFONT font, const QString& text, int scale) {
    QImage image(300 * scale, 40 * scale, QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        painter.setFont(platform::gdi::fontOf(font));
        painter.setPen(Qt::black);
        painter.drawText(QPointF(4, 28), text);
    }
    double ink = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            ink += 255 - qGray(image.pixel(x, y));
    return ink / 255.0 / (scale * scale);
}

TEST(Fonts, BoldHasAThirdMoreInkThanRegularAtEveryScale) {
    if (!tahomaInstalled()) GTEST_SKIP() << "needs the wine Tahoma (fonts-wine)";
    for (LONG height : {13, 14, 20}) { // the program's text, menu and heading fonts
        LOGFONTW regularDescription = description(height, FW_NORMAL, u"Tahoma");
        LOGFONTW boldDescription = description(height, FW_BOLD, u"Tahoma");
        HFONT regular = CreateFontIndirectW(&regularDescription);
        HFONT bold = CreateFontIndirectW(&boldDescription);
        for (const QString& text : {QStringLiteral("Rebsorten"), QStringLiteral("Hilfe"),
                                    QStringLiteral("IMPRESSUM"), QStringLiteral("Talvino Weinsuche")}) {
            for (int scale = 1; scale <= 3; ++scale) {
                const double ratio = inkOf(bold, text, scale) / inkOf(regular, text, scale);
                EXPECT_GE(ratio, 1.35)
                    << text.toStdString() << " at height " << height << ", scale " << scale;
                EXPECT_LE(ratio, 2.0) << text.toStdString() << " at height " << height << ", scale " << scale;
            }
        }
        DeleteObject(regular);
        DeleteObject(bold);
    }
}

TEST(Fonts, BoldKeepsTheFamilyAndWidensLikeTheDevicesBold) {
    if (!tahomaInstalled()) GTEST_SKIP() << "needs the wine Tahoma (fonts-wine)";
    LOGFONTW regularDescription = description(13, FW_NORMAL, u"Tahoma");
    LOGFONTW boldDescription = description(13, FW_BOLD, u"Tahoma");
    HFONT regular = CreateFontIndirectW(&regularDescription);
    HFONT bold = CreateFontIndirectW(&boldDescription);
    EXPECT_EQ(QFontInfo(platform::gdi::fontOf(bold)).family(),
              QFontInfo(platform::gdi::fontOf(regular)).family());
    const double plain =
        QFontMetricsF(platform::gdi::fontOf(regular)).horizontalAdvance(QStringLiteral("Rebsorten"));
    const double heavy =
        QFontMetricsF(platform::gdi::fontOf(bold)).horizontalAdvance(QStringLiteral("Rebsorten"));
    EXPECT_GT(heavy, plain);
    EXPECT_LT(heavy, plain * 1.25);
    DeleteObject(regular);
    DeleteObject(bold);
}

TEST(Fonts, WeightMakesBoldAndZeroIsNormal) {
    LOGFONTW bold = description(20, FW_BOLD, u"Tahoma");
    LOGFONTW plain = description(13, 0, u"Tahoma");
    HFONT b = CreateFontIndirectW(&bold);
    HFONT p = CreateFontIndirectW(&plain);
    EXPECT_EQ(platform::gdi::fontOf(b).weight(), QFont::Bold);
    EXPECT_EQ(platform::gdi::fontOf(p).weight(), QFont::Normal);
    DeleteObject(b);
    DeleteObject(p);
}

TEST(Fonts, TahomaAndMsSansSerifAreTheDeviceFace) {
    LOGFONTW tahoma = description(13, 0, u"Tahoma");
    LOGFONTW sans = description(13, 0, u"MS Sans Serif");
    HFONT t = CreateFontIndirectW(&tahoma);
    HFONT s = CreateFontIndirectW(&sans);
    const QFontInfo tInfo(platform::gdi::fontOf(t));
    const QFontInfo sInfo(platform::gdi::fontOf(s));
    EXPECT_EQ(tInfo.family(), sInfo.family());
    if (tahomaInstalled())
        EXPECT_EQ(tInfo.family(), QStringLiteral("Tahoma"));
    else
        EXPECT_EQ(tInfo.family(), QStringLiteral("DejaVu Sans"));
    DeleteObject(t);
    DeleteObject(s);
}

TEST(Fonts, FacesNamedElsewhereInTheLayerFindTheDeviceFaceToo) {
    platform::gdi::registerDeviceFonts();
    if (!tahomaInstalled()) GTEST_SKIP() << "fonts-wine is not installed";
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("Tahoma"))).family(), QStringLiteral("Tahoma"));
    EXPECT_EQ(QFontInfo(QFont(QStringLiteral("MS Sans Serif"))).family(), QStringLiteral("Tahoma"));
}

TEST(Fonts, UnknownHandleGivesTheSystemFont) {
    int notAFont = 0;
    const QFont fallback = platform::gdi::fontOf(reinterpret_cast<HFONT>(&notAFont));
    EXPECT_EQ(fallback, platform::gdi::fontOf(nullptr));
    EXPECT_GT(fallback.pixelSize(), 8);
}

TEST(Fonts, DescriptionComesBackFromGetObject) {
    LOGFONTW d = description(20, FW_BOLD, u"Tahoma");
    HFONT font = CreateFontIndirectW(&d);
    LOGFONTW back{};
    EXPECT_EQ(GetObjectW(font, sizeof back, &back), static_cast<int>(sizeof back));
    EXPECT_EQ(back.lfHeight, 20);
    EXPECT_EQ(back.lfWeight, FW_BOLD);
    EXPECT_EQ(std::u16string(back.lfFaceName), u"Tahoma");
    DeleteObject(font);
}

TEST(Fonts, NullDescriptionMakesNoFont) {
    EXPECT_EQ(CreateFontIndirectW(nullptr), nullptr);
}

// ---- Text state of a context -----------------------------------------------------------------

TEST(TextState, StartsOpaqueWithNothingSet) {
    TestSurface s;
    const platform::gdi::TextState state = platform::gdi::textStateOf(s.dc);
    EXPECT_EQ(state.bkMode, OPAQUE);
    EXPECT_FALSE(state.textColor.has_value());
    EXPECT_FALSE(state.bkColor.has_value());
    EXPECT_FALSE(state.selectedFont.has_value());
}

TEST(TextState, SettersReturnThePreviousValues) {
    TestSurface s;
    EXPECT_EQ(SetBkMode(s.dc, TRANSPARENT), OPAQUE);
    EXPECT_EQ(SetBkMode(s.dc, OPAQUE), TRANSPARENT);
    EXPECT_EQ(SetBkMode(s.dc, 77), 0);
    EXPECT_EQ(SetTextColor(s.dc, RGB(1, 2, 3)), RGB(0, 0, 0));
    EXPECT_EQ(SetTextColor(s.dc, RGB(4, 5, 6)), RGB(1, 2, 3));
    EXPECT_EQ(SetBkColor(s.dc, RGB(7, 8, 9)), RGB(255, 255, 255));
    EXPECT_EQ(SetBkColor(s.dc, RGB(0, 0, 0)), RGB(7, 8, 9));
}

TEST(TextState, ReportsWhatTheColourMessageSet) {
    TestSurface s;
    LOGFONTW d = description(15, FW_BOLD, u"Tahoma");
    HFONT font = CreateFontIndirectW(&d);
    SetTextColor(s.dc, RGB(0, 0, 0));
    SetBkMode(s.dc, TRANSPARENT);
    SetBkColor(s.dc, RGB(0xFF, 0xE0, 0xE0));
    SelectObject(s.dc, font);
    const platform::gdi::TextState state = platform::gdi::textStateOf(s.dc);
    EXPECT_EQ(state.textColor, QColor(Qt::black));
    EXPECT_EQ(state.bkMode, TRANSPARENT);
    EXPECT_EQ(state.bkColor, QColor(0xFF, 0xE0, 0xE0));
    ASSERT_TRUE(state.selectedFont.has_value());
    EXPECT_EQ(*state.selectedFont, platform::gdi::fontOf(font));
    DeleteObject(font);
}

TEST(TextState, UnknownContextsFail) {
    int notADc = 0;
    HDC dc = reinterpret_cast<HDC>(&notADc);
    EXPECT_EQ(SetBkMode(dc, TRANSPARENT), 0);
    EXPECT_EQ(SetTextColor(dc, 0), CLR_INVALID);
    EXPECT_EQ(SetBkColor(dc, 0), CLR_INVALID);
    EXPECT_EQ(platform::gdi::textStateOf(dc).bkMode, OPAQUE);
}

// ---- Memory contexts ---------------------------------------------------------------------------

TEST(MemoryContext, MadeFromNothingOrALiveContextOnly) {
    HDC fromScreen = CreateCompatibleDC(nullptr);
    EXPECT_NE(fromScreen, nullptr);
    int notADc = 0;
    EXPECT_EQ(CreateCompatibleDC(reinterpret_cast<HDC>(&notADc)), nullptr);
    EXPECT_TRUE(DeleteDC(fromScreen));
    EXPECT_FALSE(DeleteDC(fromScreen));
    EXPECT_EQ(SelectObject(fromScreen, GetStockObject(BLACK_PEN)), nullptr);
}

} // namespace

namespace {

// A font described before the application object exists (static initialisation) must not take
// the process down; it becomes usable once there is an application.
TEST(Fonts, MadeBeforeTheApplicationObjectDoNotCrash) {
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--before-application")});
    ASSERT_TRUE(child.waitForFinished(30000));
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0);
    EXPECT_EQ(QString::fromUtf8(child.readAllStandardOutput()).trimmed(),
              QStringLiteral("font made, text height 0, rectangle drawn"));
}

} // namespace
