// The credits banner: the publisher's and the developer's marks on red. Both firms are
// invented (they are the ones the credit rows name).
#include <QFont>
#include <QLinearGradient>
#include <QRadialGradient>
#include <cmath>

#include "image_set.h"
#include "painting.h"

namespace images {
namespace {

const QColor kGold(0xf0, 0xc8, 0x6a);
const QColor kCream(0xfc, 0xf4, 0xe4);

// The publisher's mark: a wine press's screw over a glass, in a gilt ring.
void drawPublisherMark(QPainter& p, QPointF c, double r) {
    QRadialGradient disc(c - QPointF(r * 0.3, r * 0.3), r * 1.3);
    disc.setColorAt(0, QColor(0x8e, 0x0c, 0x1c));
    disc.setColorAt(1, QColor(0x4a, 0x02, 0x0a));
    p.setPen(QPen(kGold, 1.6));
    p.setBrush(disc);
    p.drawEllipse(c, r, r);
    p.setPen(QPen(kGold, 0.7));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(c, r - 2.6, r - 2.6);

    // A stylised glass.
    const GlassShape glass{c.x(), c.y() - r * 0.42, c.y() + r * 0.2, r * 0.33, r * 0.4, r * 0.28, r * 0.3};
    QPainterPath bowl = glassBowl(glass.centerX, glass.top, glass.bottom, glass.rim, glass.belly);
    p.setPen(QPen(kCream, 1.0));
    p.setBrush(QColor(0xc8, 0x1e, 0x36));
    p.drawPath(bowl);
    p.setPen(QPen(kCream, 1.1));
    p.drawLine(QPointF(c.x(), glass.bottom), QPointF(c.x(), glass.bottom + glass.stem));
    p.drawLine(QPointF(c.x() - glass.foot, glass.bottom + glass.stem),
               QPointF(c.x() + glass.foot, glass.bottom + glass.stem));
    // The press's beam above it.
    p.setPen(QPen(kGold, 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(c.x() - r * 0.5, c.y() - r * 0.62), QPointF(c.x() + r * 0.5, c.y() - r * 0.62));
    p.drawLine(QPointF(c.x(), c.y() - r * 0.62), QPointF(c.x(), c.y() - r * 0.46));
}

// The developer's mark: the northern lights over a horizon, in a rounded square.
void drawDeveloperMark(QPainter& p, QRectF box) {
    QLinearGradient sky(box.topLeft(), box.bottomLeft());
    sky.setColorAt(0, QColor(0x12, 0x1c, 0x48));
    sky.setColorAt(1, QColor(0x1e, 0x3e, 0x6e));
    p.setPen(QPen(kCream, 1.2));
    p.setBrush(sky);
    p.drawRoundedRect(box, 4, 4);
    p.save();
    QPainterPath clip;
    clip.addRoundedRect(box.adjusted(1, 1, -1, -1), 3.4, 3.4);
    p.setClipPath(clip);
    for (int band = 0; band < 3; ++band) {
        QPainterPath aurora;
        const double base = box.top() + box.height() * (0.38 + band * 0.1);
        aurora.moveTo(box.left(), base);
        for (int i = 1; i <= 12; ++i) {
            const double x = box.left() + box.width() * i / 12.0;
            aurora.lineTo(x, base - std::sin(i * 0.7 + band) * box.height() * 0.1);
        }
        const QColor glow = band == 1 ? QColor(0x7c, 0xe8, 0xb0, 200) : QColor(0x58, 0xd0, 0xc8, 150);
        p.setPen(QPen(glow, 2.0 - band * 0.4, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawPath(aurora);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x0a, 0x10, 0x28));
    QPainterPath hills;
    hills.moveTo(box.left(), box.bottom());
    hills.lineTo(box.left(), box.top() + box.height() * 0.78);
    hills.quadTo(box.center().x() - 3, box.top() + box.height() * 0.62, box.right(),
                 box.top() + box.height() * 0.8);
    hills.lineTo(box.right(), box.bottom());
    p.drawPath(hills);
    p.setBrush(QColor(255, 255, 240));
    for (auto [fx, fy] : {std::pair{0.2, 0.2}, {0.7, 0.14}, {0.84, 0.34}, {0.45, 0.1}}) {
        p.drawEllipse(QPointF(box.left() + box.width() * fx, box.top() + box.height() * fy), 0.7, 0.7);
    }
    p.restore();
}

} // namespace

QImage creditsBanner() {
    constexpr int width = 275;
    constexpr int height = 52;
    QImage image = canvas(width, height);
    QPainter p(&image);
    smooth(p);

    QLinearGradient red(QPointF(0, 0), QPointF(0, height));
    red.setColorAt(0, QColor(0xc0, 0x1a, 0x2c));
    red.setColorAt(0.5, QColor(0xa0, 0x10, 0x22));
    red.setColorAt(1, QColor(0x72, 0x08, 0x16));
    p.fillRect(image.rect(), red);
    QLinearGradient sheen(QPointF(0, 0), QPointF(width, height));
    sheen.setColorAt(0, QColor(255, 255, 255, 0));
    sheen.setColorAt(0.45, QColor(255, 255, 255, 26));
    sheen.setColorAt(0.6, QColor(255, 255, 255, 0));
    p.fillRect(image.rect(), sheen);
    p.setPen(QPen(kGold, 1.0));
    p.drawLine(QPointF(0, 3.5), QPointF(width, 3.5));
    p.drawLine(QPointF(0, height - 3.5), QPointF(width, height - 3.5));

    // A device screen is 240 pixels wide and shows the banner from its left edge: both marks
    // stay within those columns; the rest is plain banner.
    drawPublisherMark(p, QPointF(22, 26), 16);
    QFont serif(QStringLiteral("DejaVu Serif"));
    serif.setBold(true);
    serif.setPixelSize(12);
    serif.setLetterSpacing(QFont::AbsoluteSpacing, 0.4);
    p.setFont(serif);
    p.setPen(kCream);
    p.drawText(QRectF(42, 10, 100, 18), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("KELTERHAUS"));
    QFont small(QStringLiteral("DejaVu Sans"));
    small.setPixelSize(8);
    small.setBold(true);
    small.setLetterSpacing(QFont::AbsoluteSpacing, 3.0);
    p.setFont(small);
    p.setPen(kGold);
    p.drawText(QRectF(43, 27, 100, 12), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("MEDIEN"));

    p.setPen(QPen(QColor(0xf0, 0xc8, 0x6a, 150), 0.8));
    p.drawLine(QPointF(145.5, 12), QPointF(145.5, 40));

    drawDeveloperMark(p, QRectF(151, 14, 24, 24));
    QFont sans(QStringLiteral("DejaVu Sans"));
    sans.setBold(true);
    sans.setPixelSize(11);
    p.setFont(sans);
    p.setPen(kCream);
    p.drawText(QRectF(178, 12, 62, 15), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("nordlicht"));
    QFont tiny(QStringLiteral("DejaVu Sans"));
    tiny.setPixelSize(7);
    tiny.setLetterSpacing(QFont::AbsoluteSpacing, 1.0);
    p.setFont(tiny);
    p.setPen(QColor(0xf8, 0xdc, 0xc8));
    p.drawText(QRectF(179, 27, 62, 11), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("MOBILSOFT"));
    return image;
}

} // namespace images
