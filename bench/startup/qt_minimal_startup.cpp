// The yardstick: a minimal Qt Widgets program showing one window, measured the same way.
#include <sys/resource.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdio>

namespace {
using Clock = std::chrono::steady_clock;
Clock::time_point started;
double firstPaintMs = -1;

class Window : public QWidget {
  protected:
    void paintEvent(QPaintEvent*) override {
        if (firstPaintMs >= 0) return;
        firstPaintMs = std::chrono::duration<double, std::milli>(Clock::now() - started).count();
        QTimer::singleShot(1, qApp, &QApplication::quit);
    }
};
} // namespace

int main(int argc, char** argv) {
    started = Clock::now();
    int status;
    {
        QApplication application(argc, argv);
        Window window;
        window.resize(240, 320);
        window.show();
        status = application.exec();
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("qt-minimal first_paint_ms=%.1f max_rss_kb=%ld\n", firstPaintMs, usage.ru_maxrss);
    return status;
}
