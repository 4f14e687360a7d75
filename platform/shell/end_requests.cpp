// Signals reach the interface thread through a pipe: the handler only notes the request (which
// lets the program interrupt a long query at once) and writes one byte; the event loop reads it.
// Before the pipe exists (start-up) and after it is gone (the end) the note alone stays: a screen
// that starts later ends at once, and the end under way simply goes on.
#include "platform/shell/end_requests.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QSessionManager>
#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <iterator>

#include "platform/shell/device.h"
#include "platform/shell/device_window.h"
#include "platform/ui/program_end.h"

#ifdef TALVINO_HAVE_XCB
#include <QWidget>
#include <xcb/xcb.h>
#endif

namespace platform {
namespace {

int pipeEnds[2] = {-1, -1};
std::atomic<int> signalPipe{-1}; // the end the handler writes to; -1 while there is none
static_assert(std::atomic<int>::is_always_lock_free, "read in a signal handler");
bool caughtForGood = false;

// The signals by which a desktop, a terminal or a user asks a program to end.
constexpr int kEndSignals[] = {SIGTERM, SIGINT, SIGHUP};

extern "C" void onEndSignal(int) {
    const int savedErrno = errno;
    noteProgramEndRequested();
    const int fd = signalPipe.load();
    const char byte = 1;
    if (fd >= 0 && ::write(fd, &byte, 1) < 0) {
        // A full pipe already holds a request; nothing more to say.
    }
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

void catchEndSignals() {
    caughtForGood = true;
    for (int signal : kEndSignals)
        install(signal, nullptr);
}

EndRequests::EndRequests() {
    if (::pipe2(pipeEnds, O_CLOEXEC | O_NONBLOCK) == 0) {
        notifier_ = new QSocketNotifier(pipeEnds[0], QSocketNotifier::Read, this);
        connect(notifier_, &QSocketNotifier::activated, this, [] {
            char bytes[16];
            while (::read(pipeEnds[0], bytes, sizeof bytes) > 0) {
            }
            endProgram();
        });
        signalPipe.store(pipeEnds[1]);
        if (!caughtForGood)
            for (std::size_t i = 0; i < std::size(kEndSignals); ++i)
                install(kEndSignals[i], &previous_[i]);
    }
    if (QCoreApplication* application = QCoreApplication::instance()) {
        application->installEventFilter(this);
        application->installNativeEventFilter(this);
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
        signalPipe.store(-1);
        if (!caughtForGood)
            for (std::size_t i = 0; i < std::size(kEndSignals); ++i)
                sigaction(kEndSignals[i], &previous_[i], nullptr);
        delete notifier_;
        ::close(pipeEnds[0]);
        ::close(pipeEnds[1]);
        pipeEnds[0] = pipeEnds[1] = -1;
    }
}

// The application's Quit (the session manager's "die") would end every modal loop at once and
// skip the screens' own clean-up; the program ends through its screens instead.
bool EndRequests::nativeEventFilter(const QByteArray& eventType, [[maybe_unused]] void* message, qintptr*) {
#ifdef TALVINO_HAVE_XCB
    if (eventType != "xcb_generic_event_t") return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    if ((event->response_type & 0x7f) != XCB_DESTROY_NOTIFY) return false;
    const auto* destroyed = static_cast<const xcb_destroy_notify_event_t*>(message);
    // The window the desktop knows is the one around the device.
    const QWidget* device = deviceHostWindow();
    if (device && device->internalWinId() == destroyed->window && !programEnding()) endProgram();
#else
    (void)eventType;
#endif
    return false;
}

bool EndRequests::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Quit && watched == QCoreApplication::instance()) {
        endProgram();
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace platform
