// Reading the uncompressed bitmap files the program ships, straight into 32-bit pixels: Qt's
// reader goes through a device and an image plugin per file, which at start-up costs more than
// the pixels.
#pragma once

#include <QImage>
#include <cstddef>

namespace platform::gdi {

// The bits per pixel that a bitmap file's header gives, or 0 when it is not a bitmap file.
int bitmapFileDepth(const unsigned char* data, std::size_t size);

// The picture of an uncompressed bitmap file (1, 4, 8, 16, 24 or 32 bits a pixel, bottom-up or
// top-down, with the common or the old core header) as QImage::Format_RGB32. A null image for a
// compressed or otherwise unusual file, and for one whose pixels do not lie within `size`.
QImage readPlainBitmapFile(const unsigned char* data, std::size_t size);

} // namespace platform::gdi
