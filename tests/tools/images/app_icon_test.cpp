// The desktop icon: every hicolor size, transparent outside its tile, the wine-red frame and the
// wine in the glass at every size, and the same drawing at every size.
#include <gtest/gtest.h>

#include "image_set.h"

namespace {

bool wineRed(QRgb c) {
    return qRed(c) > 90 && qRed(c) > 2 * qGreen(c) && qRed(c) > qBlue(c) + 30;
}

class AppIcon : public ::testing::TestWithParam<int> {};

TEST_P(AppIcon, IsTransparentOutsideItsTileAndShowsTheFrameAndTheWine) {
    const int size = GetParam();
    const QImage icon = images::appIcon(size).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(icon.size(), QSize(size, size));
    EXPECT_TRUE(icon.hasAlphaChannel());
    // The rounded corners let the desktop show through.
    EXPECT_EQ(qAlpha(icon.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(icon.pixel(size - 1, size - 1)), 0);
    // The frame on the left edge, halfway down, is wine red and opaque.
    bool frame = false;
    for (int x = 0; x <= size * 6 / 64; ++x)
        frame = frame || (wineRed(icon.pixel(x, size / 2)) && qAlpha(icon.pixel(x, size / 2)) >= 200);
    EXPECT_TRUE(frame) << size;
    // Wine below the surface in the bowl's middle.
    int redInBowl = 0;
    for (int y = size * 23 / 64; y < size * 34 / 64; ++y)
        redInBowl += wineRed(icon.pixel(size / 2, y)) ? 1 : 0;
    EXPECT_GT(redInBowl, 0) << size;
}

INSTANTIATE_TEST_SUITE_P(HicolorSizes, AppIcon, ::testing::ValuesIn(images::kAppIconSizes),
                         [](const ::testing::TestParamInfo<int>& row) {
                             return std::to_string(row.param) + "px";
                         });

TEST(AppIconSizes, AreTheUsualHicolorOnes) {
    EXPECT_EQ(std::vector<int>(std::begin(images::kAppIconSizes), std::end(images::kAppIconSizes)),
              (std::vector<int>{16, 22, 24, 32, 48, 64, 128, 256}));
}

TEST(AppIconSizes, ASmallIconIsTheLargeOneReduced) {
    const QImage large = images::appIcon(256).scaled(32, 32, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage small = images::appIcon(32);
    double difference = 0;
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const QRgb a = large.pixel(x, y), b = small.pixel(x, y);
            difference += std::abs(qAlpha(a) - qAlpha(b)) + std::abs(qRed(a) - qRed(b)) +
                          std::abs(qGreen(a) - qGreen(b)) + std::abs(qBlue(a) - qBlue(b));
        }
    EXPECT_LT(difference / (4.0 * 32 * 32), 16.0);
}

} // namespace
