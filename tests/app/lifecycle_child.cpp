// The program as a child process for the end-of-program tests: runs the real program (runTalvino,
// with the real signal handling and device window) on a given catalogue, works it like a user into
// one of three places, says "READY" on stdout and then waits to be ended: by a signal from the
// parent, or by closing its own window as the window manager would (the offscreen platform has no
// window manager to ask). At the end it prints the global objects' log and its threads.
//
//   talvino_lifecycle_child CATALOGUE menu|results|question window|signal
#include <QDir>
#include <QFile>
#include <unistd.h>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "app/global_objects.h"
#include "app/program.h"
#include "platform/testing/driver.h"
#include "platform/ui/hooks.h"
#include "resources/dialog_ids.h"
#include "results/results_screen.h"
#include "search/search_screen.h"
#include "tests/app/lifecycle_expectations.h"

namespace {

std::string place;
bool closeOwnWindow = false;
platform::testing::Driver* driver = nullptr;

void ready() {
    std::printf("READY\n");
    std::fflush(stdout);
    if (closeOwnWindow) driver->closeDeviceWindow();
}

// The first screen: from here the driver takes over, with real message boxes as the user sees them.
void onMainMenu(HWND menu) {
    platform::setDialogActivatedHook({});
    driver = new platform::testing::Driver; // lives to the end of the process, as the program does
    driver->stepTimeoutMs = 60000;
    platform::setMessageBoxResponder({});
    if (place == "menu") {
        ready();
        return;
    }
    if (place == "results") {
        driver->onDialog(kSearchFormDialog, [](HWND form) {
            driver->tap(form, search_form::kRedBox);
            driver->tap(form, search_form::kStartButton);
        });
        driver->onDialog(kResultsDialog, [](HWND) { ready(); });
        driver->tap(menu, 1006);
        return;
    }
    // The question "delete this bookmark?" on the bookmark page of the first bookmark.
    driver->onDialog(kResultsDialog, [](HWND results) {
        const auto tree = driver->treeItems(results, results_screen::kTree);
        if (tree.empty() || tree[0].children.empty()) return;
        driver->selectTreeItem(results, results_screen::kTree, {tree[0].label, tree[0].children[0].label});
        driver->selectTab(results, results_screen::kTabs, results_screen::kBookmarkTab);
        QTimer::singleShot(50, [] { ready(); }); // runs inside the question's own loop
        driver->tap(results, results_screen::kBookmarkBox);
    });
    driver->tap(menu, 1050);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s CATALOGUE menu|results|question window|signal\n", argv[0]);
        return 64;
    }
    place = argv[2];
    closeOwnWindow = std::strcmp(argv[3], "window") == 0;
    const std::size_t logStart = globalCreationLog().size();
    platform::setDialogActivatedHook([](HWND dialog) {
        if (platform::dialogTemplateId(dialog) == kMainMenuDialog) onMainMenu(dialog);
    });

    char option[] = "--catalogue";
    char* programArguments[] = {argv[0], option, argv[1], nullptr};
    const int status = runTalvino(3, programArguments);

    const auto& log = globalCreationLog();
    for (std::size_t i = logStart; i < log.size(); ++i)
        std::printf("LOG %s\n", log[i].c_str());
    // Every thread but this one, by name; Qt's pool keeps idle workers for half a minute.
    for (const QString& name : otherThreadNames())
        std::printf("THREAD %s\n", name.toUtf8().constData());
    std::fflush(stdout);
    return status;
}
