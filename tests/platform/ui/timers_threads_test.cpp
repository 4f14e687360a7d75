// Window timers, threads and message boxes.
#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <atomic>
#include <gtest/gtest.h>

#include "platform/shell/device_window.h"
#include "platform/testing/driver.h"
#include "platform/ui/hooks.h"
#include "tests/platform/ui/test_module.h"

using namespace platform::testing;
using namespace uitest;

namespace {

struct TimerLog {
    std::vector<std::pair<char, UINT_PTR>> calls;
    HWND window = nullptr;
    DWORD tick = 0;
};
TimerLog timerLog;

void timerA(HWND hwnd, UINT msg, UINT_PTR id, DWORD tick) {
    EXPECT_EQ(msg, WM_TIMER);
    timerLog.calls.emplace_back('A', id);
    timerLog.window = hwnd;
    timerLog.tick = tick;
}
void timerB(HWND, UINT, UINT_PTR id, DWORD) {
    timerLog.calls.emplace_back('B', id);
}
void killsItself(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    timerLog.calls.emplace_back('K', id);
    KillTimer(hwnd, id);
}
void replacesItself(HWND hwnd, UINT, UINT_PTR id, DWORD) {
    timerLog.calls.emplace_back('R', id);
    SetTimer(hwnd, id, 5, timerB);
}

class TimerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setHandler({});
        timerLog = TimerLog{};
        dialog = driver.open(module(), kSimple, TestProc);
    }
    int count(char which) const {
        int n = 0;
        for (auto& call : timerLog.calls)
            if (call.first == which) ++n;
        return n;
    }
    Driver driver;
    HWND dialog = nullptr;
};

} // namespace

TEST_F(TimerTest, TimerCallsItsProcedureWithWindowIdAndTick) {
    const DWORD before = GetTickCount();
    EXPECT_EQ(SetTimer(dialog, 1, 5, timerA), 1u);
    ASSERT_TRUE(driver.waitFor([] { return timerLog.calls.size() >= 2; }));
    KillTimer(dialog, 1);
    EXPECT_EQ(timerLog.calls[0], std::make_pair('A', UINT_PTR{1}));
    EXPECT_EQ(timerLog.window, dialog);
    EXPECT_GE(timerLog.tick - before, 0u);
    EXPECT_LT(timerLog.tick - before, 60000u);
}

TEST_F(TimerTest, SettingTheSameIdAgainReplacesTheProcedure) {
    SetTimer(dialog, 1, 5, timerA);
    SetTimer(dialog, 1, 5, timerB);
    ASSERT_TRUE(driver.waitFor([] { return timerLog.calls.size() >= 3; }));
    KillTimer(dialog, 1);
    EXPECT_EQ(count('A'), 0);
    EXPECT_GE(count('B'), 3);
}

TEST_F(TimerTest, TimersOfDifferentIdsRunSideBySide) {
    SetTimer(dialog, 1, 5, timerA);
    SetTimer(dialog, 2, 5, timerB);
    ASSERT_TRUE(driver.waitFor([this] { return count('A') >= 2 && count('B') >= 2; }));
    KillTimer(dialog, 1);
    KillTimer(dialog, 2);
}

TEST_F(TimerTest, ATimerMayKillOrReplaceItselfFromItsProcedure) {
    SetTimer(dialog, 3, 5, killsItself);
    SetTimer(dialog, 4, 5, replacesItself);
    ASSERT_TRUE(driver.waitFor([this] { return count('B') >= 2; }));
    driver.pump(30);
    EXPECT_EQ(count('K'), 1);
    EXPECT_EQ(count('R'), 1);
    KillTimer(dialog, 4);
}

TEST_F(TimerTest, KilledTimerStopsAndUnknownTimersAreRefused) {
    SetTimer(dialog, 1, 5, timerA);
    ASSERT_TRUE(driver.waitFor([] { return !timerLog.calls.empty(); }));
    EXPECT_TRUE(KillTimer(dialog, 1));
    const std::size_t calls = timerLog.calls.size();
    driver.pump(40);
    EXPECT_EQ(timerLog.calls.size(), calls);
    EXPECT_FALSE(KillTimer(dialog, 1));
    EXPECT_FALSE(KillTimer(dialog, 77));
}

TEST_F(TimerTest, TimersDieWithTheirWindow) {
    SetTimer(dialog, 1, 5, timerA);
    driver.close(dialog);
    driver.pump(40);
    EXPECT_TRUE(timerLog.calls.empty());
}

TEST_F(TimerTest, TimerWithoutProcedureSendsTimerMessage) {
    std::vector<WPARAM> ids;
    setHandler([&](HWND, UINT msg, WPARAM wParam, LPARAM) -> INT_PTR {
        if (msg == WM_TIMER) ids.push_back(wParam);
        return 0;
    });
    SetTimer(dialog, 9, 5, nullptr);
    ASSERT_TRUE(driver.waitFor([&] { return !ids.empty(); }));
    KillTimer(dialog, 9);
    EXPECT_EQ(ids.front(), 9u);
    setHandler({});
}

// ---- Threads ----

namespace {
std::atomic<int> counter{0};
DWORD countTo(void* parameter) {
    const int target = *static_cast<int*>(parameter);
    while (counter.load() < target) {
        counter.fetch_add(1);
        Sleep(1);
    }
    return 5;
}
DWORD exitsEarly(void*) {
    counter.store(1);
    ExitThread(9);
}
DWORD waitsForever(void*) {
    while (counter.load() >= 0)
        Sleep(1);
    return 0;
}
} // namespace

TEST(ThreadTest, ThreadRunsItsRoutineWithItsParameter) {
    counter = 0;
    int target = 10;
    HANDLE thread = CreateThread(nullptr, 0, countTo, &target, 0, nullptr);
    ASSERT_TRUE(thread);
    EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(counter.load(), 10);
    EXPECT_TRUE(CloseHandle(thread));
}

TEST(ThreadTest, ExitThreadEndsTheThreadAtOnce) {
    counter = 0;
    HANDLE thread = CreateThread(nullptr, 0, exitsEarly, nullptr, 0, nullptr);
    EXPECT_EQ(WaitForSingleObject(thread, 5000), WAIT_OBJECT_0);
    EXPECT_EQ(counter.load(), 1);
    CloseHandle(thread);
}

TEST(ThreadTest, WaitTimesOutWhileTheThreadRunsAndClosingLeavesItRunning) {
    counter = 0;
    HANDLE thread = CreateThread(nullptr, 0, waitsForever, nullptr, 0, nullptr);
    EXPECT_EQ(WaitForSingleObject(thread, 10), WAIT_TIMEOUT);
    EXPECT_TRUE(CloseHandle(thread));
    counter = -1; // lets it end by itself
    Sleep(20);
}

TEST(ThreadTest, TickCountAdvancesWithSleep) {
    const DWORD start = GetTickCount();
    Sleep(20);
    EXPECT_GE(GetTickCount() - start, 20u);
}

// ---- Message boxes ----

TEST(MessageBoxTest, ResponderRecordsEachBoxAndGivesTheQueuedAnswers) {
    Driver driver;
    driver.answerNext(IDNO);
    EXPECT_EQ(MessageBoxW(nullptr, u"Löschen?", u"FRAGE", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(MessageBoxW(nullptr, u"Gespeichert.", u"HINWEIS", MB_OK | MB_ICONINFORMATION), IDOK);
    ASSERT_EQ(driver.messageBoxes().size(), 2u);
    EXPECT_EQ(driver.messageBoxes()[0].caption, u"FRAGE");
    EXPECT_EQ(driver.messageBoxes()[0].text, u"Löschen?");
    EXPECT_EQ(driver.messageBoxes()[0].type, MB_YESNO | MB_ICONQUESTION);
    EXPECT_EQ(driver.messageBoxes()[1].type, 64u);
}

namespace {
// Finds the box the device shows and answers it by tapping a button, as a user.
void answerShownBox(const QString& button, QString* textSeen) {
    QTimer::singleShot(0, [button, textSeen] {
        QWidget* box = platform::deviceWindow()->findChild<QWidget*>(QStringLiteral("MessageBox"));
        ASSERT_TRUE(box);
        if (textSeen) *textSeen = box->findChild<QLabel*>(QStringLiteral("MessageBoxText"))->text();
        for (QPushButton* b : box->findChildren<QPushButton*>())
            if (b->text() == button) QTest::mouseClick(b, Qt::LeftButton);
    });
}
} // namespace

TEST(MessageBoxTest, DeviceBoxShowsTheTextWithItsLineBreaksAndReturnsTheTappedButton) {
    QString shown;
    answerShownBox(QStringLiteral("Ja"), &shown);
    EXPECT_EQ(MessageBoxW(nullptr, u"Eins\n\rZwei\r\nDrei\nVier", u"FRAGE", MB_YESNO | MB_ICONQUESTION),
              IDYES);
    EXPECT_EQ(shown, QStringLiteral("Eins\nZwei\nDrei\nVier"));
    answerShownBox(QStringLiteral("Nein"), nullptr);
    EXPECT_EQ(MessageBoxW(nullptr, u"Wirklich?", u"FRAGE", MB_YESNO | MB_ICONQUESTION), IDNO);
    answerShownBox(QStringLiteral("OK"), nullptr);
    EXPECT_EQ(MessageBoxW(nullptr, u"Fertig", u"HINWEIS", MB_OK | MB_ICONINFORMATION), IDOK);
}

TEST(MessageBoxTest, WhileTheBoxIsUpTheDialogBelowTakesNoInput) {
    Driver driver;
    platform::setMessageBoxResponder({}); // show the real box
    setHandler({});
    seen().clear();
    HWND dialog = driver.open(module(), kSimple, TestProc);
    QTimer::singleShot(0, [&] {
        QTest::mouseClick(driver.widget(dialog, IDOK), Qt::LeftButton);
        answerShownBox(QStringLiteral("OK"), nullptr);
    });
    MessageBoxW(dialog, u"Bitte warten", u"HINWEIS", MB_OK | MB_ICONINFORMATION);
    for (const Seen& s : seen())
        EXPECT_NE(s.msg, WM_COMMAND);
}
