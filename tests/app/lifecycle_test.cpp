// The program's end from outside its screens, in process: the desktop window closed, a signal,
// the application's Quit; each on the main menu, on the results of a search and with a question
// open. The end must take the done buttons' road: screens from the top down, then the main
// menu's shutdown in its order.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <string>
#include <thread>
#include <vector>

#include "app/global_objects.h"
#include "app/main_menu.h"
#include "app/program.h"
#include "db/database.h"
#include "platform/data/ado.h"
#include "platform/shell/device_window.h"
#include "platform/shell/end_requests.h"
#include "platform/testing/driver.h"
#include "platform/ui/program_end.h"
#include "resources/dialog_ids.h"
#include "resources/resources.h"
#include "results/results_screen.h"
#include "screen/application.h"
#include "search/search_screen.h"
#include "tests/app/lifecycle_expectations.h"
#include "tests/support/test_catalogue.h"

using platform::testing::Driver;

namespace {

std::vector<std::string> logSince(std::size_t start) {
    const std::vector<std::string>& log = globalCreationLog();
    return std::vector<std::string>(log.begin() + static_cast<long>(std::min(start, log.size())), log.end());
}

// The process's threads but Qt's own pool, whose idle workers linger for half a minute.
int threadCount() {
    int count = 1;
    for (const QString& name : otherThreadNames())
        if (!name.startsWith(QLatin1String("Thread (pooled)"))) ++count;
    return count;
}

QString windowTitle() {
    QWidget* device = platform::deviceWindow();
    return device ? device->windowTitle() : QString();
}

class ProgramEnd : public ::testing::Test {
  protected:
    void SetUp() override {
        createGlobalObjects();
        catalogue.addSampleContent().addBookmark(TestCatalogue::kRioja, u"Für Sonntag", u"mit Lamm");
        catalogue.installAsProgramCatalogue();
        driver.stepTimeoutMs = 10000;
        logStart = globalCreationLog().size();
    }
    void TearDown() override {
        platform::resetProgramEnd();
        createGlobalObjects();
    }

    int runProgram() {
        setSearchResultsScreen(ResultsProc);
        return WinMain(talvinoModule(), nullptr, nullptr, SW_SHOW);
    }

    // Records which screens were told "done" and in what order, by their templates.
    void watchDone(HWND dialog) {
        const int id = platform::dialogTemplateId(dialog);
        platform::setMessageObserver(dialog, [this, id](HWND, UINT message, WPARAM wParam, LPARAM) {
            if (message == WM_COMMAND && LOWORD(wParam) == IDOK) doneOrder.push_back(id);
        });
    }

    // The road to the results of a search for red wines; `then` runs on the results screen.
    void searchThen(std::function<void(HWND)> then) {
        driver.onDialog(kMainMenuDialog, [this](HWND menu) {
            watchDone(menu);
            driver.tap(menu, 1006);
        });
        driver.onDialog(kSearchFormDialog, [this](HWND form) {
            watchDone(form);
            driver.tap(form, search_form::kRedBox);
            driver.tap(form, search_form::kStartButton);
        });
        driver.onDialog(kResultsDialog, [this, then](HWND results) {
            watchDone(results);
            then(results);
        });
    }

    TestCatalogue catalogue;
    Driver driver;
    std::size_t logStart = 0;
    std::vector<int> doneOrder;
};

TEST_F(ProgramEnd, ClosingTheWindowOnTheMainMenuRunsTheShutdownInOrder) {
    driver.onDialog(kMainMenuDialog, [&](HWND menu) {
        watchDone(menu);
        EXPECT_TRUE(driver.closeDeviceWindow());
    });
    EXPECT_EQ(runProgram(), 0);
    EXPECT_EQ(doneOrder, (std::vector<int>{kMainMenuDialog})) << "the menu ends as its done button ends it";
    EXPECT_EQ(logSince(logStart), kTeardown);
    EXPECT_EQ(g_database, nullptr);
    EXPECT_FALSE(IsWindowVisible(FindWindowW(u"MS_SIPBUTTON", nullptr)));
    ASSERT_NE(platform::deviceWindow(), nullptr);
    EXPECT_TRUE(platform::deviceWindow()->isVisible()) << "the window stays until the shutdown has run";
    EXPECT_FALSE(QFile::exists(QString::fromStdString(catalogue.path() + "-journal")));
}

TEST_F(ProgramEnd, ClosingTheWindowOnSearchResultsEndsTheScreensFromTheTop) {
    const int threadsBefore = threadCount();
    std::size_t rowsShown = 0;
    searchThen([&](HWND results) {
        rowsShown = driver.treeItems(results, results_screen::kTree).size();
        driver.closeDeviceWindow();
    });
    EXPECT_EQ(runProgram(), 0);
    EXPECT_GT(rowsShown, 0u) << "the search ran and showed its hits";
    EXPECT_EQ(doneOrder, (std::vector<int>{kResultsDialog, kSearchFormDialog, kMainMenuDialog}));
    EXPECT_EQ(logSince(logStart), kTeardown);
    EXPECT_TRUE(platform::openDialogs().empty());
    EXPECT_EQ(threadCount(), threadsBefore) << "the animation thread was joined";
}

TEST_F(ProgramEnd, AnOpenQuestionIsAnsweredNoAndNothingIsDeleted) {
    platform::setMessageBoxResponder({}); // a real box on screen, as the user sees it
    bool boxWasOpen = false;
    driver.onDialog(kMainMenuDialog, [&](HWND menu) { driver.tap(menu, 1050); });
    driver.onDialog(kResultsDialog, [&](HWND results) {
        ASSERT_TRUE(driver.selectTreeItem(results, results_screen::kTree, {u"Lesezeichen", u"Für Sonntag"}));
        ASSERT_TRUE(driver.selectTab(results, results_screen::kTabs, results_screen::kBookmarkTab));
        // The question's own loop runs the close; the tap returns once the box is answered.
        QTimer::singleShot(50, qApp, [&] {
            for (QWidget* box :
                 platform::deviceWindow()->findChildren<QWidget*>(QStringLiteral("MessageBox")))
                boxWasOpen = boxWasOpen || box->isVisible();
            driver.closeDeviceWindow();
        });
        driver.tap(results, results_screen::kBookmarkBox);
    });
    EXPECT_EQ(runProgram(), 0);
    EXPECT_TRUE(boxWasOpen);
    EXPECT_EQ(catalogue.rows("SELECT id_talvino FROM Lesezeichen"),
              (std::vector<std::vector<std::string>>{{std::to_string(TestCatalogue::kRioja)}}));
    EXPECT_EQ(logSince(logStart), kTeardown);
}

TEST_F(ProgramEnd, BoxesAskedWhileEndingTakeTheirCancelChoiceUnseen) {
    driver.answerNext(IDYES);
    platform::endProgram();
    EXPECT_EQ(MessageBoxW(nullptr, u"Löschen?", u"FRAGE", MB_YESNO | MB_ICONQUESTION), IDNO);
    EXPECT_EQ(MessageBoxW(nullptr, u"Gespeichert", u"HINWEIS", MB_OK | MB_ICONINFORMATION), IDOK);
    EXPECT_TRUE(driver.messageBoxes().empty()) << "nobody was asked";
    platform::resetProgramEnd();
    EXPECT_EQ(MessageBoxW(nullptr, u"Löschen?", u"FRAGE", MB_YESNO | MB_ICONQUESTION), IDYES);
}

TEST_F(ProgramEnd, SignalsAndTheApplicationsQuitEndTheProgramLikeDone) {
    enum class Request { Terminate, Interrupt, Quit };
    for (Request request : {Request::Terminate, Request::Interrupt, Request::Quit}) {
        const platform::EndRequests listening;
        doneOrder.clear();
        logStart = globalCreationLog().size();
        searchThen([&](HWND) {
            if (request == Request::Terminate) std::raise(SIGTERM);
            if (request == Request::Interrupt) std::raise(SIGINT);
            if (request == Request::Quit) {
                QEvent quit(QEvent::Quit);
                QCoreApplication::sendEvent(qApp, &quit);
            }
        });
        EXPECT_EQ(runProgram(), 0) << static_cast<int>(request);
        EXPECT_EQ(doneOrder, (std::vector<int>{kResultsDialog, kSearchFormDialog, kMainMenuDialog}))
            << static_cast<int>(request);
        EXPECT_EQ(logSince(logStart), kTeardown) << static_cast<int>(request);
        platform::resetProgramEnd();
        createGlobalObjects();
    }
}

TEST_F(ProgramEnd, AnEndAskedBeforeTheMenuOpensEndsItAtOnce) {
    platform::endProgram();
    EXPECT_EQ(runProgram(), 0);
    EXPECT_EQ(logSince(logStart), kTeardown);
}

void setQuery(const std::u16string& sql) {
    g_database->queryBuffer[sql.copy(g_database->queryBuffer, Database::kQueryBufferChars - 1)] = u'\0';
}

void drawNothing() {}

// What a signal handler does while the interface thread is deep in a long search: the search
// stops, whether the statement steps on the interface thread or (with the program's busy hook)
// on a thread of its own while the interface thread shows the animation.
TEST_F(ProgramEnd, TheEndInterruptsASearchThatIsRunning) {
    platform::setProgramEndHook(interruptQueriesWhileEnding);
    g_database->allocateQueryBuffer();
    for (void (*busyHook)() : {static_cast<void (*)()>(nullptr), &drawNothing}) {
        ado::setBusyHook(busyHook);
        ASSERT_TRUE(g_database->openCatalogue());
        setQuery(u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n) SELECT i FROM n");
        std::thread signal([] {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            platform::noteProgramEndRequested();
        });
        const HRESULT result = g_database->openQuery(ado::adOpenStatic, ado::adLockReadOnly);
        signal.join();
        EXPECT_TRUE(FAILED(result)) << "the endless statement was stopped";

        platform::resetProgramEnd();
        setQuery(u"SELECT count(*) FROM talvino");
        EXPECT_TRUE(SUCCEEDED(g_database->openQuery(ado::adOpenStatic, ado::adLockReadOnly)))
            << "queries run again after the end was forgotten";
        g_database->closeCatalogue();
    }
    ado::setBusyHook(nullptr);
    g_database->freeQueryBuffer();
    platform::setProgramEndHook(nullptr);
}

// Only reading is cut short: what the user saves is written whole even while the program ends.
TEST_F(ProgramEnd, TheEndLetsWritesRunToTheirEnd) {
    platform::setProgramEndHook(interruptQueriesWhileEnding);
    g_database->allocateQueryBuffer();
    ASSERT_TRUE(g_database->openCatalogue());
    platform::noteProgramEndRequested();
    // Long enough for many progress checks.
    const std::u16string insert =
        u"INSERT INTO Lesezeichen (id_talvino, Beschreibung, Notiz) WITH RECURSIVE n(i) AS (SELECT 1 "
        u"UNION ALL SELECT i + 1 FROM n WHERE i < 20000) SELECT 1001, 'Serie', i FROM n";
    EXPECT_TRUE(g_database->executeInTransaction({insert.c_str()}));
    setQuery(
        u"WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20000) SELECT i FROM n");
    EXPECT_TRUE(FAILED(g_database->openQuery(ado::adOpenStatic, ado::adLockReadOnly)))
        << "a read is cut short";
    g_database->closeCatalogue();
    g_database->freeQueryBuffer();
    platform::resetProgramEnd();
    platform::setProgramEndHook(nullptr);
    EXPECT_EQ(catalogue.rows("SELECT count(*) FROM Lesezeichen WHERE Beschreibung = 'Serie'"),
              (std::vector<std::vector<std::string>>{{"20000"}}));
}

TEST_F(ProgramEnd, TheWindowTitleFollowsTheScreenOnTop) {
    std::vector<QString> titles;
    driver.onDialog(kMainMenuDialog, [&](HWND menu) {
        titles.push_back(windowTitle());
        driver.tap(menu, 1008);
    });
    driver.onDialog(kGrapesDialog, [&](HWND) {
        titles.push_back(windowTitle());
        driver.tapDone();
    });
    driver.onDialog(kMainMenuDialog, [&](HWND menu) {
        titles.push_back(windowTitle());
        driver.tap(menu, 1006);
    });
    driver.onDialog(kSearchFormDialog, [&](HWND form) {
        driver.tap(form, search_form::kRedBox);
        driver.tap(form, search_form::kStartButton);
    });
    driver.onDialog(kResultsDialog, [&](HWND) {
        titles.push_back(windowTitle());
        driver.tapDone();
    });
    driver.onDialog(kSearchFormDialog, [&](HWND) {
        titles.push_back(windowTitle());
        driver.tapDone();
    });
    driver.onDialog(kMainMenuDialog, [&](HWND) { driver.tapDone(); });
    EXPECT_EQ(runProgram(), 0);
    titles.push_back(windowTitle());
    EXPECT_EQ(titles, (std::vector<QString>{
                          QStringLiteral("Talvino - Weinführer"), QStringLiteral("Rebsorten"),
                          QStringLiteral("Talvino - Weinführer"), QStringLiteral("Talvino - Suchergebnis"),
                          QStringLiteral("Talvino Weinsuche"), QStringLiteral("Talvino")}));
}

} // namespace
