// The search form's wait animation: wine poured into a glass, swirling. Six frames that loop:
// every moving part turns once through a whole period over the six.
#include <QFont>
#include <QLinearGradient>
#include <QRadialGradient>
#include <cmath>

#include "image_set.h"
#include "painting.h"

namespace images {
namespace {

constexpr int kWidth = 159;
constexpr int kHeight = 106;

const GlassShape kGlass{66, 30, 76, 19, 23.5, 15, 17};
const QPointF kMouth(97, 15.5);
const QPointF kImpact(72, 53);

void drawBottle(QPainter& p) {
    p.save();
    p.translate(kMouth);
    p.rotate(152);
    p.translate(-84, 0);
    // Along +x from the body to the mouth, centred on the x axis.
    QPainterPath bottle;
    bottle.moveTo(0, -13);
    bottle.lineTo(46, -13);
    bottle.cubicTo(56, -13, 58, -5, 64, -4.4);
    bottle.lineTo(80, -4.2);
    bottle.lineTo(80, -5.2);
    bottle.lineTo(84, -5.2);
    bottle.lineTo(84, 5.2);
    bottle.lineTo(80, 5.2);
    bottle.lineTo(80, 4.2);
    bottle.lineTo(64, 4.4);
    bottle.cubicTo(58, 5, 56, 13, 46, 13);
    bottle.lineTo(0, 13);
    bottle.closeSubpath();
    QLinearGradient glass(QPointF(0, -13), QPointF(0, 13));
    glass.setColorAt(0.0, QColor(0x1c, 0x3a, 0x22));
    glass.setColorAt(0.25, QColor(0x4a, 0x7a, 0x52));
    glass.setColorAt(0.45, QColor(0x22, 0x4a, 0x2a));
    glass.setColorAt(1.0, QColor(0x0c, 0x1e, 0x10));
    p.setPen(QPen(QColor(0x0a, 0x18, 0x0c), 0.8));
    p.setBrush(glass);
    p.drawPath(bottle);
    // The label, and the light running along the glass.
    QLinearGradient paper(QPointF(0, -13), QPointF(0, 13));
    paper.setColorAt(0, QColor(0xe8, 0xdc, 0xbc));
    paper.setColorAt(0.3, QColor(0xfa, 0xf4, 0xe2));
    paper.setColorAt(1, QColor(0xc4, 0xb4, 0x8c));
    p.setPen(Qt::NoPen);
    p.setBrush(paper);
    p.drawRect(QRectF(4, -13, 30, 26));
    p.setBrush(QColor(0x8a, 0x10, 0x26));
    p.drawRect(QRectF(4, -13, 30, 5));
    p.setPen(QPen(QColor(0x8a, 0x10, 0x26), 0.8));
    p.drawLine(QPointF(10, 2), QPointF(28, 2));
    p.drawLine(QPointF(12, 6), QPointF(26, 6));
    p.setPen(QPen(QColor(255, 255, 255, 120), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(38, -8.5), QPointF(52, -8.5));
    p.drawLine(QPointF(66, -2.6), QPointF(78, -2.6));
    p.restore();
}

QPointF streamPoint(double s) {
    // A falling arc from the bottle's lip down to the wine.
    const QPointF control(kMouth.x() - 9, kMouth.y() + 3);
    const double u = 1 - s;
    return u * u * kMouth + 2 * u * s * control + s * s * kImpact;
}

void drawStream(QPainter& p, double phase) {
    p.setPen(Qt::NoPen);
    for (int i = 0; i <= 80; ++i) {
        const double s = i / 80.0;
        const double swell = 0.45 * std::sin(2 * M_PI * (3 * s - phase));
        const double radius = 1.35 + 0.35 * s + swell * s;
        QRadialGradient drop(streamPoint(s) - QPointF(0.5, 0), radius * 1.4);
        drop.setColorAt(0, QColor(0xc4, 0x2a, 0x44));
        drop.setColorAt(1, QColor(0x6a, 0x06, 0x18));
        p.setBrush(drop);
        p.drawEllipse(streamPoint(s), radius, radius);
    }
}

void drawRipples(QPainter& p, double phase) {
    p.save();
    p.setClipPath(glassBowl(kGlass.centerX, kGlass.top, kGlass.bottom, kGlass.rim, kGlass.belly));
    p.setBrush(Qt::NoBrush);
    for (double offset : {0.0, 0.5}) {
        const double t = std::fmod(phase + offset, 1.0);
        const double rx = 3 + 12 * t;
        p.setPen(QPen(QColor(0xf4, 0x9a, 0xaa, static_cast<int>(170 * (1 - t))), 0.9));
        p.drawEllipse(kImpact + QPointF(0, 0.5), rx, rx * 0.2);
    }
    p.restore();
}

} // namespace

QImage waitAnimationFrame(int frame) {
    const double phase = (frame % kWaitFrames) / double(kWaitFrames);
    QImage image = canvas(kWidth, kHeight);
    QPainter p(&image);
    smooth(p);

    // A soft pool of light behind the glass.
    QRadialGradient light(QPointF(70, 56), 62);
    light.setColorAt(0, QColor(0xfb, 0xf1, 0xf3));
    light.setColorAt(1, QColor(255, 255, 255));
    p.fillRect(image.rect(), light);

    const double turn = 2 * M_PI * phase;
    WineState wine{55 + 0.7 * std::sin(turn), 0.12 * std::sin(turn), phase, 0.9, phase};
    drawWineGlass(p, kGlass, &wine);
    drawRipples(p, phase);
    drawStream(p, phase);
    drawBottle(p);

    // "Suche läuft" with one, two, three dots, twice over the loop.
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(11);
    font.setBold(true);
    p.setFont(font);
    p.setPen(QColor(0x7a, 0x10, 0x28));
    const QString dots = QString(frame % 3 + 1, QLatin1Char('.'));
    p.drawText(QRectF(100, 66, 58, 14), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Suche"));
    p.drawText(QRectF(100, 80, 58, 14), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("läuft") + dots);
    return image;
}

} // namespace images
