// Where the desktop asks the program to end, besides closing its window: SIGTERM, SIGINT, SIGHUP
// (its terminal closed), the end of the desktop session, the application's Quit event and the
// device window destroyed from outside. Each ends it through endProgram.
#pragma once

#include <QAbstractNativeEventFilter>
#include <QObject>
#include <csignal>

class QSocketNotifier;

namespace platform {

// Listens while it lives; make it after the application object and destroy it before. One at a
// time: it owns the process's handlers of the three signals and restores the previous ones, unless
// catchEndSignals has made them the program's for good.
class EndRequests : public QObject, public QAbstractNativeEventFilter {
  public:
    EndRequests();
    ~EndRequests() override;
    EndRequests(const EndRequests&) = delete;
    EndRequests& operator=(const EndRequests&) = delete;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    // The device window destroyed from outside (xdotool windowclose, a crashed window manager):
    // without its window the program ends.
    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

  private:
    QSocketNotifier* notifier_ = nullptr;
    struct sigaction previous_[3]{};
};

} // namespace platform
