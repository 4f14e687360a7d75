// What every chapter shares with the other screens: the shell's state kept after size, paint
// and setting changes, and the input-panel button shown.
#include "screen/globals.h"
#include "chapters/chapter_screens.h"
#include "db/database.h"
#include "db/text_codec.h"
#include "resources/dialog_ids.h"
#include "tests/chapters/chapter_fixture.h"

namespace {

struct Screen {
    const char* name;
    int templateId;
    DLGPROC proc;
    bool keepsShellState;
};
void PrintTo(const Screen& screen, std::ostream* os) {
    *os << screen.name;
}

bool inputPanelButtonShown() {
    const HWND button = FindWindowW(kInputPanelButtonClass, nullptr);
    return button && IsWindowVisible(button);
}

class ChapterConventions : public ChapterScreenTest, public ::testing::WithParamInterface<Screen> {
  protected:
    void SetUp() override {
        ChapterScreenTest::SetUp();
        g_database->allocateQueryBuffer(); // the grape lists run their queries through it
    }
    void TearDown() override {
        g_database->freeQueryBuffer();
        inputPanelSwitch(false, true);
    }
};

TEST_P(ChapterConventions, ShowTheInputPanelButtonAndHideThePanelOnOpening) {
    ASSERT_TRUE(inputPanelSwitch(true, false));
    const HWND dialog = driver.open(talvinoModule(), GetParam().templateId, GetParam().proc);
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(inputPanelButtonShown(), GetParam().keepsShellState);
    EXPECT_EQ(driver.inputPanelShown(), !GetParam().keepsShellState);
    EXPECT_TRUE(driver.doneButtonShown());
    driver.close(dialog);
}

TEST_P(ChapterConventions, SizePaintAndSettingChangesRepeatTheShellStateCall) {
    const HWND dialog = driver.open(talvinoModule(), GetParam().templateId, GetParam().proc);
    ASSERT_NE(dialog, nullptr);
    for (UINT message : {WM_SIZE, WM_PAINT, WM_SETTINGCHANGE}) {
        ASSERT_TRUE(inputPanelSwitch(false, false));
        ASSERT_FALSE(inputPanelButtonShown());
        GetParam().proc(dialog, message, 0, 0);
        EXPECT_EQ(inputPanelButtonShown(), GetParam().keepsShellState) << "message " << message;
    }
    driver.close(dialog);
}

INSTANTIATE_TEST_SUITE_P(Chapters, ChapterConventions,
                         ::testing::Values(Screen{"Grapes", kGrapesDialog, GrapeVarietiesProc, true},
                                           Screen{"Temperature", kTemperatureDialog, TemperatureProc, true},
                                           Screen{"Credits", kCreditsDialog, CreditsProc, true},
                                           Screen{"HelpIndex", kHelpIndexDialog, HelpIndexProc, true},
                                           Screen{"HelpPage", kHelpPageDialog, HelpGrapesProc, false}),
                         [](const ::testing::TestParamInfo<Screen>& param) {
                             return std::string(param.param.name);
                         });

} // namespace
