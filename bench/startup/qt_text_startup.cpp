// The fair yardstick: a minimal Qt Widgets program that does what any first screen of the program
// must, and no more: it loads the Tahoma file of fonts-wine, paints one line of text in it and one
// 48 × 48 bitmap (decoded from BMP bytes, as the program's pictures are), and quits after the
// first paint. "--scale N" draws it N times as large, as the device is drawn at its scale.
// Prints "qt-text first_paint_ms=... max_rss_kb=...".
#include <sys/resource.h>

#include <QApplication>
#include <QByteArray>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
using Clock = std::chrono::steady_clock;
Clock::time_point started;
double firstPaintMs = -1;

// A 48 × 48 bitmap file at 24 bits a pixel, in memory: a colour ramp.
QByteArray bitmapFile() {
    constexpr int side = 48;
    constexpr int rowBytes = side * 3; // already a multiple of four
    constexpr int pixelBytes = rowBytes * side;
    QByteArray file(54 + pixelBytes, '\0');
    auto put = [&file](int at, int value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            file[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    };
    file[0] = 'B';
    file[1] = 'M';
    put(2, file.size(), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, side, 4);
    put(22, side, 4);
    put(26, 1, 2);
    put(28, 24, 2);
    put(34, pixelBytes, 4);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const int at = 54 + y * rowBytes + x * 3;
            file[at] = static_cast<char>(x * 5);
            file[at + 1] = static_cast<char>(y * 5);
            file[at + 2] = static_cast<char>(128);
        }
    return file;
}

class Window : public QWidget {
  public:
    Window(const QString& family, const QImage& picture, int scale)
        : font_(family), picture_(picture), scale_(scale) {
        font_.setPixelSize(13);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        painter.scale(scale_, scale_);
        painter.drawImage(4, 4, picture_);
        painter.setFont(font_);
        painter.drawText(QRect(4, 60, width() / scale_ - 8, 20), Qt::AlignLeft | Qt::AlignVCenter,
                         QStringLiteral("Talvino - Weinführer"));
        painter.end();
        if (firstPaintMs >= 0) return;
        firstPaintMs = std::chrono::duration<double, std::milli>(Clock::now() - started).count();
        QTimer::singleShot(1, qApp, &QApplication::quit);
    }

  private:
    QFont font_;
    QImage picture_;
    int scale_;
};
} // namespace

int main(int argc, char** argv) {
    started = Clock::now();
    int scale = 1;
    for (int i = 1; i + 1 < argc; ++i)
        if (std::strcmp(argv[i], "--scale") == 0) scale = std::max(1, std::atoi(argv[i + 1]));
    int status;
    {
        QApplication application(argc, argv);
        const int id = QFontDatabase::addApplicationFont(QStringLiteral("/usr/share/wine/fonts/tahoma.ttf"));
        const QStringList families = QFontDatabase::applicationFontFamilies(id);
        const QImage picture = QImage::fromData(bitmapFile(), "BMP").convertToFormat(QImage::Format_RGB32);
        Window window(families.isEmpty() ? QStringLiteral("DejaVu Sans") : families.first(), picture, scale);
        window.resize(240 * scale, 320 * scale);
        window.show();
        status = application.exec();
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("qt-text first_paint_ms=%.1f max_rss_kb=%ld\n", firstPaintMs, usage.ru_maxrss);
    return status;
}
