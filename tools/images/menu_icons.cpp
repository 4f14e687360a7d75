// The main menu's row pictures (60 × 50 on white): bookmark, grapes, thermometer, wine glass.
#include <QLinearGradient>
#include <QRadialGradient>
#include <cmath>

#include "image_set.h"
#include "painting.h"

namespace images {
namespace {

constexpr int kWidth = 60;
constexpr int kHeight = 50;

void drawGrape(QPainter& painter, QPointF center, double radius) {
    QRadialGradient skin(center + QPointF(-radius * 0.35, -radius * 0.4), radius * 1.25);
    skin.setColorAt(0.0, QColor(0xb4, 0x7c, 0xd6));
    skin.setColorAt(0.35, QColor(0x6e, 0x2e, 0x92));
    skin.setColorAt(0.85, QColor(0x3a, 0x10, 0x52));
    skin.setColorAt(1.0, QColor(0x26, 0x08, 0x36));
    painter.setPen(QPen(QColor(0x24, 0x06, 0x30, 160), 0.6));
    painter.setBrush(skin);
    painter.drawEllipse(center, radius, radius);
    // The bloom of a ripe grape and one bright spot of light.
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 200));
    painter.drawEllipse(center + QPointF(-radius * 0.38, -radius * 0.42), radius * 0.22, radius * 0.17);
}

QPainterPath vineLeaf(QPointF c, double r) {
    // Five lobes around the stalk point, with notches between them.
    QPainterPath leaf;
    const int points = 20;
    for (int i = 0; i <= points; ++i) {
        const double a = -M_PI / 2 + 2 * M_PI * i / points;
        const double lobe = (i % 4 == 0) ? 1.0 : (i % 4 == 2) ? 0.62 : 0.86;
        const QPointF p = c + QPointF(std::cos(a) * r * lobe, std::sin(a) * r * lobe);
        if (i == 0)
            leaf.moveTo(p);
        else
            leaf.lineTo(p);
    }
    leaf.closeSubpath();
    return leaf;
}

} // namespace

QImage bookmarkPicture() {
    QImage image = canvas(kWidth, kHeight);
    QPainter p(&image);
    smooth(p);
    drawShadow(p, QPointF(31, 45.5), 21, 3.2, 110);

    // A closed book in leather, seen from the front, its pages showing on the right.
    QPainterPath pages;
    pages.moveTo(44, 7);
    pages.lineTo(48, 9);
    pages.lineTo(48, 44);
    pages.lineTo(44, 43);
    pages.closeSubpath();
    QLinearGradient paper(QPointF(44, 0), QPointF(48, 0));
    paper.setColorAt(0, QColor(0xf4, 0xec, 0xd6));
    paper.setColorAt(1, QColor(0xd8, 0xcc, 0xac));
    p.setPen(QPen(QColor(0x9a, 0x8a, 0x6a), 0.6));
    p.setBrush(paper);
    p.drawPath(pages);
    p.setPen(QPen(QColor(0xb8, 0xa8, 0x88), 0.4));
    for (double y = 12; y < 42; y += 2.5)
        p.drawLine(QPointF(44.6, y), QPointF(47.4, y + 0.6));

    const QRectF cover(13, 5, 32, 39);
    QLinearGradient leather(cover.topLeft(), cover.bottomRight());
    leather.setColorAt(0, QColor(0x9a, 0x1c, 0x32));
    leather.setColorAt(0.55, QColor(0x6e, 0x0e, 0x20));
    leather.setColorAt(1, QColor(0x48, 0x06, 0x14));
    p.setPen(QPen(QColor(0x3a, 0x04, 0x0e), 0.8));
    p.setBrush(leather);
    p.drawRoundedRect(cover, 2.2, 2.2);
    // The spine's fold and a gilt frame.
    p.setPen(QPen(QColor(0x3a, 0x04, 0x0e, 150), 1.0));
    p.drawLine(QPointF(17, 5.6), QPointF(17, 43.4));
    p.setPen(QPen(QColor(0xe2, 0xb8, 0x5a), 0.7));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(20, 9, 21.5, 31));
    // A small gilt bunch on the cover.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0xe8, 0xc2, 0x62));
    for (auto [x, y] :
         {std::pair{27.5, 20.0}, {31.0, 20.0}, {34.5, 20.0}, {29.2, 23.2}, {32.8, 23.2}, {31.0, 26.4}})
        p.drawEllipse(QPointF(x, y), 1.55, 1.55);
    p.setPen(QPen(QColor(0xe8, 0xc2, 0x62), 0.8));
    p.drawLine(QPointF(31, 18.3), QPointF(32.2, 15.6));
    p.drawLine(QPointF(24, 32), QPointF(38, 32));
    p.drawLine(QPointF(26, 35), QPointF(36, 35));

    // The ribbon: out of the top edge, over the cover, ending in a swallowtail.
    QPainterPath ribbon;
    ribbon.moveTo(35, 1.5);
    ribbon.lineTo(41, 1.5);
    ribbon.lineTo(41, 30);
    ribbon.lineTo(38, 26.5);
    ribbon.lineTo(35, 30);
    ribbon.closeSubpath();
    QLinearGradient silk(QPointF(35, 0), QPointF(41, 0));
    silk.setColorAt(0, QColor(0xf6, 0xd2, 0x5a));
    silk.setColorAt(0.45, QColor(0xff, 0xe8, 0x96));
    silk.setColorAt(1, QColor(0xc8, 0x96, 0x20));
    drawShadow(p, QPointF(39.5, 17), 4.5, 14, 70);
    p.setPen(QPen(QColor(0x9a, 0x70, 0x10), 0.6));
    p.setBrush(silk);
    p.drawPath(ribbon);
    p.setPen(QPen(QColor(0x9a, 0x70, 0x10, 120), 0.5));
    p.drawLine(QPointF(35, 5.5), QPointF(41, 5.5));
    return image;
}

QImage grapesPicture() {
    QImage image = canvas(kWidth, kHeight);
    QPainter p(&image);
    smooth(p);
    drawShadow(p, QPointF(30, 46.5), 16, 2.6, 90);

    // The leaf behind the bunch, then the stalk.
    const QPainterPath leaf = vineLeaf(QPointF(42, 11), 9.5);
    QRadialGradient green(QPointF(40, 8), 12);
    green.setColorAt(0, QColor(0x8c, 0xc8, 0x4a));
    green.setColorAt(1, QColor(0x3c, 0x7a, 0x22));
    p.setPen(QPen(QColor(0x2a, 0x5a, 0x16), 0.7));
    p.setBrush(green);
    p.drawPath(leaf);
    p.setPen(QPen(QColor(0xc8, 0xe8, 0x96, 200), 0.6));
    for (int i = 0; i < 5; ++i) {
        const double a = -M_PI / 2 + 2 * M_PI * i / 5;
        p.drawLine(QPointF(42, 12.5), QPointF(42 + std::cos(a) * 7.5, 11 + std::sin(a) * 7.5));
    }
    QPainterPath stalk;
    stalk.moveTo(36, 2.5);
    stalk.cubicTo(33, 4.5, 31, 7, 30.5, 12);
    p.setPen(QPen(QColor(0x6a, 0x46, 0x22), 2.0, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    p.drawPath(stalk);
    QPainterPath tendril;
    tendril.moveTo(33, 5.5);
    tendril.cubicTo(27, 3, 22, 6, 24, 9);
    tendril.cubicTo(25.5, 11, 28, 9, 26.5, 7.6);
    p.setPen(QPen(QColor(0x7a, 0x9a, 0x3a), 0.8, Qt::SolidLine, Qt::RoundCap));
    p.drawPath(tendril);

    // The bunch, from the shoulders down to the tip; lower grapes lie in front.
    const double radius = 4.1;
    const struct {
        double y;
        int count;
        double shift;
    } rows[] = {{14.5, 4, 0.0}, {20.5, 4, 1.6}, {26.5, 3, 0.6},
                {32.2, 3, 1.8}, {37.8, 2, 1.4}, {43.0, 1, 1.8}};
    int seed = 0;
    for (const auto& row : rows) {
        const double spacing = 7.4;
        const double start = 30 + row.shift - spacing * (row.count - 1) / 2.0;
        for (int i = 0; i < row.count; ++i) {
            const double jx = (grain(i, seed, 3) - 0.5) * 1.2;
            const double jy = (grain(i, seed, 7) - 0.5) * 1.0;
            drawGrape(p, QPointF(start + spacing * i + jx, row.y + jy), radius);
        }
        ++seed;
    }
    return image;
}

QImage thermometerIcon() {
    QImage image = canvas(kWidth, kHeight);
    QPainter p(&image);
    smooth(p);
    drawShadow(p, QPointF(22, 47), 9, 1.8, 70);

    // The glass tube and bulb, filled from a cold blue to a warm red.
    const double cx = 20;
    QPainterPath glass;
    glass.addRoundedRect(QRectF(cx - 3.6, 3, 7.2, 36), 3.6, 3.6);
    glass.addEllipse(QPointF(cx, 40), 6.2, 6.2);
    glass.setFillRule(Qt::WindingFill);
    p.setPen(QPen(QColor(0x70, 0x80, 0x92), 0.9));
    p.setBrush(QColor(0xf2, 0xf6, 0xfa));
    p.drawPath(glass.simplified());

    QLinearGradient heat(QPointF(0, 44), QPointF(0, 8));
    heat.setColorAt(0, QColor(0x1e, 0x5c, 0xd8));
    heat.setColorAt(0.5, QColor(0x9a, 0x3a, 0xa8));
    heat.setColorAt(1, QColor(0xe0, 0x18, 0x28));
    QPainterPath liquid;
    liquid.addRoundedRect(QRectF(cx - 1.8, 10, 3.6, 31), 1.8, 1.8);
    liquid.addEllipse(QPointF(cx, 40), 4.4, 4.4);
    liquid.setFillRule(Qt::WindingFill);
    p.setPen(Qt::NoPen);
    p.setBrush(heat);
    p.drawPath(liquid.simplified());
    p.setBrush(QColor(255, 255, 255, 170));
    p.drawEllipse(QPointF(cx - 1.8, 38.2), 1.4, 1.1);
    p.drawRoundedRect(QRectF(cx - 2.7, 6, 1.1, 28), 0.5, 0.5);

    p.setPen(QPen(QColor(0x40, 0x48, 0x54), 0.8));
    for (int i = 0; i < 8; ++i) {
        const double y = 8 + i * 3.8;
        p.drawLine(QPointF(cx + 4.2, y), QPointF(cx + (i % 2 ? 6.2 : 7.6), y));
    }

    // Warm above, cold below.
    const QPointF sun(45, 12);
    p.setPen(QPen(QColor(0xf0, 0x9a, 0x10), 1.3, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4;
        p.drawLine(sun + QPointF(std::cos(a) * 6.8, std::sin(a) * 6.8),
                   sun + QPointF(std::cos(a) * 9.2, std::sin(a) * 9.2));
    }
    QRadialGradient glow(sun - QPointF(1.5, 1.5), 6);
    glow.setColorAt(0, QColor(0xff, 0xf0, 0x80));
    glow.setColorAt(1, QColor(0xf8, 0xb0, 0x18));
    p.setPen(QPen(QColor(0xe0, 0x8a, 0x10), 0.7));
    p.setBrush(glow);
    p.drawEllipse(sun, 5.2, 5.2);

    const QPointF snow(45, 37);
    p.setPen(QPen(QColor(0x2a, 0x78, 0xd0), 1.2, Qt::SolidLine, Qt::RoundCap));
    for (int i = 0; i < 3; ++i) {
        const double a = M_PI / 2 + i * M_PI / 3;
        const QPointF d(std::cos(a) * 7, std::sin(a) * 7);
        p.drawLine(snow - d, snow + d);
        for (int side : {-1, 1}) {
            const QPointF tip = snow + d * side;
            const QPointF mid = snow + d * side * 0.55;
            const double b1 = a + (side > 0 ? 0 : M_PI);
            for (double turn : {0.75, -0.75}) {
                const QPointF branch(std::cos(b1 + M_PI + turn) * 2.6, std::sin(b1 + M_PI + turn) * 2.6);
                p.drawLine(mid, mid + branch);
            }
            (void)tip;
        }
    }
    return image;
}

QImage wineGlassPicture() {
    QImage image = canvas(kWidth, kHeight);
    QPainter p(&image);
    const GlassShape glass{30, 4.5, 29, 10.5, 13, 13.5, 11};
    const WineState wine{17, 0, 0.38, 0, 0};
    drawWineGlass(p, glass, &wine);
    return image;
}

} // namespace images
