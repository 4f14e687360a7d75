// Signals reach the interface thread through a pipe: the handler only notes the request (which
// lets the program interrupt a long query at once) and writes one byte; the event loop reads it.
#include "platform/shell/end_requests.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <cerrno>

#include "platform/ui/program_end.h"

namespace platform {
namespace {

int pipeEnds[2] = {-1, -1};

extern "C" void onEndSignal(int) {
    const int savedErrno = errno;
    noteProgramEndRequested();
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(pipeEnds[1], &byte, 1);
    errno = savedErrno;
}

void install(int signal, struct sigaction* previous) {
    struct sigaction action {};
    action.sa_handler = onEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signal, &action, previous);
}

} // namespace

EndRequests::EndRequests() {
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) == 0) {
        notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, [] {
            char bytes[16];
            while (::read(pipeEnds[0], bytes, sizeof bytes) > 0) {
            }
            endProgram();
        });
        install(SIGTERM, &previousTerm_);
        install(SIGINT, &previousInt_);
    }
    if (QCoreApplication* application = QCoreApplication::instance()) {
        application->installEventFilter(this);
#ifndef QT_NO_SESSIONMANAGER
        // Nothing waits to be saved (a bookmark is written when the user saves it): the session
        // may end, and the program ends with it.
        if (auto* gui = qobject_cast<QGuiApplication*>(application))
            connect(gui, &QGuiApplication::commitDataRequest, this, [](QSessionManager&) { endProgram(); });
#endif
    }
}

EndRequests::~EndRequests() {
    if (notifier_) {
        sigaction(SIGTERM, &previousTerm_, nullptr);
        sigaction(SIGINT, &previousInt_, nullptr);
        delete notifier_;
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        pipeEnds[0] = pipeEnds[1] = -1;
    }
}

// The application's Quit (the session manager's "die") would end every modal loop at once and
// skip the screens' own clean-up; the program ends through its screens instead.
bool EndRequests::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Quit && watched == QCoreApplication::instance()) {
        endProgram();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace platform
