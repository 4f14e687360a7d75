// Threads, sleeping and the tick count. Differs from the platform: a thread handle is the only
// kind of HANDLE; ExitThread unwinds the calling thread's stack (destructors run), and called
// on a thread not made by CreateThread it ends the whole program. Threads carry the name
// "talvino-thread", for top -H and debuggers.
#include <pthread.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <thread>

#include "platform/ui/windows.h"

namespace {

struct ThreadState {
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    DWORD exitCode = 0;
};

struct ThreadExit {
    DWORD code;
};

thread_local bool madeByCreateThread = false;

} // namespace

struct HANDLE__ {
    std::thread thread;
    std::shared_ptr<ThreadState> state;
};

HANDLE CreateThread(void*, std::size_t, LPTHREAD_START_ROUTINE start, void* parameter, DWORD,
                    DWORD* threadId) {
    if (!start) return nullptr;
    auto* handle = new HANDLE__;
    handle->state = std::make_shared<ThreadState>();
    auto state = handle->state;
    handle->thread = std::thread([start, parameter, state] {
        pthread_setname_np(pthread_self(), "talvino-thread");
        madeByCreateThread = true;
        DWORD code = 0;
        try {
            code = start(parameter);
        } catch (const ThreadExit& exit) {
            code = exit.code;
        }
        std::lock_guard<std::mutex> lock(state->mutex);
        state->exitCode = code;
        state->done = true;
        state->finished.notify_all();
    });
    if (threadId)
        *threadId = static_cast<DWORD>(std::hash<std::thread::id>()(handle->thread.get_id()) & 0x7FFFFFFF);
    return handle;
}

void Sleep(DWORD ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void ExitThread(DWORD code) {
    if (!madeByCreateThread) std::exit(static_cast<int>(code));
    throw ThreadExit{code};
}

DWORD WaitForSingleObject(HANDLE handle, DWORD timeoutMs) {
    if (!handle) return WAIT_TIMEOUT;
    std::unique_lock<std::mutex> lock(handle->state->mutex);
    auto done = [&] { return handle->state->done; };
    if (timeoutMs == INFINITE)
        handle->state->finished.wait(lock, done);
    else if (!handle->state->finished.wait_for(lock, std::chrono::milliseconds(timeoutMs), done))
        return WAIT_TIMEOUT;
    return WAIT_OBJECT_0;
}

BOOL CloseHandle(HANDLE handle) {
    if (!handle) return FALSE;
    // Closing the handle does not end the thread; it runs on by itself.
    if (handle->thread.joinable()) {
        bool done;
        {
            std::lock_guard<std::mutex> lock(handle->state->mutex);
            done = handle->state->done;
        }
        if (done)
            handle->thread.join();
        else
            handle->thread.detach();
    }
    delete handle;
    return TRUE;
}

DWORD GetTickCount() {
    using namespace std::chrono;
    return static_cast<DWORD>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}
