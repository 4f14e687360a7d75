// The end of the program from the desktop at the device layer: the window manager's close, the
// signals and the application's Quit end the open modal dialogs from the top down through their
// done commands and answer an open box with its cancel choice; the title follows the top dialog.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <csignal>
#include <gtest/gtest.h>
#include <vector>

#include "platform/shell/device_window.h"
#include "platform/shell/end_requests.h"
#include "platform/testing/driver.h"
#include "platform/ui/hooks.h"
#include "platform/ui/program_end.h"
#include "tests/platform/ui/test_module.h"

using namespace platform::testing;
using namespace uitest;

namespace {

class ProgramEndTest : public ::testing::Test {
  protected:
    void SetUp() override {
        setHandler([this](HWND dialog, UINT msg, WPARAM wParam, LPARAM) -> INT_PTR {
            const int id = platform::dialogTemplateId(dialog);
            if (msg == WM_INITDIALOG) {
                SHINITDLGINFO info{SHIDIM_FLAGS, dialog, SHIDIF_DONEBUTTON | SHIDIF_SIZEDLGFULLSCREEN};
                SHInitDialog(&info);
            }
            if (msg == WM_COMMAND && LOWORD(wParam) == IDOK) {
                done.push_back(id);
                if (id != stubborn) EndDialog(dialog, 1);
            }
            if (msg == WM_DESTROY) destroyed.push_back(id);
            return 0;
        });
    }
    void TearDown() override {
        setHandler({});
        platform::resetProgramEnd();
    }

    // kSimple opens kSecond over itself; `then` runs on kSecond. Returns kSimple's result.
    INT_PTR runTwoDeep(std::function<void(HWND)> then) {
        driver.onDialog(kSimple, [&](HWND simple) {
            titles.push_back(platform::deviceWindow()->windowTitle());
            DialogBoxIndirectParamW(module(), dialogTemplate(kSecond), simple, TestProc, 0);
        });
        driver.onDialog(kSecond, [&, then](HWND second) {
            titles.push_back(platform::deviceWindow()->windowTitle());
            then(second);
        });
        return driver.runModal(module(), kSimple, TestProc);
    }

    Driver driver;
    std::vector<int> done;
    std::vector<int> destroyed;
    std::vector<QString> titles;
    int stubborn = 0; // a dialog whose done command does not end it
};

} // namespace

TEST_F(ProgramEndTest, ClosingTheWindowEndsTheDialogsFromTheTopThroughTheirDoneCommands) {
    EXPECT_EQ(runTwoDeep([&](HWND) { driver.closeDeviceWindow(); }), 1);
    EXPECT_EQ(done, (std::vector<int>{kSecond, kSimple}));
    EXPECT_EQ(destroyed, (std::vector<int>{kSecond, kSimple}));
    EXPECT_TRUE(platform::openDialogs().empty());
    EXPECT_TRUE(platform::deviceWindow()->isVisible()) << "the close was not taken by the window itself";
    EXPECT_TRUE(platform::programEnding());
}

TEST_F(ProgramEndTest, TheTitleFollowsTheDialogOnTopAndGoesBack) {
    driver.onDialog(kSimple, [&](HWND simple) {
        titles.push_back(platform::deviceWindow()->windowTitle());
        DialogBoxIndirectParamW(module(), dialogTemplate(kSecond), simple, TestProc, 0);
    });
    driver.onDialog(kSecond, [&](HWND) {
        titles.push_back(platform::deviceWindow()->windowTitle());
        driver.tapDone();
    });
    driver.onDialog(kSimple, [&](HWND) {
        titles.push_back(platform::deviceWindow()->windowTitle());
        driver.tapDone();
    });
    driver.runModal(module(), kSimple, TestProc);
    titles.push_back(platform::deviceWindow()->windowTitle());
    EXPECT_EQ(titles, (std::vector<QString>{QStringLiteral("Einfach"), QStringLiteral("Zweiter"),
                                            QStringLiteral("Einfach"), QStringLiteral("Talvino")}));
}

TEST_F(ProgramEndTest, ADialogThatIgnoresItsDoneCommandIsEndedAllTheSame) {
    stubborn = kSecond;
    EXPECT_EQ(runTwoDeep([&](HWND) { driver.closeDeviceWindow(); }), 1);
    EXPECT_EQ(done, (std::vector<int>{kSecond, kSimple}));
    EXPECT_TRUE(platform::openDialogs().empty());
}

TEST_F(ProgramEndTest, AnOpenBoxIsAnsweredWithItsCancelChoice) {
    platform::setMessageBoxResponder({}); // the box on screen
    int answer = 0;
    runTwoDeep([&](HWND second) {
        QTimer::singleShot(20, qApp, [&] { driver.closeDeviceWindow(); });
        answer = MessageBoxW(second, u"Wirklich?", u"FRAGE", MB_YESNO | MB_ICONQUESTION);
    });
    EXPECT_EQ(answer, IDNO);
    EXPECT_EQ(done, (std::vector<int>{kSecond, kSimple}));
}

TEST_F(ProgramEndTest, SignalsAndQuitEndTheDialogsWhileTheirListenerLives) {
    for (int request : {SIGTERM, SIGINT, 0}) {
        const platform::EndRequests listening;
        done.clear();
        runTwoDeep([&](HWND) {
            if (request) {
                std::raise(request);
            } else {
                QEvent quit(QEvent::Quit);
                QCoreApplication::sendEvent(qApp, &quit);
            }
        });
        EXPECT_EQ(done, (std::vector<int>{kSecond, kSimple})) << "request " << request;
        platform::resetProgramEnd();
    }
}
