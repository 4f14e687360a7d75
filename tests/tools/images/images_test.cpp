// The program's pictures: sizes and depths, the places where the screens rely on them, and
// the bitmap files they are written to.
#include <gtest/gtest.h>

#include <QSet>
#include <cmath>
#include <map>

#include "image_set.h"

namespace {

int luminance(QRgb c) {
    return (qRed(c) * 299 + qGreen(c) * 587 + qBlue(c) * 114) / 1000;
}
bool white(QRgb c) {
    return (c & 0xFFFFFF) == 0xFFFFFF;
}

// Mean difference per channel of two pictures of one size.
double meanDifference(const QImage& a, const QImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            sum +=
                std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return sum / (3.0 * a.width() * a.height());
}

// ---- The set of pictures -----------------------------------------------------------------------

TEST(ImageSet, EveryBitmapOnceWithItsSizeAndDepth) {
    const std::map<int, std::tuple<int, int, int>> wanted = {
        {105, {60, 50, 24}},   {106, {60, 50, 24}},   {107, {60, 50, 24}},   {108, {60, 50, 24}},
        {131, {58, 225, 24}},  {134, {275, 52, 8}},   {144, {160, 24, 24}},  {145, {160, 23, 24}},
        {146, {160, 123, 24}}, {148, {159, 106, 24}}, {149, {159, 106, 24}}, {150, {159, 106, 24}},
        {151, {159, 106, 24}}, {152, {159, 106, 24}}, {153, {159, 106, 24}},
    };
    std::map<int, std::tuple<int, int, int>> made;
    for (const images::GeneratedImage& picture : images::generateAll()) {
        EXPECT_EQ(made.count(picture.id), 0u) << "bitmap " << picture.id << " twice";
        made[picture.id] = {picture.image.width(), picture.image.height(), picture.bitsPerPixel};
    }
    EXPECT_EQ(made, wanted);
}

TEST(ImageSet, DrawingIsRepeatable) {
    EXPECT_EQ(images::scrollPaper(), images::scrollPaper());
    EXPECT_EQ(images::grapesPicture(), images::grapesPicture());
}

// ---- Bitmap files ---------------------------------------------------------------------------------

TEST(BitmapFiles, TwentyFourBitFilesReadBackExactly) {
    const QImage picture = images::wineGlassPicture();
    const QByteArray bytes = images::bmpBytes(picture, 24);
    EXPECT_EQ(images::bmpBitsPerPixel(bytes), 24);
    const QImage back = QImage::fromData(bytes, "BMP").convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(back, picture.convertToFormat(QImage::Format_RGB32));
}

TEST(BitmapFiles, PaletteFilesStayAtEightBitsEvenWithFewColours) {
    QImage two(20, 10, QImage::Format_RGB32);
    two.fill(qRgb(200, 0, 0));
    const QByteArray bytes = images::bmpBytes(two, 8);
    EXPECT_EQ(images::bmpBitsPerPixel(bytes), 8);
    EXPECT_EQ(QImage::fromData(bytes, "BMP").pixel(5, 5), qRgb(200, 0, 0));
}

// The committed files are the generator's output: writing the same picture twice gives the
// same bytes, row padding included, so a regenerated file differs only where a picture did.
TEST(BitmapFiles, SamePictureGivesTheSameBytes) {
    const QImage banner = images::creditsBanner(); // 275 pixels: every row is padded
    EXPECT_EQ(images::bmpBytes(banner, 8), images::bmpBytes(banner, 8));
    const QImage frame = images::waitAnimationFrame(2); // 159 × 3 bytes: padded as well
    EXPECT_EQ(images::bmpBytes(frame, 24), images::bmpBytes(frame, 24));
}

TEST(BitmapFiles, NotABitmapHasNoDepth) {
    EXPECT_EQ(images::bmpBitsPerPixel(QByteArray("GIF89a and more bytes than thirty....")), 0);
    EXPECT_EQ(images::bmpBitsPerPixel(QByteArray("BM")), 0);
}

// ---- Palette reduction --------------------------------------------------------------------------

TEST(PaletteReduction, FewColoursAreKeptExactly) {
    QImage image(16, 16, QImage::Format_RGB32); // 256 colours, every one different
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            image.setPixel(x, y, qRgb(x * 16, y * 16, 100));
    const QImage indexed = images::toPalette(image);
    EXPECT_EQ(indexed.format(), QImage::Format_Indexed8);
    EXPECT_EQ(indexed.convertToFormat(QImage::Format_RGB32), image);
}

TEST(PaletteReduction, ManyColoursBecomeAtMost256CloseOnes) {
    const QImage banner = images::creditsBanner().convertToFormat(QImage::Format_RGB32);
    QSet<QRgb> before;
    for (int y = 0; y < banner.height(); ++y)
        for (int x = 0; x < banner.width(); ++x)
            before.insert(banner.pixel(x, y));
    ASSERT_GT(before.size(), 256); // otherwise this tests nothing
    const QImage indexed = images::toPalette(banner);
    EXPECT_LE(indexed.colorCount(), 256);
    EXPECT_LT(meanDifference(indexed.convertToFormat(QImage::Format_RGB32), banner), 3.0);
}

// ---- The thermometer's marks --------------------------------------------------------------------

TEST(ThermometerScale, EveryMarkLiesInTheTapBandOfItsLevel) {
    // A tap at a mark's row, in the screen's coordinates, gives the mark's level.
    for (int level = images::kLowestMarkedLevel; level <= images::kHighestMarkedLevel; ++level) {
        const int y = images::markRow(level) + images::kThermometerTop;
        EXPECT_EQ(18 - (y - 6) / 14, level) << "level " << level;
        EXPECT_GE(images::markRow(level), 0);
    }
    EXPECT_LT(18 - (images::thermometerScale().height() - 1 + images::kThermometerTop - 6) / 14,
              images::kLowestMarkedLevel); // below the marks lie the levels that show the introduction
}

TEST(ThermometerScale, AMarkAndItsNumberAreDrawnAtEveryMarkRow) {
    const QImage scale = images::thermometerScale();
    const int tickColumn = 26;
    for (int level = images::kLowestMarkedLevel; level <= images::kHighestMarkedLevel; ++level) {
        const int row = images::markRow(level);
        EXPECT_LT(luminance(scale.pixel(tickColumn, row)), 120) << "level " << level;
        EXPECT_GT(luminance(scale.pixel(tickColumn, row - 4)), 180) << "level " << level;
        EXPECT_GT(luminance(scale.pixel(tickColumn, row + 4)), 180) << "level " << level;
        int ink = 0;
        for (int x = 30; x < scale.width(); ++x)
            for (int y = std::max(0, row - 4); y <= row + 4; ++y)
                ink += luminance(scale.pixel(x, y)) < 140;
        EXPECT_GT(ink, 6) << "level " << level;
    }
}

// ---- The scroll ----------------------------------------------------------------------------------

TEST(Scroll, PaperStaysLightWhereTheTextIsWritten) {
    const QImage paper = images::scrollPaper();
    // The text rectangle runs from x 90 to 225 of the screen; the paper is drawn at x 75.
    for (int y = 0; y < paper.height(); ++y)
        for (int x = 15; x < 150; ++x)
            ASSERT_GT(luminance(paper.pixel(x, y)), 200) << x << "," << y;
    EXPECT_FALSE(white(paper.pixel(80, 60)));
}

TEST(Scroll, ColumnsTheWipeDoesNotReachStayWhite) {
    // The closing phase wipes x 75..230 of the screen, that is columns 0..155 of each piece.
    for (const QImage& piece : {images::scrollPaper(), images::scrollTopRoll(), images::scrollBottomRoll()})
        for (int y = 0; y < piece.height(); ++y)
            for (int x = 156; x < 160; ++x)
                ASSERT_TRUE(white(piece.pixel(x, y))) << x << "," << y;
}

TEST(Scroll, RollsMeetThePaper) {
    // The paper ends right above the bottom roll and comes out from under the top roll.
    const QImage top = images::scrollTopRoll();
    const QImage bottom = images::scrollBottomRoll();
    EXPECT_FALSE(white(top.pixel(80, top.height() - 1)));
    EXPECT_FALSE(white(bottom.pixel(80, 0)));
    EXPECT_TRUE(white(top.pixel(80, 0)));
}

// ---- The wait animation -------------------------------------------------------------------------

TEST(WaitAnimation, SixFramesThatLoop) {
    for (int k = 0; k < images::kWaitFrames; ++k)
        EXPECT_EQ(images::waitAnimationFrame(k), images::waitAnimationFrame(k + images::kWaitFrames));
}

TEST(WaitAnimation, EveryStepMovesAndTheSeamIsNoJump) {
    std::vector<double> steps;
    for (int k = 0; k < images::kWaitFrames; ++k)
        steps.push_back(meanDifference(images::waitAnimationFrame(k), images::waitAnimationFrame(k + 1)));
    const double largest = *std::max_element(steps.begin(), steps.end() - 1);
    for (double step : steps)
        EXPECT_GT(step, 0.05);
    EXPECT_LE(steps.back(), 1.5 * largest); // from the last frame back to the first
}

// ---- The menu pictures --------------------------------------------------------------------------

TEST(MenuPictures, DrawnOnWhiteAndEachItsOwn) {
    const QImage pictures[] = {images::bookmarkPicture(), images::grapesPicture(), images::thermometerIcon(),
                               images::wineGlassPicture()};
    for (const QImage& picture : pictures) {
        EXPECT_TRUE(white(picture.pixel(0, 0)));
        EXPECT_TRUE(white(picture.pixel(59, 0)));
        int drawn = 0;
        for (int y = 0; y < 50; ++y)
            for (int x = 0; x < 60; ++x)
                drawn += !white(picture.pixel(x, y));
        EXPECT_GT(drawn, 300);
    }
    for (int i = 0; i < 4; ++i)
        for (int j = i + 1; j < 4; ++j)
            EXPECT_GT(meanDifference(pictures[i], pictures[j]), 5.0);
}

TEST(CreditsBanner, MarksStayWithinTheScreensWidth) {
    // The screen shows the banner's first 240 columns; past them there is only red.
    const QImage banner = images::creditsBanner();
    for (int y = 8; y < 44; ++y)
        for (int x = 242; x < banner.width(); ++x) {
            const QRgb c = banner.pixel(x, y);
            ASSERT_GT(qRed(c), qGreen(c) + 60) << x << "," << y;
        }
    int cream = 0; // the lettering of both firms
    for (int y = 8; y < 44; ++y)
        for (int x = 0; x < 240; ++x)
            cream += luminance(banner.pixel(x, y)) > 200;
    EXPECT_GT(cream, 150);
}

TEST(CreditsBanner, IsRed) {
    const QImage banner = images::creditsBanner();
    long red = 0, others = 0;
    for (int y = 0; y < banner.height(); ++y)
        for (int x = 0; x < banner.width(); ++x) {
            red += qRed(banner.pixel(x, y));
            others += (qGreen(banner.pixel(x, y)) + qBlue(banner.pixel(x, y))) / 2;
        }
    EXPECT_GT(red, 2 * others);
}

} // namespace
