// The program's icon for the desktop: the menu's wine glass on a light tile with a wine-red edge,
// drawn from the same pieces at every size so that it stays sharp from 16 to 256 pixels.
#include <QLinearGradient>
#include <algorithm>

#include "image_set.h"
#include "painting.h"

namespace images {

QImage appIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    smooth(p);
    p.scale(size / 64.0, size / 64.0);

    // The tile: cream paper, a wine-red frame, a soft light from the top. The frame keeps at least
    // one and a half pixels at the small sizes, where a thinner line would blur into pink.
    const double pixel = 64.0 / size;
    const double frame = std::max(2.6, 1.5 * pixel);
    const double inset = std::max(3.0, frame / 2 + 0.25 * pixel);
    const QRectF tile(inset, inset, 64 - 2 * inset, 64 - 2 * inset);
    QLinearGradient paper(tile.topLeft(), tile.bottomLeft());
    paper.setColorAt(0, QColor(0xff, 0xfd, 0xf6));
    paper.setColorAt(1, QColor(0xee, 0xe2, 0xc8));
    p.setPen(QPen(QColor(0x7a, 0x10, 0x24), frame));
    p.setBrush(paper);
    p.drawRoundedRect(tile, 11, 11);

    // The glass fills the tile more than in the menu, so that it reads at 16 pixels too.
    const GlassShape glass{32, 9.5, 37, 12.5, 15.5, 11.5, 11};
    const WineState wine{21.5, 0, 0.38, 0, 0};
    drawWineGlass(p, glass, &wine);
    return image;
}

} // namespace images
