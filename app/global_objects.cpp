// Every global object is created in this one file: C++ orders static initialisation only within a
// translation unit, and the screens rely on the database object existing first.
#include "app/global_objects.h"

#include "chapters/chapter_screens.h"
#include "db/database.h"
#include "db/utility.h"
#include "results/results_state.h"
#include "screen/application.h"
#include "search/search_form.h"

namespace {

std::vector<std::string>& creationLog() {
    static std::vector<std::string> log;
    return log;
}

// Each owner sets the fields it needs; value-initialising keeps the untouched ones defined.
template <typename T> void create(T*& object, const char* name) {
    if (object) return;
    object = new T();
    creationLog().emplace_back(name);
}

// A deletion is logged as "~name", so that the log shows the teardown's order too.
template <typename T> void destroy(T*& object, const char* name) {
    if (!object) return;
    delete object;
    object = nullptr;
    creationLog().emplace_back(std::string("~") + name);
}

const bool createdAtStart = (createGlobalObjects(), true);

} // namespace

void createGlobalObjects() {
    create(g_database, "database");
    create(g_helpIndex, "help index");
    create(g_helpBookmarks, "bookmarks help");
    create(g_helpTemperature, "temperature help");
    create(g_helpGrapes, "grape varieties help");
    create(g_helpWines, "wines help");
    create(g_credits, "credits");
    create(g_application, "application");
    create(g_searchForm, "search form");
    create(g_grapeVarieties, "grape varieties");
    create(g_resultsState, "results state");
    create(g_temperatureScreen, "temperature screen");
    create(g_utility, "utility");
    (void)createdAtStart;
}

const std::vector<std::string>& globalCreationLog() {
    return creationLog();
}

void deleteScreenObjects() {
    destroy(g_searchForm, "search form");
    destroy(g_utility, "utility");
    destroy(g_resultsState, "results state");
    destroy(g_grapeVarieties, "grape varieties");
    destroy(g_helpIndex, "help index");
    destroy(g_helpBookmarks, "bookmarks help");
    destroy(g_helpTemperature, "temperature help");
    destroy(g_helpGrapes, "grape varieties help");
    destroy(g_helpWines, "wines help");
    destroy(g_temperatureScreen, "temperature screen");
}

void deleteDatabaseObject() {
    destroy(g_database, "database");
}
void deleteApplicationObject() {
    destroy(g_application, "application");
}
