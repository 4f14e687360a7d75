// The wait animation's thread: which frames it draws, and when it ends. Frames are counted through
// the drawing hook, so nothing here depends on a clock.
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

#include "search/search_form.h"
#include "search/wait_animation.h"

namespace {

// What the hooks see; the animation thread writes it, the test reads it after the thread ended.
struct Recording {
    SearchForm* form = nullptr;
    std::mutex lock;
    std::vector<int> frames;
    std::vector<int> threads; // which thread drew, numbered in order of their first frame
    std::atomic<int> threadsSeen{0};
    int stopAtFrame = 0; // set the stop flag while drawing this frame (1-based), 0: never
    int stopAtPause = 0; // set the stop flag during this pause (1-based), 0: never
    std::vector<DWORD> pauses; // the length of each pause asked for, in milliseconds
    std::atomic<int> drawing{0};
    std::atomic<int> mostAtOnce{0};
};
Recording* recording = nullptr;

void recordFrame(HWND, HINSTANCE, int bitmapId) {
    const int now = ++recording->drawing;
    int most = recording->mostAtOnce.load();
    while (now > most && !recording->mostAtOnce.compare_exchange_weak(most, now)) {
    }
    {
        std::lock_guard<std::mutex> guard(recording->lock);
        recording->frames.push_back(bitmapId);
        // Thread ids may be reused once a thread has ended; a fresh thread's thread_local is not.
        thread_local int thread = 0;
        if (thread == 0) thread = ++recording->threadsSeen;
        recording->threads.push_back(thread);
        if (static_cast<int>(recording->frames.size()) == recording->stopAtFrame)
            recording->form->stopFlag = 1;
    }
    --recording->drawing;
}

void recordPause(DWORD ms) {
    std::lock_guard<std::mutex> guard(recording->lock);
    recording->pauses.push_back(ms);
    if (static_cast<int>(recording->pauses.size()) == recording->stopAtPause) recording->form->stopFlag = 1;
}

void yieldPause(DWORD) {
    std::this_thread::yield();
}

class WaitAnimation : public testing::Test {
  protected:
    void SetUp() override {
        recording = &record;
        record.form = &form;
        wait_animation::setFrameDrawer(recordFrame);
        wait_animation::setPause(recordPause);
    }
    void TearDown() override {
        endWaitAnimation(form);
        wait_animation::setFrameDrawer(nullptr);
        wait_animation::setPause(nullptr);
        recording = nullptr;
    }
    // Waits until the thread has ended by itself, without setting the stop flag.
    void waitForThreadEnd() {
        ASSERT_NE(form.animationThread, nullptr);
        ASSERT_EQ(WaitForSingleObject(form.animationThread, INFINITE), WAIT_OBJECT_0);
    }
    int framesSoFar() {
        std::lock_guard<std::mutex> guard(record.lock);
        return static_cast<int>(record.frames.size());
    }

    SearchForm form{};
    Recording record;
};

TEST_F(WaitAnimation, FramesRunFrom148To153AndStartAgainWith148) {
    record.stopAtFrame = 8;
    startWaitAnimation(form, nullptr, nullptr);
    waitForThreadEnd();
    EXPECT_EQ(record.frames, (std::vector<int>{148, 149, 150, 151, 152, 153, 148, 149}));
    EXPECT_EQ(record.pauses, std::vector<DWORD>(7, 80)) << "80 ms between frames";
    EXPECT_EQ(form.frameIndex.load(), 2);
}

TEST_F(WaitAnimation, StopWhileDrawingEndsTheThreadWithoutAnotherPause) {
    record.stopAtFrame = 3;
    startWaitAnimation(form, nullptr, nullptr);
    waitForThreadEnd();
    EXPECT_EQ(record.frames.size(), 3u);
    EXPECT_EQ(record.pauses.size(), 2u);
}

TEST_F(WaitAnimation, StopDuringThePauseEndsTheThreadBeforeTheNextFrame) {
    record.stopAtPause = 2;
    startWaitAnimation(form, nullptr, nullptr);
    waitForThreadEnd();
    EXPECT_EQ(record.frames, (std::vector<int>{148, 149}));
}

TEST_F(WaitAnimation, StartResetsTheFrameIndexAndAStopLeftFromBefore) {
    form.frameIndex = 4;
    form.stopFlag = 1;
    record.stopAtFrame = 1;
    startWaitAnimation(form, nullptr, nullptr);
    waitForThreadEnd();
    EXPECT_EQ(record.frames, (std::vector<int>{148}));
}

TEST_F(WaitAnimation, StopSetsTheFlagAndTheThreadEndsOnItsOwn) {
    wait_animation::setPause(yieldPause);
    startWaitAnimation(form, nullptr, nullptr);
    while (framesSoFar() < 2)
        std::this_thread::yield();
    stopWaitAnimation(form);
    EXPECT_EQ(form.stopFlag.load(), 1);
    waitForThreadEnd();
    const int drawn = framesSoFar();
    EXPECT_GE(drawn, 2);
    std::this_thread::yield();
    EXPECT_EQ(framesSoFar(), drawn);
}

TEST_F(WaitAnimation, RestartWhileRunningLetsTheOldThreadEndBeforeTheNewOneDraws) {
    wait_animation::setPause(yieldPause);
    startWaitAnimation(form, nullptr, nullptr);
    while (framesSoFar() < 3)
        std::this_thread::yield();
    startWaitAnimation(form, nullptr, nullptr);
    const int atRestart = framesSoFar();
    while (framesSoFar() < atRestart + 3)
        std::this_thread::yield();
    endWaitAnimation(form);

    EXPECT_EQ(record.mostAtOnce.load(), 1);
    // One switch of drawing thread: every frame of the first run comes before the second's,
    // and the second run starts again with the first frame.
    std::size_t switchAt = 0;
    int switches = 0;
    for (std::size_t i = 1; i < record.threads.size(); ++i) {
        if (record.threads[i] == record.threads[i - 1]) continue;
        ++switches;
        switchAt = i;
    }
    ASSERT_EQ(switches, 1);
    EXPECT_EQ(record.frames[switchAt], 148);
}

TEST_F(WaitAnimation, EndingWaitsForTheThreadAndReleasesItsHandle) {
    wait_animation::setPause(yieldPause);
    startWaitAnimation(form, nullptr, nullptr);
    while (framesSoFar() < 1)
        std::this_thread::yield();
    endWaitAnimation(form);
    EXPECT_EQ(form.animationThread, nullptr);
    const int drawn = framesSoFar();
    std::this_thread::yield();
    EXPECT_EQ(framesSoFar(), drawn);
}

} // namespace
