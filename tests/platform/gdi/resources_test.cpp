// Bitmaps and strings loaded from a module's resources.
#include <gtest/gtest.h>

#include <QFile>

#include "gdi_test_support.h"
#include "platform/gdi/gdi_internal.h"

using gdi_test::bmpFile;
using gdi_test::TestModule;

namespace {

QImage stripes(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.setPixel(x, y, x < width / 2 ? qRgb(180, 20, 40 + y % 40) : qRgb(250, 240, 200));
    return image;
}

BITMAP infoOf(HBITMAP bitmap) {
    BITMAP info{};
    EXPECT_EQ(GetObjectW(bitmap, sizeof info, &info), static_cast<int>(sizeof info));
    return info;
}

// ---- LoadBitmap ----------------------------------------------------------------------------------

TEST(BitmapLoading, TwentyFourBitBitmapKeepsSizeDepthAndPixels) {
    TestModule module;
    module.addBitmap(131, bmpFile(stripes(58, 225), QImage::Format_RGB888));
    HBITMAP bitmap = LoadBitmapW(module.handle(), MAKEINTRESOURCEW(131));
    ASSERT_NE(bitmap, nullptr);
    const BITMAP info = infoOf(bitmap);
    EXPECT_EQ(info.bmWidth, 58);
    EXPECT_EQ(info.bmHeight, 225);
    EXPECT_EQ(info.bmBitsPixel, 24);
    EXPECT_EQ(info.bmPlanes, 1);
    const QImage image = platform::gdi::bitmapImage(bitmap);
    EXPECT_EQ(image.size(), QSize(58, 225));
    EXPECT_EQ(image.pixel(0, 0), qRgb(180, 20, 40));
    EXPECT_EQ(image.pixel(57, 224), qRgb(250, 240, 200));
    DeleteObject(bitmap);
}

TEST(BitmapLoading, PaletteBitmapKeepsItsEightBitDepthAndColours) {
    TestModule module;
    module.addBitmap(134, bmpFile(stripes(275, 52), QImage::Format_Indexed8));
    HBITMAP bitmap = LoadBitmapW(module.handle(), MAKEINTRESOURCEW(134));
    ASSERT_NE(bitmap, nullptr);
    const BITMAP info = infoOf(bitmap);
    EXPECT_EQ(info.bmWidth, 275);
    EXPECT_EQ(info.bmHeight, 52);
    EXPECT_EQ(info.bmBitsPixel, 8);
    const QImage image = platform::gdi::bitmapImage(bitmap);
    EXPECT_EQ(image.pixel(0, 0), qRgb(180, 20, 40));
    EXPECT_EQ(image.pixel(274, 51), qRgb(250, 240, 200));
    DeleteObject(bitmap);
}

TEST(BitmapLoading, FindsTheBitmapByItsNumberAmongOthers) {
    TestModule module;
    module.addBitmap(105, bmpFile(stripes(60, 50), QImage::Format_RGB888));
    module.addBitmap(148, bmpFile(stripes(159, 106), QImage::Format_RGB888));
    module.addBitmap(144, bmpFile(stripes(160, 24), QImage::Format_RGB888));
    HBITMAP bitmap = LoadBitmapW(module.handle(), MAKEINTRESOURCEW(148));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(infoOf(bitmap).bmWidth, 159);
    EXPECT_EQ(infoOf(bitmap).bmHeight, 106);
    DeleteObject(bitmap);
}

TEST(BitmapLoading, EachLoadIsItsOwnObject) {
    TestModule module;
    module.addBitmap(108, bmpFile(stripes(60, 50), QImage::Format_RGB888));
    HBITMAP a = LoadBitmapW(module.handle(), MAKEINTRESOURCEW(108));
    HBITMAP b = LoadBitmapW(module.handle(), MAKEINTRESOURCEW(108));
    ASSERT_NE(a, nullptr);
    EXPECT_NE(a, b);
    EXPECT_TRUE(DeleteObject(a));
    EXPECT_EQ(infoOf(b).bmWidth, 60);
    EXPECT_TRUE(DeleteObject(b));
}

TEST(BitmapLoading, MissingOrBrokenBitmapsGiveNothing) {
    TestModule module;
    module.addBitmap(1, {'B', 'M', 0, 0, 1, 2, 3});
    std::vector<unsigned char> cut = bmpFile(stripes(20, 20), QImage::Format_RGB888);
    cut.resize(40);
    module.addBitmap(2, cut);
    module.addBitmap(3, {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                         0,   0,   0,   0,   0,   0,   0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
    EXPECT_EQ(LoadBitmapW(module.handle(), MAKEINTRESOURCEW(1)), nullptr);
    EXPECT_EQ(LoadBitmapW(module.handle(), MAKEINTRESOURCEW(2)), nullptr);
    EXPECT_EQ(LoadBitmapW(module.handle(), MAKEINTRESOURCEW(3)), nullptr);
    EXPECT_EQ(LoadBitmapW(module.handle(), MAKEINTRESOURCEW(99)), nullptr);
    EXPECT_EQ(LoadBitmapW(nullptr, MAKEINTRESOURCEW(1)), nullptr);
    EXPECT_EQ(LoadBitmapW(module.handle(), u"BITMAP_BY_NAME"), nullptr);
}

TEST(BitmapLoading, UnknownHandleHasNoImageOrInfo) {
    int notABitmap = 0;
    HBITMAP bogus = reinterpret_cast<HBITMAP>(&notABitmap);
    EXPECT_TRUE(platform::gdi::bitmapImage(bogus).isNull());
    BITMAP info{};
    EXPECT_EQ(GetObjectW(bogus, sizeof info, &info), 0);
    EXPECT_EQ(GetObjectW(GetStockObject(WHITE_BRUSH), sizeof info, &info), 0);
}

// ---- LoadString ------------------------------------------------------------------------------------

class StringLoading : public ::testing::Test {
  protected:
    void SetUp() override {
        module.addString(1, u"Tippen Sie auf die\n\reinzelnen Bereiche des");
        module.addString(15, u"3°C-7°C\nSüße Weißweine,\n Schaumweine");
    }
    TestModule module;
};

TEST_F(StringLoading, CopiesTheWholeTextAndReturnsItsLength) {
    char16_t buffer[4000];
    const std::u16string expected = u"3°C-7°C\nSüße Weißweine,\n Schaumweine";
    EXPECT_EQ(LoadStringW(module.handle(), 15, buffer, 4000), static_cast<int>(expected.size()));
    EXPECT_EQ(std::u16string(buffer), expected);
}

TEST_F(StringLoading, CutsToTheCapacityLessOneAndTerminates) {
    char16_t buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), u'#');
    EXPECT_EQ(LoadStringW(module.handle(), 1, buffer, 6), 5);
    EXPECT_EQ(std::u16string(buffer), u"Tippe");
    EXPECT_EQ(buffer[6], u'#'); // nothing written past the capacity
}

TEST_F(StringLoading, CapacityOfOneGivesTheEmptyString) {
    char16_t buffer[2] = {u'x', u'y'};
    EXPECT_EQ(LoadStringW(module.handle(), 1, buffer, 1), 0);
    EXPECT_EQ(buffer[0], u'\0');
    EXPECT_EQ(buffer[1], u'y');
}

TEST_F(StringLoading, MissingStringGivesZeroAndAnEmptyBuffer) {
    char16_t buffer[10] = u"alt";
    EXPECT_EQ(LoadStringW(module.handle(), 2, buffer, 10), 0);
    EXPECT_EQ(buffer[0], u'\0');
    EXPECT_EQ(LoadStringW(nullptr, 1, buffer, 10), 0);
}

TEST_F(StringLoading, NoRoomLoadsNothing) {
    char16_t buffer[4] = u"abc";
    EXPECT_EQ(LoadStringW(module.handle(), 1, buffer, 0), 0);
    EXPECT_EQ(std::u16string(buffer), u"abc");
    EXPECT_EQ(LoadStringW(module.handle(), 1, nullptr, 10), 0);
}

// ---- The program's own bitmaps -------------------------------------------------------------

struct ShippedBitmap {
    int id;
    int width;
    int height;
    int bitsPerPixel;
};

const ShippedBitmap kShipped[] = {
    {105, 60, 50, 24},   {106, 60, 50, 24},   {107, 60, 50, 24},   {108, 60, 50, 24},   {131, 58, 225, 24},
    {134, 275, 52, 8},   {144, 160, 24, 24},  {145, 160, 23, 24},  {146, 160, 123, 24}, {148, 159, 106, 24},
    {149, 159, 106, 24}, {150, 159, 106, 24}, {151, 159, 106, 24}, {152, 159, 106, 24}, {153, 159, 106, 24},
};

void PrintTo(const ShippedBitmap& bitmap, std::ostream* os) {
    *os << "Bitmap" << bitmap.id;
}

class ShippedBitmaps : public ::testing::TestWithParam<ShippedBitmap> {};

TEST_P(ShippedBitmaps, LoadWithTheirSizeAndDepth) {
    const ShippedBitmap expected = GetParam();
    QFile file(QStringLiteral(TALVINO_BITMAP_DIR "/%1.bmp").arg(expected.id));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << file.fileName().toStdString();
    const QByteArray bytes = file.readAll();
    TestModule module;
    module.addBitmap(expected.id, std::vector<unsigned char>(bytes.begin(), bytes.end()));
    HBITMAP bitmap = LoadBitmapW(module.handle(), MAKEINTRESOURCEW(expected.id));
    ASSERT_NE(bitmap, nullptr);
    const BITMAP info = infoOf(bitmap);
    EXPECT_EQ(info.bmWidth, expected.width);
    EXPECT_EQ(info.bmHeight, expected.height);
    EXPECT_EQ(info.bmBitsPixel, expected.bitsPerPixel);
    DeleteObject(bitmap);
}

INSTANTIATE_TEST_SUITE_P(EveryPicture, ShippedBitmaps, ::testing::ValuesIn(kShipped),
                         [](const ::testing::TestParamInfo<ShippedBitmap>& param) {
                             return "Bitmap" + std::to_string(param.param.id);
                         });

} // namespace
