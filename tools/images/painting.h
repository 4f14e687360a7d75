// Drawing pieces shared by the pictures: a white canvas, the wine glass, soft shadows, grain.
#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

namespace images {

// An opaque canvas of the given size, filled with `background`, and a painter that smooths edges.
QImage canvas(int width, int height, QColor background = Qt::white);
void smooth(QPainter& painter);

// A deterministic value in [0, 1) for a point and a seed (paper grain, wood fibres, sparkle).
double grain(int x, int y, int seed);

// The outline of a tulip-shaped glass bowl: rim at `top` with half-width `rim`, widest
// half-width `belly`, round bottom at `bottom`.
QPainterPath glassBowl(double centerX, double top, double bottom, double rim, double belly);

// The half-width of a bowl at height y (0 above the rim or below the bottom).
double bowlHalfWidth(const QPainterPath& bowl, double centerX, double y);

struct GlassShape {
    double centerX;
    double top;    // the rim
    double bottom; // the bowl's lowest point
    double rim;
    double belly;
    double stem; // length of the stem below the bowl
    double foot; // half-width of the foot
};

// The wine in a glass: surface height (y of the surface's middle), its tilt (pixels of rise per
// pixel to the right), and the angle of the light spot on the surface.
struct WineState {
    double surface;
    double tilt = 0;
    double sparkle = 0.35; // turn of the surface's highlight, 0..1
    double wave = 0;       // amplitude of the ripple across the surface
    double wavePhase = 0;  // 0..1
};

// Draws the whole glass with its wine, from the shadow on the table to the highlights.
void drawWineGlass(QPainter& painter, const GlassShape& glass, const WineState* wine);

// A soft elliptic shadow on the table.
void drawShadow(QPainter& painter, QPointF center, double halfWidth, double halfHeight, int strength);

} // namespace images
