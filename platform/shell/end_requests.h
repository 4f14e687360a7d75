// Where the desktop asks the program to end, besides closing its window: SIGTERM, SIGINT, the end
// of the desktop session and the application's Quit event. Each ends it through endProgram.
#pragma once

#include <QObject>
#include <csignal>

class QSocketNotifier;

namespace platform {

// Listens while it lives; make it after the application object and destroy it before. One at a
// time: it owns the process's handlers of the two signals and restores the previous ones.
class EndRequests : public QObject {
  public:
    EndRequests();
    ~EndRequests() override;
    EndRequests(const EndRequests&) = delete;
    EndRequests& operator=(const EndRequests&) = delete;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QSocketNotifier* notifier_ = nullptr;
    struct sigaction previousTerm_ {};
    struct sigaction previousInt_ {};
};

} // namespace platform
