// talvino-images OUTDIR [--preview DIR]: draws every bitmap of the program and writes it as
// OUTDIR/<id>.bmp; with --preview also DIR/<id>.png at twice the size, to look at.
// talvino-images --icons DIR: the desktop icon as DIR/<N>x<N>/apps/talvino.png, hicolor sizes.
#include <QDir>
#include <QFont>
#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <algorithm>
#include <cstdio>

#include "image_set.h"

namespace {

// The temperature screen's pictures put together as the screen draws them, closed, half open
// and open, at twice the size.
QImage scrollPreview() {
    const QImage thermometer = images::thermometerScale();
    const QImage paper = images::scrollPaper();
    const QImage top = images::scrollTopRoll();
    const QImage bottom = images::scrollBottomRoll();
    QImage sheet(3 * 240 + 20, 268, QImage::Format_RGB32);
    sheet.fill(QColor(0x88, 0x88, 0x88));
    QPainter p(&sheet);
    int left = 0;
    for (int t : {-8, 13, 50}) {
        QImage screen(240, 268, QImage::Format_RGB32);
        screen.fill(Qt::white);
        QPainter s(&screen);
        s.drawImage(9, 10, thermometer);
        s.drawImage(QPoint(75, 115 - t), paper, QRect(0, 100 - 2 * t, 160, 23 + 2 * t));
        s.drawImage(75, 94 - t, top);
        s.drawImage(75, 138 + t, bottom);
        QFont font(QStringLiteral("Tahoma"));
        font.setPixelSize(11);
        s.setFont(font);
        s.setPen(Qt::black);
        const int bottomEdge = static_cast<int>(t + 128 + t * 0.02f * 5);
        if (bottomEdge > 120 - t) {
            s.setClipRect(QRect(90, 120 - t, 135, bottomEdge - (120 - t)));
            s.drawText(QRect(90, 120 - t, 135, 200), Qt::AlignHCenter | Qt::AlignTop,
                       QStringLiteral("Tippen Sie auf die\neinzelnen Bereiche des\nThermometers und Ihnen\n"
                                      "werden die entsprechenden\nWeine angezeigt.\nSie können auch einen\n"
                                      "Wein aus der Liste unterhalb\nauswählen."));
        }
        s.end();
        p.drawImage(left, 0, screen);
        left += 250;
    }
    p.end();
    return sheet.scaled(sheet.size() * 2);
}

// The icon theme's layout: one folder per size, the icon named after the program.
int writeIcons(const QString& folder) {
    for (int size : images::kAppIconSizes) {
        const QString dir = QStringLiteral("%1/%2x%2/apps").arg(folder).arg(size);
        if (!QDir().mkpath(dir) || !images::appIcon(size).save(dir + QStringLiteral("/talvino.png"), "PNG")) {
            std::fprintf(stderr, "cannot write the %d pixel icon in %s\n", size, qPrintable(dir));
            return 1;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QStringLiteral("--icons")) return writeIcons(args[2]);
    if (args.size() != 2 && !(args.size() == 4 && args[2] == QStringLiteral("--preview"))) {
        std::fprintf(stderr, "usage: talvino-images OUTDIR [--preview DIR] | --icons DIR\n");
        return 2;
    }
    const QDir out(args[1]);
    if (!QDir().mkpath(out.path())) {
        std::fprintf(stderr, "cannot create %s\n", qPrintable(out.path()));
        return 1;
    }
    const QString preview = args.size() == 4 ? args[3] : QString();
    if (!preview.isEmpty()) QDir().mkpath(preview);

    // The preview sheet: every picture at three times its size, side by side on grey.
    const std::vector<images::GeneratedImage> all = images::generateAll();
    QImage sheet(1440, 1500, QImage::Format_RGB32);
    sheet.fill(QColor(0x88, 0x88, 0x88));
    QPainter sheetPainter(&sheet);
    int sheetX = 10, sheetY = 10, rowHeight = 0;

    for (const images::GeneratedImage& picture : all) {
        const QByteArray bytes = images::bmpBytes(picture.image, picture.bitsPerPixel);
        // What is written must read back at the depth and size the program expects.
        const QImage back = QImage::fromData(bytes, "BMP");
        if (images::bmpBitsPerPixel(bytes) != picture.bitsPerPixel || back.size() != picture.image.size()) {
            std::fprintf(stderr, "bitmap %d does not read back as written\n", picture.id);
            return 1;
        }
        QFile file(out.filePath(QStringLiteral("%1.bmp").arg(picture.id)));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(file.fileName()));
            return 1;
        }
        if (!preview.isEmpty())
            back.scaled(back.size() * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation)
                .save(QDir(preview).filePath(QStringLiteral("%1.png").arg(picture.id)));
        const QImage big = back.scaled(back.size() * 3, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        if (sheetX + big.width() > sheet.width()) {
            sheetX = 10;
            sheetY += rowHeight + 10;
            rowHeight = 0;
        }
        sheetPainter.drawImage(sheetX, sheetY, big);
        sheetX += big.width() + 10;
        rowHeight = std::max(rowHeight, big.height());
        std::printf("%d.bmp  %dx%d  %d bits\n", picture.id, back.width(), back.height(),
                    picture.bitsPerPixel);
    }
    sheetPainter.end();
    QImage frames(3 * 159 * 3 + 40, 2 * 106 * 3 + 30, QImage::Format_RGB32);
    frames.fill(QColor(0x88, 0x88, 0x88));
    {
        QPainter framePainter(&frames);
        for (int i = 0; i < images::kWaitFrames; ++i)
            framePainter.drawImage(10 + (i % 3) * (159 * 3 + 10), 10 + (i / 3) * (106 * 3 + 10),
                                   images::waitAnimationFrame(i).scaled(159 * 3, 106 * 3));
    }
    if (!preview.isEmpty()) frames.save(QDir(preview).filePath(QStringLiteral("frames.png")));
    if (!preview.isEmpty()) scrollPreview().save(QDir(preview).filePath(QStringLiteral("scroll.png")));
    if (!preview.isEmpty()) sheet.save(QDir(preview).filePath(QStringLiteral("sheet.png")));
    return 0;
}
