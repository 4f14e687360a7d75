// The main menu as a user meets it: started through the program's entry point, worked through
// the driver, ended with the done button.
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QImage>
#include <QWidget>
#include <atomic>
#include <cstdlib>
#include <new>
#include <string>
#include <utility>

#include "app/global_objects.h"
#include "screen/application.h"
#include "app/main_menu.h"
#include "db/database.h"
#include "platform/shell/device_window.h"
#include "platform/testing/driver.h"
#include "platform/ui/hooks.h"
#include "resources/dialog_ids.h"
#include "resources/resources.h"
#include "tests/support/test_catalogue.h"

using platform::testing::Driver;

// Arrays come from malloc, so that freeing the watched one can be seen without touching it.
static std::atomic<const void*> watchedArray{nullptr};
static std::atomic<bool> watchedArrayFreed{false};
void* operator new[](std::size_t size) {
    if (void* memory = std::malloc(size ? size : 1)) return memory;
    throw std::bad_alloc();
}
void operator delete[](void* memory) noexcept {
    if (memory && memory == watchedArray.load()) watchedArrayFreed = true;
    std::free(memory);
}
void operator delete[](void* memory, std::size_t) noexcept {
    operator delete[](memory);
}

namespace {

const std::u16string kExpectedErrorText =
    u"Die Datenbank kann nicht geöffnet werden. \n\rKontaktieren Sie den Hotline Support unter \n\r"
    u"www.talvino-weinfuehrer.example/hilfe oder \n\r0800 555 20 06.";

class MainMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        createGlobalObjects();
        driver.stepTimeoutMs = 5000;
    }
    void TearDown() override { createGlobalObjects(); }

    // Runs the program's entry point; the steps queued before do the user's part.
    int runProgram() { return WinMain(talvinoModule(), nullptr, nullptr, SW_SHOW); }

    // Opens the screen of `id` from the menu and checks which template appeared, then closes it.
    void expectOpens(int id, int templateId) {
        int opened = 0;
        driver.onDialog(kMainMenuDialog, [&](HWND menu) {
            ASSERT_TRUE(driver.tap(menu, id)) << "control " << id;
        });
        driver.onDialog(templateId, [&](HWND screen) {
            opened = platform::dialogTemplateId(screen);
            driver.tapDone();
        });
        driver.onDialog(kMainMenuDialog, [&](HWND) { driver.tapDone(); });
        EXPECT_EQ(runProgram(), 0);
        EXPECT_EQ(opened, templateId) << "control " << id;
        createGlobalObjects();
    }

    Driver driver;
};

int errorBoxes(const Driver& driver) {
    int count = 0;
    for (const auto& box : driver.messageBoxes())
        if (box.caption == u"FEHLER") ++count;
    return count;
}

TEST_F(MainMenuTest, WithoutCatalogueShowsTheErrorOnceAndStaysUsable) {
    TestCatalogue folder; // an empty folder: no catalogue next to the program
    const std::string program = folder.folder() + "/talvino";
    platform::overrideModuleFileName(std::u16string(program.begin(), program.end()).c_str());
    bool grapesOpened = false;
    driver.onDialog(kMainMenuDialog, [&](HWND menu) { driver.tap(menu, 1008); });
    driver.onDialog(kGrapesDialog, [&](HWND) {
        grapesOpened = true;
        driver.tapDone();
    });
    driver.onDialog(kMainMenuDialog, [&](HWND) { driver.tapDone(); });
    EXPECT_EQ(runProgram(), 0);
    platform::overrideModuleFileName(nullptr);

    ASSERT_EQ(driver.messageBoxes().size(), 1u);
    const auto& box = driver.messageBoxes().front();
    EXPECT_EQ(box.caption, u"FEHLER");
    EXPECT_EQ(box.text, kExpectedErrorText);
    EXPECT_EQ(box.type, MB_OK | MB_ICONINFORMATION);
    EXPECT_TRUE(grapesOpened);
}

TEST_F(MainMenuTest, CatalogueFilesThatAreNoCatalogueAreReportedOnce) {
    const std::string badContents[] = {std::string(), std::string("\x13\x7f garbage \x01\x02 not sqlite", 24)};
    for (const std::string& bytes : badContents) {
        TestCatalogue catalogue;
        catalogue.installAsProgramCatalogue();
        catalogue.writeRawFile(bytes);
        driver.clearMessageBoxes();
        driver.onDialog(kMainMenuDialog, [&](HWND) { driver.tapDone(); });
        EXPECT_EQ(runProgram(), 0);
        EXPECT_EQ(errorBoxes(driver), 1) << "file of " << bytes.size() << " bytes";
        createGlobalObjects();
    }
}

TEST_F(MainMenuTest, CatalogueWithoutTablesIsReportedOnce) {
    TestCatalogue catalogue;
    catalogue.installAsProgramCatalogue();
    catalogue.execute("DROP TABLE talvino");
    driver.onDialog(kMainMenuDialog, [&](HWND) { driver.tapDone(); });
    EXPECT_EQ(runProgram(), 0);
    EXPECT_EQ(errorBoxes(driver), 1);
}

TEST_F(MainMenuTest, AStartNoticeIsShownOnceAsAHinweisWhenTheCatalogueOpens) {
    TestCatalogue catalogue;
    catalogue.addSampleContent().installAsProgramCatalogue();
    const std::u16string notice = u"Die Datei mit Ihren Lesezeichen war beschädigt.";
    SetStartNotice(notice);
    for (int run = 0; run < 2; ++run) {
        driver.clearMessageBoxes();
        driver.onDialog(kMainMenuDialog, [&](HWND) { driver.tapDone(); });
        EXPECT_EQ(runProgram(), 0);
        ASSERT_EQ(driver.messageBoxes().size(), run == 0 ? 1u : 0u) << "run " << run;
        if (run == 0) {
            EXPECT_EQ(driver.messageBoxes()[0].caption, u"HINWEIS");
            EXPECT_EQ(driver.messageBoxes()[0].text, notice);
            EXPECT_EQ(driver.messageBoxes()[0].type, MB_OK | MB_ICONINFORMATION);
        }
        createGlobalObjects();
    }
}

TEST_F(MainMenuTest, WithACatalogueNothingIsReported) {
    TestCatalogue catalogue;
    catalogue.addSampleContent().installAsProgramCatalogue();
    driver.onDialog(kMainMenuDialog, [&](HWND) { driver.tapDone(); });
    EXPECT_EQ(runProgram(), 0);
    EXPECT_TRUE(driver.messageBoxes().empty());
}

TEST_F(MainMenuTest, LabelBitmapAndButtonOfARowOpenTheSameScreen) {
    TestCatalogue catalogue;
    catalogue.addSampleContent().installAsProgramCatalogue();
    struct Row {
        int ids[3];
        int templateId;
    };
    const Row rows[] = {{{1007, 1005, 1006}, kSearchFormDialog},
                        {{1008, 1051, 1048}, kGrapesDialog},
                        {{1009, 1052, 1049}, kTemperatureDialog}};
    for (const Row& row : rows)
        for (int id : row.ids) expectOpens(id, row.templateId);
}

TEST_F(MainMenuTest, BookmarksRowOpensTheBookmarkListEvenAfterASearch) {
    TestCatalogue catalogue;
    catalogue.addSampleContent().addBookmark(TestCatalogue::kRioja, u"Für Sonntag", u"mit Lamm");
    catalogue.installAsProgramCatalogue();
    for (int id : {1010, 1053, 1050}) {
        std::vector<platform::testing::TreeItemInfo> tree;
        driver.onDialog(kMainMenuDialog, [&](HWND menu) {
            // What a search or an entry detail leaves behind in the query buffer.
            const std::u16string leftOver = u"SELECT * FROM talvino WHERE (  (Rot > 0)) ORDER by STICHWORT";
            g_database->queryBuffer[leftOver.copy(g_database->queryBuffer, leftOver.size())] = u'\0';
            driver.tap(menu, id);
        });
        driver.onDialog(kResultsDialog, [&](HWND results) {
            tree = driver.treeItems(results, 1001);
            driver.tapDone();
        });
        driver.onDialog(kMainMenuDialog, [&](HWND) { driver.tapDone(); });
        EXPECT_EQ(runProgram(), 0);
        ASSERT_EQ(tree.size(), 1u) << "control " << id;
        EXPECT_EQ(tree[0].label, u"Lesezeichen");
        ASSERT_EQ(tree[0].children.size(), 1u);
        EXPECT_EQ(tree[0].children[0].label, u"Für Sonntag");
        createGlobalObjects();
    }
}

TEST_F(MainMenuTest, LinksOpenCreditsAndHelp) {
    expectOpens(1023, kCreditsDialog);
    expectOpens(1025, kHelpIndexDialog);
}

TEST_F(MainMenuTest, ANotificationOtherThanAClickOpensNothing) {
    // A screen that opened would run its own modal loop inside SendMessageW, where no step waits
    // for it: the driver's watchdog would fail the test and end it.
    driver.stepTimeoutMs = 1500;
    bool backOnMenu = false;
    driver.onDialog(kMainMenuDialog, [&](HWND menu) {
        for (int id : {1007, 1005, 1006, 1008, 1023, 1025})
            SendMessageW(menu, WM_COMMAND, MAKEWPARAM(static_cast<WORD>(id), 1),
                         reinterpret_cast<LPARAM>(GetDlgItem(menu, id)));
        backOnMenu = platform::activeDialog() == menu;
        driver.tapDone();
    });
    EXPECT_EQ(runProgram(), 0);
    EXPECT_TRUE(backOnMenu);
}

TEST_F(MainMenuTest, DoneEndsTheProgramWithPanelAndButtonHidden) {
    driver.onDialog(kMainMenuDialog, [&](HWND) {
        EXPECT_TRUE(driver.doneButtonShown());
        EXPECT_EQ(driver.deviceCaption(), u"Talvino - Weinführer");
        driver.toggleInputPanel();
        EXPECT_TRUE(driver.inputPanelShown());
        driver.tapDone();
    });
    EXPECT_EQ(runProgram(), 0);
    const HWND panel = FindWindowW(u"SipWndClass", nullptr);
    const HWND button = FindWindowW(u"MS_SIPBUTTON", nullptr);
    ASSERT_NE(panel, nullptr);
    ASSERT_NE(button, nullptr);
    EXPECT_FALSE(IsWindowVisible(panel));
    EXPECT_FALSE(IsWindowVisible(button));
    EXPECT_EQ(g_application, nullptr) << "the objects are gone after the menu's end";
    EXPECT_EQ(g_database, nullptr);
}

TEST_F(MainMenuTest, StartShowsTheInputPanelButtonAndHidesThePanel) {
    driver.onDialog(kMainMenuDialog, [&](HWND) {
        EXPECT_FALSE(driver.inputPanelShown());
        EXPECT_TRUE(IsWindowVisible(FindWindowW(u"MS_SIPBUTTON", nullptr)));
        driver.tapDone();
    });
    EXPECT_EQ(runProgram(), 0);
}

TEST_F(MainMenuTest, MenuRowsAreWhiteAndLabelsUseTheMenuFonts) {
    driver.onDialog(kMainMenuDialog, [&](HWND menu) {
        // The owner-drawn button of the second row shows white where no bitmap or label lies.
        const HWND button = GetDlgItem(menu, 1048);
        RECT rect{};
        GetClientRect(button, &rect);
        const QColor inside = driver.pixel(button, rect.right - 3, rect.bottom / 2);
        EXPECT_EQ(inside, QColor(Qt::white));

        LOGFONTW label{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(menu, 1008), WM_GETFONT, 0, 0)), sizeof label,
                   &label);
        EXPECT_EQ(label.lfHeight, 14);
        EXPECT_EQ(label.lfWeight, 700);
        EXPECT_TRUE(QFontInfo(driver.widget(menu, 1008)->font()).bold()) << "the label is shown bold";
        LOGFONTW link{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(GetDlgItem(menu, 1025), WM_GETFONT, 0, 0)), sizeof link,
                   &link);
        EXPECT_EQ(link.lfHeight, 13);
        EXPECT_EQ(std::u16string(link.lfFaceName), u"Tahoma");
        driver.tapDone();
    });
    EXPECT_EQ(runProgram(), 0);
}

// Each picture of the menu is framed on all four sides by its black border, at every scale. The
// pictures of neighbouring rows overlap by their frames, so the line between them may be the
// upper picture's: each side is dark within its outer three pixels.
TEST_F(MainMenuTest, MenuPicturesShowAllFourEdgesOfTheirFrame) {
    driver.onDialog(kMainMenuDialog, [&](HWND menu) {
        for (int scale : {1, 2, 3}) {
            const QImage device = driver.grabDevice(scale);
            for (int id : {1005, 1051, 1052, 1053}) {
                const QWidget* picture = driver.widget(menu, id);
                const QRect r(picture->mapTo(platform::deviceWindow(), QPoint(0, 0)), picture->size());
                // Each side's line, inset from the corners, is dark along its whole length.
                const struct {
                    const char* side;
                    QPoint from, step, inward;
                    int length;
                } sides[] = {{"top", r.topLeft() + QPoint(3, 0), {1, 0}, {0, 1}, r.width() - 6},
                             {"bottom", r.bottomLeft() + QPoint(3, 0), {1, 0}, {0, -1}, r.width() - 6},
                             {"left", r.topLeft() + QPoint(0, 3), {0, 1}, {1, 0}, r.height() - 6},
                             {"right", r.topRight() + QPoint(0, 3), {0, 1}, {-1, 0}, r.height() - 6}};
                for (const auto& side : sides) {
                    int dark = 0;
                    for (int i = 0; i < side.length; ++i) {
                        bool found = false;
                        for (int depth = 0; depth < 3 && !found; ++depth) {
                            const QPoint p = side.from + i * side.step + depth * side.inward;
                            found = qGray(device.pixel(p.x() * scale, p.y() * scale)) < 64;
                        }
                        dark += found ? 1 : 0;
                    }
                    EXPECT_EQ(dark, side.length) << "picture " << id << ", " << side.side << " edge, scale " << scale;
                }
            }
        }
        driver.tapDone();
    });
    EXPECT_EQ(runProgram(), 0);
}

// The query buffer as the menu's procedure leaves it after its first message.
char16_t* bufferAfterFirstMessage = nullptr;
bool firstMessage = true;

INT_PTR WatchedMainMenu(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const INT_PTR result = MainMenuProc(window, message, wParam, lParam);
    if (std::exchange(firstMessage, false)) watchedArray = bufferAfterFirstMessage = g_database->queryBuffer;
    return result;
}

TEST_F(MainMenuTest, QueryBufferLivesFromTheFirstMessageToTheEnd) {
    firstMessage = true;
    watchedArrayFreed = false;
    char16_t* buffer = nullptr;
    driver.onDialog(kMainMenuDialog, [&](HWND) {
        buffer = g_database->queryBuffer;
        driver.tapDone();
    });
    g_application->instance = talvinoModule();
    driver.runModal(talvinoModule(), kMainMenuDialog, WatchedMainMenu);
    ASSERT_NE(bufferAfterFirstMessage, nullptr);
    EXPECT_EQ(buffer, bufferAfterFirstMessage) << "one buffer from the first message on";
    EXPECT_TRUE(watchedArrayFreed) << "given back when the menu ends";
    watchedArray = nullptr;
}

TEST_F(MainMenuTest, SizePaintAndSettingChangesKeepTheInputPanelButtonShown) {
    driver.onDialog(kMainMenuDialog, [&](HWND menu) {
        const HWND button = FindWindowW(u"MS_SIPBUTTON", nullptr);
        for (UINT message : {WM_SIZE, WM_PAINT, WM_SETTINGCHANGE}) {
            ShowWindow(button, SW_HIDE);
            SendMessageW(menu, message, 0, 0);
            EXPECT_TRUE(IsWindowVisible(button)) << "message " << message;
        }
        driver.tapDone();
    });
    EXPECT_EQ(runProgram(), 0);
}

} // namespace
