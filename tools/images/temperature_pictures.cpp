// The serving temperature chapter's pictures: the thermometer whose marks stand on the tap
// bands, and the parchment scroll (paper, top roll, bottom roll) that unrolls beside it.
//
// The scroll's pieces are copied opaque, whole rectangles at a time: the paper from its lower
// rows upwards, the rolls over it. Columns 156..159 are left white in every piece, because the
// white bands that wipe the rolls' traces while the scroll closes stop short of them.
#include <QFont>
#include <QLinearGradient>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>

#include "image_set.h"
#include "painting.h"

namespace images {
namespace {

// The thermometer's liquid goes from cold blue at the bulb to warm red at the top.
QColor heatColor(double warmth) {
    warmth = std::clamp(warmth, 0.0, 1.0);
    const QColor cold(0x1c, 0x5a, 0xd6);
    const QColor mild(0x8e, 0x3c, 0xb0);
    const QColor warm(0xdc, 0x16, 0x2a);
    const auto mix = [](QColor a, QColor b, double t) {
        return QColor::fromRgbF(a.redF() + (b.redF() - a.redF()) * t,
                                a.greenF() + (b.greenF() - a.greenF()) * t,
                                a.blueF() + (b.blueF() - a.blueF()) * t);
    };
    return warmth < 0.5 ? mix(cold, mild, warmth * 2) : mix(mild, warm, (warmth - 0.5) * 2);
}

// Parchment: the paper's left and right edges and the roll's ends.
constexpr int kPaperLeft = 6;
constexpr int kPaperRight = 152; // last column of paper
constexpr double kRollLeft = 3.5;
constexpr double kRollRight = 154.5;

QColor parchment(int x, int y, int seed) {
    // Light in the middle, warmer and darker towards the edges, with a fine grain and soft blotches.
    const double fromEdge = std::min(x - kPaperLeft, kPaperRight - x);
    const double edge = std::clamp(1.0 - fromEdge / 6.0, 0.0, 1.0);
    const double blotch =
        (grain(x / 7, y / 5, seed) + grain(x / 7 + 1, y / 5, seed) + grain(x / 7, y / 5 + 1, seed)) / 3.0;
    const double fine = grain(x, y, seed + 1) - 0.5;
    double r = 247 - 10 * edge * edge - 4 * blotch + 3 * fine;
    double g = 238 - 24 * edge * edge - 6 * blotch + 3 * fine;
    double b = 214 - 46 * edge * edge - 10 * blotch + 3 * fine;
    return QColor(std::clamp(int(std::lround(r)), 0, 255), std::clamp(int(std::lround(g)), 0, 255),
                  std::clamp(int(std::lround(b)), 0, 255));
}

// A roll of parchment lying across the picture, its middle row at `middle`.
void drawRoll(QImage& image, double middle, double radius, bool paperLeavesBelow) {
    QPainter p(&image);
    smooth(p);
    const QRectF body(kRollLeft + 2.5, middle - radius, kRollRight - kRollLeft - 5, 2 * radius);
    QLinearGradient round(QPointF(0, body.top()), QPointF(0, body.bottom()));
    round.setColorAt(0.00, QColor(0xa8, 0x86, 0x4e));
    round.setColorAt(0.18, QColor(0xe6, 0xd2, 0xa2));
    round.setColorAt(0.34, QColor(0xfb, 0xf3, 0xdc));
    round.setColorAt(0.55, QColor(0xee, 0xde, 0xb6));
    round.setColorAt(0.85, QColor(0xc6, 0xa6, 0x6c));
    round.setColorAt(1.00, QColor(0x8e, 0x6c, 0x38));
    p.setPen(Qt::NoPen);
    p.setBrush(round);
    p.drawRect(body);
    // Faint fibres along the roll.
    for (int i = 0; i < 26; ++i) {
        const double y = body.top() + 2 + grain(i, 3, 11) * (body.height() - 4);
        const double x = body.left() + grain(i, 5, 11) * (body.width() - 30);
        p.setPen(QPen(QColor(0x9a, 0x7a, 0x44, 40), 0.6));
        p.drawLine(QPointF(x, y), QPointF(x + 10 + 18 * grain(i, 9, 11), y));
    }
    // The edge of the outer layer, where the sheet leaves the roll.
    p.setPen(QPen(QColor(0x8a, 0x68, 0x36, 150), 0.8));
    const double lip = paperLeavesBelow ? body.bottom() - radius * 0.38 : body.top() + radius * 0.38;
    p.drawLine(QPointF(body.left() + 1, lip), QPointF(body.right() - 1, lip));
    p.setPen(QPen(QColor(0x6e, 0x50, 0x26), 0.8));
    p.setBrush(Qt::NoBrush);
    p.drawLine(body.topLeft(), body.topRight());
    p.drawLine(body.bottomLeft(), body.bottomRight());

    // The two ends: the spiral of rolled-up parchment round a wooden rod.
    for (double cx : {kRollLeft + 2.5, kRollRight - 2.5}) {
        QRadialGradient face(QPointF(cx - 0.5, middle - radius * 0.3), radius * 1.2);
        face.setColorAt(0, QColor(0xf6, 0xea, 0xcc));
        face.setColorAt(1, QColor(0xc8, 0xaa, 0x72));
        p.setPen(QPen(QColor(0x6e, 0x50, 0x26), 0.8));
        p.setBrush(face);
        p.drawEllipse(QPointF(cx, middle), 2.6, radius);
        p.setPen(QPen(QColor(0x8a, 0x68, 0x36, 170), 0.5));
        p.setBrush(Qt::NoBrush);
        for (double k : {0.72, 0.48})
            p.drawEllipse(QPointF(cx, middle), 2.6 * k, radius * k);
        QRadialGradient wood(QPointF(cx - 0.4, middle - 1), 3);
        wood.setColorAt(0, QColor(0x9a, 0x5c, 0x2a));
        wood.setColorAt(1, QColor(0x4e, 0x28, 0x10));
        p.setPen(Qt::NoPen);
        p.setBrush(wood);
        p.drawEllipse(QPointF(cx, middle), 1.5, radius * 0.24);
    }
}

} // namespace

QImage thermometerScale() {
    constexpr int width = 58;
    constexpr int height = 225;
    QImage image = canvas(width, height);
    QPainter p(&image);
    smooth(p);

    const double cx = 15.5;
    const double bulbY = 212.5; // below the lowest band, where taps show the introduction
    const double top = 0.5;
    auto warmthAt = [&](double y) { return (bulbY - y) / (bulbY - 5); };

    // Each tap band gets a faint wash of its own warmth, so the bands read as places to tap.
    for (int level = kLowestMarkedLevel; level <= kHighestMarkedLevel; ++level) {
        const int bandTop = std::max(0, bandTopInPicture(level));
        const int bandBottom = bandTopInPicture(level) + 14;
        QColor wash = heatColor(warmthAt(markRow(level)));
        wash.setAlpha(level % 2 ? 22 : 40);
        p.fillRect(QRectF(cx + 7, bandTop, width - cx - 7, bandBottom - bandTop), wash);
    }

    drawShadow(p, QPointF(cx + 2, 223.5), 10, 1.6, 60);

    // The glass: tube and bulb.
    QPainterPath glass;
    glass.addRoundedRect(QRectF(cx - 5.5, top, 11, bulbY - top), 5.5, 5.5);
    glass.addEllipse(QPointF(cx, bulbY), 11, 11);
    glass = glass.simplified();
    QLinearGradient tube(QPointF(cx - 11, 0), QPointF(cx + 11, 0));
    tube.setColorAt(0, QColor(0xd4, 0xdc, 0xe6));
    tube.setColorAt(0.35, QColor(0xfc, 0xfd, 0xff));
    tube.setColorAt(1, QColor(0xc0, 0xca, 0xd6));
    p.setPen(QPen(QColor(0x6c, 0x7c, 0x8e), 1.0));
    p.setBrush(tube);
    p.drawPath(glass);

    // The liquid from the bulb to the top of the scale.
    QPainterPath liquid;
    liquid.addRoundedRect(QRectF(cx - 2.6, 3, 5.2, bulbY - 3), 2.6, 2.6);
    liquid.addEllipse(QPointF(cx, bulbY), 8.2, 8.2);
    liquid = liquid.simplified();
    QLinearGradient heat(QPointF(0, bulbY + 8), QPointF(0, 4));
    for (int i = 0; i <= 10; ++i)
        heat.setColorAt(i / 10.0, heatColor(i / 10.0));
    p.setPen(Qt::NoPen);
    p.setBrush(heat);
    p.drawPath(liquid);
    // Lights on the glass.
    p.setBrush(QColor(255, 255, 255, 190));
    p.drawRoundedRect(QRectF(cx - 3.9, 3, 1.3, bulbY - 18), 0.6, 0.6);
    p.drawEllipse(QPointF(cx - 4, bulbY - 4), 2.4, 1.9);

    // A mark in the middle of every band, with its number of degrees; small ticks between.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(9);
    font.setBold(true);
    p.setFont(font);
    for (int level = kLowestMarkedLevel; level <= kHighestMarkedLevel; ++level) {
        const double y = markRow(level) + 0.5;
        p.setPen(QPen(QColor(0x30, 0x36, 0x40), 1.0));
        p.drawLine(QPointF(cx + 6, y), QPointF(cx + 12.5, y));
        if (level > kLowestMarkedLevel) {
            const double edge = bandTopInPicture(level) + 14 - 0.5;
            p.setPen(QPen(QColor(0x30, 0x36, 0x40, 120), 0.8));
            p.drawLine(QPointF(cx + 6, edge), QPointF(cx + 9, edge));
        }
        p.setPen(heatColor(warmthAt(y)).darker(150));
        p.drawText(QRectF(cx + 14, y - 7, width - cx - 14, 14), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("%1°C").arg(level));
    }
    return image;
}

QImage scrollPaper() {
    constexpr int width = 160;
    constexpr int height = 123;
    QImage image = canvas(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = kPaperLeft; x <= kPaperRight; ++x)
            image.setPixelColor(x, y, parchment(x, y, 41));
    QPainter p(&image);
    smooth(p);
    // A thin, slightly darker edge on either side.
    p.setPen(QPen(QColor(0xb8, 0x98, 0x5e), 1.0));
    p.drawLine(QPointF(kPaperLeft + 0.5, 0), QPointF(kPaperLeft + 0.5, height));
    p.drawLine(QPointF(kPaperRight + 0.5, 0), QPointF(kPaperRight + 0.5, height));
    // The bottom roll's shadow on the last rows of the paper, which always lie just above it.
    QLinearGradient shade(QPointF(0, height - 9), QPointF(0, height));
    shade.setColorAt(0, QColor(0x6a, 0x4a, 0x1a, 0));
    shade.setColorAt(1, QColor(0x6a, 0x4a, 0x1a, 50));
    p.fillRect(QRectF(kPaperLeft, height - 9, kPaperRight - kPaperLeft + 1, 9), shade);
    return image;
}

QImage scrollTopRoll() {
    QImage image = canvas(160, 23);
    // The paper comes out from under the roll's lower side onto the first rows below it.
    drawRoll(image, 12.5, 10, true);
    return image;
}

QImage scrollBottomRoll() {
    QImage image = canvas(160, 24);
    {
        QPainter p(&image);
        smooth(p);
        drawShadow(p, QPointF(79, 21.5), 76, 2.6, 80);
    }
    // The paper goes into the roll at its upper side, right at the first row.
    drawRoll(image, 10, 10, false);
    return image;
}

} // namespace images
