// The screenshot tour: starts the program as a user would, twice (once without a catalogue, to
// show its error box, then with a copy of the built one), and saves each screen state as a PNG.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <string>

#include "app/catalogue_location.h"
#include "app/global_objects.h"
#include "app/main_menu.h"
#include "platform/data/utf.h"
#include "platform/shell/device.h"
#include "platform/shell/device_window.h"
#include "platform/testing/driver.h"
#include "platform/ui/hooks.h"
#include "resources/dialog_ids.h"
#include "resources/resources.h"
#include "search/search_form.h"
#include "search/search_screen.h"
#include "search/wait_animation.h"

namespace {

using platform::testing::Driver;

QString outputDir;
int failures = 0;

void save(const char* name) {
    const QString path = QDir(outputDir).filePath(QString::fromLatin1(name));
    if (!platform::grabDevice(2).save(path)) {
        std::fprintf(stderr, "talvino-tour: cannot write %s\n", qPrintable(path));
        ++failures;
        return;
    }
    std::printf("%s\n", qPrintable(path));
}

// The window as a tablet or a phone shows it: the device at 1.5 and 3 times, and filling a
// window of 720 x 1440 (a phone's screen); then back at the tour's own scale.
void saveSizes(const char* base) {
    QWidget* window = platform::deviceHostWindow();
    const double tourScale = platform::deviceScale();
    const auto saveWindow = [window, base](const QString& suffix) {
        QApplication::processEvents();
        const QString path = QDir(outputDir).filePath(QString::fromLatin1(base) + suffix);
        if (!window->grab().save(path)) {
            std::fprintf(stderr, "talvino-tour: cannot write %s\n", qPrintable(path));
            ++failures;
            return;
        }
        std::printf("%s\n", qPrintable(path));
    };
    platform::setDeviceScale(1.5);
    saveWindow(QStringLiteral("-scale-1.5.png"));
    platform::setDeviceScale(3);
    saveWindow(QStringLiteral("-scale-3.png"));
    platform::setDeviceScale(0);
    window->resize(720, 1440);
    saveWindow(QStringLiteral("-720x1440.png"));
    platform::setDeviceScale(tourScale);
}

void pretendProgramIn(const QString& folder) {
    const std::u16string path = QDir(folder).filePath(QStringLiteral("talvino")).toStdU16String();
    platform::overrideModuleFileName(path.c_str());
}

// Without a catalogue the main menu reports it once; the box is photographed and confirmed.
void tourWithoutCatalogue(HINSTANCE module) {
    QTemporaryDir empty;
    pretendProgramIn(empty.path());
    QTimer::singleShot(300, [] {
        save("fehler.png");
        for (QWidget* widget : QApplication::allWidgets())
            if (widget->objectName() == QStringLiteral("MessageBox"))
                if (auto* ok = widget->findChild<QPushButton*>()) ok->click();
    });
    platform::callAfterNextDialogShown([](HWND menu) { EndDialog(menu, 1); });
    WinMain(module, nullptr, nullptr, SW_SHOW);
    createGlobalObjects(); // the menu's end deleted them, as at the end of the program
}

// A user's copy that no longer opened was replaced: the notice of the next start.
void tourDamagedCopyNotice(HINSTANCE module, const QString& programDir) {
    pretendProgramIn(programDir);
    SetStartNotice(ado::toUtf16(
        damagedCopyNotice(3, "/home/anna/.local/share/talvino/talvino2006_db.cdb.damaged-2026-12-07")));
    QTimer::singleShot(300, [] {
        save("hinweis-damaged-copy.png");
        for (QWidget* widget : QApplication::allWidgets())
            if (widget->objectName() == QStringLiteral("MessageBox"))
                if (auto* ok = widget->findChild<QPushButton*>()) ok->click();
    });
    platform::callAfterNextDialogShown([](HWND menu) { EndDialog(menu, 1); });
    WinMain(module, nullptr, nullptr, SW_SHOW);
    createGlobalObjects();
}

void tourScreens(HINSTANCE module, const QString& programDir) {
    pretendProgramIn(programDir);
    Driver driver;
    driver.onDialog(kMainMenuDialog, [&](HWND menu) {
        save("main-menu.png");
        saveSizes("main-menu");
        driver.tap(menu, 1007);
    });
    driver.onDialog(kSearchFormDialog, [&](HWND form) {
        driver.chooseItem(form, 1013, u"Frankreich");
        driver.type(form, 1012, u"Bordeaux");
        driver.tap(form, 1015);
        driver.tap(form, 1017);
        driver.dragThumb(form, 1021, 2);
        save("search-form.png");
        saveSizes("search-form");
        ShowWindow(GetDlgItem(form, kAnimationControl), SW_SHOW);
        UpdateWindow(form);
        wait_animation::drawFrame(GetDlgItem(form, kAnimationControl), module, kFirstAnimationFrame + 2);
        driver.pump(50);
        save("search-animation.png");
        ShowWindow(GetDlgItem(form, kAnimationControl), SW_HIDE);

        // A full-text search over the Rhône: red, white, rosé and fortified wines.
        driver.tap(form, 1015);
        driver.tap(form, 1017);
        driver.scroll(form, 1021, platform::testing::ScrollAction::Home);
        driver.chooseItem(form, 1013, 0);
        SetDlgItemTextW(form, 1012, u"");
        driver.tap(form, 1078);
        driver.type(form, 1012, u"rhône");
        driver.tap(form, 1011);
    });
    driver.onDialog(kResultsDialog, [&](HWND results) {
        for (const auto& category : driver.treeItems(results, 1001))
            driver.expandTreeItem(results, 1001, {category.label});
        save("results.png");
        saveSizes("results");
        std::u16string entry;
        for (const auto& category : driver.treeItems(results, 1001))
            for (const auto& item : category.children)
                if (category.label == u"Rot" && item.label.rfind(u"Châteauneuf-du-Pape Rouge", 0) == 0)
                    entry = item.label;
        driver.selectTreeItem(results, 1001, {u"Rot", entry});
        save("entry-info.png");
        driver.selectTab(results, 1002, 1);
        save("entry-vintages.png");
        driver.selectTab(results, 1002, 2);
        driver.tap(results, 1067);
        driver.type(results, 1065, u"Zum Lammbraten an Ostern");
        driver.tap(results, 1066);
        save("bookmark-page.png");
        driver.tapDone();
    });
    driver.onDialog(kSearchFormDialog, [&](HWND) { driver.tapDone(); });
    driver.onDialog(kMainMenuDialog, [&](HWND menu) { driver.tap(menu, 1010); });
    driver.onDialog(kResultsDialog, [&](HWND results) {
        driver.expandTreeItem(results, 1001, {u"Lesezeichen"});
        const auto tree = driver.treeItems(results, 1001);
        if (!tree.empty() && !tree[0].children.empty())
            driver.selectTreeItem(results, 1001, {u"Lesezeichen", tree[0].children[0].label});
        save("bookmark-list.png");
        driver.tapDone();
    });
    driver.onDialog(kMainMenuDialog, [&](HWND menu) { driver.tap(menu, 1008); });
    driver.onDialog(kGrapesDialog, [&](HWND grapes) {
        driver.chooseItem(grapes, 1013, u"Nero d'Avola");
        save("grapes.png");
        driver.tapDone();
    });
    driver.onDialog(kMainMenuDialog, [&](HWND menu) { driver.tap(menu, 1009); });
    driver.onDialog(kTemperatureDialog, [&](HWND chart) {
        driver.pump(2200); // the scroll unrolls with the introduction
        driver.tap(chart, 1054);
        driver.pump(4200); // rolls up, then unrolls with the tapped band's wines
        save("temperature.png");
        driver.tapDone();
    });
    driver.onDialog(kMainMenuDialog, [&](HWND menu) { driver.tap(menu, 1025); });
    driver.onDialog(kHelpIndexDialog, [&](HWND index) {
        save("help-index.png");
        driver.tap(index, 1006);
    });
    driver.onDialog(kHelpPageDialog, [&](HWND) {
        save("help-bookmarks.png");
        driver.tapDone();
    });
    driver.onDialog(kHelpIndexDialog, [&](HWND index) { driver.tap(index, 1026); });
    driver.onDialog(kHelpPageDialog, [&](HWND) {
        save("help-temperature.png");
        driver.tapDone();
    });
    driver.onDialog(kHelpIndexDialog, [&](HWND index) { driver.tap(index, 1036); });
    driver.onDialog(kHelpPageDialog, [&](HWND) {
        save("help-grapes.png");
        driver.tapDone();
    });
    driver.onDialog(kHelpIndexDialog, [&](HWND index) { driver.tap(index, 1048); });
    driver.onDialog(kHelpPageDialog, [&](HWND) {
        save("help-wines.png");
        driver.tapDone();
    });
    driver.onDialog(kHelpIndexDialog, [&](HWND) { driver.tapDone(); });
    driver.onDialog(kMainMenuDialog, [&](HWND menu) { driver.tap(menu, 1023); });
    driver.onDialog(kCreditsDialog, [&](HWND) {
        save("credits.png");
        driver.tapDone();
    });
    driver.onDialog(kMainMenuDialog, [&](HWND) { driver.tapDone(); });
    WinMain(module, nullptr, nullptr, SW_SHOW);
    if (driver.pendingSteps() != 0) {
        std::fprintf(stderr, "talvino-tour: %zu steps did not run\n", driver.pendingSteps());
        ++failures;
    }
}

int tour(HINSTANCE module, HINSTANCE, LPWSTR, int) {
    QTemporaryDir programDir;
    const QString catalogue = QDir(programDir.path()).filePath(QStringLiteral("talvino2006_db.cdb"));
    if (!QFile::copy(QStringLiteral(TALVINO_CATALOGUE), catalogue)) {
        std::fprintf(stderr, "talvino-tour: no catalogue at %s\n", TALVINO_CATALOGUE);
        return 1;
    }
    QFile::setPermissions(catalogue, QFile::ReadOwner | QFile::WriteOwner);
    tourWithoutCatalogue(module);
    tourDamagedCopyNotice(module, programDir.path());
    tourScreens(module, programDir.path());
    return failures == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 || argv[1][0] == '-') {
        std::fprintf(stderr,
                     "usage: talvino-tour OUTDIR\nSaves a PNG of every screen of Talvino into OUTDIR.\n");
        return 2;
    }
    outputDir = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(outputDir)) {
        std::fprintf(stderr, "talvino-tour: cannot create %s\n", argv[1]);
        return 1;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    char scaleOption[] = "--scale";
    char scaleValue[] = "2";
    char* deviceArgs[] = {argv[0], scaleOption, scaleValue, nullptr};
    return platform::runDevice(3, deviceArgs, talvinoModule(), tour);
}
