#include "painting.h"

#include <QLinearGradient>
#include <QRadialGradient>
#include <cmath>
#include <cstdint>

namespace images {

QImage canvas(int width, int height, QColor background) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(background);
    return image;
}

void smooth(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
}

double grain(int x, int y, int seed) {
    std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u +
                      static_cast<std::uint32_t>(y) * 668265263u +
                      static_cast<std::uint32_t>(seed) * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xFFFFFF) / double(0x1000000);
}

QPainterPath glassBowl(double cx, double top, double bottom, double rim, double belly) {
    const double h = bottom - top;
    QPainterPath path;
    path.moveTo(cx - rim, top);
    path.cubicTo(cx - belly * 1.08, top + 0.30 * h, cx - belly * 0.98, bottom, cx, bottom);
    path.cubicTo(cx + belly * 0.98, bottom, cx + belly * 1.08, top + 0.30 * h, cx + rim, top);
    path.closeSubpath();
    return path;
}

double bowlHalfWidth(const QPainterPath& bowl, double cx, double y) {
    const QPainterPath slice = bowl.intersected([&] {
        QPainterPath band;
        band.addRect(QRectF(cx - 500, y - 0.25, 1000, 0.5));
        return band;
    }());
    if (slice.isEmpty()) return 0;
    const QRectF box = slice.boundingRect();
    return std::max(cx - box.left(), box.right() - cx);
}

void drawShadow(QPainter& painter, QPointF center, double halfWidth, double halfHeight, int strength) {
    painter.save();
    QRadialGradient shade(center, halfWidth);
    shade.setColorAt(0.0, QColor(60, 50, 50, strength));
    shade.setColorAt(0.6, QColor(60, 50, 50, strength / 3));
    shade.setColorAt(1.0, QColor(60, 50, 50, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(shade);
    painter.translate(center);
    painter.scale(1.0, halfHeight / halfWidth);
    painter.drawEllipse(QPointF(0, 0), halfWidth, halfWidth);
    painter.restore();
}

namespace {

void drawWine(QPainter& painter, const GlassShape& g, const QPainterPath& bowl, const WineState& wine) {
    const double cx = g.centerX;
    const double reach = g.belly * 1.3;
    // The liquid: everything of the bowl below the (tilted, rippled) surface line.
    QPainterPath below;
    below.moveTo(cx - reach, wine.surface - wine.tilt * reach);
    for (int i = 0; i <= 40; ++i) {
        const double x = cx - reach + 2 * reach * i / 40.0;
        const double ripple = wine.wave * std::sin((x - cx) / reach * 2 * M_PI + wine.wavePhase * 2 * M_PI);
        below.lineTo(x, wine.surface + wine.tilt * (x - cx) + ripple);
    }
    below.lineTo(cx + reach, g.bottom + 10);
    below.lineTo(cx - reach, g.bottom + 10);
    below.closeSubpath();
    const QPainterPath liquid = bowl.intersected(below);

    QLinearGradient body(QPointF(cx - g.belly, 0), QPointF(cx + g.belly, 0));
    body.setColorAt(0.0, QColor(0x5a, 0x06, 0x16));
    body.setColorAt(0.30, QColor(0x9c, 0x12, 0x2c));
    body.setColorAt(0.55, QColor(0x86, 0x0c, 0x24));
    body.setColorAt(1.0, QColor(0x3e, 0x03, 0x0e));
    painter.setPen(Qt::NoPen);
    painter.setBrush(body);
    painter.drawPath(liquid);

    // Depth: darker towards the bottom of the bowl.
    QLinearGradient depth(QPointF(0, wine.surface), QPointF(0, g.bottom));
    depth.setColorAt(0.0, QColor(0, 0, 0, 0));
    depth.setColorAt(1.0, QColor(20, 0, 5, 110));
    painter.setBrush(depth);
    painter.drawPath(liquid);

    // The surface seen from slightly above: a flat ellipse, lighter, tilted with the swirl.
    const double half = bowlHalfWidth(bowl, cx, wine.surface) - 0.6;
    if (half > 1) {
        painter.save();
        painter.setClipPath(bowl);
        painter.translate(cx, wine.surface);
        painter.rotate(std::atan(wine.tilt) * 180 / M_PI);
        const double depthOfSurface = std::max(1.2, half * 0.22);
        QRadialGradient top(QPointF(half * 0.5 * std::cos(wine.sparkle * 2 * M_PI),
                                    depthOfSurface * 0.5 * std::sin(wine.sparkle * 2 * M_PI)),
                            half * 1.2);
        top.setColorAt(0.0, QColor(0xe0, 0x4a, 0x62));
        top.setColorAt(0.35, QColor(0xb4, 0x1e, 0x3a));
        top.setColorAt(1.0, QColor(0x70, 0x08, 0x1c));
        painter.setBrush(top);
        painter.drawEllipse(QPointF(0, 0), half, depthOfSurface);
        if (wine.wave > 0) {
            // Swirl lines running round the surface.
            painter.setBrush(Qt::NoBrush);
            for (double ring : {0.78, 0.5}) {
                const QRectF oval(-half * ring, -depthOfSurface * ring, 2 * half * ring,
                                  2 * depthOfSurface * ring);
                const int start = static_cast<int>(-wine.wavePhase * 360 * 16 + ring * 2000);
                painter.setPen(QPen(QColor(0xf6, 0xa8, 0xb6, 150), 0.8, Qt::SolidLine, Qt::RoundCap));
                painter.drawArc(oval, start, 110 * 16);
            }
        }
        painter.restore();
    }
}

} // namespace

void drawWineGlass(QPainter& painter, const GlassShape& g, const WineState* wine) {
    smooth(painter);
    const double cx = g.centerX;
    const QPainterPath bowl = glassBowl(cx, g.top, g.bottom, g.rim, g.belly);
    const double footY = g.bottom + g.stem;
    const double footDepth = std::max(1.5, g.foot * 0.22);

    drawShadow(painter, QPointF(cx + g.foot * 0.15, footY + footDepth * 0.6), g.foot * 1.35, footDepth * 1.6,
               90);

    // Foot and stem.
    QLinearGradient footShade(QPointF(cx - g.foot, 0), QPointF(cx + g.foot, 0));
    footShade.setColorAt(0.0, QColor(200, 212, 222));
    footShade.setColorAt(0.35, QColor(246, 250, 252));
    footShade.setColorAt(1.0, QColor(170, 184, 196));
    painter.setPen(QPen(QColor(120, 136, 150), 0.8));
    painter.setBrush(footShade);
    painter.drawEllipse(QPointF(cx, footY), g.foot, footDepth);

    const double stemHalf = std::max(0.9, g.rim * 0.09);
    QPainterPath stem;
    stem.moveTo(cx - stemHalf * 2.2, g.bottom - 1);
    stem.cubicTo(cx - stemHalf, g.bottom + g.stem * 0.2, cx - stemHalf, footY - g.stem * 0.35,
                 cx - stemHalf * 1.1, footY - footDepth * 0.4);
    stem.cubicTo(cx - stemHalf * 3, footY - 0.2, cx + stemHalf * 3, footY - 0.2, cx + stemHalf * 1.1,
                 footY - footDepth * 0.4);
    stem.cubicTo(cx + stemHalf, footY - g.stem * 0.35, cx + stemHalf, g.bottom + g.stem * 0.2,
                 cx + stemHalf * 2.2, g.bottom - 1);
    stem.closeSubpath();
    QLinearGradient stemShade(QPointF(cx - stemHalf * 2, 0), QPointF(cx + stemHalf * 2, 0));
    stemShade.setColorAt(0.0, QColor(168, 184, 198));
    stemShade.setColorAt(0.4, QColor(250, 252, 255));
    stemShade.setColorAt(1.0, QColor(150, 166, 180));
    painter.setPen(QPen(QColor(120, 136, 150), 0.6));
    painter.setBrush(stemShade);
    painter.drawPath(stem);

    // The bowl's glass: a faint tint, then the wine, then the glass's edges and lights.
    QLinearGradient tint(QPointF(cx - g.belly, 0), QPointF(cx + g.belly, 0));
    tint.setColorAt(0.0, QColor(200, 214, 228));
    tint.setColorAt(0.3, QColor(248, 251, 253));
    tint.setColorAt(0.8, QColor(236, 242, 247));
    tint.setColorAt(1.0, QColor(196, 208, 220));
    painter.setPen(Qt::NoPen);
    painter.setBrush(tint);
    painter.drawPath(bowl);

    if (wine) drawWine(painter, g, bowl, *wine);

    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(QColor(112, 128, 144), 0.9));
    painter.drawPath(bowl);
    // The rim, seen slightly from above.
    painter.setPen(QPen(QColor(140, 156, 170), 0.8));
    painter.drawEllipse(QPointF(cx, g.top), g.rim, std::max(1.0, g.rim * 0.16));

    // Lights: a long one on the left of the bowl, a short one on the right.
    painter.save();
    painter.setClipPath(bowl);
    const double h = g.bottom - g.top;
    QPainterPath light;
    light.moveTo(cx - g.rim * 0.72, g.top + h * 0.12);
    light.cubicTo(cx - g.belly * 0.95, g.top + h * 0.45, cx - g.belly * 0.8, g.top + h * 0.75,
                  cx - g.belly * 0.45, g.top + h * 0.9);
    painter.setPen(
        QPen(QColor(255, 255, 255, 210), std::max(1.0, g.belly * 0.12), Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(light);
    QPainterPath glint;
    glint.moveTo(cx + g.belly * 0.72, g.top + h * 0.22);
    glint.cubicTo(cx + g.belly * 0.82, g.top + h * 0.35, cx + g.belly * 0.82, g.top + h * 0.45,
                  cx + g.belly * 0.76, g.top + h * 0.52);
    painter.setPen(
        QPen(QColor(255, 255, 255, 150), std::max(0.8, g.belly * 0.06), Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(glint);
    painter.restore();
}

} // namespace images
