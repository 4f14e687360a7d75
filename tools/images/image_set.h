// The program's pictures, drawn in code so that they are our own and can be redrawn at will.
#pragma once

#include <QByteArray>
#include <QImage>
#include <vector>

namespace images {

struct GeneratedImage {
    int id;           // bitmap resource number; the file is <id>.bmp
    QImage image;     // exact size of the resource
    int bitsPerPixel; // 24, or 8 for a 256-colour palette bitmap
};

// Every bitmap of the program, in resource order.
std::vector<GeneratedImage> generateAll();

// The main menu's row pictures, 60 × 50.
QImage bookmarkPicture();  // 105
QImage grapesPicture();    // 106
QImage thermometerIcon();  // 107
QImage wineGlassPicture(); // 108

// The search form's wait animation, 159 × 106: frame 0..5 (bitmaps 148..153).
constexpr int kWaitFrames = 6;
QImage waitAnimationFrame(int frame);

// The serving temperature chapter.
QImage thermometerScale(); // 131, 58 × 225
QImage scrollBottomRoll(); // 144, 160 × 24
QImage scrollTopRoll();    // 145, 160 × 23
QImage scrollPaper();      // 146, 160 × 123

// The credits banner, 275 × 52, before it is reduced to 256 colours.
QImage creditsBanner(); // 134

// The desktop icon at `size` × `size` pixels on a transparent background, and the sizes the
// hicolor icon theme is given.
QImage appIcon(int size);
inline constexpr int kAppIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// The thermometer's marks. Its tap bands are in the temperature screen's coordinates: level L
// from y = 6 + 14 (18 - L) to 19 + 14 (18 - L). The screen shows the picture 6 dialog units
// down, which its 8-point Tahoma makes 10 pixels, so a band starts 10 rows higher in the picture.
constexpr int kLowestMarkedLevel = 4;
constexpr int kHighestMarkedLevel = 18;
constexpr int kThermometerTop = 10;
constexpr int bandTopInPicture(int level) {
    return 6 + 14 * (18 - level) - kThermometerTop;
}
// The row of a level's mark: the middle of the part of its band that the picture holds.
constexpr int markRow(int level) {
    return ((bandTopInPicture(level) > 0 ? bandTopInPicture(level) : 0) + bandTopInPicture(level) + 13) / 2;
}

// Reduces an image to at most 256 colours (median cut, nearest colour) as an indexed image.
QImage toPalette(const QImage& image);

// The bytes of a .bmp file: 24 bits per pixel, or 8 with the image's palette.
QByteArray bmpBytes(const QImage& image, int bitsPerPixel);

// The depth a .bmp file's header gives, or 0 when the bytes are not a bitmap file.
int bmpBitsPerPixel(const QByteArray& bytes);

} // namespace images
