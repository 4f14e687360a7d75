// Which screen each command of the main menu opens: a row's label, bitmap and button open the same.
#include "app/main_menu.h"
#include "chapters/chapter_screens.h"
#include "results/results_state.h"
#include "search/search_form.h"
#include "resources/dialog_ids.h"

namespace {
struct MenuEntry {
    int ids[3];
    MenuTarget target;
};

const MenuEntry kMenu[] = {
    {{1005, 1006, 1007}, {kSearchFormDialog, SearchFormProc, false}},
    {{1008, 1048, 1051}, {kGrapesDialog, GrapeVarietiesProc, false}},
    {{1009, 1049, 1052}, {kTemperatureDialog, TemperatureProc, false}},
    {{1010, 1050, 1053}, {kResultsDialog, ResultsProc, true}},
    {{1023, 1023, 1023}, {kCreditsDialog, CreditsProc, false}},
    {{1025, 1025, 1025}, {kHelpIndexDialog, HelpIndexProc, false}},
};
} // namespace

const MenuTarget* FindMenuTarget(int id) {
    for (const MenuEntry& entry : kMenu)
        for (int entryId : entry.ids)
            if (entryId == id) return &entry.target;
    return nullptr;
}
